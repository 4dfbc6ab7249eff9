// The module's modal dialogs with sample data from the library, opened through the module's exported
// launchers as a sibling module would open them. The snapshot command and the workbench both list
// them, so a dialog that lands is added here once.
#pragma once

#include "app/HostedModule.h"
#include "core/EditConstrData.h"

#include <functional>
#include <string>
#include <vector>

namespace kxapp {

struct SampleDialog {
    const char* name;
    const char* description;
    // Runs the dialog until it closes; the module must be loaded. False with `error` set when the
    // launcher cannot be reached.
    std::function<bool(HostedModule& module, std::string& error)> open;
};

std::vector<SampleDialog> sampleDialogs();

// The constraint data of the first sample macro in the core's model of the active drawing (the
// sample frames are placed first when the model holds none), with its first module current.
EditConstrData sampleConstraintData();
// Opens the modeless constraint editor on the sample data and shows its page `page` (0 constraints,
// 1 geometry, 2 variables, 3 new constraint); with `settings`, then presses its settings button (the
// macro settings dialog runs modally). False with `error` set when the launcher cannot be reached.
bool openSampleConstraintEditor(HostedModule& module, int page, bool settings, std::string& error);

} // namespace kxapp
