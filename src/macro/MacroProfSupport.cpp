// The profile helpers the macro pages and the profile launchers share.
#include "macro/MacroProfSupport.h"

#include "core/DlgSelectProf.h"
#include "core/MacroDrawing.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroProfAdv.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Messages.h"

#include <cmath>

namespace kxss {

namespace {

using T = Kx_ControlType;

// A combo of the layout shows text: selected when it is an item, added first when it is not.
void showInCombo(HWND page, int id, const Kx_StringArray* items, const Kx_String& text)
{
    HWND combo = GetDlgItem(page, id);
    if (combo == nullptr)
        return;
    if (items != nullptr) {
        SendMessage(combo, CB_RESETCONTENT);
        for (const Kx_String& s : *items)
            SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    }
    LRESULT found = SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (found == CB_ERR && !text.isEmpty())
        found = SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(found == CB_ERR ? -1 : found));
}

// The groups that have a layout control of the three list types.
template <typename Fn>
void forEachShownGroup(const MacroTabData& tab, Fn&& fn)
{
    Kx_StringArray groups;
    tab.getProfGroups(groups);
    for (const Kx_String& group : groups) {
        int i = 0;
        if (!tab.findProfDataWithGroup(group, i))
            continue;
        const auto& ids = tab.profiles[i].ids;
        if (ids[0] > 0 || ids[2] > 0 || ids[3] > 0)
            fn(group, ids);
    }
}

} // namespace

bool angleNumber(const Kx_String& text, double& degrees)
{
    Kx_String t = text.trimmed();
    t.replaceSubString("°", "");
    return t.trimmed().toDouble(degrees) && std::isfinite(degrees);
}

Kx_String numberText(double v, int decimals)
{
    if (std::floor(v) == v && std::fabs(v) < 1e9)
        return Kx_String(static_cast<int>(v));
    return Kx_String(v, decimals);
}

void splitChosenProfile(const Kx_String& chosen, Kx_String& profile, Kx_String& sectionClass)
{
    int dash = -1;
    if (chosen.findFirst("-", true, dash) && dash > 0) {
        sectionClass = chosen.getSubStringAt(0, dash);
        profile = sectionClass + chosen.getSubStringAt(dash + 1);
    } else {
        profile = chosen;
    }
}

Kx_String selectionStartName(const MacroProfData& prof)
{
    if (prof.sectionClass.isEmpty() || isVariesText(prof.sectionClass) || !prof.profileName.startsWith(prof.sectionClass))
        return {};
    return prof.sectionClass + "-" + prof.profileName.getSubStringAt(prof.sectionClass.length());
}

bool eraseTemporaryObject(AcDbObjectId id)
{
    kxhost::SimulatedDrawing& drawing = kxhost::activeDrawing();
    if (id.isNull() || drawing.wasErased(id) || drawing.object(id) == nullptr) {
        drawing.logRequest("erase temporary object", {id}, "already gone");
        return false;
    }
    const bool erased = drawing.eraseObject(id);
    drawing.logRequest("erase temporary object", {id}, erased ? "erased" : "refused");
    return erased;
}

bool macroDataProfileCallback(ZnMACallBackType kind, const ZnMACallBackData& data, MacroProfData& prof)
{
    MacroData* macro = data.macroData();
    MacroTabData* tab = macro != nullptr ? macro->tabOfModule(data.moduleName) : nullptr;
    if (tab == nullptr)
        return false;
    switch (kind) {
    case kMACallBackGet: return tab->getMergedPropsOfGroup(data.groupName, prof);
    case kMACallBackSet: {
        if (!tab->setMergedPropsOfGroup(data.groupName, prof) && !tab->getMergedPropsOfGroup(data.groupName, prof))
            return false;
        Kx_Array<int> set;
        set.append(kMacroProfilesSet);
        UpdateModule(data.moduleName, *macro, set, Kx_Array<int>());
        // The drawing may have corrected a value: the dialog shows what the group holds now.
        tab = macro->tabOfModule(data.moduleName);
        return tab != nullptr && tab->getMergedPropsOfGroup(data.groupName, prof);
    }
    default: return true;
    }
}

Kx_StringArray offeredProfiles(const MacroTabData& tab, const MacroProfData& merged)
{
    Kx_StringArray names;
    for (const MacroProfData& p : tab.profiles)
        if (!p.profileName.isEmpty() && !isVariesText(p.profileName) && !names.contains(p.profileName))
            names.append(p.profileName);
    if (!merged.profileName.isEmpty() && !isVariesText(merged.profileName) && !names.contains(merged.profileName))
        names.append(merged.profileName);
    names.append(dialString(695));
    return names;
}

Kx_StringArray angleTexts()
{
    Kx_StringArray texts;
    for (const char* a : {"0°", "90°", "180°", "270°"})
        texts.append(a);
    texts.append(dialString(695));
    return texts;
}

Kx_String angleShown(const Kx_String& angle)
{
    if (angle.isEmpty() || isVariesText(angle) || angle.endsWith("°"))
        return angle;
    return angle + Kx_String("°");
}

void showProfileControls(const MacroTabData& tab, Kx_DlgDesignerData& layout)
{
    HWND page = layout.getDlgPtr();
    if (page == nullptr)
        return;
    forEachShownGroup(tab, [&](const Kx_String& group, const std::array<int, 5>& ids) {
        MacroProfData merged;
        if (!tab.getMergedPropsOfGroup(group, merged))
            return;
        if (ids[0] > 0) {
            const Kx_StringArray offered = offeredProfiles(tab, merged);
            showInCombo(page, ids[0], &offered, merged.profileName);
        }
        if (ids[2] > 0) {
            Kx_StringArray offsets;
            getOffsetTypeStrings(false, offsets);
            const int k = getDlgOffsetType(merged);
            showInCombo(page, ids[2], &offsets, k >= 0 && k < offsets.length() ? offsets[k] : dialString(695));
        }
        if (ids[3] > 0) {
            const Kx_StringArray angles = angleTexts();
            showInCombo(page, ids[3], &angles, angleShown(merged.angle));
        }
    });
}

void readProfileControls(MacroTabData& tab, const Kx_DlgDesignerData& layout)
{
    struct Change {
        Kx_String group;
        MacroProfData merged;
    };
    std::vector<Change> changes;
    forEachShownGroup(tab, [&](const Kx_String& group, const std::array<int, 5>& ids) {
        MacroProfData merged;
        if (!tab.getMergedPropsOfGroup(group, merged))
            return;
        const auto value = [&](int id) {
            Kx_String text;
            if (id > 0)
                layout.getCtrlValue(id, text);
            return text.trimmed();
        };
        const Kx_String profile = value(ids[0]);
        if (!profile.isEmpty() && !isVariesText(profile) && profile != merged.profileName)
            merged.profileName = profile;
        if (ids[2] > 0) {
            Kx_StringArray offsets;
            getOffsetTypeStrings(false, offsets);
            int index = -1;
            if (offsets.find(value(ids[2]), index, true) && index != getDlgOffsetType(merged)) {
                const int type = getProfOffsetType(index);
                merged.offsetOn = type < 0 ? 0 : 1;
                if (type >= 0)
                    merged.offsetType = type;
            }
        }
        double shown = 0, now = 0;
        if (ids[3] > 0 && angleNumber(value(ids[3]), shown) && !(angleNumber(merged.angle, now) && now == shown))
            merged.angle = numberText(shown, 3);
        changes.push_back({group, merged});
    });
    for (const Change& c : changes)
        tab.setMergedPropsOfGroup(c.group, c.merged);
}

void selectGroupSection(ZnDlgMacro& dialog, int tabIndex, const Kx_String& group, HWND owner)
{
    if (tabIndex < 0 || tabIndex >= dialog.data().tabs.length())
        return;
    MacroProfData merged;
    if (!dialog.data().tabs[tabIndex].getMergedPropsOfGroup(group, merged))
        return;
    DlgSelectProfData choice;
    choice.unknownName = selectionStartName(merged);
    bool chosen = false;
    {
        ZnDlgMacro::NestedLoop loop(dialog);
        chosen = DlgSelectProf(choice, /*withTables=*/true, owner);
    }
    if (!chosen)
        return;
    splitChosenProfile(choice.profName, merged.profileName, merged.sectionClass);
    MacroTabData& tab = dialog.data().tabs[tabIndex];
    const MacroTabData before = tab;
    tab.setMergedPropsOfGroup(group, merged);
    dialog.updateTab(tabIndex, before);
}

void runGroupAdvanced(ZnDlgMacro& dialog, int tabIndex, const Kx_String& group, HWND owner, bool openMode,
                      AcDbObjectId* temporary)
{
    if (tabIndex < 0 || tabIndex >= dialog.data().tabs.length())
        return;
    ZnMACallBackData data;
    data.groupName = group;
    data.moduleName = dialog.data().tabs[tabIndex].moduleName;
    ZnDlgMacro* macroDialog = &dialog;
    const auto callback = [macroDialog, tabIndex](ZnMACallBackType kind, const ZnMACallBackData& d,
                                                  MacroProfData& prof) {
        MacroData& macro = macroDialog->data();
        if (tabIndex >= macro.tabs.length())
            return false;
        switch (kind) {
        case kMACallBackGet: return macro.tabs[tabIndex].getMergedPropsOfGroup(d.groupName, prof);
        case kMACallBackSet: {
            const MacroTabData before = macro.tabs[tabIndex];
            macro.tabs[tabIndex].setMergedPropsOfGroup(d.groupName, prof);
            macroDialog->updateTab(tabIndex, before);
            return macro.tabs[tabIndex].getMergedPropsOfGroup(d.groupName, prof);
        }
        case kMACallBackBeginPick: macroDialog->ShowWindow(SW_HIDE); return true;
        case kMACallBackEndPick: macroDialog->ShowWindow(SW_SHOW); return true;
        }
        return false;
    };
    {
        ZnDlgMacro::NestedLoop loop(dialog);
        // A modeless macro dialog runs outside its launcher: the template is the module's own.
        ZnTempResourceOverride resources;
        ZnDlgMacroProfAdv advanced(data, callback, openMode, false, owner);
        advanced.DoModal();
    }
    if (temporary != nullptr && !temporary->isNull()) {
        eraseTemporaryObject(*temporary);
        temporary->setNull();
    }
}

} // namespace kxss
