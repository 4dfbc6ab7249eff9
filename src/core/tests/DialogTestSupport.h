// For the tests of the core's dialog functions and dialogs: a clean window layer with a scripted
// user, English texts, a registry of the test's own, and a resource module for templates the tests
// make themselves.
#pragma once

#include "core/MacroLangs.h"
#include "core/tests/FileTestSupport.h"
#include "platform/win/Dialog.h"
#include "platform/win/Registry.h"
#include "platform/win/Resources.h"
#include "platform/win/UserAgent.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <utility>
#include <vector>

namespace kxtest {

inline DialogItemTemplate item(int id, const std::string& cls, const std::string& text, DWORD style, short x, short y,
                               short cx, short cy)
{
    return DialogItemTemplate{id, cls, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy};
}

inline DialogTemplate dialogTemplate(int id, short cx, short cy, std::vector<DialogItemTemplate> items,
                                     DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)
{
    DialogTemplate t;
    t.id = id;
    t.title = "Test " + std::to_string(id);
    t.style = style;
    t.cx = cx;
    t.cy = cy;
    t.items = std::move(items);
    return t;
}

class CoreDialogTest : public kxwin::testing::WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        m_language = MacroLangs::GetCurLanguageIndex();
        MacroLangs::SetCurLanguage(MacroLangs::English);
        kxwin::setRegistryPath((folder.path() / "registry.sqlite3").c_str());
        module = kxwin::resourceModule("kxcore-dialog-tests");
        previousResources = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        screen = GetScreenRect();
    }
    void TearDown() override
    {
        SetScreenRect(screen);
        AfxSetResourceHandle(previousResources);
        WindowLayerTest::TearDown();
        kxwin::setRegistryPath(nullptr);
        MacroLangs::SetCurLanguage(m_language);
    }

    TempFolder folder;
    kxwin::UserAgent agent;
    HINSTANCE module = nullptr;
    HINSTANCE previousResources = nullptr;
    RECT screen;

private:
    int m_language = MacroLangs::English;
};

inline RECT rectInParent(HWND dialog, int id)
{
    return GetWindowRectInParent(GetDlgItem(dialog, id));
}

inline RECT screenRect(HWND hwnd)
{
    RECT r;
    GetWindowRect(hwnd, r);
    return r;
}

} // namespace kxtest

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
