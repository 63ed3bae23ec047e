// SPDX-License-Identifier: MIT
#include "frontend/wx/converter_icon.h"

#include <gtest/gtest.h>
#include <wx/image.h>

#include "frontend/icons/converter16.xpm"
#include "frontend/icons/converter32.xpm"

namespace zur::gui_test {
namespace {

TEST(ConverterIcon, HasA32And16PixelPicture) {
  const wxIconBundle icons = LoadConverterIcons();
  for (int size : {32, 16}) {
    const wxIcon icon = icons.GetIcon(size, wxIconBundle::FALLBACK_NONE);
    ASSERT_TRUE(icon.IsOk()) << size;
    EXPECT_EQ(icon.GetSize(), wxSize(size, size)) << size;
  }
}

// The desktop shows the installed PNGs, the window the compiled pictures.
TEST(ConverterIcon, InstalledPicturesAreTheCompiledOnes) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const struct {
    int size;
    const char* const* xpm;
  } cases[] = {{32, converter_32_xpm}, {16, converter_16_xpm}};
  for (const auto& c : cases) {
    const wxString png =
        wxString::Format("%s/frontend/icons/zurconv-gui-%d.png", ZUR_SOURCE_DIR, c.size);
    const wxImage installed(png, wxBITMAP_TYPE_PNG);
    const wxImage compiled(c.xpm);
    ASSERT_TRUE(installed.IsOk()) << png;
    ASSERT_EQ(installed.GetSize(), compiled.GetSize()) << png;
    const std::size_t bytes = static_cast<std::size_t>(c.size * c.size * 3);
    EXPECT_TRUE(std::equal(installed.GetData(), installed.GetData() + bytes, compiled.GetData()))
        << png;
  }
}

}  // namespace
}  // namespace zur::gui_test
