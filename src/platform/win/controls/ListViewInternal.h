// Private to the list view: its state, geometry and state-change rules, shared by the window
// procedure and input (ListView.cpp) and the item and column messages (ListViewItems.cpp).
#pragma once

#include "platform/win/CommCtrl.h"
#include "platform/win/WindowInternal.h"

#include <string>
#include <vector>

namespace kxwin::detail::listview {

inline constexpr int kHeaderHeight = 24;
inline constexpr int kRowHeight = 17;
inline constexpr int kSmallIcon = 16;
inline constexpr SIZE kIconSpacing{75, 70};
inline constexpr SIZE kSmallIconSpacing{120, kRowHeight};
inline constexpr COLORREF kDefaultColour = 0xFF000000;  // "the system's colour"
inline constexpr int kMaxSubItems = 256;

struct LvItem {
    std::string text;
    std::vector<std::string> subTexts;  // sub-item 1 is subTexts[0]
    int image = 0;
    LPARAM param = 0;
    UINT state = 0;
    int indent = 0;
};

struct LvColumn {
    std::string text;
    int width = 0;
    int fmt = LVCFMT_LEFT;
    int subItem = 0;
};

struct ListViewState : ControlState {
    std::vector<LvItem> items;
    std::vector<LvColumn> columns;
    HIMAGELIST images[3] = {};
    DWORD exStyle = 0;
    int topIndex = 0;  // report and list: first visible item; icon views: first visible row
    int selectionMark = -1;
    SIZE iconSpacing = kIconSpacing;
    COLORREF background = kDefaultColour;
    COLORREF textColour = kDefaultColour;
    COLORREF textBackground = kDefaultColour;
    bool focused = false;
    bool clickPending = false;
    bool rightClickPending = false;
    int clickItem = -1;
    POINT clickPoint;
};

ListViewState* view(HWND hwnd);
int count(const ListViewState& s);
DWORD viewKind(HWND hwnd);
bool isRowView(HWND hwnd);
bool singleSelection(HWND hwnd);
// Tells observers the contents changed.
void changed(HWND hwnd);

// Geometry in client pixels: report and list views have rows, icon views a grid of cells.
int columnsPerRow(HWND hwnd, const ListViewState& s);
int rowWidth(HWND hwnd, const ListViewState& s);
int countPerPage(HWND hwnd, const ListViewState& s);
RECT itemPart(HWND hwnd, const ListViewState& s, int index, int part);
int hitTest(HWND hwnd, const ListViewState& s, POINT p, UINT* flags = nullptr);
void ensureVisible(HWND hwnd, ListViewState& s, int index);

NMLISTVIEW listNotice(const ListViewState& s, int index);
// Sets state bits of one item, asking the parent first (LVN_ITEMCHANGING) and reporting after
// (LVN_ITEMCHANGED). False when refused, unchanged, or the list view died meanwhile.
bool changeOne(HWND hwnd, int index, UINT state, UINT mask);
// The same, keeping the rules: one focused item, and one selected item with LVS_SINGLESEL.
void changeState(HWND hwnd, int index, UINT state, UINT mask);

// The item and column messages (LVM_*); what the window procedure does not handle itself.
LRESULT itemMessage(HWND hwnd, ListViewState* s, UINT message, WPARAM wParam, LPARAM lParam);
// Removes every item, telling the owner (LVN_DELETEALLITEMS, then LVN_DELETEITEM per item).
void deleteAll(HWND hwnd);

} // namespace kxwin::detail::listview
