// SPDX-License-Identifier: MIT
// zur_dialog_probe: looks at a running converter dialog from outside, as a
// person would, for the real-window test.
//
//   zur_dialog_probe field    prints the prefix field's text (UTF-8)
//   zur_dialog_probe box      prints the texts of the message box that the
//                             dialog shows (UTF-8), one a line
//   zur_dialog_probe bar MS   for MS milliseconds, or until a message box
//                             takes over the dialog, prints the position
//                             the progress bar shows on the screen (0 to
//                             100) each time it changes, read from the
//                             screen's pixels
//
// Exit status 1 when there is no converter dialog, or no message box.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frontend/win32/engine_text.h"
#include "frontend/win32/resource.h"

namespace {

constexpr wchar_t kTitle[] = L"ZUR level converter v1.0";

// The dialog is the window of that title with a prefix field; its message
// boxes share the title.
HWND FindDialog() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND window, LPARAM found) {
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        if (std::wstring(title) != kTitle || GetDlgItem(window, IDC_PREFIXES) == nullptr) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool PrintText(HWND window) {
  std::vector<wchar_t> text(1 << 20, L'\0');
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_BLOCK, 5000, &length)) {
    return false;
  }
  std::printf("%s\n", FromWide(std::wstring_view(text.data(), length)).c_str());
  return true;
}

int PrintField(HWND dialog) {
  return PrintText(GetDlgItem(dialog, IDC_PREFIXES)) ? 0 : 1;
}

// The box is the enabled window that the dialog owns; its texts are its
// static controls'.
int PrintBox(HWND dialog) {
  struct Search {
    HWND owner;
    HWND box;
  } search{dialog, nullptr};
  EnumWindows(
      [](HWND window, LPARAM found) {
        auto* search = reinterpret_cast<Search*>(found);
        if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
        search->box = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.box == nullptr) return 1;
  EnumChildWindows(
      search.box,
      [](HWND child, LPARAM) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (lstrcmpiW(name, L"Static") == 0 && GetWindowTextLengthW(child) > 0) PrintText(child);
        return TRUE;
      },
      0);
  return 0;
}

// How much of the bar's middle row shows the fill colour, in per cent of
// its width: the pixels are read back from the screen.
int ShownPosition(HWND bar) {
  RECT client{};
  GetClientRect(bar, &client);
  POINT origin{0, client.bottom / 2};
  ClientToScreen(bar, &origin);
  const int width = client.right;

  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP row = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, row);
  BitBlt(memory, 0, 0, width, 1, screen, origin.x, origin.y, SRCCOPY);

  const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
  const auto* pixels = static_cast<const std::uint8_t*>(bits);  // blue, green, red, unused
  int filled = 0;
  for (int x = 0; x < width; ++x) {
    const std::uint8_t* p = pixels + 4 * x;
    if (RGB(p[2], p[1], p[0]) == fill) filled = x + 1;
  }

  SelectObject(memory, old);
  DeleteObject(row);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return width == 0 ? 0 : (100 * filled + width / 2) / width;
}

int WatchBar(HWND dialog, DWORD milliseconds) {
  const HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
  const DWORD start = GetTickCount();
  int shown = -1;
  while (GetTickCount() - start < milliseconds && IsWindowEnabled(dialog)) {
    const int now = ShownPosition(bar);
    if (now != shown) {
      std::printf("%d\n", now);
      std::fflush(stdout);
      shown = now;
    }
    Sleep(5);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const HWND dialog = FindDialog();
  if (dialog == nullptr) return 1;
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "field" && argc == 2) return PrintField(dialog);
  if (command == "box" && argc == 2) return PrintBox(dialog);
  if (command == "bar" && argc == 3) return WatchBar(dialog, std::stoul(argv[2]));
  std::fprintf(stderr, "usage: zur_dialog_probe field | box | bar MILLISECONDS\n");
  return 2;
}
