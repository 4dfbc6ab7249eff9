// For the standard-control tests: a dialog that keeps a journal of every command and notification
// its controls send, templates made in the test, and a fixture that puts them in the resources.
#pragma once

#include "platform/win/CommCtrl.h"
#include "platform/win/Dialog.h"
#include "platform/win/Resources.h"
#include "platform/win/RichEdit.h"
#include "platform/win/UserAgent.h"
#include "platform/win/UserInput.h"
#include "platform/win/testing/AgentFailures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kxwin::testing {

inline std::string commandName(const std::string& cls, WORD code)
{
    struct Name {
        const char* cls;
        WORD code;
        const char* name;
    };
    static const Name names[] = {
        {"Button", BN_CLICKED, "BN_CLICKED"},       {"Button", BN_DOUBLECLICKED, "BN_DOUBLECLICKED"},
        {"Button", BN_SETFOCUS, "BN_SETFOCUS"},     {"Button", BN_KILLFOCUS, "BN_KILLFOCUS"},
        {"Edit", EN_SETFOCUS, "EN_SETFOCUS"},       {"Edit", EN_KILLFOCUS, "EN_KILLFOCUS"},
        {"Edit", EN_CHANGE, "EN_CHANGE"},           {"Edit", EN_UPDATE, "EN_UPDATE"},
        {"Edit", EN_MAXTEXT, "EN_MAXTEXT"},         {"ComboBox", CBN_SELCHANGE, "CBN_SELCHANGE"},
        {"ComboBox", CBN_DBLCLK, "CBN_DBLCLK"},     {"ComboBox", CBN_SETFOCUS, "CBN_SETFOCUS"},
        {"ComboBox", CBN_KILLFOCUS, "CBN_KILLFOCUS"}, {"ComboBox", CBN_EDITCHANGE, "CBN_EDITCHANGE"},
        {"ComboBox", CBN_EDITUPDATE, "CBN_EDITUPDATE"}, {"ComboBox", CBN_DROPDOWN, "CBN_DROPDOWN"},
        {"ComboBox", CBN_CLOSEUP, "CBN_CLOSEUP"},   {"ComboBox", CBN_SELENDOK, "CBN_SELENDOK"},
        {"ComboBox", CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}, {"ListBox", LBN_SELCHANGE, "LBN_SELCHANGE"},
        {"ListBox", LBN_DBLCLK, "LBN_DBLCLK"},      {"ListBox", LBN_SETFOCUS, "LBN_SETFOCUS"},
        {"ListBox", LBN_KILLFOCUS, "LBN_KILLFOCUS"}, {"Static", STN_CLICKED, "STN_CLICKED"},
        {"Static", STN_DBLCLK, "STN_DBLCLK"},
    };
    const std::string family = cls == RICHEDIT_CLASS ? "Edit" : cls;
    for (const Name& n : names) {
        if (family == n.cls && code == n.code)
            return n.name;
    }
    return cls + " code " + std::to_string(code);
}

inline std::string notifyName(int code)
{
    switch (code) {
    case NM_CLICK:
        return "NM_CLICK";
    case NM_DBLCLK:
        return "NM_DBLCLK";
    case NM_RCLICK:
        return "NM_RCLICK";
    case NM_RETURN:
        return "NM_RETURN";
    case NM_SETFOCUS:
        return "NM_SETFOCUS";
    case NM_KILLFOCUS:
        return "NM_KILLFOCUS";
    case TCN_SELCHANGING:
        return "TCN_SELCHANGING";
    case TCN_SELCHANGE:
        return "TCN_SELCHANGE";
    case LVN_ITEMCHANGING:
        return "LVN_ITEMCHANGING";
    case LVN_ITEMCHANGED:
        return "LVN_ITEMCHANGED";
    case LVN_INSERTITEM:
        return "LVN_INSERTITEM";
    case LVN_DELETEITEM:
        return "LVN_DELETEITEM";
    case LVN_DELETEALLITEMS:
        return "LVN_DELETEALLITEMS";
    case LVN_KEYDOWN:
        return "LVN_KEYDOWN";
    case LVN_ITEMACTIVATE:
        return "LVN_ITEMACTIVATE";
    default:
        return "notify " + std::to_string(code);
    }
}

// A dialog that writes "id NAME" into its journal for every WM_COMMAND and WM_NOTIFY it gets, and
// lets a test react (answer a notification, act on a command) while the control waits.
class JournalDialog : public CDialog {
public:
    explicit JournalDialog(int templateId) : CDialog(templateId) {}

    std::vector<std::string> journal;
    std::function<void(JournalDialog&)> init;
    std::function<void(int id, WORD code)> commandHook;
    std::function<LRESULT(NMHDR&)> notifyHook;
    std::function<void(HWND, POINT)> contextMenuHook;

    // The journal entries of one control, without its id.
    std::vector<std::string> of(int id) const
    {
        std::vector<std::string> out;
        const std::string prefix = std::to_string(id) + " ";
        for (const std::string& entry : journal) {
            if (entry.rfind(prefix, 0) == 0)
                out.push_back(entry.substr(prefix.size()));
        }
        return out;
    }

protected:
    BOOL OnInitDialog() override
    {
        if (init)
            init(*this);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const int id = static_cast<std::int16_t>(LOWORD(wParam));
        const std::string cls = GetClassName(reinterpret_cast<HWND>(lParam));
        journal.push_back(std::to_string(id) + " " + commandName(cls.empty() ? "Button" : cls, HIWORD(wParam)));
        if (commandHook)
            commandHook(id, HIWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        journal.push_back(std::to_string(static_cast<int>(header->idFrom)) + " " + notifyName(header->code));
        if (notifyHook) {
            *result = notifyHook(*header);
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, result);
    }
    void OnContextMenu(HWND hwnd, POINT point) override
    {
        journal.push_back(std::to_string(::GetDlgCtrlID(hwnd)) + " WM_CONTEXTMENU");
        if (contextMenuHook)
            contextMenuHook(hwnd, point);
    }
};

inline DialogItemTemplate control(int id, const std::string& cls, const std::string& text, DWORD style, short x,
                                  short y, short cx, short cy)
{
    return DialogItemTemplate{id, cls, text, style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy};
}

inline DialogTemplate dialogTemplate(int id, std::vector<DialogItemTemplate> items)
{
    DialogTemplate t;
    t.id = id;
    t.title = "Controls " + std::to_string(id);
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    t.cx = 320;
    t.cy = 240;
    t.items = std::move(items);
    return t;
}

// Gives each test a clean window layer, an agent, and a resource module for its templates.
class ControlsTest : public WindowLayerTest {
protected:
    void SetUp() override
    {
        WindowLayerTest::SetUp();
        module = resourceModule("controls-tests");
        previous = AfxGetResourceHandle();
        AfxSetResourceHandle(module);
        backend().setClipboardText({});
    }
    void TearDown() override
    {
        AfxSetResourceHandle(previous);
        WindowLayerTest::TearDown();
    }
    // Makes a modeless dialog of the given controls; the test drives it directly.
    JournalDialog& open(std::vector<DialogItemTemplate> items, std::function<void(JournalDialog&)> init = {})
    {
        static int nextId = 7000;
        const int id = ++nextId;
        addDialogTemplate(module, dialogTemplate(id, std::move(items)));
        dialogs.push_back(std::make_unique<JournalDialog>(id));
        JournalDialog& d = *dialogs.back();
        d.init = std::move(init);
        EXPECT_TRUE(d.Create(id));
        d.journal.clear();
        return d;
    }
    DialogDriver driver(JournalDialog& d) { return DialogDriver(d.m_hWnd); }

    UserAgent agent;
    HINSTANCE module = nullptr;
    HINSTANCE previous = nullptr;
    std::vector<std::unique_ptr<JournalDialog>> dialogs;
};

} // namespace kxwin::testing
