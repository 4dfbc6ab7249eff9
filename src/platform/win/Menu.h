// Menus: menu handles with their items (commands, separators, sub-menus, check marks, grey state),
// menus loaded from MENU resources (MenuResource.h holds the text format), pop-up menus tracked
// through the backend, and a text description of a menu for tests and snapshots.
// Handles are never reused: a destroyed menu's handle is stale, and every call on it does nothing.
#pragma once

#include "platform/win/KxWinExport.h"
#include "platform/win/Messages.h"
#include "platform/win/WinTypes.h"

#include <string>

class CWnd;

// More item flags, beside the MF_ ones of Messages.h.
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_BITMAP = 0x0004;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_DEFAULT = 0x1000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
inline constexpr UINT MFT_STRING = MF_STRING;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
// TrackPopupMenu flags beside those of Messages.h.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
// What GetMenuState, GetMenuItemID, CheckMenuItem and EnableMenuItem return for an item that is not there.
inline constexpr UINT kNoMenuItem = 0xFFFFFFFF;

// Menu bars and pop-up menus; null only when memory runs out. A menu is its creator's to destroy,
// except a sub-menu, which goes with the menu it was attached to.
KXWIN_API HMENU CreateMenu();
KXWIN_API HMENU CreatePopupMenu();
// Destroys the menu and, recursively, its sub-menus. FALSE for a stale handle.
KXWIN_API BOOL DestroyMenu(HMENU menu);
KXWIN_API BOOL IsMenu(HMENU menu);

// Items. `id` is the command, or for MF_POPUP the sub-menu's handle (reinterpret_cast<UINT_PTR>),
// which then belongs to this menu. A null `text` is an empty text. FALSE for a stale menu, a stale
// sub-menu, a sub-menu already attached elsewhere, or one that would contain its own parent.
KXWIN_API BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
// Inserts before the item at `position` (MF_BYPOSITION; past the end or -1 appends) or before the
// item with the command `position` (MF_BYCOMMAND, searched in sub-menus too).
KXWIN_API BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
// Replaces an item; a sub-menu it opened is destroyed unless the new item opens the same one.
KXWIN_API BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text);
// Takes an item out; a sub-menu it opened stays alive (the caller's now).
KXWIN_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
// Takes an item out and destroys a sub-menu it opened.
KXWIN_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Previous state (MF_CHECKED or MF_UNCHECKED), kNoMenuItem when there is no such item.
KXWIN_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
// Previous state (MF_ENABLED, MF_GRAYED, MF_DISABLED), -1 when there is no such item.
KXWIN_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
// Checks `check` as a radio item and unchecks the others from `first` to `last` (positions, or
// commands that must all be in one menu). FALSE when they are not found.
KXWIN_API BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
KXWIN_API HMENU GetSubMenu(HMENU menu, int position);
// -1 for a stale handle.
KXWIN_API int GetMenuItemCount(HMENU menu);
// The command; kNoMenuItem for a sub-menu or a missing item, 0 for a separator.
KXWIN_API UINT GetMenuItemID(HMENU menu, int position);
// The item's flags; for a sub-menu the count of its items in the high byte. kNoMenuItem when missing.
KXWIN_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Copies the text (cut to fit `size` with its terminating zero) and returns its length in bytes;
// with a null buffer only returns the length. 0 when missing.
KXWIN_API int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);

// Loads a MENU resource of the current resource handle: a menu bar whose items are the top-level
// entries of the resource. Null when it is missing or does not parse; kxwin::lastMenuError() says why.
KXWIN_API HMENU LoadMenu(int resourceId);

// Shows a pop-up menu through the backend. The owner gets WM_INITMENUPOPUP first (and for each
// sub-menu on the way to the chosen item) unless TPM_NONOTIFY; it may change the items then.
// With TPM_RETURNCMD the chosen command is returned; otherwise it is posted to the owner as
// WM_COMMAND and the result is TRUE. A dismissed menu, or a command that is not an enabled item of
// the menu (greyed, disabled, inside a greyed sub-menu, or absent) gives 0 and no command.
// 0 as well for a stale menu or an owner that is not a window.
KXWIN_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

namespace kxwin {

// The menu in the resource text format (docs/menu-resources.md), sub-menus indented by four
// spaces: reading it back gives the same menu. Empty for a stale handle.
KXWIN_API std::string describeMenu(HMENU menu);
KXWIN_API std::string menuString(HMENU menu, UINT item, UINT flags);
// Why the last LoadMenu of this thread failed ("MENU resource 139 of module host, line 4: ...").
KXWIN_API std::string lastMenuError();
KXWIN_API int liveMenuCount();

} // namespace kxwin

// A menu object. One that created, loaded or attached its menu destroys it when it goes away;
// one from FromHandle or GetSubMenu only refers to a menu owned elsewhere.
class KXWIN_API CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    CMenu(CMenu&& other) noexcept;
    CMenu& operator=(CMenu&& other) noexcept;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }

    // A reference to a menu owned elsewhere.
    static CMenu FromHandle(HMENU menu);

    // Each fails (FALSE) when the object already holds a menu.
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(int resourceId);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    // Destroys the menu whether or not this object owns it.
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::AppendMenu(m_hMenu, flags, id, text); }
    BOOL AppendMenu(UINT flags, UINT_PTR id, const std::string& text) { return AppendMenu(flags, id, text.c_str()); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr)
    {
        return ::InsertMenu(m_hMenu, position, flags, id, text);
    }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr)
    {
        return ::ModifyMenu(m_hMenu, position, flags, id, text);
    }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT CheckMenuItem(UINT item, UINT flags) { return ::CheckMenuItem(m_hMenu, item, flags); }
    UINT EnableMenuItem(UINT item, UINT flags) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, flags)); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT check, UINT flags)
    {
        return ::CheckMenuRadioItem(m_hMenu, first, last, check, flags);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, std::string& text, UINT flags) const;
    // A reference to the sub-menu (holding null when there is none).
    CMenu GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner, const RECT* rect = nullptr)
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, rect);
    }

private:
    bool m_owns = false;
};
