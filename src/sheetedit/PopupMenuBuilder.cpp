#include "sheetedit/PopupMenuBuilder.h"

#include "platform/win/Menu.h"

#include <algorithm>
#include <cstddef>

namespace {

enum EntryKind : int {
    kPlain = 1,
    kChecked = 2,
    kRadio = 3,
    kGreyed = 4,
    kSeparator = 5,
    kSubMenu = 6,
    kHidden = 7,
};

} // namespace

PopupMenuBuilder::PopupMenuBuilder() = default;

PopupMenuBuilder::~PopupMenuBuilder() { destroyMenus(); }

void PopupMenuBuilder::destroyMenus()
{
    // Sub-menus enter the list only once attached, so destroying the root takes all of them.
    if (m_root != nullptr)
        DestroyMenu(m_root);
    m_root = nullptr;
    m_subMenus.clear();
    m_openedLevels.clear();
}

// Levels count from 1 (the root). An entry deeper than the level open at that point, or one whose
// level no sub-menu opened, is left out. Identifiers come from the pool in order and only for the
// kinds that take one; once the pool is used up, every further entry is left out.
//
// An entry at the level being filled goes to the menu being filled at that level. Taking "the
// sub-menu made last" instead would send the entries that follow a closed inner sub-menu into that
// inner sub-menu rather than back into the one that holds it.
bool PopupMenuBuilder::build(const std::vector<int>& levels, const std::vector<PopupMenuEntry>& entries)
{
    destroyMenus();
    if (levels.size() != entries.size())
        return false;
    m_root = CreatePopupMenu();
    if (m_root == nullptr)
        return false;

    int currentLevel = 1;
    HMENU currentMenu = m_root;
    int counter = -1;
    const int poolSize = static_cast<int>(kIdentifierPool.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int level = levels[i];
        const PopupMenuEntry& entry = entries[i];
        if (level < 1 || level > currentLevel)
            continue;
        if (level == 1) {
            currentLevel = 1;
            currentMenu = m_root;
        } else if (level != currentLevel) {
            const auto found = std::find(m_openedLevels.rbegin(), m_openedLevels.rend(), level);
            if (found == m_openedLevels.rend())
                continue;
            const auto index = static_cast<std::size_t>(std::distance(found, m_openedLevels.rend()) - 1);
            if (index >= m_subMenus.size() || !IsMenu(m_subMenus[index]))
                continue;
            currentLevel = level;
            currentMenu = m_subMenus[index];
        }
        if (counter + 2 > poolSize)
            continue;

        switch (entry.kind) {
        case kHidden:
            ++counter;
            break;
        case kSubMenu: {
            HMENU sub = CreatePopupMenu();
            if (sub == nullptr)
                break;
            if (!AppendMenu(currentMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), entry.text.c_str())) {
                DestroyMenu(sub);
                break;
            }
            ++currentLevel;
            m_openedLevels.push_back(currentLevel);
            m_subMenus.push_back(sub);
            currentMenu = sub;
            break;
        }
        case kSeparator:
            AppendMenu(currentMenu, MF_SEPARATOR, 0, nullptr);
            break;
        default: {
            ++counter;
            const UINT id = kIdentifierPool[static_cast<std::size_t>(counter)];
            UINT flags = MF_STRING;
            if (entry.kind == kChecked)
                flags |= MF_CHECKED;
            else if (entry.kind == kGreyed)
                flags |= MF_GRAYED;
            AppendMenu(currentMenu, flags, id, entry.text.c_str());
            if (entry.kind == kRadio)
                CheckMenuRadioItem(currentMenu, id, id, id, MF_BYCOMMAND);
            break;
        }
        }
    }
    return true;
}

bool PopupMenuBuilder::track(UINT flags, int x, int y, HWND owner, const std::vector<int>& levels,
                             const std::vector<PopupMenuEntry>& entries)
{
    if (!build(levels, entries))
        return false;
    return TrackPopupMenu(m_root, flags, x, y, 0, owner, nullptr) != FALSE;
}

Kx_String PopupMenuBuilder::itemText(UINT id) const
{
    if (m_root == nullptr)
        return {};
    return Kx_String(kxwin::menuString(m_root, id, MF_BYCOMMAND));
}

int PopupMenuBuilder::poolPosition(UINT id)
{
    const auto it = std::find(kIdentifierPool.begin(), kIdentifierPool.end(), id);
    return it == kIdentifierPool.end() ? -1 : static_cast<int>(it - kIdentifierPool.begin());
}
