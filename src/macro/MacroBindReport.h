// What a macro page makes of a macro: each item with the control id its page gives it, and each
// layout control that could not be bound. For `kestra-ss macro bind`, which layout authors use to
// check a layout against a macro.
#pragma once

#include "core/MacroData.h"
#include "frame/KxSsExport.h"

#include <string>

// Builds the macro dialog hidden on a copy of macro, as the module builds it, and writes the report
// lines (docs/macro-files.md) to report. False with error set when the dialog cannot be made.
// Unmangled, so the program finds it by a plain name in the loaded module.
extern "C" KXSS_API bool kxss_macroBindReport(const MacroData& macro, std::string& report, std::string& error);
