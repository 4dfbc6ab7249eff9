// The dialog functions: lists, control states, owners, the stored dialog sizes and flags, moving
// controls, and the picture check box.
#include "core/DialogFunctions.h"

#include "core/CButtonST.h"
#include "platform/win/Bitmap.h"
#include "platform/win/Dialog.h"
#include "platform/win/Registry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

HWND windowOf(const CWnd* dlg)
{
    if (dlg == nullptr || !IsWindow(dlg->m_hWnd))
        return nullptr;
    return dlg->m_hWnd;
}

HWND controlOf(const CWnd* dlg, int id)
{
    HWND dialog = windowOf(dlg);
    return dialog ? GetDlgItem(dialog, id) : nullptr;
}

// The messages of the two list-holding control families.
struct ListMessages {
    UINT reset;
    UINT insert;
    UINT setSelection;
    UINT findExact;
    bool isCombo;
};

constexpr ListMessages kComboMessages{CB_RESETCONTENT, CB_INSERTSTRING, CB_SETCURSEL, CB_FINDSTRINGEXACT, true};
constexpr ListMessages kListMessages{LB_RESETCONTENT, LB_INSERTSTRING, LB_SETCURSEL, LB_FINDSTRINGEXACT, false};

std::optional<ListMessages> messagesFor(HWND control)
{
    const std::string cls = GetClassName(control);
    if (cls == "ComboBox")
        return kComboMessages;
    if (cls == "ListBox")
        return kListMessages;
    return std::nullopt;
}

// Empties and fills the control. Entries are inserted at the end rather than added, so a control
// with the sort style keeps the caller's order: callers pair list positions with their own data.
bool fill(const CWnd* dlg, int id, const Kx_StringArray& list, std::optional<ListMessages>& used)
{
    HWND control = controlOf(dlg, id);
    if (control == nullptr)
        return false;
    used = messagesFor(control);
    if (!used)
        return false;
    SendMessage(control, used->reset);
    for (int i = 0; i < list.length(); ++i) {
        const LRESULT at = SendMessage(control, used->insert, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(list[i].c_str()));
        if (at < 0)  // CB_ERR / LB_ERR, or out of space
            return false;
    }
    return true;
}

bool fillAndSelect(CWnd* dlg, int id, const Kx_StringArray& list, int selection)
{
    std::optional<ListMessages> messages;
    if (!fill(dlg, id, list, messages))
        return false;
    const WPARAM index = selection >= 0 && selection < list.length() ? static_cast<WPARAM>(selection)
                                                                       : static_cast<WPARAM>(-1);
    SendMessage(GetDlgItem(dlg->m_hWnd, id), messages->setSelection, index);
    return true;
}

bool isChildWindow(HWND hwnd)
{
    return (static_cast<DWORD>(GetWindowLong(hwnd, GWL_STYLE)) & WS_CHILD) != 0;
}

// --- Stored sizes ------------------------------------------------------------------------------

// A registry key handle that is closed on every path out.
class RegKey {
public:
    RegKey() = default;
    ~RegKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    bool open(bool create, const char* path = kxcore::kDialogSizesKey)
    {
        const LONG rc = create ? RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                                KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key, nullptr)
                               : RegOpenKeyEx(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &m_key);
        return rc == ERROR_SUCCESS;
    }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Wide enough that no arithmetic on stored coordinates can overflow.
struct Box {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
};

using SizeBytes = std::array<BYTE, kxcore::kDialogSizeValueBytes>;

SizeBytes encode(const RECT& r)
{
    SizeBytes bytes{};
    const LONG fields[4] = {r.left, r.top, r.right, r.bottom};
    for (int f = 0; f < 4; ++f) {
        const auto v = static_cast<std::uint32_t>(fields[f]);
        for (int b = 0; b < 4; ++b)
            bytes[static_cast<size_t>(f * 4 + b)] = static_cast<BYTE>((v >> (8 * b)) & 0xFF);
    }
    return bytes;
}

Box decode(const SizeBytes& bytes)
{
    std::int64_t fields[4];
    for (int f = 0; f < 4; ++f) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(bytes[static_cast<size_t>(f * 4 + b)]) << (8 * b);
        fields[f] = static_cast<std::int32_t>(v);
    }
    return Box{fields[0], fields[1], fields[2], fields[3]};
}

// The box stored under key, when there is a well-formed one.
std::optional<Box> readStoredBox(const Kx_String& key)
{
    RegKey sizes;
    if (!sizes.open(/*create=*/false))
        return std::nullopt;
    // Ask for one byte more than a stored size holds, so a longer value is seen as what it is.
    BYTE buffer[kxcore::kDialogSizeValueBytes + 1] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    const LONG rc = RegQueryValueEx(sizes.get(), key.c_str(), nullptr, &type, buffer, &size);
    if (rc != ERROR_SUCCESS || type != REG_BINARY || size != kxcore::kDialogSizeValueBytes)
        return std::nullopt;
    SizeBytes bytes{};
    std::copy(buffer, buffer + kxcore::kDialogSizeValueBytes, bytes.begin());
    const Box box = decode(bytes);
    if (box.width() <= 0 || box.height() <= 0)
        return std::nullopt;
    return box;
}

// Moves [start, start + length) the least distance that puts it inside [low, high); a length that
// does not fit starts at low.
std::int64_t keepInside(std::int64_t start, std::int64_t length, std::int64_t low, std::int64_t high)
{
    if (start + length > high)
        start = high - length;
    return std::max(start, low);
}

SIZE minimumSizeOf(const CWnd* dlg)
{
    if (const auto* dialog = dynamic_cast<const CDialog*>(dlg))
        return dialog->templateSize();
    return SIZE{};
}

// The key of a dialog's flags: a sub-key of the sizes key named after the dialog's size key.
std::string flagsKeyOf(const Kx_String& dialogKey)
{
    return std::string(kxcore::kDialogSizesKey) + "\\" + dialogKey.str();
}

// The button kinds a picture check box can be made of, and what each becomes.
std::optional<DWORD> checkBoxTypeFor(DWORD type)
{
    switch (type) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return BS_AUTOCHECKBOX;
    case BS_3STATE:
    case BS_AUTO3STATE:
        return BS_AUTO3STATE;
    default:  // radio buttons, group boxes, owner-drawn buttons
        return std::nullopt;
    }
}

} // namespace

bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list)
{
    std::optional<ListMessages> messages;
    return fill(dlg, id, list, messages);
}

bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list, int selection)
{
    return fillAndSelect(dlg, id, list, selection);
}

bool FillCombo(CWnd* dlg, int id, const Kx_StringArray& list, const Kx_String& text)
{
    std::optional<ListMessages> messages;
    if (!fill(dlg, id, list, messages))
        return false;
    HWND control = GetDlgItem(dlg->m_hWnd, id);
    const LRESULT found =
        SendMessage(control, messages->findExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found >= 0) {
        SendMessage(control, messages->setSelection, static_cast<WPARAM>(found));
        return true;
    }
    const DWORD style = static_cast<DWORD>(GetWindowLong(control, GWL_STYLE));
    const bool hasEdit = messages->isCombo && (style & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST;
    if (hasEdit)
        SetWindowText(control, text.str());
    return true;
}

bool FillList(CWnd* dlg, int id, const Kx_StringArray& list)
{
    std::optional<ListMessages> messages;
    return fill(dlg, id, list, messages);
}

bool FillList(CWnd* dlg, int id, const Kx_StringArray& list, int selection)
{
    return fillAndSelect(dlg, id, list, selection);
}

bool EnDisCtrl(CWnd* dlg, int id, bool on)
{
    HWND control = controlOf(dlg, id);
    if (control == nullptr)
        return false;
    EnableWindow(control, on ? TRUE : FALSE);
    return true;
}

bool ShowOrHideCtrl(CWnd* dlg, int id, bool on)
{
    HWND control = controlOf(dlg, id);
    if (control == nullptr)
        return false;
    ShowWindow(control, on ? SW_SHOW : SW_HIDE);
    return true;
}

HWND getDlgOwnerWindow(HWND dlg)
{
    if (!IsWindow(dlg))
        return nullptr;
    if (!isChildWindow(dlg))
        return GetOwner(dlg);
    // Walk the parents only while they are children themselves: GetParent of a top-level window
    // would give its owner, which is not what encloses the page.
    for (HWND up = dlg; isChildWindow(up);) {
        up = GetParent(up);
        if (up == nullptr)
            return nullptr;
        if (GetClassName(up) == kDialogClass)
            return up;
    }
    return GetTopLevelWindow(dlg);
}

CWnd* getDlgOwner(const CWnd* dlg)
{
    HWND dialog = windowOf(dlg);
    if (dialog == nullptr)
        return nullptr;
    return CWnd::FromHandle(getDlgOwnerWindow(dialog));
}

bool getDlgSize(CWnd* dlg, int& w, int& h, bool clientArea)
{
    HWND dialog = windowOf(dlg);
    if (dialog == nullptr)
        return false;
    RECT r;
    if (clientArea)
        GetClientRect(dialog, r);
    else
        GetWindowRect(dialog, r);
    w = r.width();
    h = r.height();
    return true;
}

bool ChangeDlgSize(CWnd* dlg, const Kx_String& key, bool sizeOnly)
{
    try {
        HWND dialog = windowOf(dlg);
        if (dialog == nullptr || key.isEmpty())
            return false;
        const std::optional<Box> stored = readStoredBox(key);
        if (!stored)
            return false;

        const RECT screen = GetScreenRect();
        const SIZE minimum = minimumSizeOf(dlg);
        const std::int64_t w = std::max<std::int64_t>(std::min<std::int64_t>(stored->width(), screen.width()),
                                                      minimum.cx);
        const std::int64_t h = std::max<std::int64_t>(std::min<std::int64_t>(stored->height(), screen.height()),
                                                      minimum.cy);

        if (isChildWindow(dialog)) {
            SetWindowPos(dialog, nullptr, 0, 0, static_cast<int>(w), static_cast<int>(h),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return true;
        }

        std::int64_t left = stored->left;
        std::int64_t top = stored->top;
        if (sizeOnly) {
            RECT around = screen;
            if (HWND owner = GetOwner(dialog); owner != nullptr)
                GetWindowRect(owner, around);
            left = around.left + (around.width() - w) / 2;
            top = around.top + (around.height() - h) / 2;
        }
        left = keepInside(left, w, screen.left, screen.right);
        top = keepInside(top, h, screen.top, screen.bottom);
        SetWindowPos(dialog, nullptr, static_cast<int>(left), static_cast<int>(top), static_cast<int>(w),
                     static_cast<int>(h), SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    } catch (...) {
        return false;
    }
}

bool WriteDlgSize(CWnd* dlg, const Kx_String& key)
{
    try {
        HWND dialog = windowOf(dlg);
        if (dialog == nullptr || key.isEmpty())
            return false;
        RECT r;
        GetWindowRect(dialog, r);
        if (r.width() <= 0 || r.height() <= 0)
            return false;
        RegKey sizes;
        if (!sizes.open(/*create=*/true))
            return false;
        const SizeBytes bytes = encode(r);
        return RegSetValueEx(sizes.get(), key.c_str(), 0, REG_BINARY, bytes.data(),
                             static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    } catch (...) {
        return false;
    }
}

bool readDlgRegBool(const Kx_String& dialogKey, const Kx_String& valueName, bool& value)
{
    try {
        if (dialogKey.isEmpty() || valueName.isEmpty())
            return false;
        RegKey flags;
        if (!flags.open(/*create=*/false, flagsKeyOf(dialogKey).c_str()))
            return false;
        // One byte more than a DWORD, so a longer value is seen as what it is.
        BYTE buffer[5] = {};
        DWORD type = REG_NONE;
        DWORD size = sizeof buffer;
        const LONG rc = RegQueryValueEx(flags.get(), valueName.c_str(), nullptr, &type, buffer, &size);
        if (rc != ERROR_SUCCESS || type != REG_DWORD || size != 4)
            return false;
        value = (buffer[0] | buffer[1] | buffer[2] | buffer[3]) != 0;
        return true;
    } catch (...) {
        return false;
    }
}

bool writeDlgRegBool(const Kx_String& dialogKey, const Kx_String& valueName, bool value)
{
    try {
        if (dialogKey.isEmpty() || valueName.isEmpty())
            return false;
        RegKey flags;
        if (!flags.open(/*create=*/true, flagsKeyOf(dialogKey).c_str()))
            return false;
        const BYTE bytes[4] = {static_cast<BYTE>(value ? 1 : 0), 0, 0, 0};
        return RegSetValueEx(flags.get(), valueName.c_str(), 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
    } catch (...) {
        return false;
    }
}

bool resizeCtrl(CWnd* dlg, int id, int dLeft, int dTop, int dRight, int dBottom)
{
    HWND control = controlOf(dlg, id);
    if (control == nullptr)
        return false;
    const RECT r = GetWindowRectInParent(control);
    // In 64 bits, so that no delta can overflow; the result must fit the window layer's ints.
    const std::int64_t left = std::int64_t{r.left} + dLeft;
    const std::int64_t top = std::int64_t{r.top} + dTop;
    const std::int64_t width = std::int64_t{r.right} + dRight - left;
    const std::int64_t height = std::int64_t{r.bottom} + dBottom - top;
    constexpr std::int64_t low = INT32_MIN;
    constexpr std::int64_t high = INT32_MAX;
    if (width < 0 || height < 0 || left < low || left > high || top < low || top > high || width > high
        || height > high)
        return false;
    return MoveWindow(control, static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                      static_cast<int>(height), TRUE) != FALSE;
}

bool CreateImageCheck(CWnd* dlg, int id, CButtonST& button, int iconId, const Kx_String& tooltip)
{
    try {
        HWND control = controlOf(dlg, id);
        if (control == nullptr || button.m_hWnd != nullptr || GetClassName(control) != "Button")
            return false;
        const DWORD style = static_cast<DWORD>(GetWindowLong(control, GWL_STYLE));
        const std::optional<DWORD> type = checkBoxTypeFor(style & BS_TYPEMASK);
        if (!type)
            return false;
        // The icon first: a missing icon must leave the control as the template made it.
        HICON icon = LoadIcon(iconId);
        if (icon == nullptr)
            return false;
        const DWORD checkStyle = (style & ~BS_TYPEMASK) | *type | BS_PUSHLIKE;
        SendMessage(control, BM_SETSTYLE, static_cast<WPARAM>(checkStyle & 0xFFFFu), TRUE);
        const bool taken = button.SubclassDlgItem(id, dlg->m_hWnd);
        if (taken) {
            button.SetIcon(icon);  // the button keeps a copy
            button.SetFlat(true, /*repaint=*/false);
            button.DrawFlatFocus(false, /*repaint=*/false);
            if (!tooltip.isEmpty())
                button.SetTooltipText(tooltip.str());
            InvalidateRect(control, nullptr, TRUE);
        } else {
            SendMessage(control, BM_SETSTYLE, static_cast<WPARAM>(style & 0xFFFFu), TRUE);
        }
        DestroyIcon(icon);
        return taken;
    } catch (...) {
        return false;
    }
}
