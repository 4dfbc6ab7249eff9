// PopupMenuBuilder: a pop-up menu built from two parallel lists (levels and entries) with a fixed
// pool of ten command identifiers. One builder per pop-up shown; it owns the root menu and every
// sub-menu it created.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"
#include "platform/win/WinTypes.h"

#include <array>
#include <vector>

struct PopupMenuEntry {
    Kx_String text;
    int kind = 1;  // 1 plain, 2 checked, 3 radio, 4 greyed, 5 separator, 6 sub-menu, 7 hidden
};

class KXSS_API PopupMenuBuilder {
public:
    static constexpr std::array<UINT, 10> kIdentifierPool = {32811, 32812, 32816, 32817, 32818,
                                                             32800, 32801, 32802, 32803, 32804};

    PopupMenuBuilder();
    ~PopupMenuBuilder();
    PopupMenuBuilder(const PopupMenuBuilder&) = delete;
    PopupMenuBuilder& operator=(const PopupMenuBuilder&) = delete;

    // Builds the root menu (replacing one built before) without showing it. False when the two lists
    // differ in length or the menu cannot be made.
    bool build(const std::vector<int>& levels, const std::vector<PopupMenuEntry>& entries);
    // Builds and shows the menu at the screen point; the pick reaches `owner` as WM_COMMAND.
    bool track(UINT flags, int x, int y, HWND owner, const std::vector<int>& levels,
               const std::vector<PopupMenuEntry>& entries);
    // The caption of the root menu's item with `id`; empty when there is none.
    Kx_String itemText(UINT id) const;
    // The position 0-9 of `id` in the pool; -1 for any other identifier.
    static int poolPosition(UINT id);

    HMENU menu() const { return m_root; }

private:
    void destroyMenus();

    HMENU m_root = nullptr;
    std::vector<HMENU> m_subMenus;
    std::vector<int> m_openedLevels;
};
