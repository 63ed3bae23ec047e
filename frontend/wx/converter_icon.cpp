// SPDX-License-Identifier: MIT
#include "converter_icon.h"

#include <wx/icon.h>

#include "../icons/converter16.xpm"
#include "../icons/converter32.xpm"

wxIconBundle LoadConverterIcons() {
  wxIconBundle icons;
  icons.AddIcon(wxIcon(converter_32_xpm));
  icons.AddIcon(wxIcon(converter_16_xpm));
  return icons;
}
