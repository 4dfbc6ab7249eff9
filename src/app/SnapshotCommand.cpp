// `kestra-ss snapshot`: renders each known dialog offscreen to a PNG. The module is loaded as the
// host loads it and its launchers are called as another module would call them.
#include "app/SnapshotCommand.h"

#include "app/HostedModule.h"
#include "app/SampleDialogs.h"

#include "app/MainJob.h"
#include "core/MacroData.h"
#include "core/MacroDrawing.h"
#include "core/DlgSelectProf.h"
#include "core/PromptDialog.h"
#include "platform/grid/Spread.h"
#include "platform/host/ModuleLoader.h"
#include "platform/qt/QtBackend.h"
#include "platform/win/Window.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace kxapp {

namespace {

// The module, loaded on the first dialog that needs it.
struct Module {
    HostedModule hosted;
    std::string error;

    bool open(const char* argv0) { return hosted.load(argv0, error); }
    template <typename Fn>
    Fn* function(const char* name)
    {
        return hosted.function<Fn>(name);
    }
};

struct Entry {
    const char* name;
    const char* description;
    // Opens the dialog; false with `error` set when it cannot be reached.
    std::function<bool(Module&, const char* argv0, std::string& error)> open;
    std::function<void(Module&)> close;
};

// The constraint editor on the sample macro, showing one page (or its settings dialog).
Entry constraintEntry(const char* name, const char* description, int page, bool settings)
{
    return {name, description,
            [page, settings](Module& module, const char* argv0, std::string& error) {
                if (!module.open(argv0)) {
                    error = module.error;
                    return false;
                }
                return openSampleConstraintEditor(module.hosted, page, settings, error);
            },
            [](Module& module) {
                if (auto* end = module.function<void()>(kEndDlgEditConstraints))
                    end();
            }};
}

std::vector<Entry> catalogue()
{
    std::vector<Entry> entries = {
        {"prompt", "the prompt dialog (8069)",
         [](Module&, const char*, std::string&) {
             runPromptDialog("Length", "Length of the plate in mm:", "300");
             return true;
         },
         {}},
        {"selectprof", "the core's profile chooser on the library's HEA-200 (8072)",
         [](Module&, const char*, std::string&) {
             DlgSelectProfData data;
             data.unknownName = "HEA-200";
             DlgSelectProf(data, /*withTables=*/true);
             return true;
         },
         {}},
        {"macro", "the macro dialog (8131)",
         [](Module& module, const char* argv0, std::string& error) {
             if (!module.open(argv0)) {
                 error = module.error;
                 return false;
             }
             auto* start = module.function<void(MacroData&)>(kStartDlgMacro);
             if (start == nullptr) {
                 error = "the module does not export StartDlgMacro";
                 return false;
             }
             MacroData data = kxcore::sampleMacroData(0);
             start(data);
             return true;
         },
         {}},
        {"macro-grid", "the macro dialog on a tab without a layout: every item in the grid (8131)",
         [](Module& module, const char* argv0, std::string& error) {
             if (!module.open(argv0)) {
                 error = module.error;
                 return false;
             }
             auto* start = module.function<void(MacroData&)>(kStartDlgMacro);
             if (start == nullptr) {
                 error = "the module does not export StartDlgMacro";
                 return false;
             }
             MacroData data = kxcore::sampleMacroData(0);
             data.initialTab = "General";
             start(data);
             return true;
         },
         {}},
        constraintEntry("constraints", "the constraint editor on the sample end plate connection (8715)", 0, false),
        constraintEntry("constraints-geometry", "the constraint editor, geometry page (8715, 8135)", 1, false),
        constraintEntry("constraints-variables", "the constraint editor, variables page (8715, 8099)", 2, false),
        constraintEntry("constraints-new", "the constraint editor, new-constraint page (8715, 216)", 3, false),
        constraintEntry("macro-settings", "the macro settings dialog of the sample macro (8141)", 0, true),
        {"bill", "the bill window: 30 lines, the total, two picture rows (248)",
         [](Module& module, const char* argv0, std::string& error) {
             if (!module.open(argv0)) {
                 error = module.error;
                 return false;
             }
             auto* open = module.function<bool()>(kOpenBillSample);
             if (open == nullptr) {
                 error = "the module does not export openBillSample";
                 return false;
             }
             if (!open()) {
                 error = "the bill window could not be made";
                 return false;
             }
             return true;
         },
         [](Module& module) {
             if (auto* close = module.function<void()>(kCloseBillSample))
                 close();
         }},
        {"showcase", "every control kind of the window layer (9901)",
         [](Module&, const char*, std::string&) {
             kxqt::runShowcaseDialog();
             return true;
         },
         {}},
    };
    // The module's sample dialogs go before the window layer's showcase, which stays last.
    auto at = entries.end() - 1;
    for (SampleDialog& sample : sampleDialogs()) {
        auto open = std::move(sample.open);
        at = 1 + entries.insert(at, Entry{sample.name, sample.description,
                           [open](Module& module, const char* argv0, std::string& error) {
                               if (!module.open(argv0)) {
                                   error = module.error;
                                   return false;
                               }
                               return open(module.hosted, error);
                           },
                           {}});
    }
    return entries;
}

bool snapshot(const Entry& entry, Module& module, const char* argv0, const std::string& out,
              kxqt::SnapshotResult& result)
{
    std::string error;
    bool reached = true;
    result = kxqt::snapshotDialog([&] { reached = entry.open(module, argv0, error); },
                                  [&] {
                                      if (entry.close)
                                          entry.close(module);
                                  },
                                  out);
    if (!reached)
    {
        result = kxqt::SnapshotResult();
        result.error = error;
    }
    if (!result.ok)
        std::fprintf(stderr, "kestra-ss: snapshot %s: %s\n", entry.name, result.error.c_str());
    return result.ok;
}

std::string htmlEscape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

void printUsage(std::FILE* out)
{
    std::fputs("usage: kestra-ss snapshot NAME OUT.png   (one dialog)\n"
               "       kestra-ss snapshot --all DIR      (every dialog, with DIR/index.html)\n"
               "       kestra-ss snapshot --list         (the dialog names)\n",
               out);
}

} // namespace

int runSnapshotCommand(const char* argv0, int argc, char** argv)
{
    const std::vector<Entry> entries = catalogue();
    if (argc == 1 && std::string(argv[0]) == "--list") {
        for (const Entry& e : entries)
            std::printf("%-12s %s\n", e.name, e.description);
        return 0;
    }
    if (argc != 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string first = argv[0];
    const Entry* one = nullptr;
    if (first != "--all") {
        for (const Entry& e : entries)
            if (first == e.name)
                one = &e;
        if (one == nullptr) {
            std::fprintf(stderr, "kestra-ss: snapshot: no dialog named '%s' (try --list)\n", first.c_str());
            return 2;
        }
    }
    std::string error;
    if (!kxqt::startQt(kxqt::QtDisplay::Offscreen, &error) || !kxqt::installQtBackend()) {
        std::fprintf(stderr, "kestra-ss: snapshot: %s\n", error.c_str());
        return 1;
    }
    // The backend goes before the module and before Qt's own globals at exit.
    struct BackendGuard {
        ~BackendGuard() { kxqt::removeQtBackend(); }
    } backendGuard;
    Module module;
    kxqt::SnapshotResult result;
    if (one != nullptr)
        return snapshot(*one, module, argv0, argv[1], result) ? 0 : 1;

    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec)) {
        std::fprintf(stderr, "kestra-ss: snapshot: cannot make folder %s\n", folder.c_str());
        return 1;
    }
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>KESTRA_SS dialogs</title></head>\n"
                       "<body>\n<h1>KESTRA_SS dialogs</h1>\n";
    bool allOk = true;
    for (const Entry& e : entries) {
        const std::string file = std::string(e.name) + ".png";
        if (!snapshot(e, module, argv0, (folder / file).string(), result)) {
            allOk = false;
            html += "<h2>" + htmlEscape(e.name) + "</h2>\n<p>not rendered: " + htmlEscape(result.error) + "</p>\n";
            continue;
        }
        html += "<h2>" + htmlEscape(e.name) + " &mdash; " + htmlEscape(result.title) + "</h2>\n<p>" +
                htmlEscape(e.description) + ", " + std::to_string(result.width) + " &times; " +
                std::to_string(result.height) + " pixels</p>\n<img src=\"" + file + "\" alt=\"" + htmlEscape(e.name) +
                "\">\n";
    }
    html += "</body></html>\n";
    std::ofstream index(folder / "index.html", std::ios::binary | std::ios::trunc);
    index << html;
    index.close();
    if (!index) {
        std::fprintf(stderr, "kestra-ss: snapshot: cannot write %s\n", (folder / "index.html").c_str());
        return 1;
    }
    std::printf("Wrote %zu pictures and %s\n", entries.size(), (folder / "index.html").c_str());
    return allOk ? 0 : 1;
}

} // namespace kxapp
