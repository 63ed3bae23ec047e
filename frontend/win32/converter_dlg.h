// SPDX-License-Identifier: MIT
// The converter dialog, the program's only window, made from dialog template
// IDD_CONVERTER_DIALOG: the prefix field, Convert, Exit, Open and the
// progress bar. Convert (also Enter) runs the conversion batch on the
// field's text synchronously on the dialog's thread, with every message box
// owned by the dialog; Open, Escape and every request to close the window
// open the config file picker, so Exit is the one way to end the dialog. F1
// shows a short help. While a batch runs, the dialog drops the user's input.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../dialog_prompts.h"

class CConverterDlg : public zur::dialog::PromptWindow {
 public:
  // Shows the file dialog and returns the picked paths in the engine's
  // encoding, or nothing on cancel.
  using FilePicker = std::function<std::optional<std::vector<std::string>>(HWND owner)>;

  CConverterDlg(HINSTANCE instance, FilePicker pickFiles);
  ~CConverterDlg();
  CConverterDlg(const CConverterDlg&) = delete;
  CConverterDlg& operator=(const CConverterDlg&) = delete;

  // Runs the dialog until Exit; returns IDOK.
  INT_PTR DoModal();

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The dialog's side of its prompts (frontend/dialog_prompts.h); the field
  // is rewritten from m_strPrefixes.
  bool ShowBox(const std::string& text, const zur::dialog::BoxKind& kind) override;
  void SetProgress(int position) override;
  void KeepAlive(int position) override;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnConvert();
  void OnOpen();
  void OnHelp();
  void RepaintNow();

  HINSTANCE m_hInstance;
  FilePicker m_pickFiles;
  HWND m_hWnd = nullptr;
  HICON m_hIcon;       // the window's large icon
  HICON m_hSmallIcon;  // its title bar's and taskbar's
  std::wstring m_strPrefixes;
  std::vector<std::string> m_arrPickedFiles;  // the last Open's config files
  bool m_bConverting = false;
};
