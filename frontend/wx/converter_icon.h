// SPDX-License-Identifier: MIT
// The program icon: a little level (sky, sea, hills, a wall and a turret) in
// 32 x 32 and 16 x 16 pixels. These and the installed PNGs are all rendered
// from one drawing, icons/zurconv-gui.svg (icons/make-png.sh).
#pragma once

#include <wx/iconbndl.h>

wxIconBundle LoadConverterIcons();
