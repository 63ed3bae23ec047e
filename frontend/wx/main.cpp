// SPDX-License-Identifier: MIT
// zurconv-gui: the converter dialog as a desktop application.
#include "converter_app.h"

wxIMPLEMENT_APP(CConverterApp);
