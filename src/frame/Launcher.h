// The launcher convention, written once. Every exported launcher runs its dialog through these:
// the module's resources are current for the launcher's duration and restored on every path out,
// the dialog gets a copy of the caller's data, the data goes back only on OK, and nothing throws
// across the module boundary (an exception is reported on the command line and becomes the
// launcher's failure result).
#pragma once

#include "core/ZnTempResourceOverride.h"
#include "frame/ModelessDialogs.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Messages.h"

#include <exception>
#include <memory>
#include <new>
#include <utility>

namespace kxss {

// Runs `body` with the module's resources current; returns its result, or `failure` when it threw.
template <typename Result, typename Body>
Result runLauncher(const char* launcher, Result failure, Body&& body) noexcept
{
    try {
        attachModule();
        ZnTempResourceOverride resources;
        return body();
    } catch (const std::bad_alloc&) {
        acutPrintf("*Error* %s: not enough memory to open the dialog.\n", launcher);
    } catch (const std::exception& e) {
        acutPrintf("*Error* %s: %s\n", launcher, e.what());
    } catch (...) {
        acutPrintf("*Error* %s: the dialog failed.\n", launcher);
    }
    return failure;
}

// Runs a dialog modally under the convention and reports a dialog that could not be opened.
// Returns the dialog's result (IDOK, IDCANCEL...), -1 when it could not be opened.
template <typename Dialog>
INT_PTR runModal(const char* launcher, Dialog& dialog)
{
    const INT_PTR result = dialog.DoModal();
    if (result == -1)
        acutPrintf("*Error* %s: dialog %d could not be opened.\n", launcher, dialog.templateId());
    return result;
}

// The common modal launcher: builds Dialog(args...), copies `data` into dialog.data(), runs it and
// copies dialog.data() back on OK. True on OK; false on any other close, when the dialog cannot be
// made or opened, and when it threw.
template <typename Dialog, typename Data, typename... Args>
bool launchModal(const char* launcher, Data& data, Args&&... args) noexcept
{
    return runLauncher(launcher, false, [&] {
        auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
        dialog->data() = data;
        if (runModal(launcher, *dialog) != IDOK)
            return false;
        data = dialog->data();
        return true;
    });
}

} // namespace kxss
