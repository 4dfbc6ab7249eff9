#include "sheetedit/PopupMenuBuilder.h"

PopupMenuBuilder::PopupMenuBuilder() = default;
PopupMenuBuilder::~PopupMenuBuilder() = default;
bool PopupMenuBuilder::build(const std::vector<int>&, const std::vector<PopupMenuEntry>&) { return false; }
bool PopupMenuBuilder::track(UINT, int, int, HWND, const std::vector<int>&, const std::vector<PopupMenuEntry>&)
{
    return false;
}
Kx_String PopupMenuBuilder::itemText(UINT) const { return {}; }
int PopupMenuBuilder::poolPosition(UINT) { return -1; }
void PopupMenuBuilder::destroyMenus() {}
