// SPDX-License-Identifier: MIT
#include "message_box.h"

#include <string_view>

#include "engine_text.h"

namespace {

// Drops the key presses that reach a question box too early. The system's
// box has no hook of its own, so the thread's hooks find it: the box is
// activated as it appears, and its modal loop offers every message to the
// message filter first. One question is shown at a time.
class QuestionKeyGuard {
 public:
  QuestionKeyGuard()
      : activated_(SetWindowsHookExW(WH_CBT, OnActivate, nullptr, GetCurrentThreadId())),
        filter_(SetWindowsHookExW(WH_MSGFILTER, OnMessage, nullptr, GetCurrentThreadId())) {
    shown_ = this;
  }
  ~QuestionKeyGuard() {
    shown_ = nullptr;
    UnhookWindowsHookEx(filter_);
    UnhookWindowsHookEx(activated_);
  }
  QuestionKeyGuard(const QuestionKeyGuard&) = delete;
  QuestionKeyGuard& operator=(const QuestionKeyGuard&) = delete;

 private:
  static LRESULT CALLBACK OnActivate(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && !shown_->box_shown_) {
      shown_->box_shown_ = true;
      shown_->keys_.box_shown();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static LRESULT CALLBACK OnMessage(int code, WPARAM wParam, LPARAM lParam) {
    const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
    const bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    if (code == MSGF_DIALOGBOX && key && !shown_->keys_.takes_key()) return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline QuestionKeyGuard* shown_ = nullptr;
  HHOOK activated_;
  HHOOK filter_;
  bool box_shown_ = false;
  zur::dialog::QuestionKeys keys_;
};

// The system's box wraps its text at blanks itself, but widens to fit a
// word longer than its lines, up to the whole screen; such a word is broken
// into lines of `width` here.
std::string BreakLongWords(std::string_view text, int width,
                           const zur::dialog::MeasureText& measure) {
  std::string broken;
  for (;;) {
    const std::size_t end = text.find_first_of(" \n");
    const std::string_view word = text.substr(0, end);
    broken +=
        measure(word) > width ? zur::dialog::wrap_text(word, width, measure) : std::string(word);
    if (end == std::string_view::npos) return broken;
    broken += text[end];
    text.remove_prefix(end + 1);
  }
}

// Measures in the font the system gives message boxes, on the screen the
// owner is on.
std::string WithLongWordsBroken(HWND owner, const std::string& text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  const HDC dc = GetDC(owner);
  const HGDIOBJ old_font = SelectObject(dc, font);
  TEXTMETRICW font_metrics{};
  GetTextMetricsW(dc, &font_metrics);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);

  const int width = zur::dialog::wrap_width(font_metrics.tmAveCharWidth,
                                            monitor.rcWork.right - monitor.rcWork.left);
  const std::string broken = BreakLongWords(text, width, [dc](std::string_view line) {
    const std::wstring wide = ToWide(line);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
    return static_cast<int>(size.cx);
  });

  SelectObject(dc, old_font);
  ReleaseDC(owner, dc);
  DeleteObject(font);
  return broken;
}

}  // namespace

UINT MessageBoxStyle(const zur::dialog::BoxKind& kind) {
  const UINT buttons =
      kind.buttons == zur::dialog::BoxButtons::YesNo ? MB_YESNO | MB_DEFBUTTON1 : MB_OK;
  switch (kind.icon) {
    case zur::Icon::Error:
      return buttons | MB_ICONERROR;
    case zur::Icon::Information:
      return buttons | MB_ICONINFORMATION;
    case zur::Icon::None:
      break;
  }
  return buttons;
}

int ShowMessageBox(HWND owner, const std::string& text, const zur::dialog::BoxKind& kind) {
  const std::wstring shown = ToWide(WithLongWordsBroken(owner, text));
  const std::wstring caption = ToWide(zur::kProgramTitle);
  if (kind.buttons != zur::dialog::BoxButtons::YesNo) {
    return MessageBoxW(owner, shown.c_str(), caption.c_str(), MessageBoxStyle(kind));
  }
  QuestionKeyGuard guard;
  return MessageBoxW(owner, shown.c_str(), caption.c_str(), MessageBoxStyle(kind));
}
