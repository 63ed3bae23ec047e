// SPDX-License-Identifier: MIT
#include "converter_dlg.h"

#include <commctrl.h>

#include "../dialog_batch.h"
#include "../help_text.h"
#include "../picked_paths.h"
#include "../prompt_box.h"
#include "batch_input.h"
#include "engine_text.h"
#include "message_box.h"
#include "resource.h"

namespace {

HICON LoadConverterIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CONVERTER), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_DEFAULTCOLOR));
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
  return text;
}

}  // namespace

CConverterDlg::CConverterDlg(HINSTANCE instance, FilePicker pickFiles)
    : m_hInstance(instance),
      m_pickFiles(std::move(pickFiles)),
      m_hIcon(LoadConverterIcon(instance, SM_CXICON, SM_CYICON)),
      m_hSmallIcon(LoadConverterIcon(instance, SM_CXSMICON, SM_CYSMICON)) {}

CConverterDlg::~CConverterDlg() {
  DestroyIcon(m_hSmallIcon);
  DestroyIcon(m_hIcon);
}

INT_PTR CConverterDlg::DoModal() {
  return DialogBoxParamW(m_hInstance, MAKEINTRESOURCEW(IDD_CONVERTER_DIALOG), nullptr, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CConverterDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<CConverterDlg*>(lParam)->m_hWnd = hwnd;
  }
  auto* dialog = reinterpret_cast<CConverterDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return dialog == nullptr ? FALSE : dialog->OnMessage(message, wParam, lParam);
}

// Input the batch's own message loops hand to the dialog, such as a key
// that reached the field just before a message box took over, is dropped
// here.
INT_PTR CConverterDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  if (m_bConverting &&
      zur::dialog::dropped_during_batch(EventKindOf(message, wParam), /*aimed_at_dialog=*/true)) {
    return TRUE;
  }
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;  // the focus goes to the first tab stop, the prefix field
    case WM_HELP:
      OnHelp();
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_CONVERT:
          OnConvert();
          return TRUE;
        case IDCANCEL:  // Open, Escape and every close request
          OnOpen();
          return TRUE;
        case IDOK:  // Exit
          EndDialog(m_hWnd, IDOK);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void CConverterDlg::OnInitDialog() {
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
  SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETPOS, 0, 0);
}

void CConverterDlg::OnConvert() {
  m_strPrefixes = WindowText(GetDlgItem(m_hWnd, IDC_PREFIXES));
  m_bConverting = true;
  zur::dialog::DialogPrompts prompts(*this);
  zur::dialog::convert_field_text(FromWide(m_strPrefixes), prompts, m_arrPickedFiles);
  RepaintDroppingInput(m_hWnd);  // what arrived since the last job's end
  m_bConverting = false;
}

void CConverterDlg::OnOpen() {
  const std::optional<std::vector<std::string>> paths = m_pickFiles(m_hWnd);
  if (!paths) return;
  m_strPrefixes = ToWide(zur::dialog::join_prefixes(*paths));
  m_arrPickedFiles = *paths;
  SetDlgItemTextW(m_hWnd, IDC_PREFIXES, m_strPrefixes.c_str());
  // Ready for Enter, the whole text selected.
  SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_hWnd, IDC_PREFIXES)),
               TRUE);
}

void CConverterDlg::OnHelp() {
  ShowMessageBox(m_hWnd, zur::dialog::kHelpText,
                 zur::dialog::message_box_kind(zur::Icon::Information));
}

// Keys typed into the busy dialog would otherwise reach the box.
bool CConverterDlg::ShowBox(const std::string& text, const zur::dialog::BoxKind& kind) {
  RepaintDroppingInput(m_hWnd);
  return ShowMessageBox(m_hWnd, text, kind) == IDYES;
}

void CConverterDlg::SetProgress(int position) {
  SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  SetDlgItemTextW(m_hWnd, IDC_PREFIXES, m_strPrefixes.c_str());
  RepaintNow();
}

void CConverterDlg::KeepAlive(int position) {
  SendDlgItemMessageW(m_hWnd, IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  RepaintNow();
}

// Paints what changed at once, then lets the system show it and handle
// what else is queued, dropping input.
void CConverterDlg::RepaintNow() {
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RepaintDroppingInput(m_hWnd);
}
