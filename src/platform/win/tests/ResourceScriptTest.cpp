// Dialog template files: reading, the errors a person can act on, and writing back.
#include "platform/win/ResourceScript.h"

#include "platform/win/Messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kPrompt = R"(# The prompt dialog.
DIALOG 8069
TITLE "Value"
SIZE 0 0 220 66
STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
FONT 8 "MS Shell Dlg"
CONTROL 1000 Static "Say \"why\"\\here" SS_LEFT | WS_VISIBLE 7 7 206 8
CONTROL 1001 Edit "" ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE 7 18 206 14 EXSTYLE WS_EX_CLIENTEDGE
CONTROL 1 Button "OK" BS_DEFPUSHBUTTON | WS_TABSTOP | 0x10000000 110 45 50 14
CONTROL -1 Static "" 0 0 0 1 1
CONTROL -1 Static "" 0 0 0 1 1
END
)";

TEST(ResourceScript, ReadsStylesTextsEscapesAndSizes)
{
    kxwin::ResourceScriptError error;
    auto dialogs = kxwin::parseDialogTemplates(kPrompt, error);
    ASSERT_TRUE(dialogs) << error.line << ": " << error.message;
    ASSERT_EQ(dialogs->size(), 1u);
    const DialogTemplate& d = dialogs->front();
    EXPECT_EQ(d.id, 8069);
    EXPECT_EQ(d.title, "Value");
    EXPECT_EQ(d.style, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    ASSERT_EQ(d.items.size(), 5u);
    EXPECT_EQ(d.items[0].text, "Say \"why\"\\here");
    EXPECT_EQ(d.items[1].exStyle, WS_EX_CLIENTEDGE);
    EXPECT_EQ(d.items[2].style, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    EXPECT_EQ(d.items[2].cx, 50);
}

TEST(ResourceScript, WritingAndReadingAgainGivesTheSameTemplate)
{
    kxwin::ResourceScriptError error;
    auto first = kxwin::parseDialogTemplates(kPrompt, error);
    ASSERT_TRUE(first);
    first->front().items[0].text = "line\none\ttab";
    auto again = kxwin::parseDialogTemplates(kxwin::formatDialogTemplate(first->front()), error);
    ASSERT_TRUE(again) << error.line << ": " << error.message;
    EXPECT_EQ(again->front(), first->front());
}

TEST(ResourceScript, DamagedFilesNameTheLineAndTheReason)
{
    struct Case {
        const char* text;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"DIALOG 1\nSTYLE WS_POPUP | WS_NOPE\nEND\n", 2, "unknown style \"WS_NOPE\""},
        {"DIALOG 1\nSTYLE WS_POPUP |\nEND\n", 2, "missing after '|'"},
        {"DIALOG 1\nTITLE \"open\nEND\n", 2, "not closed"},
        {"DIALOG 1\nCONTROL 5 Edit \"\" 0 1 2 3\nEND\n", 2, "expected 4 numbers"},
        {"DIALOG 1\nCONTROL 5 Edit \"\" 0 1 2 3 99999\nEND\n", 2, "not a size"},
        {"DIALOG 1\nCONTROL 5 Edit \"\" 0 1 2 3 4\nCONTROL 5 Edit \"\" 0 1 2 3 4\nEND\n", 3, "used twice"},
        {"DIALOG 1\nEND\nDIALOG 1\nEND\n", 3, "defined twice"},
        {"TITLE \"x\"\n", 1, "outside a DIALOG"},
        {"DIALOG 1\nSIZE 0 0 10\n", 2, "SIZE"},
        {"DIALOG 1\n", 2, "has no END"},
        {"DIALOG 0x\n", 1, "DIALOG needs one id"},
        {"DIALOG 1\nFONT 800 \"x\"\nEND\n", 2, "point size"},
        {"DIALOG 1\nTITLE \"a\\q\"\nEND\n", 2, "unknown escape"},
        {"DIALOG 1\nBOGUS\nEND\n", 2, "unknown keyword"},
        {"DIALOG 1\nTITLE \"a\0b\"\nEND\n", 2, "NUL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        kxwin::ResourceScriptError error;
        // Some cases hold a NUL byte: pass the whole literal up to its terminator.
        std::string_view text(c.text);
        if (std::string_view(c.reason) == "NUL")
            text = std::string_view("DIALOG 1\nTITLE \"a\0b\"\nEND\n", 25);
        EXPECT_FALSE(kxwin::parseDialogTemplates(text, error));
        EXPECT_EQ(error.line, c.line);
        EXPECT_NE(error.message.find(c.reason), std::string::npos) << error.message;
    }
}

TEST(ResourceScript, EveryPrefixOfAValidFileParsesOrFailsCleanly)
{
    const std::string text = kPrompt;
    for (size_t n = 0; n <= text.size(); ++n) {
        kxwin::ResourceScriptError error;
        auto result = kxwin::parseDialogTemplates(std::string_view(text).substr(0, n), error);
        if (!result) {
            EXPECT_FALSE(error.message.empty());
        }
    }
}

TEST(ResourceScript, CrlfLineEndsAndAByteOrderMarkAreAccepted)
{
    kxwin::ResourceScriptError error;
    auto dialogs = kxwin::parseDialogTemplates("\xEF\xBB\xBF" "DIALOG 7\r\nTITLE \"T\"\r\nEND\r\n", error);
    ASSERT_TRUE(dialogs) << error.message;
    EXPECT_EQ(dialogs->front().title, "T");
}

} // namespace
