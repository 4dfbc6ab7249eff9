// ZnDlgFindReplace: the modeless, always-on-top find and replace dialog (template 218) of one grid.
// The grid wrapper creates it on the first F3 or F5 and is told through `onClosed` when it closes.
#pragma once

#include "core/Kx_String.h"
#include "frame/KxSsExport.h"
#include "platform/win/Dialog.h"

#include <functional>

class FindReplaceTarget;

class KXSS_API ZnDlgFindReplace : public CDialog {
public:
    static constexpr int kTemplateId = 218;
    static constexpr const char* kSizeKey = "DLG_FINDREPLACE";

    // `target` (not owned) searches the grid `grid`; `onClosed` runs once, after the window is gone;
    // the owner may then delete the object (not from inside the callback: use deleteWhenIdle).
    ZnDlgFindReplace(HWND grid, FindReplaceTarget& target, std::function<void()> onClosed);
    ~ZnDlgFindReplace() override;

    // Creates the window modeless over `parent` and shows it. False when it cannot be created.
    bool open(HWND parent);

    // The commands of the buttons (and of F3 / F5 in the dialog); they do nothing when the grid
    // window is gone.
    void findNext();
    void replace();
    void replaceAll();

    HWND gridWindow() const { return m_grid; }

private:
    HWND m_grid;
    FindReplaceTarget& m_target;
    std::function<void()> m_onClosed;
    bool m_previousOption13 = false;
};
