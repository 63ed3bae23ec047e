// SPDX-License-Identifier: MIT
#include "progress_bar.h"

#include <string>

CProgressBar::CProgressBar(wxWindow* parent, wxWindowID id, const wxPoint& position,
                           const wxSize& size)
    : wxGauge(parent, id, 100, position, size, wxGA_HORIZONTAL) {
#ifdef __WXGTK3__
  // The trough's frame and the filled part's frame take a pixel on each side.
  const std::string style =
      "progressbar trough { min-height: " + std::to_string(size.y - 2) +
      "px; } progressbar progress { min-height: " + std::to_string(size.y - 4) + "px; }";
  GTKApplyCssStyle(style.c_str());
#endif
}
