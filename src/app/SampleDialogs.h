// The module's modal dialogs with sample data from the library, opened through the module's exported
// launchers as a sibling module would open them. The snapshot command and the workbench both list
// them, so a dialog that lands is added here once.
#pragma once

#include "app/HostedModule.h"

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

} // namespace kxapp
