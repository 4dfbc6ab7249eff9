// ZnDlgMacroPattern: one bolt pattern of a macro tab (template 222): its spacing and, for a pattern
// with a count, the number of bolts. One set of controls serves a pattern with a count, another one
// without. OK applies through the page that opened it (ZnDlgMacroTab::applyPattern).
#pragma once

#include "core/MacroItems.h"
#include "platform/host/HostWindow.h"

#include <functional>
#include <vector>

class ZnDlgMacroPattern : public KxHostDialog {
public:
    static constexpr int kTemplateId = 222;

    static constexpr int kPicture = 1280;
    static constexpr int kDescription = 1270;
    // The two control sets: group box, first check box, value label, value, count label, count,
    // second check box. The count of the first set is a combo box, of the second an edit that stays
    // empty and disabled.
    struct ControlSet {
        int group, check1, valueLabel, value, countLabel, count, check2;
    };
    static constexpr ControlSet kWithCount{1282, 1356, 1271, 1264, 1272, 1266, 1359};
    static constexpr ControlSet kWithoutCount{1283, 1360, 1278, 1267, 1279, 1269, 1361};
    static constexpr int kOptionsGroup = 1281;
    static constexpr int kOptions[4] = {1273, 1274, 1276, 1277};

    // Stores the dialog's pattern into the tab and updates the drawing. False when the tab is gone.
    using Apply = std::function<bool(const MacroPatternProps& pattern)>;

    ZnDlgMacroPattern(const MacroPatternProps& pattern, Apply apply, HWND parent = nullptr);

    const MacroPatternProps& pattern() const { return m_pattern; }
    // Which set shows the pattern: the first for a pattern with a count.
    const ControlSet& controls() const { return m_pattern.getCount() != -1 ? kWithCount : kWithoutCount; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;

private:
    void readBack();
    void valueChanged();

    MacroPatternProps m_pattern;
    Apply m_apply;
    bool m_showing = false;
    std::vector<HBITMAP> m_pictures;
};
