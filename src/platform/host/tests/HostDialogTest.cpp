// The host's main window and a dialog handing control to the drawing and taking it back.
#include "platform/host/HostWindow.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

namespace {

class PickDialog : public KxHostDialog {
public:
    PickDialog() : KxHostDialog(5151, adsw_acadMainWnd()) {}
    bool hiddenDuringPick = false;
    bool mainEnabledDuringPick = false;
    bool mainDisabledAfterPick = false;

    // What a "Pick" button handler does: hand over, let the user pick, take back.
    void pick()
    {
        BeginEditorCommand();
        BeginEditorCommand();  // a second hand-over while one runs changes nothing
        hiddenDuringPick = !IsWindowVisible();
        mainEnabledDuringPick = ::IsWindowEnabled(adsw_acadMainWnd());
        CompleteEditorCommand();
        mainDisabledAfterPick = !::IsWindowEnabled(adsw_acadMainWnd());
    }
};

class HostDialogs : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        DialogTemplate t;
        t.id = 5151;
        t.title = "Pick";
        t.style = WS_POPUP | WS_CAPTION;
        t.cx = 100;
        t.cy = 50;
        module = kxwin::resourceModule("host-dialog-test");
        kxwin::addDialogTemplate(module, t);
        previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(previous);
        WindowLayerTest::TearDown();
    }
    HINSTANCE module = nullptr;
    HINSTANCE previous = nullptr;
};

TEST_F(HostDialogs, APickHidesTheModalDialogFreesTheMainWindowAndRestoresBoth)
{
    kxwin::UserAgent agent;
    PickDialog dialog;
    agent.onDialog(5151, [&](kxwin::DialogDriver& d) {
        EXPECT_FALSE(IsWindowEnabled(adsw_acadMainWnd()));
        dialog.pick();
        EXPECT_TRUE(IsWindowVisible(d.dialog()));
        d.pressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.hiddenDuringPick);
    EXPECT_TRUE(dialog.mainEnabledDuringPick);
    EXPECT_TRUE(dialog.mainDisabledAfterPick);
    EXPECT_EQ(dialog.editorCommandCount(), 1);
    EXPECT_TRUE(IsWindowEnabled(adsw_acadMainWnd()));
}

TEST_F(HostDialogs, TheMainWindowIsMadeOnceAndSurvivesItsCloseBox)
{
    HWND main = adsw_acadMainWnd();
    ASSERT_NE(main, nullptr);
    SendMessage(main, WM_CLOSE);
    EXPECT_EQ(adsw_acadMainWnd(), main);
}

} // namespace
