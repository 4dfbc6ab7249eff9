// The array dialog.
#include "macro/ZnDlgMacroArray.h"

#include "core/DialogFunctions.h"
#include "core/MacroData.h"
#include "core/MacroDrawing.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"

namespace {

// The label texts of the template's statics and boxes.
constexpr std::pair<int, int> kLabels[] = {
    {1125, 1057}, {1015, 228},  {1129, 1058}, {1130, 1059}, {1126, 1060}, {1134, 1061}, {1127, 1062},
    {1128, 1063}, {1132, 1064}, {1133, 1065}, {1346, 1066}, {1349, 1067}, {1348, 171},  {1087, 172},
    {1089, 1068},
};

// The kind combo lists the kinds 1 to 3 in this order.
constexpr int kKindTexts[3] = {1072, 1073, 1074};

// The controls each kind shows: the special value for kind 1, the second and third dimension for
// kind 3, the entries for kinds 2 and 3.
constexpr int kSpecialControls[] = {ZnDlgMacroArray::kSpecialLabel, ZnDlgMacroArray::kSpecial};
constexpr int kTwoDimControls[] = {1126, ZnDlgMacroArray::kSecondDim, 1134, ZnDlgMacroArray::kThirdDim};
constexpr int kEntryControls[] = {1349,
                                  ZnDlgMacroArray::kGrid,
                                  ZnDlgMacroArray::kNewColumn,
                                  ZnDlgMacroArray::kDeleteColumn,
                                  ZnDlgMacroArray::kResetEntry,
                                  ZnDlgMacroArray::kSecondOption,
                                  1135,
                                  ZnDlgMacroArray::kSkip};

Kx_StringArray columnKinds()
{
    return stringArr(dialString(9857), dialString(9858), dialString(9859));
}

// The dimension names one combo offers, from the macro the object ids belong to. The first combo
// names a number cell; the second and third may name none (their lists start with an empty entry).
Kx_StringArray dimNames(const AcArray<AcDbObjectId>& ids, const Kx_String& module, ZnUIArrayType type)
{
    Kx_StringArray names;
    kxcore::MacroModel& model = kxcore::MacroModel::instance();
    for (const AcDbObjectId& id : ids) {
        if (const kxcore::PlacedMacro* placed = model.find(id)) {
            if (DynArrayData::getValidDimNames(placed->data, module, type, names))
                return names;
        }
    }
    if (type != kArrayDimFirst)
        names.append(Kx_String());
    return names;
}

} // namespace

ZnDlgMacroArray::ZnDlgMacroArray(const DynArrayData& array, const AcArray<AcDbObjectId>& objectIds,
                                 const Kx_String& moduleName, HWND parent)
    : KxHostDialog(kTemplateId, parent), m_array(array), m_objectIds(objectIds), m_moduleName(moduleName)
{
    onCommand(kKind, CBN_SELCHANGE, [this] { showKind(shownKind()); });
    onCommand(kResetEntry, BN_CLICKED, [this] { resetEntry(); });
    onCommand(kNewColumn, BN_CLICKED, [this] { addColumn(); });
    onCommand(kDeleteColumn, BN_CLICKED, [this] { deleteColumn(); });
}

BOOL ZnDlgMacroArray::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    SetWindowText((dialString(1056) + " (" + m_array.description + ")").str());
    for (const auto& [id, text] : kLabels)
        SetDlgItemText(id, dialString(text).str());
    SetDlgItemText(kSecondOption, "Add entries alternating");
    SetDlgItemText(1135, "Nr of entries to skip");
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    SSSetBool(m_grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_grid.setColCount(3);
    m_grid.setColumnHeaders(stringArr(dialString(9856), dialString(87), dialString(228)));
    m_grid.setFitMode(1);

    showData();
    return TRUE;
}

void ZnDlgMacroArray::showData()
{
    SetDlgItemText(kName, m_array.name.str());
    Kx_StringArray kinds;
    for (int text : kKindTexts)
        kinds.append(dialString(text));
    // Arrays of several macros whose kinds differ show text 695; the kind then stays as it is.
    const bool known = m_array.arrayKind >= 1 && m_array.arrayKind <= 3;
    if (!known)
        kinds.append(dialString(695));
    FillCombo(this, kKind, kinds, known ? m_array.arrayKind - 1 : kinds.length() - 1);

    SetDlgItemText(kValue, m_array.value.str());
    SetDlgItemText(kStartDistance, m_array.strings[0].str());
    SetDlgItemText(kEndDistance, m_array.strings[1].str());
    SetDlgItemText(kSpecial, m_array.strings[2].str());
    SetDlgItemText(kSpacing, m_array.further1.str());
    SetDlgItemText(kMaxSpacing, m_array.further2.str());
    SetDlgItemText(kSkip, m_array.further3.str());
    CheckDlgButton(kFirstOption, m_array.firstOption ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kSecondOption, m_array.secondOption ? BST_CHECKED : BST_UNCHECKED);

    // The dimension combos: the names the macro offers, and the array's own when it is not among them.
    const std::pair<int, ZnUIArrayType> combos[] = {
        {kFirstDim, kArrayDimFirst}, {kSecondDim, kArrayDimSecond}, {kThirdDim, kArrayDimThird}};
    const Kx_String* current[] = {&m_array.strings[3], &m_array.secondDim, &m_array.thirdDim};
    for (int k = 0; k < 3; ++k) {
        Kx_StringArray names = dimNames(m_objectIds, m_moduleName, combos[k].second);
        if (!current[k]->isEmpty() && !names.contains(*current[k], true))
            names.append(*current[k]);
        int at = -1;
        names.find(*current[k], at, true);
        FillCombo(this, combos[k].first, names, at);
    }
    Kx_Array<EntryColumn> columns;
    m_array.getEntryColumns(columns);
    fillColumns(columns);
    showKind(shownKind());
}

int ZnDlgMacroArray::shownKind() const
{
    const int k = static_cast<int>(::SendDlgItemMessage(m_hWnd, kKind, CB_GETCURSEL));
    return k >= 0 && k < 3 ? k + 1 : m_array.arrayKind;
}

void ZnDlgMacroArray::showKind(int kind)
{
    SetDlgItemText(kValueLabel, dialString(kind == 3 ? 1077 : 1076).str());
    for (int id : kSpecialControls)
        ShowOrHideCtrl(this, id, kind == 1);
    for (int id : kTwoDimControls)
        ShowOrHideCtrl(this, id, kind == 3);
    for (int id : kEntryControls)
        ShowOrHideCtrl(this, id, kind != 1);
}

void ZnDlgMacroArray::fillColumns(const Kx_Array<EntryColumn>& columns)
{
    const Kx_StringArray kinds = columnKinds();
    m_grid.setRowCount(columns.length());
    m_grid.setColumnCheckBox(kColShown);
    m_grid.setColumnEdit(kColName);
    m_grid.setColumnCombo(kColKind, kinds, /*editable=*/false);
    for (int r = 1; r <= columns.length(); ++r) {
        const EntryColumn& c = columns[r - 1];
        m_grid.setCheck(kColShown, r, c.shown);
        m_grid.setCellData(kColName, r, c.name);
        const int kind = c.kind >= 1 && c.kind <= kinds.length() ? c.kind : 1;
        m_grid.setCellData(kColKind, r, kinds[kind - 1]);
    }
    m_grid.fitToWindow();
}

Kx_Array<EntryColumn> ZnDlgMacroArray::readColumns() const
{
    const Kx_StringArray kinds = columnKinds();
    Kx_Array<EntryColumn> columns;
    const int rows = m_grid.getRowCount();
    for (int r = 1; r <= rows; ++r) {
        EntryColumn c;
        bool shown = true;
        m_grid.getCheck(kColShown, r, shown);
        c.shown = shown;
        m_grid.getCellText(kColName, r, c.name, Kx_Spread::kTextData);
        Kx_String kind;
        m_grid.getCellText(kColKind, r, kind, Kx_Spread::kTextData);
        int k = 0;
        c.kind = kinds.find(kind, k, true) ? k + 1 : 1;
        columns.append(c);
    }
    return columns;
}

void ZnDlgMacroArray::resetEntry()
{
    int col = 0, row = 0;
    m_grid.getActiveCell(col, row);
    // The grid may hold more rows than the array has entries: a row without an entry has nothing
    // to reset.
    EntryProps entry;
    if (!m_array.getEntry(row - 1, entry))
        return;
    m_array.setEntryAction(row - 1, kEntryInsertAfter);
}

void ZnDlgMacroArray::addColumn()
{
    Kx_Array<EntryColumn> columns = readColumns();
    columns.append(EntryColumn{});
    fillColumns(columns);
}

void ZnDlgMacroArray::deleteColumn()
{
    int col = 0, row = 0;
    m_grid.getActiveCell(col, row);
    Kx_Array<EntryColumn> columns = readColumns();
    if (row < 1 || row > columns.length())
        return;
    columns.removeAt(row - 1);
    fillColumns(columns);
}

void ZnDlgMacroArray::readBack()
{
    SSSetEditMode(m_grid.GetSafeHwnd(), FALSE);
    // Text 695 marks a value that differs between the edited macros: shown, never written.
    const auto take = [](Kx_String& target, const Kx_String& shown) {
        if (!isVariesText(shown))
            target = shown;
    };
    take(m_array.name, Kx_String(GetDlgItemText(kName)));
    const int kind = static_cast<int>(::SendDlgItemMessage(m_hWnd, kKind, CB_GETCURSEL));
    if (kind >= 0 && kind < 3)
        m_array.arrayKind = kind + 1;
    take(m_array.value, Kx_String(GetDlgItemText(kValue)));
    take(m_array.strings[0], Kx_String(GetDlgItemText(kStartDistance)));
    take(m_array.strings[1], Kx_String(GetDlgItemText(kEndDistance)));
    if (m_array.arrayKind == 1)
        take(m_array.strings[2], Kx_String(GetDlgItemText(kSpecial)));
    take(m_array.strings[3], Kx_String(GetDlgItemText(kFirstDim)));
    take(m_array.secondDim, Kx_String(GetDlgItemText(kSecondDim)));
    take(m_array.thirdDim, Kx_String(GetDlgItemText(kThirdDim)));
    m_array.firstOption = IsDlgButtonChecked(kFirstOption) == BST_CHECKED;
    take(m_array.further1, Kx_String(GetDlgItemText(kSpacing)));
    take(m_array.further2, Kx_String(GetDlgItemText(kMaxSpacing)));
    m_array.secondOption = IsDlgButtonChecked(kSecondOption) == BST_CHECKED;
    take(m_array.further3, Kx_String(GetDlgItemText(kSkip)));
    m_array.setEntryColumns(readColumns());
}

void ZnDlgMacroArray::OnOK()
{
    readBack();
    EndDialog(IDOK);
}
