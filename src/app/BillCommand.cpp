// kestra-ss bill demo: a bill of the sample frame written by the module's bill output.
#include "app/BillCommand.h"

#include "app/HostedModule.h"
#include "platform/host/CommandLine.h"

#include <charconv>
#include <string>
#include <string_view>

namespace kxapp {

namespace {

// The largest bill the demo makes: with pictures that is twice as many rows, far below the grid's
// limit, and a few seconds of work.
constexpr int kMaxDemoLines = 1'000'000;

} // namespace

void printBillUsage(std::FILE* out)
{
    std::fputs("       kestra-ss bill demo OUT [--rows N] [--pictures]\n"
               "                                 (a bill of the sample frame, N lines with made-up ones,\n"
               "                                  saved as the sheet file OUT)\n",
               out);
}

int runBillCommand(int argc, char** argv, const char* programPath)
{
    if (argc < 3 || std::string_view(argv[1]) != "demo") {
        std::fputs("usage:\n", stderr);
        printBillUsage(stderr);
        return 2;
    }
    const char* out = argv[2];
    int lines = 0;
    bool pictures = false;
    for (int i = 3; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--pictures") {
            pictures = true;
        } else if (arg == "--rows" && i + 1 < argc) {
            const std::string_view n = argv[++i];
            const auto r = std::from_chars(n.data(), n.data() + n.size(), lines);
            if (r.ec != std::errc() || r.ptr != n.data() + n.size() || lines < 1 || lines > kMaxDemoLines) {
                std::fprintf(stderr, "kestra-ss: bill demo: --rows needs a whole number from 1 to %d, not '%s'\n",
                             kMaxDemoLines, argv[i]);
                return 2;
            }
        } else {
            std::fprintf(stderr, "kestra-ss: bill demo: unknown argument '%s'\n", argv[i]);
            printBillUsage(stderr);
            return 2;
        }
    }
    if (*out == '\0') {
        std::fputs("kestra-ss: bill demo: the output file name is empty\n", stderr);
        return 2;
    }

    HostedModule module;
    std::string error;
    if (!module.load(programPath, error)) {
        std::fprintf(stderr, "kestra-ss: bill demo: %s\n", error.c_str());
        return 1;
    }
    auto* run = module.function<int(const char*, int, bool)>(kRunBillDemo);
    if (run == nullptr) {
        std::fputs("kestra-ss: bill demo: the module does not export runBillDemo\n", stderr);
        return 1;
    }
    kxhost::takeCommandLineText();
    const int status = run(out, lines, pictures);
    const std::string printed = kxhost::takeCommandLineText();
    if (status != 0) {
        std::fprintf(stderr, "kestra-ss: bill demo: the bill was not saved (status %d)\n%s", status, printed.c_str());
        return 1;
    }
    std::printf("Saved the bill to %s\n", out);
    return 0;
}

} // namespace kxapp
