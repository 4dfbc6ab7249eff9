// ZnDlgLookUp: the table lookup dialog (template 244): five combo boxes filled from the caller's
// lists, two fixed lists (match and rounding), a value-or-formula choice and a letter-case option.
// StartDlgLookUp (SpreadLaunchers.h) runs it; the data object is ZnLookUpDlgData.
#pragma once

#include "platform/win/Dialog.h"
#include "spread/ZnLookUpDlgData.h"

class ZnDlgLookUp : public CDialog {
public:
    static constexpr int kTemplateId = 244;
    // The combo boxes of text1 to text5.
    static constexpr int kCombo1 = 1384;
    static constexpr int kCombo2 = 1386;
    static constexpr int kCombo3 = 1387;
    static constexpr int kCombo4 = 1389;
    static constexpr int kCombo5 = 1391;
    // The fixed lists of choice1 (match) and choice2 (rounding).
    static constexpr int kMatchList = 1393;
    static constexpr int kRoundingList = 1398;
    static constexpr int kInsertValue = 1396;
    static constexpr int kInsertFormula = 1397;
    static constexpr int kIgnoreCase = 1394;
    // Confirms like OK, with closedBy 2.
    static constexpr int kFillColumn = 3;

    ZnDlgLookUp();

    ZnLookUpDlgData& data() { return m_data; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { confirm(ZnLookUpDlgData::kClosedByOk); }

private:
    void confirm(int closedBy);
    // The letter-case option only applies to an inserted value.
    void enableIgnoreCase();

    ZnLookUpDlgData m_data;
};
