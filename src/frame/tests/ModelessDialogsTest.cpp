// The table of open macro dialogs, its deferred close, the single constraint editor, and the
// launcher convention.
#include "constraints/ConstraintLaunchers.h"
#include "constraints/ZnDlgEditConstraints.h"
#include "frame/Launcher.h"
#include "frame/ModelessDialogs.h"
#include "macro/MacroLaunchers.h"
#include "macro/ZnDlgMacro.h"
#include "platform/host/CommandLine.h"
#include "platform/win/Bitmap.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Frame : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        kxhost::takeCommandLineText();
    }
    void TearDown() override
    {
        for (int slot = 0; slot < kxss::macroDialogSlotCount(); ++slot) {
            if (auto* dialog = kxss::macroDialogInSlot(slot))
                dialog->macroData().setBusy(false);
        }
        DestroyAllMacroDlgs();
        agent.advanceClock(1000);
        EndDlgEditConstraints();
        EXPECT_EQ(kxss::macroDialogSlotCount(), 0);
        WindowLayerTest::TearDown();
    }
    int open(const char* title)
    {
        MacroData data;
        data.title = title;
        int slot = -1;
        EXPECT_TRUE(StartDlgMacroModeless(true, data, slot));
        return slot;
    }
    kxwin::UserAgent agent;
};

TEST_F(Frame, SlotsAreReusedFromTheTopAndTrailingEmptySlotsAreTrimmed)
{
    EXPECT_EQ(open("A"), 0);
    EXPECT_EQ(open("B"), 1);
    EXPECT_EQ(open("C"), 2);
    EXPECT_TRUE(EndDlgMacroModeless(1));
    EXPECT_EQ(kxss::macroDialogSlotCount(), 3) << "a slot in the middle stays";
    EXPECT_EQ(open("D"), 1);
    EXPECT_TRUE(EndDlgMacroModeless(2));
    EXPECT_EQ(kxss::macroDialogSlotCount(), 2);
    EXPECT_TRUE(EndDlgMacroModeless(1));
    EXPECT_TRUE(EndDlgMacroModeless(0));
    EXPECT_EQ(kxss::macroDialogSlotCount(), 0);
    EXPECT_FALSE(EndDlgMacroModeless(0));
    EXPECT_FALSE(EndDlgMacroModeless(-1));
}

TEST_F(Frame, ClosingTheLastSlotTrimsPastEmptySlotsBelowIt)
{
    open("A");
    open("B");
    open("C");
    EndDlgMacroModeless(1);
    EndDlgMacroModeless(2);
    EXPECT_EQ(kxss::macroDialogSlotCount(), 1);
}

TEST_F(Frame, TheDialogShowsTheTitleAndTheCallerReadsItsCurrentData)
{
    const int slot = open("End plate 1");
    auto* dialog = kxss::macroDialogInSlot(slot);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->dialogWindow().GetWindowText(), "End plate 1");
    EXPECT_TRUE(IsWindowVisible(dialog->dialogWindow().m_hWnd));
    EXPECT_EQ(GetParent(dialog->dialogWindow().m_hWnd), adsw_acadMainWnd());

    dialog->macroData().title = "edited";
    MacroData read;
    EXPECT_TRUE(GetDlgMacroData(slot, read));
    EXPECT_EQ(read.title, "edited");

    EndDlgMacroModeless(slot);
    MacroData untouched;
    untouched.title = "mine";
    EXPECT_FALSE(GetDlgMacroData(slot, untouched));
    EXPECT_EQ(untouched.title, "mine");
}

TEST_F(Frame, ABusyMacroDefersTheCloseUntilALaterTickFindsItFree)
{
    const int slot = open("busy");
    auto* dialog = kxss::macroDialogInSlot(slot);
    dialog->macroData().setBusy(true);
    const int prompts = kxhost::commandPromptCount();

    EXPECT_TRUE(EndDlgMacroModeless(slot));
    EXPECT_NE(kxss::macroDialogInSlot(slot), nullptr);
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 1);

    agent.advanceClock(49);
    EXPECT_EQ(kxhost::commandLineText(), "");
    agent.advanceClock(1);
    EXPECT_EQ(kxhost::takeCommandLineText(), "Delayed timer called.\n");
    EXPECT_NE(kxss::macroDialogInSlot(slot), nullptr) << "still busy: deferred again";
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 1);

    dialog->macroData().setBusy(false);
    agent.advanceClock(50);
    EXPECT_EQ(kxss::macroDialogInSlot(slot), nullptr);
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 0);
    EXPECT_EQ(ActiveTimerCount(), 0);
    EXPECT_EQ(kxhost::commandPromptCount(), prompts + 1);
}

TEST_F(Frame, ABusyDialogClosedTwiceWaitsOnOneTimerAndAStaleTimerNeverClosesItsSuccessor)
{
    const int slot = open("busy");
    kxss::macroDialogInSlot(slot)->macroData().setBusy(true);
    EXPECT_TRUE(EndDlgMacroModeless(slot));
    EXPECT_TRUE(EndDlgMacroModeless(slot));
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 1) << "one pending close per slot";
    EXPECT_EQ(ActiveTimerCount(), 1);

    // The dialog is closed another way before the timer fires; a new dialog takes its slot.
    kxss::macroDialogInSlot(slot)->macroData().setBusy(false);
    EXPECT_TRUE(EndDlgMacroModeless(slot));
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 0);
    EXPECT_EQ(ActiveTimerCount(), 0);
    EXPECT_EQ(open("successor"), slot);
    agent.advanceClock(500);
    ASSERT_NE(kxss::macroDialogInSlot(slot), nullptr) << "the old close must not reach the new dialog";
    EXPECT_EQ(kxss::macroDialogInSlot(slot)->dialogWindow().GetWindowText(), "successor");
}

TEST_F(Frame, ADialogRunningANestedLoopIsClosedOnlyAfterItReturns)
{
    const int slot = open("nested");
    auto* dialog = dynamic_cast<ZnDlgMacro*>(kxss::macroDialogInSlot(slot));
    ASSERT_NE(dialog, nullptr);
    {
        ZnDlgMacro::NestedLoop running(*dialog);
        EXPECT_TRUE(EndDlgMacroModeless(slot));
        EXPECT_EQ(kxss::macroDialogInSlot(slot), dialog) << "not destroyed under its own message box";
        agent.advanceClock(200);
        EXPECT_EQ(kxss::macroDialogInSlot(slot), dialog);
    }
    agent.advanceClock(50);
    EXPECT_EQ(kxss::macroDialogInSlot(slot), nullptr);
    EXPECT_EQ(ActiveTimerCount(), 0);
}

TEST_F(Frame, UnloadLeavesNoDialogAndNoTimerEvenWhenADialogIsBusy)
{
    const int busy = open("busy");
    kxss::macroDialogInSlot(busy)->macroData().setBusy(true);
    EndDlgMacroModeless(busy);
    open("plain");
    ASSERT_EQ(kxss::pendingMacroDialogCloses(), 1);
    kxss::destroyAllMacroDialogsAtUnload();
    EXPECT_EQ(kxss::macroDialogSlotCount(), 0);
    EXPECT_EQ(kxss::pendingMacroDialogCloses(), 0);
    EXPECT_EQ(ActiveTimerCount(), 0);
    agent.advanceClock(500);
    EXPECT_EQ(kxhost::commandLineText().find("Delayed timer called."), std::string::npos);
}

TEST_F(Frame, UnloadingWithABusyDialogLeavesTheCloseToTheTimer)
{
    open("A");
    const int busy = open("B");
    kxss::macroDialogInSlot(busy)->macroData().setBusy(true);
    DestroyAllMacroDlgs();
    EXPECT_EQ(kxss::macroDialogSlotCount(), 2);
    EXPECT_EQ(kxss::macroDialogInSlot(0), nullptr);
    kxss::macroDialogInSlot(busy)->macroData().setBusy(false);
    agent.advanceClock(50);
    EXPECT_EQ(kxss::macroDialogSlotCount(), 0);
}

TEST_F(Frame, TheDialogsOwnCloseButtonClosesItsSlotSafely)
{
    const int slot = open("A");
    HWND hwnd = kxss::macroDialogInSlot(slot)->dialogWindow().m_hWnd;
    kxwin::DialogDriver(hwnd).ok();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(kxss::macroDialogSlotCount(), 0);
}

TEST_F(Frame, AModalMacroDialogGivesTheDataBackMarkedClosedHoweverItEnds)
{
    agent.onDialog(ZnDlgMacro::kTemplateId, [](kxwin::DialogDriver& d) {
        EXPECT_EQ(d.title(), "Splice");
        d.escape();
    });
    MacroData data;
    data.title = "Splice";
    StartDlgMacro(data);
    EXPECT_TRUE(data.isClosed());
}

TEST_F(Frame, OnlyOneConstraintEditorOpensAndASecondCallCopiesNothing)
{
    EditConstrData first;
    first.currentModule = "Plate";
    EXPECT_TRUE(StartDlgEditConstraints(first));
    CWnd* editor = kxss::constraintEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetFocus(), adsw_acadMainWnd());

    EditConstrData second;
    second.currentModule = "Bolt";
    EXPECT_TRUE(StartDlgEditConstraints(second));
    EXPECT_EQ(kxss::constraintEditor(), editor);
    EXPECT_EQ(static_cast<ZnDlgEditConstraints*>(editor)->data().currentModule, "Plate");

    EndDlgEditConstraints();
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
    EXPECT_EQ(kxhost::takeCommandLineText(), "\nCommand: ");
}

TEST_F(Frame, AnEditorWhoseWindowIsAlreadyGoneIsReportedAndForgotten)
{
    EditConstrData data;
    StartDlgEditConstraints(data);
    DestroyWindow(kxss::constraintEditor()->m_hWnd);
    kxhost::takeCommandLineText();
    EndDlgEditConstraints();
    EXPECT_EQ(kxhost::takeCommandLineText(), "Erase window failed\n\nCommand: ");
    EXPECT_EQ(kxss::constraintEditor(), nullptr);
}

// A dialog of the convention's shape whose OnInitDialog can throw.
struct Settings {
    int value = 0;
};

class SettingsDialog : public CDialog {
public:
    explicit SettingsDialog(bool fail = false) : CDialog(8131), m_fail(fail) {}
    Settings& data() { return m_data; }

protected:
    BOOL OnInitDialog() override
    {
        if (m_fail)
            throw std::runtime_error("the picture is missing");
        m_data.value += 1;
        return TRUE;
    }

private:
    Settings m_data;
    bool m_fail;
};

TEST_F(Frame, TheLauncherCopiesBackOnlyOnOkAndRestoresTheHostsResources)
{
    const HINSTANCE host = AfxGetResourceHandle();
    Settings settings{10};
    agent.onDialog(8131, [&](kxwin::DialogDriver& d) {
        EXPECT_EQ(kxwin::resourceModuleName(AfxGetResourceHandle()), "kestra_ss");
        d.escape();
    });
    EXPECT_FALSE(kxss::launchModal<SettingsDialog>("Test", settings));
    EXPECT_EQ(settings.value, 10);

    agent.onDialog(8131, [](kxwin::DialogDriver& d) { d.pressKey(VK_RETURN); });
    EXPECT_TRUE(kxss::launchModal<SettingsDialog>("Test", settings));
    EXPECT_EQ(settings.value, 11);
    EXPECT_EQ(AfxGetResourceHandle(), host);
}

TEST_F(Frame, AnExceptionInADialogBecomesTheLaunchersFailureAndALine)
{
    Settings settings{10};
    EXPECT_FALSE(kxss::launchModal<SettingsDialog>("StartDlgTest", settings, /*fail=*/true));
    EXPECT_EQ(settings.value, 10);
    EXPECT_EQ(kxhost::takeCommandLineText(), "*Error* StartDlgTest: the picture is missing\n");
    EXPECT_EQ(kxwin::resourceModuleName(AfxGetResourceHandle()), "host");
}

} // namespace

namespace {

TEST(SharedBitmaps, LoadFromTheModulesResourcesAndGoAtUnload)
{
    kxss::attachModule();
    kxss::loadSharedBitmaps();
    ASSERT_NE(kxss::sharedButtonBitmap(8134), nullptr);
    ASSERT_NE(kxss::sharedButtonBitmap(8136), nullptr);
    EXPECT_EQ(kxwin::bitmapSize(kxss::sharedButtonBitmap(8134)), (SIZE{64, 16}));
    EXPECT_EQ(kxwin::resourceModuleName(AfxGetResourceHandle()), "host") << "the host's resources are current again";
    kxss::freeSharedBitmaps();
    EXPECT_EQ(kxss::sharedButtonBitmap(8134), nullptr);
}

} // namespace
