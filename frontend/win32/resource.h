// SPDX-License-Identifier: MIT
// Identifiers of the converter dialog's template, its controls and its icon,
// for the resource script and the code alike (plain defines, as the
// resource compiler reads them). Exit and Open carry the dialog manager's
// IDOK and IDCANCEL, so that Escape and every close request land on Open.
#pragma once

#define IDD_CONVERTER_DIALOG 102
#define IDI_CONVERTER 128
#define IDC_PREFIXES 1000
#define IDC_CONVERT 1001
#define IDC_PROGRESS 1002
