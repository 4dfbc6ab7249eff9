// kestra-ss: loads the module as the host would and runs the command-line tools.
//
// Without arguments it runs the main job: load libkestra_ss.so from beside the program, send it the
// load and unload messages, show what it printed on the command line, and list the library it uses;
// with Qt it opens the workbench on a display, and otherwise also writes the dialog pictures.
// Exit codes: 0 success, 1 the job failed, 2 bad usage.
#include "app/BillCommand.h"
#include "app/LayoutCommand.h"
#include "app/MacroCommand.h"
#include "app/MainJob.h"
#include "app/ProfCommand.h"
#include "app/SheetCommand.h"
#ifdef KX_HAVE_QT
#include "app/SnapshotCommand.h"
#include "app/Workbench.h"
#endif

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

void printUsage(std::FILE* out)
{
    std::fputs("usage: kestra-ss [--help]\n", out);
    kxapp::printSheetUsage(out == stderr);
    kxapp::printBillUsage(out);
    std::fputs(
               "       kestra-ss layout show NAME_OR_PATH   (print a designed-dialog layout)\n"
               "       kestra-ss macro show FILE_OR_NAME    (print a macro definition)\n"
               "       kestra-ss macro bind FILE_OR_NAME    (the control ids a macro page gives its items)\n"
               "       kestra-ss prof show NAME | prof import TSV OUT.pr --type N   (profile tables)\n"
               "       kestra-ss snapshot NAME OUT.png | --all DIR | --list   (dialog pictures)\n"
               "\n"
               "Without arguments: load the KESTRA_SS module as the host does (load message, then\n"
               "unload message), print what it wrote on the command line, and list the library.\n"
               "With Qt: on a display, open the workbench window instead; without one, also write\n"
               "every dialog's picture to ./snapshots (or $KESTRA_SS_SNAPSHOTS).\n"
               "\n"
               "Environment: KESTRA_SS_LIBDIR and KESTRA_SS_RESDIR choose the library and resource\n"
               "folders.\n",
               out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
#ifdef KX_HAVE_QT
        return kxapp::runWithoutArguments(argv[0]);
#else
        return kxapp::runMainJob(argv[0]);
#endif
    }
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        printUsage(stdout);
        return 0;
    }
    if (first == "sheet")
        return kxapp::runSheetCommand(argc - 1, argv + 1, argv[0]);
    if (first == "bill")
        return kxapp::runBillCommand(argc - 1, argv + 1, argv[0]);
    if (first == "layout")
        return kxapp::runLayoutCommand(argc - 2, argv + 2);
    if (first == "macro")
        return kxapp::runMacroCommand(argc - 2, argv + 2, argv[0]);
    if (first == "prof")
        return kxapp::runProfCommand(argc - 2, argv + 2);
#ifdef KX_HAVE_QT
    if (first == "snapshot")
        return kxapp::runSnapshotCommand(argv[0], argc - 2, argv + 2);
#endif
    std::fprintf(stderr, "kestra-ss: unknown command '%s'\n\n", argv[1]);
    printUsage(stderr);
    return 2;
}
