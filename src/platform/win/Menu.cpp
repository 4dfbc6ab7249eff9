// Menu handles and items, loading menus, tracking pop-up menus through the backend.
// A sub-menu has one parent at most and never contains its own ancestors, so the menus form trees:
// every walk below is linear in the number of items. Walks that recurse stop at kMaxMenuNesting.
#include "platform/win/Menu.h"

#include "platform/win/Backend.h"
#include "platform/win/CWnd.h"
#include "platform/win/MenuResource.h"
#include "platform/win/Resources.h"
#include "platform/win/Window.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

constexpr int kMaxMenuNesting = 64;

// The bits an item keeps; MF_BYPOSITION only says how a call addresses an item.
constexpr UINT kItemFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MFT_RADIOCHECK |
                            MF_MENUBARBREAK | MF_MENUBREAK | MF_HILITE | MF_OWNERDRAW | MF_BITMAP | MF_DEFAULT |
                            MF_RIGHTJUSTIFY;

struct Item {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU sub = nullptr;
};

struct MenuData {
    bool popup = false;
    HMENU parent = nullptr;
    std::vector<Item> items;
};

struct MenuTable {
    std::unordered_map<std::uintptr_t, std::unique_ptr<MenuData>> menus;
    std::uintptr_t next = 0x30000000;
};

MenuTable& table()
{
    static MenuTable t;
    return t;
}

thread_local std::string t_lastError;

MenuData* find(HMENU menu)
{
    if (menu == nullptr)
        return nullptr;
    auto& menus = table().menus;
    auto it = menus.find(reinterpret_cast<std::uintptr_t>(menu));
    return it == menus.end() ? nullptr : it->second.get();
}

HMENU create(bool popup)
{
    try {
        auto data = std::make_unique<MenuData>();
        data->popup = popup;
        MenuTable& t = table();
        const std::uintptr_t handle = t.next;
        t.menus.emplace(handle, std::move(data));
        t.next += 4;
        return reinterpret_cast<HMENU>(handle);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

struct Location {
    HMENU menu = nullptr;  // the menu that holds the item
    std::size_t index = 0;
};

bool isCommand(const Item& item)
{
    return (item.flags & (MF_POPUP | MF_SEPARATOR)) == 0;
}

// Depth-first, in item order, each sub-menu searched where it stands: the first command wins.
std::optional<Location> findCommand(HMENU menu, UINT command, int depth, std::vector<Location>* path)
{
    MenuData* data = find(menu);
    if (data == nullptr || depth > kMaxMenuNesting)
        return std::nullopt;
    for (std::size_t i = 0; i < data->items.size(); ++i) {
        const Item& item = data->items[i];
        if (item.flags & MF_POPUP) {
            if (path != nullptr)
                path->push_back(Location{menu, i});
            if (auto found = findCommand(item.sub, command, depth + 1, path))
                return found;
            if (path != nullptr)
                path->pop_back();
        } else if (isCommand(item) && item.id == command) {
            return Location{menu, i};
        }
    }
    return std::nullopt;
}

std::optional<Location> locate(HMENU menu, UINT item, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        MenuData* data = find(menu);
        if (data == nullptr || item >= data->items.size())
            return std::nullopt;
        return Location{menu, item};
    }
    return findCommand(menu, item, 0, nullptr);
}

Item* itemAt(const Location& at)
{
    MenuData* data = find(at.menu);
    return data && at.index < data->items.size() ? &data->items[at.index] : nullptr;
}

// Whether `sub` may become a sub-menu of `menu`: alive, not attached elsewhere, not `menu` itself
// and not one of its ancestors.
bool canAttach(HMENU menu, HMENU sub, HMENU replacing = nullptr)
{
    MenuData* data = find(sub);
    if (data == nullptr || (data->parent != nullptr && sub != replacing))
        return false;
    for (HMENU up = menu; up != nullptr; up = find(up) ? find(up)->parent : nullptr) {
        if (up == sub)
            return false;
    }
    return true;
}

// Builds an item from the arguments of AppendMenu and its kin; nothing when they are unusable.
std::optional<Item> makeItem(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text, HMENU replacing = nullptr)
{
    Item item;
    item.flags = flags & kItemFlags;
    item.text = (text != nullptr && !(flags & MF_SEPARATOR)) ? text : "";
    if (flags & MF_SEPARATOR) {
        item.flags &= ~MF_POPUP;
        return item;
    }
    if (flags & MF_POPUP) {
        item.sub = reinterpret_cast<HMENU>(id);
        if (!canAttach(menu, item.sub, replacing))
            return std::nullopt;
        return item;
    }
    item.id = static_cast<UINT>(id);
    return item;
}

void adopt(HMENU parent, const Item& item)
{
    if (MenuData* sub = find(item.sub); sub && (item.flags & MF_POPUP))
        sub->parent = parent;
}

void destroyTree(HMENU root)
{
    std::vector<HMENU> pending{root};
    if (MenuData* data = find(root); data && data->parent != nullptr) {
        // A sub-menu destroyed on its own: its parent item keeps a stale handle, harmlessly.
        data->parent = nullptr;
    }
    while (!pending.empty()) {
        HMENU menu = pending.back();
        pending.pop_back();
        MenuData* data = find(menu);
        if (data == nullptr)
            continue;
        for (const Item& item : data->items) {
            if ((item.flags & MF_POPUP) && find(item.sub) != nullptr && find(item.sub)->parent == menu)
                pending.push_back(item.sub);
        }
        table().menus.erase(reinterpret_cast<std::uintptr_t>(menu));
    }
}

// Whether a command can be chosen: an enabled command item reached through enabled sub-menus.
bool isChoosable(HMENU menu, UINT command, std::vector<Location>& path)
{
    path.clear();
    auto at = findCommand(menu, command, 0, &path);
    if (!at)
        return false;
    const Item* item = itemAt(*at);
    if (item == nullptr || (item->flags & (MF_GRAYED | MF_DISABLED)))
        return false;
    for (const Location& step : path) {
        const Item* popup = itemAt(step);
        if (popup == nullptr || (popup->flags & (MF_GRAYED | MF_DISABLED)))
            return false;
    }
    return true;
}

void readItems(HMENU menu, std::vector<kxwin::MenuTemplateItem>& out, int depth)
{
    MenuData* data = find(menu);
    if (data == nullptr)
        return;
    for (const Item& item : data->items) {
        kxwin::MenuTemplateItem entry;
        entry.flags = item.flags & kxwin::kMenuTemplateFlags;
        if (item.flags & MF_SEPARATOR) {
            entry.kind = kxwin::MenuTemplateItem::Kind::Separator;
            entry.flags = 0;
        } else if (item.flags & MF_POPUP) {
            entry.kind = kxwin::MenuTemplateItem::Kind::Popup;
            entry.text = item.text;
            if (depth < kMaxMenuNesting)
                readItems(item.sub, entry.items, depth + 1);
        } else {
            entry.kind = kxwin::MenuTemplateItem::Kind::Command;
            entry.text = item.text;
            entry.id = item.id;
        }
        out.push_back(std::move(entry));
    }
}

} // namespace

HMENU CreateMenu()
{
    return create(false);
}

HMENU CreatePopupMenu()
{
    return create(true);
}

BOOL DestroyMenu(HMENU menu)
{
    if (find(menu) == nullptr)
        return FALSE;
    destroyTree(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu)
{
    return find(menu) != nullptr;
}

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
{
    MenuData* data = find(menu);
    if (data == nullptr)
        return FALSE;
    try {
        auto item = makeItem(menu, flags, id, text);
        if (!item)
            return FALSE;
        data->items.push_back(*item);
        adopt(menu, *item);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    Location at{menu, 0};
    if (flags & MF_BYPOSITION) {
        MenuData* data = find(menu);
        if (data == nullptr)
            return FALSE;
        at.index = std::min<std::size_t>(position, data->items.size());  // -1 and past the end append
    } else {
        auto found = findCommand(menu, position, 0, nullptr);
        if (!found)
            return FALSE;
        at = *found;
    }
    MenuData* target = find(at.menu);
    if (target == nullptr)
        return FALSE;
    try {
        auto item = makeItem(at.menu, flags & ~MF_BYPOSITION, id, text);
        if (!item)
            return FALSE;
        target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at.index), *item);
        adopt(at.menu, *item);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    auto at = locate(menu, position, flags);
    Item* old = at ? itemAt(*at) : nullptr;
    if (old == nullptr)
        return FALSE;
    try {
        const HMENU oldSub = (old->flags & MF_POPUP) ? old->sub : nullptr;
        auto item = makeItem(at->menu, flags & ~MF_BYPOSITION, id, text, oldSub);
        if (!item)
            return FALSE;
        *old = *item;
        adopt(at->menu, *item);
        if (oldSub != nullptr && oldSub != item->sub && find(oldSub) && find(oldSub)->parent == at->menu)
            destroyTree(oldSub);
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    auto at = locate(menu, position, flags);
    Item* item = at ? itemAt(*at) : nullptr;
    if (item == nullptr)
        return FALSE;
    if (MenuData* sub = find(item->sub); sub && (item->flags & MF_POPUP) && sub->parent == at->menu)
        sub->parent = nullptr;
    auto& items = find(at->menu)->items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at->index));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    auto at = locate(menu, position, flags);
    Item* item = at ? itemAt(*at) : nullptr;
    if (item == nullptr)
        return FALSE;
    const HMENU sub = (item->flags & MF_POPUP) ? item->sub : nullptr;
    const bool owned = sub != nullptr && find(sub) != nullptr && find(sub)->parent == at->menu;
    auto& items = find(at->menu)->items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at->index));
    if (owned)
        destroyTree(sub);
    return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
    auto at = locate(menu, item, flags);
    Item* it = at ? itemAt(*at) : nullptr;
    if (it == nullptr)
        return kNoMenuItem;
    const DWORD previous = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    auto at = locate(menu, item, flags);
    Item* it = at ? itemAt(*at) : nullptr;
    if (it == nullptr)
        return -1;
    const BOOL previous = static_cast<BOOL>(it->flags & (MF_GRAYED | MF_DISABLED));
    it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    HMENU holder = menu;
    std::size_t from = first;
    std::size_t to = last;
    std::size_t chosen = check;
    if (!(flags & MF_BYPOSITION)) {
        auto c = findCommand(menu, check, 0, nullptr);
        if (!c)
            return FALSE;
        holder = c->menu;
        chosen = c->index;
        // The range is given by commands: find their positions in the same menu.
        MenuData* data = find(holder);
        std::optional<std::size_t> a;
        std::optional<std::size_t> b;
        for (std::size_t i = 0; i < data->items.size(); ++i) {
            if (!isCommand(data->items[i]))
                continue;
            if (!a && data->items[i].id == first)
                a = i;
            if (data->items[i].id == last)
                b = i;
        }
        if (!a || !b)
            return FALSE;
        from = *a;
        to = *b;
    }
    MenuData* data = find(holder);
    if (data == nullptr || from > to || to >= data->items.size() || chosen < from || chosen > to)
        return FALSE;
    for (std::size_t i = from; i <= to; ++i) {
        Item& item = data->items[i];
        if (!isCommand(item))
            continue;
        if (i == chosen)
            item.flags |= MF_CHECKED | MFT_RADIOCHECK;
        else
            item.flags &= ~MF_CHECKED;
    }
    return TRUE;
}

HMENU GetSubMenu(HMENU menu, int position)
{
    MenuData* data = find(menu);
    if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->items.size())
        return nullptr;
    const Item& item = data->items[static_cast<std::size_t>(position)];
    return (item.flags & MF_POPUP) && find(item.sub) ? item.sub : nullptr;
}

int GetMenuItemCount(HMENU menu)
{
    MenuData* data = find(menu);
    return data ? static_cast<int>(data->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
    MenuData* data = find(menu);
    if (data == nullptr || position < 0 || static_cast<std::size_t>(position) >= data->items.size())
        return kNoMenuItem;
    const Item& item = data->items[static_cast<std::size_t>(position)];
    if (item.flags & MF_POPUP)
        return kNoMenuItem;
    return (item.flags & MF_SEPARATOR) ? 0 : item.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    auto at = locate(menu, item, flags);
    const Item* it = at ? itemAt(*at) : nullptr;
    if (it == nullptr)
        return kNoMenuItem;
    if (it->flags & MF_POPUP) {
        const MenuData* sub = find(it->sub);
        const UINT count = sub ? static_cast<UINT>(std::min<std::size_t>(sub->items.size(), 0xFF)) : 0;
        return (count << 8) | (it->flags & 0xFF);
    }
    return it->flags;
}

int GetMenuString(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags)
{
    auto at = locate(menu, item, flags);
    const Item* it = at ? itemAt(*at) : nullptr;
    if (it == nullptr)
        return 0;
    if (buffer == nullptr)
        return static_cast<int>(std::min<std::size_t>(it->text.size(), INT_MAX));
    if (size <= 0)
        return 0;
    const std::size_t n = std::min<std::size_t>(it->text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, it->text.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

HMENU LoadMenu(int resourceId)
{
    const HINSTANCE module = AfxGetResourceHandle();
    const std::string what = "MENU resource " + std::to_string(resourceId) + " of module " + kxwin::resourceModuleName(module);
    const std::vector<BYTE>* data = FindResourceData("MENU", resourceId);
    if (data == nullptr) {
        t_lastError = what + " does not exist";
        return nullptr;
    }
    try {
        const auto parsed = kxwin::parseMenuResource(std::string_view(reinterpret_cast<const char*>(data->data()), data->size()));
        if (!parsed) {
            t_lastError = what + ", " + parsed.message();
            return nullptr;
        }
        HMENU menu = kxwin::createMenuFromTemplate(*parsed.menu);
        if (menu == nullptr)
            t_lastError = "out of memory making " + what;
        return menu;
    } catch (const std::bad_alloc&) {
        t_lastError = "out of memory reading " + what;
        return nullptr;
    }
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    if (!IsMenu(menu) || !IsWindow(owner))
        return FALSE;
    const bool notify = (flags & TPM_NONOTIFY) == 0;
    if (notify) {
        SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
        if (!IsMenu(menu) || !IsWindow(owner))
            return FALSE;
    }
    const UINT command = kxwin::backend().trackPopupMenu(PopupMenuRequest{menu, flags, POINT{x, y}, owner});
    if (command == 0 || !IsMenu(menu) || !IsWindow(owner))
        return FALSE;
    std::vector<Location> path;
    if (!isChoosable(menu, command, path))
        return FALSE;
    if (notify && !path.empty()) {
        // The person opened each sub-menu on the way to the item: its owner hears of each.
        for (const Location& step : path) {
            const Item* popup = itemAt(step);
            if (popup == nullptr)
                return FALSE;
            SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->sub),
                        MAKELPARAM(static_cast<WORD>(step.index), FALSE));
            if (!IsMenu(menu) || !IsWindow(owner))
                return FALSE;
        }
        if (!isChoosable(menu, command, path))
            return FALSE;  // the owner greyed or removed it meanwhile
    }
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(command);
    PostMessage(owner, WM_COMMAND, MAKEWPARAM(LOWORD(command), 0), 0);
    return TRUE;
}

namespace kxwin {

std::string describeMenu(HMENU menu)
{
    if (!IsMenu(menu))
        return {};
    return writeMenuResource(menuTemplateOf(menu));
}

MenuTemplate menuTemplateOf(HMENU menu)
{
    MenuTemplate out;
    readItems(menu, out.items, 0);
    return out;
}

std::string menuString(HMENU menu, UINT item, UINT flags)
{
    auto at = locate(menu, item, flags);
    const Item* it = at ? itemAt(*at) : nullptr;
    return it ? it->text : std::string();
}

std::string lastMenuError()
{
    return t_lastError;
}

int liveMenuCount()
{
    return static_cast<int>(table().menus.size());
}

} // namespace kxwin

CMenu::~CMenu()
{
    if (m_owns)
        DestroyMenu();
}

CMenu::CMenu(CMenu&& other) noexcept : m_hMenu(std::exchange(other.m_hMenu, nullptr)), m_owns(std::exchange(other.m_owns, false))
{
}

CMenu& CMenu::operator=(CMenu&& other) noexcept
{
    if (this != &other) {
        if (m_owns)
            DestroyMenu();
        m_hMenu = std::exchange(other.m_hMenu, nullptr);
        m_owns = std::exchange(other.m_owns, false);
    }
    return *this;
}

CMenu CMenu::FromHandle(HMENU menu)
{
    CMenu view;
    view.m_hMenu = menu;
    return view;
}

BOOL CMenu::CreateMenu()
{
    return m_hMenu == nullptr && Attach(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu()
{
    return m_hMenu == nullptr && Attach(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(int resourceId)
{
    return m_hMenu == nullptr && Attach(::LoadMenu(resourceId));
}

BOOL CMenu::Attach(HMENU menu)
{
    if (m_hMenu != nullptr || menu == nullptr)
        return FALSE;
    m_hMenu = menu;
    m_owns = true;
    return TRUE;
}

HMENU CMenu::Detach()
{
    m_owns = false;
    return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == nullptr)
        return FALSE;
    m_owns = false;
    return ::DestroyMenu(std::exchange(m_hMenu, nullptr));
}

int CMenu::GetMenuString(UINT item, std::string& text, UINT flags) const
{
    text = kxwin::menuString(m_hMenu, item, flags);
    return static_cast<int>(text.size());
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : HWND{}, rect);
}
