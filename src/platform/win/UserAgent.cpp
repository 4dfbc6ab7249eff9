// The headless backend and its scripted user agent.
#include "platform/win/UserAgent.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/Cursor.h"
#include "platform/win/Dialog.h"
#include "platform/win/MenuBar.h"
#include "platform/win/Toolbar.h"
#include "platform/win/UserInput.h"
#include "platform/win/Window.h"
#include "platform/win/controls/ControlSupport.h"

#include <algorithm>
#include <cstdio>
#include <deque>

namespace kxwin {

namespace {

struct DialogEntry {
    DialogMatch match;
    UserAgent::DialogScript script;
};

std::function<void(const std::string&)>& failureHandler()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}

UserAgent*& activeAgent()
{
    static UserAgent* agent = nullptr;
    return agent;
}

std::string describe(HWND hwnd)
{
    return "\"" + GetWindowText(hwnd) + "\" (" + GetClassName(hwnd) + " " + std::to_string(GetDlgCtrlID(hwnd)) + ")";
}

int defaultAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
        return IDNO;
    case MB_OK:
        return IDOK;
    default:
        return IDCANCEL;
    }
}

POINT centreOf(HWND hwnd)
{
    RECT r;
    GetClientRect(hwnd, r);
    return POINT{r.width() / 2, r.height() / 2};
}

LPARAM pointParam(POINT p)
{
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

// Controls with entries get the focus before a person picks in them.
void focusForItems(HWND hwnd)
{
    if (GetFocus() != hwnd && !IsChild(hwnd, GetFocus())) {
        SetFocus(hwnd);
        PumpMessages();
    }
}

// A mouse message at a point of `over`: while a window holds the capture it gets the message
// instead, with the point in its own client pixels.
void sendMouse(HWND over, UINT message, WPARAM keys, POINT p)
{
    HWND target = over;
    if (HWND capture = GetCapture(); capture != nullptr && IsWindow(capture) && capture != over) {
        ClientToScreen(over, p);
        ScreenToClient(capture, p);
        target = capture;
    }
    sendUserInput(target, message, keys, pointParam(p));
}

// The mouse over a point of `dialog`'s client area: the window that takes it gets WM_SETCURSOR
// and then the message, unless a window holds the capture, which gets the message alone.
void sendMouseAtDialogPoint(HWND dialog, UINT message, WPARAM keys, POINT at)
{
    if (HWND capture = GetCapture(); capture != nullptr && IsWindow(capture)) {
        POINT p = at;
        ClientToScreen(dialog, p);
        SetCursorPos(p.x, p.y);
        ScreenToClient(capture, p);
        sendUserInput(capture, message, keys, pointParam(p));
        return;
    }
    POINT local = at;
    HWND target = MouseTargetFromPoint(dialog, at, &local);
    if (target == nullptr)
        return;
    POINT screen = at;
    ClientToScreen(dialog, screen);
    SetCursorPos(screen.x, screen.y);
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, message));
    if (IsWindow(target))
        sendUserInput(target, message, keys, pointParam(local));
}

// Holds Ctrl and Shift down for the life of the scope, as a person holding them while using the mouse.
class HeldModifiers {
public:
    HeldModifiers(bool ctrl, bool shift) : m_ctrl(ctrl), m_shift(shift)
    {
        if (m_ctrl)
            SetKeyDown(VK_CONTROL, true);
        if (m_shift)
            SetKeyDown(VK_SHIFT, true);
    }
    ~HeldModifiers()
    {
        if (m_ctrl)
            SetKeyDown(VK_CONTROL, false);
        if (m_shift)
            SetKeyDown(VK_SHIFT, false);
    }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;
    WPARAM keys() const { return (m_ctrl ? MK_CONTROL : 0) | (m_shift ? MK_SHIFT : 0); }

private:
    bool m_ctrl;
    bool m_shift;
};

} // namespace

struct UserAgent::Data {
    std::deque<DialogEntry> dialogs;
    std::deque<std::function<int(const MessageBoxRequest&)>> boxes;
    std::deque<std::function<UINT(const PopupMenuRequest&)>> menus;
    std::deque<std::function<std::optional<std::string>(const FileDialogRequest&)>> files;
    std::vector<MessageBoxRequest> shownBoxes;
    std::vector<std::string> failures;
};

void reportFailure(const std::string& what)
{
    if (UserAgent* agent = activeAgent())
        agent->data().failures.push_back(what);
    if (failureHandler())
        failureHandler()(what);
    else
        std::fprintf(stderr, "user agent: %s\n", what.c_str());
}

class HeadlessBackend : public KxBackend {
public:
    void runModalLoop(CDialog& dialog) override
    {
        PumpMessages();
        UserAgent* agent = activeAgent();
        const int templateId = dialog.templateId();
        const std::string title = GetWindowText(dialog.m_hWnd);
        UserAgent::DialogScript script;
        if (agent != nullptr) {
            auto& queue = agent->data().dialogs;
            for (auto it = queue.begin(); it != queue.end(); ++it) {
                const bool idOk = it->match.templateId == 0 || it->match.templateId == templateId;
                const bool titleOk = it->match.title.empty() || it->match.title == title;
                if (idOk && titleOk) {
                    script = std::move(it->script);
                    queue.erase(it);
                    break;
                }
            }
        }
        if (!script) {
            if (agent != nullptr)
                reportFailure("unexpected dialog " + std::to_string(templateId) + " \"" + title +
                              "\": no script for it; cancelled");
            dialog.EndDialog(IDCANCEL);
            return;
        }
        DialogDriver driver(dialog.m_hWnd);
        script(driver);
        PumpMessages();
        if (!dialog.modalEnded() && IsWindow(dialog.m_hWnd)) {
            reportFailure("dialog " + std::to_string(templateId) + " \"" + title +
                          "\" is still open after its script; cancelled");
            dialog.EndDialog(IDCANCEL);
        }
    }

    int messageBox(const MessageBoxRequest& request) override
    {
        UserAgent* agent = activeAgent();
        if (agent == nullptr) {
            std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
            return defaultAnswer(request.type);
        }
        agent->data().shownBoxes.push_back(request);
        auto& queue = agent->data().boxes;
        if (queue.empty()) {
            reportFailure("unexpected message box \"" + request.caption + "\": \"" + request.text + "\"");
            return defaultAnswer(request.type);
        }
        auto answer = std::move(queue.front());
        queue.pop_front();
        return answer(request);
    }

    UINT trackPopupMenu(const PopupMenuRequest& request) override
    {
        UserAgent* agent = activeAgent();
        if (agent == nullptr)
            return 0;
        auto& queue = agent->data().menus;
        if (queue.empty()) {
            reportFailure("unexpected pop-up menu; dismissed");
            return 0;
        }
        auto pick = std::move(queue.front());
        queue.pop_front();
        return pick(request);
    }

    std::optional<std::string> fileDialog(const FileDialogRequest& request) override
    {
        UserAgent* agent = activeAgent();
        if (agent == nullptr)
            return std::nullopt;
        auto& queue = agent->data().files;
        if (queue.empty()) {
            reportFailure("unexpected file dialog \"" + request.title + "\"; cancelled");
            return std::nullopt;
        }
        auto answer = std::move(queue.front());
        queue.pop_front();
        return answer(request);
    }

    std::string clipboardText() override { return m_clipboard; }
    void setClipboardText(const std::string& text) override { m_clipboard = text; }
    DWORD now() override { return m_clock; }

    DWORD m_clock = 0;
    std::string m_clipboard;
};

namespace detail {
std::unique_ptr<KxBackend> makeHeadlessBackend()
{
    return std::make_unique<HeadlessBackend>();
}
} // namespace detail

namespace {

HeadlessBackend* headless()
{
    return dynamic_cast<HeadlessBackend*>(&backend());
}

} // namespace

void sendUserInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(target))
        return;
    ProcessInputMessage(MSG{target, message, wParam, lParam, GetTickCount(), {}});
    PumpMessages();
}

UserAgent::UserAgent() : m_data(new Data)
{
    if (activeAgent() != nullptr)
        std::fprintf(stderr, "user agent: a second agent replaces the active one\n");
    activeAgent() = this;
}

UserAgent::~UserAgent()
{
    const int unused = unusedScripts();
    if (unused > 0)
        reportFailure(std::to_string(unused) + " scripted answer(s) were never used");
    if (activeAgent() == this)
        activeAgent() = nullptr;
    delete m_data;
}

UserAgent& UserAgent::onDialog(int templateId, DialogScript script)
{
    m_data->dialogs.push_back({DialogMatch{templateId, {}}, std::move(script)});
    return *this;
}

UserAgent& UserAgent::onDialogTitled(const std::string& title, DialogScript script)
{
    m_data->dialogs.push_back({DialogMatch{0, title}, std::move(script)});
    return *this;
}

UserAgent& UserAgent::onMessageBox(std::function<int(const MessageBoxRequest&)> answer)
{
    m_data->boxes.push_back(std::move(answer));
    return *this;
}

UserAgent& UserAgent::answerMessageBox(int button, const std::string& expectedText)
{
    return onMessageBox([button, expectedText](const MessageBoxRequest& box) {
        if (!expectedText.empty() && box.text.find(expectedText) == std::string::npos)
            reportFailure("message box says \"" + box.text + "\", expected it to contain \"" + expectedText + "\"");
        return button;
    });
}

UserAgent& UserAgent::onMenu(std::function<UINT(const PopupMenuRequest&)> pick)
{
    m_data->menus.push_back(std::move(pick));
    return *this;
}

UserAgent& UserAgent::pickMenuCommand(UINT command)
{
    return onMenu([command](const PopupMenuRequest&) { return command; });
}

UserAgent& UserAgent::onFileDialog(std::function<std::optional<std::string>(const FileDialogRequest&)> answer)
{
    m_data->files.push_back(std::move(answer));
    return *this;
}

UserAgent& UserAgent::chooseFile(const std::string& path)
{
    return onFileDialog([path](const FileDialogRequest&) { return std::optional<std::string>(path); });
}

UserAgent& UserAgent::cancelFileDialog()
{
    return onFileDialog([](const FileDialogRequest&) { return std::optional<std::string>(); });
}

void UserAgent::advanceClock(DWORD ms)
{
    HeadlessBackend* b = headless();
    if (b == nullptr)
        return;
    const DWORD target = b->m_clock + ms;
    DWORD due = 0;
    while (NextTimerDue(due) && static_cast<std::int32_t>(target - due) >= 0) {
        if (static_cast<std::int32_t>(due - b->m_clock) > 0)
            b->m_clock = due;
        FireDueTimers();
        PumpMessages();
    }
    b->m_clock = target;
    PumpMessages();
}

DWORD UserAgent::now() const
{
    return GetTickCount();
}

const std::vector<MessageBoxRequest>& UserAgent::messageBoxes() const
{
    return m_data->shownBoxes;
}

const std::vector<std::string>& UserAgent::failures() const
{
    return m_data->failures;
}

int UserAgent::unusedScripts() const
{
    return static_cast<int>(m_data->dialogs.size() + m_data->boxes.size() + m_data->menus.size() +
                            m_data->files.size());
}

void UserAgent::setFailureHandler(std::function<void(const std::string&)> handler)
{
    failureHandler() = std::move(handler);
}

// --- DialogDriver -------------------------------------------------------------------------------

namespace {

HWND findDeep(HWND parent, int id)
{
    if (HWND direct = GetDlgItem(parent, id))
        return direct;
    for (HWND child : GetChildWindows(parent)) {
        if (GetClassName(child) == kDialogClass || (GetWindowLong(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
            if (HWND inner = findDeep(child, id))
                return inner;
        }
    }
    return nullptr;
}

} // namespace

HWND DialogDriver::item(int id) const
{
    return findDeep(m_dialog, id);
}

std::string DialogDriver::text(int id) const
{
    return GetWindowText(item(id));
}

std::string DialogDriver::title() const
{
    return GetWindowText(m_dialog);
}

bool DialogDriver::isEnabled(int id) const
{
    return IsWindowEnabled(item(id));
}

bool DialogDriver::isVisible(int id) const
{
    return IsWindowVisible(item(id));
}

int DialogDriver::checkState(int id) const
{
    return static_cast<int>(SendMessage(item(id), BM_GETCHECK));
}

bool DialogDriver::isOpen() const
{
    if (!IsWindow(m_dialog))
        return false;
    auto* dialog = dynamic_cast<CDialog*>(GetWindowObject(m_dialog));
    return dialog == nullptr || !dialog->modalEnded();
}

HWND DialogDriver::requireUsable(int id, const char* action) const
{
    HWND hwnd = item(id);
    if (hwnd == nullptr) {
        reportFailure(std::string("cannot ") + action + " control " + std::to_string(id) + " of dialog \"" + title() +
                      "\": there is no such control");
        return nullptr;
    }
    if (!IsWindowVisible(hwnd) && IsWindowVisible(m_dialog)) {
        reportFailure(std::string("cannot ") + action + " " + describe(hwnd) + ": it is hidden");
        return nullptr;
    }
    if (!IsWindowEnabled(hwnd)) {
        reportFailure(std::string("cannot ") + action + " " + describe(hwnd) + ": it is disabled");
        return nullptr;
    }
    return hwnd;
}

DialogDriver& DialogDriver::click(int id)
{
    HWND hwnd = requireUsable(id, "click");
    if (hwnd == nullptr)
        return *this;
    return clickAt(id, centreOf(hwnd));
}

DialogDriver& DialogDriver::clickAt(int id, POINT at)
{
    HWND hwnd = requireUsable(id, "click");
    if (hwnd == nullptr)
        return *this;
    SetKeyDown(VK_LBUTTON, true);
    sendMouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SetKeyDown(VK_LBUTTON, false);
    sendMouse(hwnd, WM_LBUTTONUP, 0, at);
    return *this;
}

DialogDriver& DialogDriver::doubleClick(int id)
{
    HWND hwnd = requireUsable(id, "double-click");
    if (hwnd == nullptr)
        return *this;
    const POINT at = centreOf(hwnd);
    SetKeyDown(VK_LBUTTON, true);
    sendMouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SetKeyDown(VK_LBUTTON, false);
    sendMouse(hwnd, WM_LBUTTONUP, 0, at);
    SetKeyDown(VK_LBUTTON, true);
    sendMouse(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SetKeyDown(VK_LBUTTON, false);
    sendMouse(hwnd, WM_LBUTTONUP, 0, at);
    return *this;
}

DialogDriver& DialogDriver::drag(int id, POINT from, POINT to)
{
    HWND hwnd = requireUsable(id, "drag in");
    if (hwnd == nullptr)
        return *this;
    constexpr int kSteps = 4;
    SetKeyDown(VK_LBUTTON, true);
    sendMouse(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, from);
    for (int i = 1; i <= kSteps; ++i) {
        const POINT p{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
        sendMouse(hwnd, WM_MOUSEMOVE, MK_LBUTTON, p);
    }
    SetKeyDown(VK_LBUTTON, false);
    sendMouse(hwnd, WM_LBUTTONUP, 0, to);
    return *this;
}

DialogDriver& DialogDriver::clickPoint(POINT at, bool ctrl, bool shift)
{
    if (!IsWindow(m_dialog)) {
        reportFailure("cannot click in a dialog that is closed");
        return *this;
    }
    HeldModifiers held(ctrl, shift);
    SetKeyDown(VK_LBUTTON, true);
    sendMouseAtDialogPoint(m_dialog, WM_LBUTTONDOWN, MK_LBUTTON | held.keys(), at);
    SetKeyDown(VK_LBUTTON, false);
    if (IsWindow(m_dialog))
        sendMouseAtDialogPoint(m_dialog, WM_LBUTTONUP, held.keys(), at);
    return *this;
}

DialogDriver& DialogDriver::dragPoint(POINT from, POINT to, bool ctrl, bool shift, int steps)
{
    if (!IsWindow(m_dialog)) {
        reportFailure("cannot drag in a dialog that is closed");
        return *this;
    }
    steps = std::max(steps, 1);
    HeldModifiers held(ctrl, shift);
    SetKeyDown(VK_LBUTTON, true);
    sendMouseAtDialogPoint(m_dialog, WM_LBUTTONDOWN, MK_LBUTTON | held.keys(), from);
    for (int i = 1; i <= steps && IsWindow(m_dialog); ++i) {
        const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        sendMouseAtDialogPoint(m_dialog, WM_MOUSEMOVE, MK_LBUTTON | held.keys(), p);
    }
    SetKeyDown(VK_LBUTTON, false);
    if (IsWindow(m_dialog))
        sendMouseAtDialogPoint(m_dialog, WM_LBUTTONUP, held.keys(), to);
    return *this;
}

DialogDriver& DialogDriver::hoverPoint(POINT at, bool ctrl, bool shift)
{
    if (!IsWindow(m_dialog))
        return *this;
    HeldModifiers held(ctrl, shift);
    sendMouseAtDialogPoint(m_dialog, WM_MOUSEMOVE, held.keys(), at);
    return *this;
}

DialogDriver& DialogDriver::rightClick(int id, POINT at)
{
    HWND hwnd = requireUsable(id, "right-click");
    if (hwnd == nullptr)
        return *this;
    if (at.x < 0)
        at = centreOf(hwnd);
    sendUserInput(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, pointParam(at));
    sendUserInput(hwnd, WM_RBUTTONUP, 0, pointParam(at));
    return *this;
}

DialogDriver& DialogDriver::setCheck(int id, int state)
{
    // Three clicks at most cycle through every state of a three-state box.
    for (int i = 0; i < 3 && isOpen() && checkState(id) != state; ++i)
        click(id);
    if (isOpen() && checkState(id) != state)
        reportFailure("check box " + describe(item(id)) + " does not reach state " + std::to_string(state));
    return *this;
}

DialogDriver& DialogDriver::focus(int id)
{
    HWND hwnd = requireUsable(id, "focus");
    if (hwnd == nullptr)
        return *this;
    if (HWND inner = GetDlgItem(hwnd, IDC_COMBO_EDIT))
        hwnd = inner;
    SetFocus(hwnd);
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::setText(int id, const std::string& text)
{
    HWND hwnd = requireUsable(id, "type into");
    if (hwnd == nullptr)
        return *this;
    if (HWND inner = GetDlgItem(hwnd, IDC_COMBO_EDIT))
        hwnd = inner;
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        PumpMessages();
    }
    // Select everything, as a person does before typing over a value.
    SendMessage(hwnd, EM_SETSEL, 0, -1);
    if (text.empty())
        pressKey(VK_DELETE);
    else
        type(text);
    return *this;
}

DialogDriver& DialogDriver::type(const std::string& text)
{
    HWND target = GetFocus();
    if (target == nullptr) {
        reportFailure("cannot type \"" + text + "\" in dialog \"" + title() + "\": nothing has the focus");
        return *this;
    }
    // One WM_CHAR per character, carrying its code point. A person cannot type a byte that is no
    // character: invalid UTF-8 in a script is the script's mistake.
    const std::u32string chars = detail::decodeLossless(text);
    if (detail::encodeLossless(chars) != text || std::any_of(chars.begin(), chars.end(), [](char32_t c) {
            return c >= 0xD800 && c <= 0xDFFF;
        })) {
        reportFailure("cannot type \"" + text + "\": it is not valid UTF-8");
        return *this;
    }
    for (char32_t cp : chars)
        sendUserInput(GetFocus() ? GetFocus() : target, WM_CHAR, cp, 1);
    return *this;
}

DialogDriver& DialogDriver::pressKey(int virtualKey, bool shift, bool ctrl)
{
    HWND target = GetFocus() ? GetFocus() : m_dialog;
    SetKeyDown(VK_SHIFT, shift);
    SetKeyDown(VK_CONTROL, ctrl);
    SetKeyDown(virtualKey, true);
    sendUserInput(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    // Keys that produce a character send it too; the dialog keys swallow their own.
    WPARAM ch = 0;
    if (virtualKey == VK_RETURN)
        ch = '\r';
    else if (virtualKey == VK_TAB)
        ch = '\t';
    else if (virtualKey == VK_ESCAPE)
        ch = 0x1B;
    else if (virtualKey == VK_BACK)
        ch = 0x08;
    if (virtualKey == VK_RETURN && ctrl)
        ch = '\n';  // Ctrl+Enter types a line feed
    if (ch != 0 && (!ctrl || ch == '\n'))
        sendUserInput(GetFocus() ? GetFocus() : target, WM_CHAR, ch, 1);
    HWND after = GetFocus() ? GetFocus() : (IsWindow(m_dialog) ? m_dialog : nullptr);
    if (after != nullptr)
        sendUserInput(after, WM_KEYUP, static_cast<WPARAM>(virtualKey), 1);
    SetKeyDown(virtualKey, false);
    SetKeyDown(VK_SHIFT, false);
    SetKeyDown(VK_CONTROL, false);
    return *this;
}

DialogDriver& DialogDriver::tab(bool back)
{
    return pressKey(VK_TAB, back);
}

DialogDriver& DialogDriver::pick(int id, int index)
{
    HWND hwnd = requireUsable(id, "pick an entry of");
    if (hwnd == nullptr)
        return *this;
    focusForItems(hwnd);
    if (SendMessage(hwnd, KXM_USER_PICK, static_cast<WPARAM>(index)) == 0)
        reportFailure(describe(hwnd) + " has no entry " + std::to_string(index) + " to pick");
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::pick(int id, const std::string& itemText)
{
    HWND hwnd = item(id);
    // Entries as shown, matched exactly (a person reads the whole text).
    const std::vector<std::string> entries = items(id);
    const auto it = std::find(entries.begin(), entries.end(), itemText);
    if (it == entries.end()) {
        reportFailure(describe(hwnd) + " has no entry \"" + itemText + "\"");
        return *this;
    }
    return pick(id, static_cast<int>(it - entries.begin()));
}

DialogDriver& DialogDriver::doubleClickItem(int id, int index)
{
    HWND hwnd = requireUsable(id, "double-click an entry of");
    if (hwnd == nullptr)
        return *this;
    focusForItems(hwnd);
    if (SendMessage(hwnd, KXM_USER_PICK, static_cast<WPARAM>(index)) == 0) {
        reportFailure(describe(hwnd) + " has no entry " + std::to_string(index) + " to double-click");
        return *this;
    }
    PumpMessages();
    if (IsWindow(hwnd))
        SendMessage(hwnd, KXM_USER_DBLCLK, static_cast<WPARAM>(index));
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::toggleItem(int id, int index)
{
    HWND hwnd = requireUsable(id, "toggle an entry of");
    if (hwnd == nullptr)
        return *this;
    focusForItems(hwnd);
    if (SendMessage(hwnd, KXM_USER_TOGGLE_ITEM, static_cast<WPARAM>(index)) == 0)
        reportFailure(describe(hwnd) + " has no entry " + std::to_string(index) + " with a check mark");
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::openDropDown(int id)
{
    HWND hwnd = requireUsable(id, "open the list of");
    if (hwnd == nullptr)
        return *this;
    focusForItems(hwnd);
    if (SendMessage(hwnd, KXM_USER_DROPDOWN, TRUE) == 0)
        reportFailure(describe(hwnd) + " has no list to open");
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::closeDropDown(int id)
{
    HWND hwnd = requireUsable(id, "close the list of");
    if (hwnd == nullptr)
        return *this;
    if (SendMessage(hwnd, KXM_USER_DROPDOWN, FALSE) == 0)
        reportFailure(describe(hwnd) + " has no list to close");
    PumpMessages();
    return *this;
}

DialogDriver& DialogDriver::selectText(int id, int start, int end)
{
    HWND hwnd = requireUsable(id, "select text in");
    if (hwnd == nullptr)
        return *this;
    if (HWND inner = GetDlgItem(hwnd, IDC_COMBO_EDIT))
        hwnd = inner;
    if (!(SendMessage(hwnd, WM_GETDLGCODE) & DLGC_HASSETSEL)) {
        reportFailure("cannot select text in " + describe(hwnd) + ": it has no text selection");
        return *this;
    }
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        PumpMessages();
    }
    SendMessage(hwnd, EM_SETSEL, static_cast<WPARAM>(static_cast<std::intptr_t>(start)), end);
    PumpMessages();
    return *this;
}

std::pair<int, int> DialogDriver::selection(int id) const
{
    HWND hwnd = item(id);
    if (HWND inner = GetDlgItem(hwnd, IDC_COMBO_EDIT))
        hwnd = inner;
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
}

int DialogDriver::selectedIndex(int id) const
{
    HWND hwnd = item(id);
    const std::string cls = GetClassName(hwnd);
    if (cls == "ComboBox")
        return static_cast<int>(SendMessage(hwnd, CB_GETCURSEL));
    if (cls == "ListBox")
        return static_cast<int>(SendMessage(hwnd, LB_GETCURSEL));
    if (cls == WC_TABCONTROL)
        return static_cast<int>(SendMessage(hwnd, TCM_GETCURSEL));
    if (cls == WC_LISTVIEW)
        return static_cast<int>(SendMessage(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return -1;
}

std::vector<std::string> DialogDriver::items(int id) const
{
    HWND hwnd = item(id);
    const std::string cls = GetClassName(hwnd);
    std::vector<std::string> out;
    const auto byLength = [&](UINT countMsg, UINT lengthMsg, UINT textMsg) {
        const auto n = SendMessage(hwnd, countMsg);
        for (LRESULT i = 0; i < n; ++i) {
            const auto length = SendMessage(hwnd, lengthMsg, static_cast<WPARAM>(i));
            std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
            SendMessage(hwnd, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
            out.push_back(std::move(text));
        }
    };
    constexpr int kBuffer = 1024;
    if (cls == "ComboBox") {
        byLength(CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    } else if (cls == "ListBox") {
        byLength(LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    } else if (cls == WC_TABCONTROL) {
        const auto n = SendMessage(hwnd, TCM_GETITEMCOUNT);
        for (LRESULT i = 0; i < n; ++i) {
            char buffer[kBuffer] = {};
            TCITEM tab;
            tab.mask = TCIF_TEXT;
            tab.pszText = buffer;
            tab.cchTextMax = kBuffer;
            SendMessage(hwnd, TCM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
            out.emplace_back(buffer);
        }
    } else if (cls == WC_LISTVIEW) {
        const auto n = SendMessage(hwnd, LVM_GETITEMCOUNT);
        for (LRESULT i = 0; i < n; ++i) {
            char buffer[kBuffer] = {};
            LVITEM entry;
            entry.pszText = buffer;
            entry.cchTextMax = kBuffer;
            SendMessage(hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&entry));
            out.emplace_back(buffer);
        }
    }
    return out;
}

std::string DialogDriver::tooltip(int id) const
{
    return tooltipTextFor(item(id));
}

DialogDriver& DialogDriver::menuCommand(UINT command)
{
    const MenuBarPick result = pickMenuBarCommand(m_dialog, command);
    if (result != MenuBarPick::Picked)
        reportFailure("cannot pick from dialog \"" + title() + "\": " + describeMenuBarPick(result, m_dialog, command));
    PumpMessages();
    return *this;
}

bool DialogDriver::isMenuCommandEnabled(UINT command) const
{
    return isMenuBarCommandEnabled(m_dialog, command);
}

// The first toolbar among the dialog's windows (child dialogs included) with a button `command`.
HWND DialogDriver::toolbarWith(UINT command) const
{
    std::vector<HWND> pending = GetChildWindows(m_dialog);
    while (!pending.empty()) {
        HWND hwnd = pending.back();
        pending.pop_back();
        if (GetClassName(hwnd) == TOOLBARCLASSNAME && SendMessage(hwnd, TB_COMMANDTOINDEX, command) >= 0)
            return hwnd;
        for (HWND child : GetChildWindows(hwnd))
            pending.push_back(child);
    }
    return nullptr;
}

bool DialogDriver::isToolbarButtonEnabled(UINT command) const
{
    HWND bar = toolbarWith(command);
    return bar != nullptr && IsWindowEnabled(bar) && SendMessage(bar, TB_ISBUTTONENABLED, command) != 0;
}

DialogDriver& DialogDriver::clickToolbarButton(UINT command)
{
    HWND bar = toolbarWith(command);
    const std::string what = "toolbar button " + std::to_string(command) + " of dialog \"" + title() + "\"";
    if (bar == nullptr) {
        reportFailure("cannot click " + what + ": there is no such button");
        return *this;
    }
    if (!IsWindowVisible(bar) || !IsWindowEnabled(bar) || SendMessage(bar, TB_ISBUTTONENABLED, command) == 0) {
        reportFailure("cannot click " + what + ": it is " + (IsWindowVisible(bar) ? "disabled" : "hidden"));
        return *this;
    }
    RECT r{};
    SendMessage(bar, TB_GETITEMRECT, static_cast<WPARAM>(SendMessage(bar, TB_COMMANDTOINDEX, command)),
                reinterpret_cast<LPARAM>(&r));
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetKeyDown(VK_LBUTTON, true);
    sendMouse(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SetKeyDown(VK_LBUTTON, false);
    sendMouse(bar, WM_LBUTTONUP, 0, at);
    return *this;
}

DialogDriver& DialogDriver::escape()
{
    return pressKey(VK_ESCAPE);
}

DialogDriver& DialogDriver::closeBox()
{
    SendMessage(m_dialog, WM_SYSCOMMAND, SC_CLOSE);
    PumpMessages();
    return *this;
}

} // namespace kxwin
