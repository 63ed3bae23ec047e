// SPDX-License-Identifier: MIT
// The program's fixed title, which the dialogs and every message box show.
// A macro so that the Windows resource script takes it too; C++ code uses
// kProgramTitle (prompts.h).
#pragma once

#define ZUR_PROGRAM_TITLE "ZUR level converter v1.0"
