#include "sheetedit/ZnDlgFindReplace.h"

ZnDlgFindReplace::ZnDlgFindReplace(HWND grid, FindReplaceTarget& target, std::function<void()> onClosed)
    : m_grid(grid), m_target(target), m_onClosed(std::move(onClosed))
{
}
ZnDlgFindReplace::~ZnDlgFindReplace() = default;
bool ZnDlgFindReplace::open(HWND) { return false; }
void ZnDlgFindReplace::findNext() {}
void ZnDlgFindReplace::replace() {}
void ZnDlgFindReplace::replaceAll() {}
