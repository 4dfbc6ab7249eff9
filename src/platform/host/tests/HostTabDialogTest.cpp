// The tabbed main dialog: pages from their own templates, switching by the user and by key, a veto,
// and Tab moving through the visible page.
#include "platform/host/HostTabDialog.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

namespace {

constexpr int kTabs = 8097;

class Pages : public KxHostTabDialog {
public:
    Pages() : KxHostTabDialog(6100, kTabs) {}
    std::vector<int> changes;
    bool keepFirstPage = false;

protected:
    BOOL OnInitDialog() override
    {
        AddTab("General", std::make_unique<CDialog>(), 6101);
        AddTab("Bolts", std::make_unique<CDialog>(), 6102);
        return TRUE;
    }
    void OnTabChanged(int index) override { changes.push_back(index); }
    bool CanLeaveTab(int index) override { return !(keepFirstPage && index == 0); }
};

DialogTemplate page(int id, int editId)
{
    DialogTemplate t;
    t.id = id;
    t.style = WS_CHILD;
    t.cx = 150;
    t.cy = 80;
    t.items = {{editId, "Edit", "", WS_TABSTOP | WS_VISIBLE | WS_BORDER, 0, 4, 4, 60, 12},
               {editId + 1, "Edit", "", WS_TABSTOP | WS_VISIBLE | WS_BORDER, 0, 4, 20, 60, 12}};
    return t;
}

class HostTabs : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        DialogTemplate main;
        main.id = 6100;
        main.title = "Tabs";
        main.style = WS_POPUP | WS_CAPTION;
        main.cx = 200;
        main.cy = 140;
        main.items = {{kTabs, "SysTabControl32", "", WS_TABSTOP | WS_VISIBLE, 0, 4, 4, 190, 100},
                      {IDOK, "Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0, 140, 115, 50, 14}};
        module = kxwin::resourceModule("host-tabs-test");
        kxwin::addDialogTemplate(module, main);
        kxwin::addDialogTemplate(module, page(6101, 100));
        kxwin::addDialogTemplate(module, page(6102, 200));
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

TEST_F(HostTabs, OnePageShowsAtATimeAndTheUserSwitchesByClickOrCtrlTab)
{
    kxwin::UserAgent agent;
    Pages dialog;
    agent.onDialog(6100, [&](kxwin::DialogDriver& d) {
        EXPECT_TRUE(d.isVisible(100));
        EXPECT_FALSE(d.isVisible(200));
        d.pick(kTabs, "Bolts");
        EXPECT_FALSE(d.isVisible(100));
        EXPECT_TRUE(d.isVisible(200));
        d.focus(200);
        d.pressKey(VK_TAB, /*shift=*/false, /*ctrl=*/true);
        EXPECT_TRUE(d.isVisible(100));
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), 100) << "the focus follows into the new page";
        d.ok();
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.changes, (std::vector<int>{0, 1, 0}));
}

TEST_F(HostTabs, APageThatMayNotBeLeftKeepsItsTab)
{
    kxwin::UserAgent agent;
    Pages dialog;
    dialog.keepFirstPage = true;
    agent.onDialog(6100, [&](kxwin::DialogDriver& d) {
        d.pick(kTabs, "Bolts");
        EXPECT_TRUE(d.isVisible(100));
        EXPECT_EQ(SendMessage(d.item(kTabs), TCM_GETCURSEL), 0);
        d.ok();
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.changes, (std::vector<int>{0}));
}

TEST_F(HostTabs, TabGoesFromTheTabsThroughTheVisiblePageToTheDialogsButtons)
{
    kxwin::UserAgent agent;
    Pages dialog;
    agent.onDialog(6100, [&](kxwin::DialogDriver& d) {
        d.focus(100);
        d.tab();
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), 101);
        d.tab();
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDOK);
        d.tab();
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), kTabs);
        d.tab();
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), 100);
        d.ok();
    });
    dialog.DoModal();
}

TEST_F(HostTabs, PagesFillTheTabAreaAndFollowItsSize)
{
    kxwin::UserAgent agent;
    Pages dialog;
    agent.onDialog(6100, [&](kxwin::DialogDriver& d) {
        HWND tabs = d.item(kTabs);
        RECT area = GetWindowRectInParent(tabs);
        SendMessage(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        EXPECT_EQ(GetWindowRectInParent(dialog.GetPage(1)->m_hWnd), area);
        d.ok();
    });
    dialog.DoModal();
}

} // namespace

namespace {

// A page whose edit, when it gets the focus, has the whole modeless dialog destroyed and deleted.
class ClosingPage : public CDialog {
public:
    explicit ClosingPage(CWnd*& owner) : m_owner(owner)
    {
        onCommand(100, EN_SETFOCUS, [this] {
            if (m_owner != nullptr)
                std::exchange(m_owner, nullptr)->deleteWhenIdle();
        });
    }

private:
    CWnd*& m_owner;
};

class ClosingPages : public KxHostTabDialog {
public:
    explicit ClosingPages(CWnd*& owner) : KxHostTabDialog(6100, kTabs), m_owner(owner) { owner = this; }

protected:
    BOOL OnInitDialog() override
    {
        AddTab("General", std::make_unique<ClosingPage>(m_owner), 6101);
        return TRUE;
    }

private:
    CWnd*& m_owner;
};

TEST_F(HostTabs, ADialogDeletedFromItsPagesHandlerLeavesThePageUntilTheHandlerReturns)
{
    CWnd* owner = nullptr;
    auto* dialog = new ClosingPages(owner);
    ASSERT_TRUE(dialog->Create(6100));
    HWND page = dialog->GetPage(0)->m_hWnd;
    kxwin::DialogDriver(page).focus(100);
    EXPECT_EQ(owner, nullptr) << "the handler ran";
    EXPECT_FALSE(IsWindow(page));
}

} // namespace
