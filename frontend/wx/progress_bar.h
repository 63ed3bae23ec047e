// SPDX-License-Identifier: MIT
// The converter dialog's progress bar: horizontal, range 0 to 100, drawn
// over the whole of its cell. GTK themes draw a bar only a few pixels high
// at the bottom of its cell, so a style rule gives the bar the cell's height.
#pragma once

#include <wx/gauge.h>

class CProgressBar : public wxGauge {
 public:
  CProgressBar(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size);
};
