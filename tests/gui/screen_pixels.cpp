// SPDX-License-Identifier: MIT
#include "tests/gui/screen_pixels.h"

// Xlib defines macros (None, Bool) that clash with other headers: it is
// kept to this file.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string_view>

std::vector<unsigned long> ScreenPixels(const wxRect& rect) {
  std::vector<unsigned long> pixels;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return pixels;
  XImage* image = XGetImage(display, DefaultRootWindow(display), rect.x, rect.y,
                            static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height),
                            AllPlanes, ZPixmap);
  if (image != nullptr) {
    for (int y = 0; y < rect.height; ++y) {
      for (int x = 0; x < rect.width; ++x) pixels.push_back(XGetPixel(image, x, y));
    }
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixels;
}

bool WindowShown(const char* title) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  Window root, parent;
  Window* children = nullptr;
  unsigned count = 0;
  bool shown = false;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
    for (unsigned i = 0; i < count && !shown; ++i) {
      XWindowAttributes attributes;
      char* name = nullptr;
      shown = XGetWindowAttributes(display, children[i], &attributes) != 0 &&
              attributes.map_state == IsViewable && XFetchName(display, children[i], &name) != 0 &&
              std::string_view(name) == title;
      if (name != nullptr) XFree(name);
    }
    if (children != nullptr) XFree(children);
  }
  XCloseDisplay(display);
  return shown;
}
