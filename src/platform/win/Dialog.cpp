// Dialogs and the dialog manager's keys.
#include "platform/win/Dialog.h"

#include "platform/win/Backend.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

bool isPushButton(HWND w)
{
    if (GetClassName(w) != "Button")
        return false;
    const DWORD type = static_cast<DWORD>(GetWindowLong(w, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

LRESULT dialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // The close box of a dialog means Cancel.
        SendMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return 0;
    case DM_SETDEFID: {
        // The default button is the one drawn as default: restyle the old and the new one.
        for (HWND child : GetChildWindows(hwnd)) {
            if (!isPushButton(child))
                continue;
            const DWORD type = static_cast<DWORD>(GetWindowLong(child, GWL_STYLE)) & BS_TYPEMASK;
            const bool wanted = GetDlgCtrlID(child) == static_cast<int>(wParam);
            if (wanted && type != BS_DEFPUSHBUTTON)
                SendMessage(child, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
            else if (!wanted && type == BS_DEFPUSHBUTTON)
                SendMessage(child, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
        return TRUE;
    }
    case DM_GETDEFID:
        for (HWND child : GetChildWindows(hwnd)) {
            if (GetClassName(child) == "Button" &&
                (static_cast<DWORD>(GetWindowLong(child, GWL_STYLE)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                return MAKELPARAM(static_cast<WORD>(GetDlgCtrlID(child)), DC_HASDEFID);
        }
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

struct RegisterDialogClass {
    RegisterDialogClass() { RegisterWindowClass(kDialogClass, dialogClassProc); }
} registerDialogClass;

bool takesPartInTabOrder(HWND w)
{
    const DWORD style = static_cast<DWORD>(GetWindowLong(w, GWL_STYLE));
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

bool isControlParent(HWND w)
{
    return (static_cast<DWORD>(GetWindowLong(w, GWL_EXSTYLE)) & WS_EX_CONTROLPARENT) != 0;
}

void collectTabStops(HWND parent, std::vector<HWND>& out)
{
    for (HWND child : GetChildWindows(parent)) {
        if (!takesPartInTabOrder(child))
            continue;
        if (isControlParent(child)) {
            collectTabStops(child, out);
            continue;
        }
        if (static_cast<DWORD>(GetWindowLong(child, GWL_STYLE)) & WS_TABSTOP)
            out.push_back(child);
    }
}

// The control inside `dialog` that holds `hwnd` (hwnd itself or the control whose inner window it
// is, like a combo box's edit).
HWND controlOf(HWND dialog, HWND hwnd)
{
    while (hwnd != nullptr && GetParent(hwnd) != dialog && !isControlParent(GetParent(hwnd)) &&
           GetParent(hwnd) != nullptr)
        hwnd = GetParent(hwnd);
    return hwnd;
}

void clickCommand(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button))
        return;
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                reinterpret_cast<LPARAM>(button));
}

} // namespace

CDialog::CDialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() = default;

bool CDialog::createFromTemplate(HWND parent)
{
    const DialogTemplate* dialog = FindDialogTemplate(m_templateId);
    if (dialog == nullptr) {
        std::fprintf(stderr, "Dialog template %d is not in the current resources (%s)\n", m_templateId,
                     kxwin::resourceModuleName(AfxGetResourceHandle()).c_str());
        return false;
    }
    const SIZE base = DialogBaseUnits(dialog->fontFace, dialog->fontPointSize);
    const RECT px = DialogUnitsToPixels(RECT{0, 0, dialog->cx, dialog->cy}, base);
    m_templateSize = SIZE{px.width(), px.height()};
    return CreateDialogFromTemplate(*dialog, parent, this) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1;
    m_modal = true;
    m_ended = false;
    m_result = IDCANCEL;
    HWND owner = m_parent;
    if (!createFromTemplate(owner))
        return -1;
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    if (m_hWnd != nullptr && !m_ended)
        ::ShowWindow(m_hWnd, SW_SHOW);
    if (m_hWnd != nullptr && !m_ended)
        kxwin::backend().runModalLoop(*this);
    if (ownerWasEnabled && IsWindow(owner))
        ::EnableWindow(owner, TRUE);
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    m_modal = false;
    return m_result;
}

bool CDialog::Create(int templateId, HWND parent)
{
    if (m_hWnd != nullptr)
        return false;
    m_templateId = templateId;
    m_parent = parent;
    m_modal = false;
    return createFromTemplate(parent);
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

HWND CreateDialogFromTemplate(const DialogTemplate& dialog, HWND parent, CWnd* object)
{
    const SIZE base = DialogBaseUnits(dialog.fontFace, dialog.fontPointSize);
    RECT px = DialogUnitsToPixels(RECT{dialog.x, dialog.y, dialog.x + dialog.cx, dialog.y + dialog.cy}, base);
    const bool child = (dialog.style & WS_CHILD) != 0;
    if (!child) {
        // Top-level dialogs open centred on their owner, or on the screen.
        RECT around = GetScreenRect();
        if (parent != nullptr)
            GetWindowRect(parent, around);
        const LONG w = px.width();
        const LONG h = px.height();
        px.left = around.left + (around.width() - w) / 2;
        px.top = around.top + (around.height() - h) / 2;
        px.right = px.left + w;
        px.bottom = px.top + h;
    }
    const DWORD style = dialog.style & ~WS_VISIBLE;
    HWND hwnd = CreateWindowEx(dialog.exStyle, kDialogClass, dialog.title, style, px.left, px.top, px.width(),
                               px.height(), parent, 0);
    if (hwnd == nullptr)
        return nullptr;
    if (object != nullptr && !object->SubclassWindow(hwnd)) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    for (const DialogItemTemplate& item : dialog.items) {
        const RECT r = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, base);
        HWND control = CreateWindowEx(item.exStyle, item.className, item.text, item.style | WS_CHILD, r.left, r.top,
                                      r.width(), r.height(), hwnd, item.id);
        if (control == nullptr) {
            std::fprintf(stderr, "Dialog %d: control %d of class \"%s\" could not be made\n", dialog.id, item.id,
                         item.className.c_str());
            if (object != nullptr)
                object->UnsubclassWindow();
            DestroyWindow(hwnd);
            return nullptr;
        }
    }
    const BOOL focusFirst = static_cast<BOOL>(SendMessage(hwnd, WM_INITDIALOG, 0, 0));
    if (focusFirst && IsWindow(hwnd) && !child) {
        if (HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE)) {
            SetFocus(first);
            if (SendMessage(first, WM_GETDLGCODE) & DLGC_HASSETSEL)
                SendMessage(first, EM_SETSEL, 0, -1);
        }
    }
    if (IsWindow(hwnd) && (dialog.style & WS_VISIBLE) != 0)
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
    std::vector<HWND> stops;
    collectTabStops(dialog, stops);
    if (stops.empty())
        return nullptr;
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) {
        // Not a tab stop itself (or an inner window): start from the control that holds it.
        it = std::find(stops.begin(), stops.end(), controlOf(dialog, control));
    }
    if (it == stops.end())
        return previous ? stops.back() : stops.front();
    const auto index = static_cast<size_t>(it - stops.begin());
    const size_t n = stops.size();
    return previous ? stops[(index + n - 1) % n] : stops[(index + 1) % n];
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
    // A group runs from a control with WS_GROUP to the next one with WS_GROUP.
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return nullptr;
    const auto siblings = GetChildWindows(parent);
    auto it = std::find(siblings.begin(), siblings.end(), control);
    if (it == siblings.end())
        return nullptr;
    auto hasGroup = [](HWND w) { return (static_cast<DWORD>(GetWindowLong(w, GWL_STYLE)) & WS_GROUP) != 0; };
    auto start = it;
    while (start != siblings.begin() && !hasGroup(*start))
        --start;
    auto end = it + 1;
    while (end != siblings.end() && !hasGroup(*end))
        ++end;
    std::vector<HWND> group;
    for (auto g = start; g != end; ++g) {
        if (takesPartInTabOrder(*g))
            group.push_back(*g);
    }
    auto pos = std::find(group.begin(), group.end(), control);
    if (group.empty() || pos == group.end())
        return control;
    const auto index = static_cast<size_t>(pos - group.begin());
    const size_t n = group.size();
    return previous ? group[(index + n - 1) % n] : group[(index + 1) % n];
}

int GetDefaultButtonId(HWND dialog)
{
    const LRESULT def = SendMessage(dialog, DM_GETDEFID);
    if (HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID)
        return LOWORD(static_cast<std::uintptr_t>(def));
    return IDOK;
}

BOOL IsDialogMessage(HWND dialog, const MSG& msg)
{
    if (dialog == nullptr || GetClassName(dialog) != kDialogClass)
        return FALSE;
    if (msg.message != WM_KEYDOWN && msg.message != WM_CHAR)
        return FALSE;
    const int key = static_cast<int>(msg.wParam);
    const LRESULT wants = SendMessage(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (wants & DLGC_WANTALLKEYS)
        return FALSE;
    if (msg.message == WM_CHAR)
        return (key == '\t' || key == '\r' || key == 0x1B) ? TRUE : FALSE;

    switch (key) {
    case VK_TAB: {
        if (wants & DLGC_WANTTAB)
            return FALSE;
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (HWND next = GetNextDlgTabItem(dialog, msg.hwnd, back ? TRUE : FALSE)) {
            SetFocus(next);
            if (SendMessage(next, WM_GETDLGCODE) & DLGC_HASSETSEL)
                SendMessage(next, EM_SETSEL, 0, -1);
        }
        return TRUE;
    }
    case VK_RETURN: {
        // Enter on a push button presses that button, elsewhere the default button.
        HWND focus = GetFocus();
        if (focus != nullptr && isPushButton(focus)) {
            clickCommand(GetParent(focus), GetDlgCtrlID(focus));
            return TRUE;
        }
        clickCommand(dialog, GetDefaultButtonId(dialog));
        return TRUE;
    }
    case VK_ESCAPE:
        SendMessage(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return TRUE;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (wants & DLGC_WANTARROWS)
            return FALSE;
        if (!(wants & DLGC_RADIOBUTTON))
            return FALSE;
        const bool back = key == VK_LEFT || key == VK_UP;
        HWND next = GetNextDlgGroupItem(dialog, msg.hwnd, back ? TRUE : FALSE);
        if (next != nullptr && next != msg.hwnd) {
            SetFocus(next);
            if (SendMessage(next, WM_GETDLGCODE) & DLGC_RADIOBUTTON)
                SendMessage(next, BM_CLICK);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL EndDialog(HWND dialog, int result)
{
    if (auto* object = dynamic_cast<CDialog*>(GetWindowObject(dialog))) {
        object->EndDialog(result);
        return TRUE;
    }
    return FALSE;
}

BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId)
{
    for (int id = firstId; id <= lastId; ++id)
        SendMessage(GetDlgItem(dialog, id), BM_SETCHECK, id == checkId ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL SetDlgItemInt(HWND dialog, int id, int value)
{
    return SetWindowText(GetDlgItem(dialog, id), std::to_string(value));
}

int GetDlgItemInt(HWND dialog, int id, BOOL* ok)
{
    const std::string text = GetWindowText(GetDlgItem(dialog, id));
    int value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && *first == ' ')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    const bool good = ec == std::errc() && end == last && first != last;
    if (ok != nullptr)
        *ok = good ? TRUE : FALSE;
    return good ? value : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}
