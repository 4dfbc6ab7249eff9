// The edit and rich-edit controls: selection and editing by characters of UTF-8 text, the keys a
// person uses, the clipboard, limits and styles, multi-line texts, and rich formatting runs.
#include "platform/win/tests/ControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using kxwin::DialogDriver;
using kxwin::testing::control;
using kxwin::testing::JournalDialog;
using Strings = std::vector<std::string>;
using Selection = std::pair<int, int>;

constexpr int kEdit = 1;
constexpr int kOther = 2;

class EditTest : public kxwin::testing::ControlsTest {
protected:
    // A dialog with the edit under test (and a second edit to tab to).
    DialogDriver make(const std::string& text, DWORD style = ES_AUTOHSCROLL, const char* cls = "Edit")
    {
        dialog = &open({control(kEdit, cls, text, style | WS_TABSTOP, 5, 5, 120, 40),
                        control(kOther, "Edit", "keep", ES_AUTOHSCROLL | WS_TABSTOP, 5, 50, 120, 14)});
        DialogDriver d = driver(*dialog);
        d.focus(kEdit);
        dialog->journal.clear();
        return d;
    }
    HWND edit() const { return GetDlgItem(dialog->m_hWnd, kEdit); }
    std::string clipboard() const { return kxwin::backend().clipboardText(); }
    void ctrlKey(DialogDriver& d, int key) { d.pressKey(key, /*shift=*/false, /*ctrl=*/true); }

    JournalDialog* dialog = nullptr;
};

TEST_F(EditTest, SelectionAndTypingCountCharactersNotBytes)
{
    DialogDriver d = make("Größe 5€");
    d.selectText(kEdit, 2, 5);
    EXPECT_EQ(d.selection(kEdit), Selection(2, 5));
    ctrlKey(d, 'C');
    EXPECT_EQ(clipboard(), "öße");
    d.type("x");
    EXPECT_EQ(d.text(kEdit), "Grx 5€");
    EXPECT_EQ(d.selection(kEdit), Selection(3, 3));
    d.selectText(kEdit, 5, -1);
    EXPECT_EQ(d.selection(kEdit), Selection(5, 6)) << "-1 selects to the end";
}

TEST_F(EditTest, BackspaceAndDeleteRemoveWholeCharacters)
{
    DialogDriver d = make("a😀€b");
    d.selectText(kEdit, 3, 3);
    d.pressKey(VK_BACK);
    EXPECT_EQ(d.text(kEdit), "a😀b");
    d.pressKey(VK_BACK);
    EXPECT_EQ(d.text(kEdit), "ab");
    d.selectText(kEdit, 0, 0).pressKey(VK_DELETE);
    EXPECT_EQ(d.text(kEdit), "b");
}

TEST_F(EditTest, ArrowsMoveByCharactersShiftExtendsAndCtrlJumpsByWords)
{
    DialogDriver d = make("one two three");
    d.selectText(kEdit, 0, 0);
    d.pressKey(VK_RIGHT, /*shift=*/false, /*ctrl=*/true);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 4));
    d.pressKey(VK_END, /*shift=*/true);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 13));
    d.pressKey(VK_LEFT);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 4)) << "Left without Shift collapses to the start";
    d.pressKey(VK_RIGHT, /*shift=*/true).pressKey(VK_RIGHT, /*shift=*/true);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 6));
    d.pressKey(VK_HOME, /*shift=*/true);
    EXPECT_EQ(d.selection(kEdit), Selection(0, 4)) << "the anchor stays where the selection began";
    d.pressKey(VK_DOWN);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 4)) << "Down in a single-line edit acts as Right";
}

TEST_F(EditTest, BytesThatAreNoCharacterGoThroughEditingUnchanged)
{
    DialogDriver d = make("a\xFF" "b");
    EXPECT_EQ(GetWindowTextLength(edit()), 3);
    d.selectText(kEdit, 3, 3).type("c");
    EXPECT_EQ(d.text(kEdit), "a\xFF" "bc");
    d.selectText(kEdit, 1, 2).pressKey(VK_DELETE);
    EXPECT_EQ(d.text(kEdit), "abc") << "the stray byte is one character";
}

TEST_F(EditTest, ReadingIntoASmallBufferNeverSplitsACharacter)
{
    make("aé");
    char buffer[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(SendMessage(edit(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(buffer[3], '#');
    EXPECT_EQ(SendMessage(edit(), WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(SendMessage(edit(), WM_GETTEXT, 10, 0), 0) << "no buffer, no crash";
}

TEST_F(EditTest, TheLimitRefusesTypingAndCutsPastesButNeverTheProgramsText)
{
    DialogDriver d = make("ab");
    SendMessage(edit(), EM_LIMITTEXT, 5);
    d.selectText(kEdit, 2, 2);
    kxwin::backend().setClipboardText("xyz123");
    ctrlKey(d, 'V');
    EXPECT_EQ(d.text(kEdit), "abxyz");
    d.type("q");
    EXPECT_EQ(d.text(kEdit), "abxyz");
    EXPECT_EQ(dialog->of(kEdit), (Strings{"EN_UPDATE", "EN_CHANGE", "EN_MAXTEXT", "EN_MAXTEXT"}));
    d.selectText(kEdit, 0, 2).type("Q");
    EXPECT_EQ(d.text(kEdit), "Qxyz") << "typing over a selection makes room";
    SetWindowText(edit(), "longer than five");
    EXPECT_EQ(d.text(kEdit), "longer than five");
    EXPECT_EQ(SendMessage(edit(), EM_GETLIMITTEXT), 5);
}

TEST_F(EditTest, DigitsOnlyRefusesLettersWhetherTypedOrPasted)
{
    DialogDriver d = make("", ES_NUMBER);
    d.type("12a3");
    EXPECT_EQ(d.text(kEdit), "123");
    kxwin::backend().setClipboardText("4x");
    ctrlKey(d, 'V');
    EXPECT_EQ(d.text(kEdit), "123");
    kxwin::backend().setClipboardText("45");
    ctrlKey(d, 'V');
    EXPECT_EQ(d.text(kEdit), "12345");
}

TEST_F(EditTest, UppercaseStyleConvertsTypedPastedAndProgramText)
{
    DialogDriver d = make("", ES_UPPERCASE);
    d.type("straße ä");
    EXPECT_EQ(d.text(kEdit), "STRAßE Ä");
    SetWindowText(edit(), "ok");
    EXPECT_EQ(d.text(kEdit), "OK");
}

TEST_F(EditTest, ReadOnlyAllowsSelectingAndCopyingButNoChange)
{
    DialogDriver d = make("fixed", ES_READONLY);
    d.type("x").pressKey(VK_BACK).pressKey(VK_DELETE);
    ctrlKey(d, 'A');
    ctrlKey(d, 'X');
    kxwin::backend().setClipboardText("pasted");
    ctrlKey(d, 'V');
    EXPECT_EQ(d.text(kEdit), "fixed");
    EXPECT_TRUE(dialog->of(kEdit).empty()) << "no change, so no EN_CHANGE";
    ctrlKey(d, 'A');
    ctrlKey(d, 'C');
    EXPECT_EQ(clipboard(), "fixed");
    SendMessage(edit(), EM_SETREADONLY, FALSE);
    d.selectText(kEdit, 5, 5).type("!");
    EXPECT_EQ(d.text(kEdit), "fixed!");
}

TEST_F(EditTest, TheModifiedFlagFollowsThePersonNotTheProgram)
{
    DialogDriver d = make("start");
    EXPECT_FALSE(SendMessage(edit(), EM_GETMODIFY));
    d.type("x");
    EXPECT_TRUE(SendMessage(edit(), EM_GETMODIFY));
    SetWindowText(edit(), "again");
    EXPECT_FALSE(SendMessage(edit(), EM_GETMODIFY));
    SendMessage(edit(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("program "));
    EXPECT_FALSE(SendMessage(edit(), EM_GETMODIFY));
    EXPECT_EQ(d.text(kEdit), "program again");
}

TEST_F(EditTest, SettingTheTextNotifiesUpdateThenChangeAndPutsTheCaretFirst)
{
    DialogDriver d = make("old");
    d.selectText(kEdit, 1, 3);
    SetWindowText(edit(), "new text");
    EXPECT_EQ(dialog->of(kEdit), (Strings{"EN_UPDATE", "EN_CHANGE"}));
    EXPECT_EQ(d.selection(kEdit), Selection(0, 0));
}

TEST_F(EditTest, UndoTakesBackATypingRunAtOnceAndUndoingAgainRedoes)
{
    DialogDriver d = make("");
    d.type("abc");
    ctrlKey(d, 'Z');
    EXPECT_EQ(d.text(kEdit), "");
    ctrlKey(d, 'Z');
    EXPECT_EQ(d.text(kEdit), "abc");
    d.pressKey(VK_HOME).type("X");
    ctrlKey(d, 'Z');
    EXPECT_EQ(d.text(kEdit), "abc") << "moving the caret starts a new step";
    EXPECT_TRUE(SendMessage(edit(), EM_CANUNDO));
    SetWindowText(edit(), "fresh");
    EXPECT_FALSE(SendMessage(edit(), EM_CANUNDO));
}

TEST_F(EditTest, PastingIntoOneLineKeepsTheFirstLineAndIntoManyMakesCrLfBreaks)
{
    DialogDriver d = make("");
    kxwin::backend().setClipboardText("first\nsecond");
    ctrlKey(d, 'V');
    EXPECT_EQ(d.text(kEdit), "first");
    DialogDriver m = make("", ES_MULTILINE);
    ctrlKey(m, 'V');
    EXPECT_EQ(m.text(kEdit), "first\r\nsecond");
}

TEST_F(EditTest, ControlCharactersAndInvalidCodePointsAreNotTyped)
{
    DialogDriver d = make("ok");
    for (WPARAM cp : {WPARAM{0x01}, WPARAM{0x1B}, WPARAM{0x7F}, WPARAM{0xD800}, WPARAM{0x110000}, WPARAM{'\t'}})
        kxwin::sendUserInput(edit(), WM_CHAR, cp, 1);
    EXPECT_EQ(d.text(kEdit), "ok");
}

TEST_F(EditTest, TabbingIntoAnEditSelectsAllOfItsText)
{
    DialogDriver d = make("abc");
    d.tab();
    EXPECT_EQ(GetFocus(), d.item(kOther));
    EXPECT_EQ(d.selection(kOther), Selection(0, 4));
    d.type("new");
    EXPECT_EQ(d.text(kOther), "new");
}

TEST_F(EditTest, DraggingTheMouseSelectsAndADoubleClickSelectsAWord)
{
    DialogDriver d = make("alpha beta");
    const int w = 6;  // the headless character width
    d.drag(kEdit, POINT{1 * w, 5}, POINT{4 * w, 5});
    EXPECT_EQ(d.selection(kEdit), Selection(1, 4));
    EXPECT_EQ(GetCapture(), nullptr);
    d.clickAt(kEdit, POINT{2 * w, 5});
    EXPECT_EQ(d.selection(kEdit), Selection(2, 2));
    d.doubleClick(kEdit);
    EXPECT_EQ(d.selection(kEdit), Selection(6, 10)) << "past the text: the last word";
}

TEST_F(EditTest, MultiLineEditsCountLinesAndNeverStopInsideALineBreak)
{
    DialogDriver d = make("ab\r\ncd\r\nef", ES_MULTILINE);
    EXPECT_EQ(SendMessage(edit(), EM_GETLINECOUNT), 3);
    EXPECT_EQ(SendMessage(edit(), EM_LINEINDEX, 2), 8);
    EXPECT_EQ(SendMessage(edit(), EM_LINEINDEX, 3), -1);
    EXPECT_EQ(SendMessage(edit(), EM_LINEFROMCHAR, 5), 1);
    EXPECT_EQ(SendMessage(edit(), EM_LINELENGTH, 4), 2);
    d.selectText(kEdit, 3, 3);
    EXPECT_EQ(d.selection(kEdit), Selection(2, 2)) << "between CR and LF means before the break";
    d.pressKey(VK_RIGHT);
    EXPECT_EQ(d.selection(kEdit), Selection(4, 4));
    d.pressKey(VK_DOWN);
    EXPECT_EQ(d.selection(kEdit), Selection(8, 8));
    d.selectText(kEdit, 4, 4).pressKey(VK_BACK);
    EXPECT_EQ(d.text(kEdit), "abcd\r\nef");
    d.pressKey(VK_END, /*shift=*/false, /*ctrl=*/true);
    EXPECT_EQ(d.selection(kEdit), Selection(8, 8));
}

TEST_F(EditTest, GetLineCopiesNoMoreThanTheSizeInTheBuffersFirstWord)
{
    make("x\r\ngröße", ES_MULTILINE);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    const WORD size = 4;
    std::memcpy(buffer, &size, sizeof size);
    EXPECT_EQ(SendMessage(edit(), EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_EQ(std::string(buffer, 4), "grö");
    EXPECT_EQ(buffer[4], '#') << "no terminating zero, nothing past the size";
    EXPECT_EQ(SendMessage(edit(), EM_GETLINE, 7, reinterpret_cast<LPARAM>(buffer)), 0);
}

TEST_F(EditTest, ASelectionBeyondSixtyFourThousandIsReportedThroughThePointers)
{
    make(std::string(70000, 'x'));
    SendMessage(edit(), EM_LIMITTEXT, 0);
    SendMessage(edit(), EM_SETSEL, 1, -1);
    DWORD start = 0;
    DWORD end = 0;
    EXPECT_EQ(SendMessage(edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)), -1);
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 70000u);
}

// --- Rich edit -----------------------------------------------------------------------------------

class RichEditTest : public EditTest {
protected:
    DialogDriver makeRich(const std::string& text)
    {
        return make(text, ES_MULTILINE | ES_WANTRETURN, RICHEDIT_CLASS);
    }
    void format(WPARAM target, DWORD mask, DWORD effects, COLORREF colour = 0)
    {
        CHARFORMAT f;
        f.dwMask = mask;
        f.dwEffects = effects;
        f.crTextColor = colour;
        EXPECT_TRUE(SendMessage(edit(), EM_SETCHARFORMAT, target, reinterpret_cast<LPARAM>(&f)));
    }
    Strings runTexts() const
    {
        Strings out;
        for (const auto& run : kxwin::richTextRuns(edit()))
            out.push_back(run.text + ((run.format.dwEffects & CFE_BOLD) ? "*" : ""));
        return out;
    }
};

TEST_F(RichEditTest, FormatsFollowTheTextAsItIsEdited)
{
    DialogDriver d = makeRich("Result: OK");
    d.selectText(kEdit, 8, 10);
    format(SCF_SELECTION, CFM_BOLD, CFE_BOLD);
    EXPECT_EQ(runTexts(), (Strings{"Result: ", "OK*"}));
    d.selectText(kEdit, 10, 10).type("!");
    EXPECT_EQ(runTexts(), (Strings{"Result: ", "OK!*"})) << "new text takes the format before it";
    d.selectText(kEdit, 0, 0).type("> ");
    EXPECT_EQ(runTexts(), (Strings{"> Result: ", "OK!*"}));
    d.selectText(kEdit, 6, 12).pressKey(VK_DELETE);
    EXPECT_EQ(runTexts(), (Strings{"> Resu", "!*"}));
    SetWindowText(edit(), "plain");
    EXPECT_EQ(runTexts(), (Strings{"plain"}));
}

TEST_F(RichEditTest, AnEmptySelectionsFormatAppliesToWhatIsTypedThere)
{
    DialogDriver d = makeRich("ab");
    d.selectText(kEdit, 1, 1);
    format(SCF_SELECTION, CFM_COLOR, 0, RGB(255, 0, 0));
    d.type("X");
    const auto runs = kxwin::richTextRuns(edit());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[1].text, "X");
    EXPECT_EQ(runs[1].format.crTextColor, RGB(255, 0, 0));
    EXPECT_FALSE(runs[1].format.dwEffects & CFE_AUTOCOLOR);
}

TEST_F(RichEditTest, ReadingTheFormatOfAMixedSelectionClearsTheMaskOfWhatDiffers)
{
    DialogDriver d = makeRich("normal bold");
    d.selectText(kEdit, 7, 11);
    format(SCF_SELECTION, CFM_BOLD, CFE_BOLD);
    d.selectText(kEdit, 3, 9);
    CHARFORMAT read;
    const LRESULT mask = SendMessage(edit(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&read));
    EXPECT_EQ(static_cast<DWORD>(mask), read.dwMask);
    EXPECT_FALSE(read.dwMask & CFM_BOLD);
    EXPECT_TRUE(read.dwMask & CFM_ITALIC);
    d.selectText(kEdit, 8, 9);
    SendMessage(edit(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&read));
    EXPECT_TRUE((read.dwMask & CFM_BOLD) && (read.dwEffects & CFE_BOLD));
}

TEST_F(RichEditTest, ChangeNotificationsWaitForTheEventMask)
{
    makeRich("");
    SetWindowText(edit(), "one");
    EXPECT_TRUE(dialog->of(kEdit).empty());
    SendMessage(edit(), EM_SETEVENTMASK, 0, ENM_CHANGE);
    SetWindowText(edit(), "two");
    EXPECT_EQ(dialog->of(kEdit), (Strings{"EN_CHANGE"}));
}

TEST_F(RichEditTest, ATextRangeNeverWritesMoreBytesThanTheRangeHasCharacters)
{
    makeRich("äöü");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    TEXTRANGE range;
    range.chrg = CHARRANGE{0, 3};
    range.lpstrText = buffer;
    EXPECT_EQ(SendMessage(edit(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)), 2);
    EXPECT_STREQ(buffer, "ä");
    EXPECT_EQ(buffer[4], '#');
    range.chrg = CHARRANGE{5, 2};
    EXPECT_EQ(SendMessage(edit(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(RichEditTest, AFaceNameWithoutItsZeroIsCutToFit)
{
    makeRich("x");
    CHARFORMAT f;
    f.dwMask = CFM_FACE;
    std::memset(f.szFaceName, 'A', sizeof f.szFaceName);
    SendMessage(edit(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&f));
    const auto runs = kxwin::richTextRuns(edit());
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(std::string(runs[0].format.szFaceName), std::string(LF_FACESIZE - 1, 'A'));
    CHARFORMAT small;
    small.cbSize = 4;
    EXPECT_EQ(SendMessage(edit(), EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&small)), 0);
    EXPECT_EQ(SendMessage(edit(), EM_SETCHARFORMAT, SCF_ALL, 0), 0);
}

TEST_F(RichEditTest, LoneCarriageReturnsAndLineFeedsBreakLinesToo)
{
    makeRich("eq1\n\req2\r\neq3");
    EXPECT_EQ(SendMessage(edit(), EM_GETLINECOUNT), 4);
    bool system = true;
    EXPECT_EQ(SendMessage(edit(), EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3)), 0xFFFFFF);
    EXPECT_EQ(kxwin::richEditBackground(edit(), &system), RGB(1, 2, 3));
    EXPECT_FALSE(system);
}

} // namespace
