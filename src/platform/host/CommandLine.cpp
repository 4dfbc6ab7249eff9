// Command-line buffer of the host stand-in. Single-threaded like the host's user-interface thread.
#include "platform/host/CommandLine.h"

#include "platform/host/SimulatedDrawing.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

struct CommandLineState {
    std::string text;
    bool echo = false;
    int prompts = 0;
    int displayUpdates = 0;
};

CommandLineState& state()
{
    static CommandLineState s;
    return s;
}

void write(const std::string& piece)
{
    state().text += piece;
    if (state().echo) {
        std::fwrite(piece.data(), 1, piece.size(), stdout);
        std::fflush(stdout);
    }
}

} // namespace

int acutPrintf(const char* format, ...)
{
    if (format == nullptr)
        return -1;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        va_end(args);
        return -1;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    write(std::string(buffer.data(), static_cast<size_t>(needed)));
    return needed;
}

void acedPostCommandPrompt()
{
    ++state().prompts;
    write("\nCommand: ");
}

void acedUpdateDisplay()
{
    ++state().displayUpdates;
    kxhost::activeDrawing().logRequest("update the display");
}

namespace kxhost {

std::string commandLineText() { return state().text; }

std::string takeCommandLineText()
{
    std::string out;
    out.swap(state().text);
    return out;
}

void setCommandLineEcho(bool on) { state().echo = on; }
int commandPromptCount() { return state().prompts; }
int displayUpdateCount() { return state().displayUpdates; }

} // namespace kxhost
