// The sub-dialogs of a standard macro page: bolt settings, arrays and bolt patterns, opened from the
// page's buttons and applied through the page's difference-and-update step.
#include "macro/ZnDlgMacroTab.h"

#include "core/MacroDrawing.h"
#include "core/ZnTempResourceOverride.h"
#include "frame/Launcher.h"
#include "macro/MacroArrayLauncher.h"
#include "macro/ZnDlgBoltAdvanced.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroPattern.h"
#include "platform/grid/Spread.h"

namespace {

// Clears the page's ready flag for as long as a sub-dialog runs, so that the messages the dialog
// causes do not commit the page underneath it.
class NotReady {
public:
    explicit NotReady(bool& ready) : m_ready(ready), m_was(ready) { m_ready = false; }
    ~NotReady() { m_ready = m_was; }
    NotReady(const NotReady&) = delete;
    NotReady& operator=(const NotReady&) = delete;

private:
    bool& m_ready;
    bool m_was;
};

} // namespace

bool ZnDlgMacroTab::openSubDialogFor(int id, WORD code)
{
    if (!m_ready)
        return false;
    MacroTabData* t = tab();
    if (!t)
        return false;
    if (id == m_gridId && code == SSN_BUTTONCLICKED) {
        int col = 0, row = 0;
        if (!SSGetNotifyCell(m_grid.GetSafeHwnd(), &col, &row) || row < 1)
            return true;
        // A grid button answers for the array on its row, else for the pattern there.
        int index = 0;
        if (t->findArrayWithBtnId(-row, index))
            openArray(index);
        else if (t->findPatternWithBtnId(-row, index))
            openPattern(index);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    if (id == kAdvanced)
        return openBoltAdvanced();
    Kx_ControlType type{};
    if (!m_layout.getDynControlType(id, type))
        return false;
    int index = 0;
    if (type == Kx_ControlType(12))
        return openBoltAdvanced();
    if (type == Kx_ControlType(24) && t->findArrayWithBtnId(id, index))
        return openArray(index);
    if (type == Kx_ControlType(6) && t->findPatternWithBtnId(id, index))
        return openPattern(index);
    return false;
}

bool ZnDlgMacroTab::applyBolt(MacroBoltData& bolt)
{
    MacroTabData* t = tab();
    if (!t)
        return false;
    const MacroTabData before = *t;
    // The page's own control ids stay: the dialog's copy may be older than the page's last build.
    const auto ids = t->bolt.ids;
    const int advancedId = t->bolt.advancedId;
    t->bolt = bolt;
    t->bolt.ids = ids;
    t->bolt.advancedId = advancedId;
    m_owner.updateTab(m_tabIndex, before);
    if (MacroTabData* after = tab())
        bolt = after->bolt;
    return true;
}

bool ZnDlgMacroTab::applyPattern(int index, const MacroPatternProps& pattern)
{
    MacroTabData* t = tab();
    if (!t || index < 0 || index >= t->patterns.length())
        return false;
    const MacroTabData before = *t;
    MacroPatternProps& p = t->patterns[index];
    p.value = pattern.value;
    p.count = pattern.count;
    m_owner.updateTab(m_tabIndex, before);
    return true;
}

bool ZnDlgMacroTab::openBoltAdvanced()
{
    MacroTabData* t = tab();
    if (!t || !m_ready)
        return false;
    NotReady busy(m_ready);
    ZnDlgMacro::NestedLoop nested(m_owner);
    ZnTempResourceOverride resources;
    Kx_StringArray diameters;
    GetMergedDiameters(&m_owner.data(), t->moduleName, diameters);
    ZnDlgBoltAdvanced dialog(t->bolt, diameters, [this](MacroBoltData& bolt) { return applyBolt(bolt); },
                             m_owner.m_hWnd);
    kxss::runModal("ZnDlgBoltAdvanced", dialog);
    return true;
}

bool ZnDlgMacroTab::openPattern(int index)
{
    MacroTabData* t = tab();
    if (!t || !m_ready || index < 0 || index >= t->patterns.length())
        return false;
    NotReady busy(m_ready);
    ZnDlgMacro::NestedLoop nested(m_owner);
    ZnTempResourceOverride resources;
    ZnDlgMacroPattern dialog(
        t->patterns[index], [this, index](const MacroPatternProps& p) { return applyPattern(index, p); },
        m_owner.m_hWnd);
    kxss::runModal("ZnDlgMacroPattern", dialog);
    return true;
}

bool ZnDlgMacroTab::openArray(int index)
{
    MacroTabData* t = tab();
    if (!t || !m_ready || index < 0 || index >= t->arrays.length())
        return false;
    NotReady busy(m_ready);
    ZnDlgMacro::NestedLoop nested(m_owner);
    // The macro's objects decide which dimensions the array may run along.
    AcArray<AcDbObjectId> ids = m_owner.data().objectIds;
    for (const AcDbObjectId& id : m_owner.data().moduleIds)
        ids.append(id);
    const MacroTabData before = *t;
    DynArrayData array = t->arrays[index];
    if (!StartArrayDlg(array, ids, t->moduleName))
        return true;
    t = tab();
    if (!t || index >= t->arrays.length())
        return true;
    DynArrayData& target = t->arrays[index];
    const int valueId = target.valueId, btnId = target.btnId;
    const auto stringIds = target.ids;
    Kx_Array<int> entryIds;
    for (const EntryProps& e : target.entries)
        entryIds.append(e.ctrlId);
    target = array;
    target.valueId = valueId;
    target.btnId = btnId;
    target.ids = stringIds;
    for (int k = 0; k < target.entries.length() && k < entryIds.length(); ++k)
        target.entries[k].ctrlId = entryIds[k];
    m_owner.updateTab(m_tabIndex, before);
    return true;
}
