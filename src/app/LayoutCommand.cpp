// kestra-ss layout show NAME_OR_PATH: the layout's name, picture size and controls as tab-separated
// lines on standard output, for people and scripts:
//
//   name     <layout name>
//   picture  <width> <height>                  (0 0 when the layout has no picture)
//   control  <type> <topLeftX> <topLeftY> <bottomRightX> <bottomRightY> <contents> <combo list>
//            <resource id> <tab order>         (one line per control, in list order)
//
// Factors are written in the shortest form that reads back exactly, with '.' whatever the locale.
// Texts are written as they are, except control characters: tab, line feed and carriage return as
// \t, \n and \r, others as \xHH, so that every record stays one line of fields. Resource ids are
// those a macro page gives (33000 on); tab orders are the sorted keyboard order (0: none).
// Problems go to standard error: what the module printed while reading (a damaged line, a picture
// it could not read) and why a layout cannot be read at all.
#include "app/LayoutCommand.h"

#include "designer/Kx_DlgDesignerData.h"
#include "designer/LayoutFiles.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Bitmap.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace fs = std::filesystem;

namespace kxapp {

namespace {

void printUsage(std::FILE* out)
{
    std::fputs("usage: kestra-ss layout show NAME_OR_PATH\n"
               "\n"
               "NAME_OR_PATH is a layout name relative to the layout folder (\"sub\\frame\"), or the path\n"
               "of its .txt file, which must lie in that folder.\n",
               out);
}

std::string field(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::string number(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// What the module printed on the host's command line while reading, passed on to standard error.
void passOnCommandLine()
{
    const std::string printed = kxhost::takeCommandLineText();
    if (printed.empty())
        return;
    std::fputs(printed.c_str(), stderr);
    if (printed.back() != '\n')
        std::fputc('\n', stderr);
}

// A path the shell completed (relative to the current folder) is taken as a path; anything else
// is a layout name or an absolute path.
Kx_String layoutArgument(const char* argument)
{
    std::error_code ec;
    const fs::path given(argument);
    if (!given.is_absolute() && fs::is_regular_file(given, ec))
        return Kx_String(fs::absolute(given, ec).string());
    return Kx_String(argument);
}

int showLayout(const char* argument)
{
    kxhost::takeCommandLineText();
    Kx_DlgDesignerData layout;
    Kx_LayoutReadReport report;
    const bool read = layout.readFromFile(layoutArgument(argument), /*withPicture=*/true, report);
    passOnCommandLine();
    if (!read) {
        std::fprintf(stderr, "kestra-ss: cannot read layout '%s': %s\n", argument, report.message.c_str());
        return 1;
    }
    if (!report.pictureAttached)
        std::fprintf(stderr, "kestra-ss: layout '%s' has no picture (%s)\n", argument, report.picturePath.c_str());
    layout.sortAllControls();

    const SIZE picture = kxwin::bitmapSize(layout.getPicture());
    std::string out = "name\t" + field(layout.getName().view()) + "\n";
    out += "picture\t" + std::to_string(picture.cx) + "\t" + std::to_string(picture.cy) + "\n";
    for (int i = 0; i < layout.getNrControls(); ++i) {
        const Kx_DesignerControl& c = *layout.getControl(i);
        out += "control\t" + std::to_string(toInt(c.getType()));
        for (double f : {c.topLeftX(), c.topLeftY(), c.bottomRightX(), c.bottomRightY()})
            out += "\t" + number(f);
        out += "\t" + field(c.getContents().view());
        out += "\t" + field(c.getMergedExtComboList().view());
        out += "\t" + std::to_string(c.getResourceId());
        out += "\t" + std::to_string(c.getTabOrder()) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int runLayoutCommand(int argc, const char* const* args)
{
    if (argc == 1 && (std::string_view(args[0]) == "--help" || std::string_view(args[0]) == "-h")) {
        printUsage(stdout);
        return 0;
    }
    if (argc != 2 || std::string_view(args[0]) != "show" || args[1][0] == '\0') {
        printUsage(stderr);
        return 2;
    }
    return showLayout(args[1]);
}

} // namespace kxapp
