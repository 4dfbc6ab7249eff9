// The bolt settings dialog.
#include "macro/ZnDlgBoltAdvanced.h"

#include "core/DialogFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroDrawing.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/grid/Spread.h"
#include "platform/win/Backend.h"
#include "platform/win/Bitmap.h"
#include "platform/win/CommCtrl.h"

#include <algorithm>

namespace {

// The label texts of the template's statics and boxes.
constexpr std::pair<int, int> kLabels[] = {
    {1111, 275}, {1123, 278}, {1112, 328}, {1121, 277}, {1126, 242}, {1343, 984}, {1110, 674},
    {1115, 234}, {1116, 985}, {1095, 276}, {1365, 1477}, {1109, 986}, {1120, 761}, {1117, 328},
    {1113, 987}, {1114, 988}, {1124, 989}, {1122, 990}, {8665, 992}, {8675, 992}, {8672, 993},
};

int checkState(int value)
{
    return value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
}

} // namespace

ZnDlgBoltAdvanced::ZnDlgBoltAdvanced(const MacroBoltData& bolt, const Kx_StringArray& diameters, Apply applier,
                                     HWND parent)
    : KxHostDialog(kTemplateId, parent), m_bolt(bolt), m_diameters(diameters), m_apply(std::move(applier))
{
    // Every click and choice applies at once. A clicked tri-state box first leaves its undecided
    // state: a person clicks for on or off.
    for (int id : {1095, 1110, 1115, 1116, 1120}) {
        onCommand(id, BN_CLICKED, [this, id] {
            if (IsDlgButtonChecked(id) == BST_INDETERMINATE)
                CheckDlgButton(id, BST_UNCHECKED);
            if (id == kHoleUsed) {
                enableHoleFields();
                setHoleMark(m_hole, IsDlgButtonChecked(kHoleUsed) == BST_CHECKED);
            }
            apply();
        });
    }
    onCommand(kOptionFlag, BN_CLICKED, [this] { apply(); });
    for (int id : kChecks)
        onCommand(id, BN_CLICKED, [this] { apply(); });
    for (int id : {kAssembly, kDiameter, kHoleType})
        onCommand(id, CBN_SELCHANGE, [this] { apply(); });
    // The first colour label switches its colour; the others do nothing yet.
    onCommand(kFirstColourLabel, STN_CLICKED, [this] {
        if (::IsWindowEnabled(GetDlgItem(kChecks[0])))
            CheckDlgButton(kChecks[0], IsDlgButtonChecked(kChecks[0]) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    });
    onNotify(kHoles, LVN_ITEMCHANGED, [this](NMHDR& header) -> LRESULT {
        holeListChanged(header);
        return 0;
    });
    onCommand(kGrid, SSN_CELLCHANGED, [this] { apply(); });
}

BOOL ZnDlgBoltAdvanced::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    SetWindowText(dialString(983).str());
    for (const auto& [id, text] : kLabels)
        SetDlgItemText(id, dialString(text).str());
    SetDlgItemText(8669, (dialString(991) + " 1").str());
    SetDlgItemText(8667, (dialString(991) + " 2").str());
    for (int id : kChecks)
        SetDlgItemText(id, dialString(9855).str());
    SetDlgItemText(IDOK, dialString(285).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    const std::string picture = (Kx_Settings::libDir() + "icons\\DrawBolt2.bmp").str();
    if (HBITMAP bitmap = kxwin::loadBitmapFile(picture)) {
        m_pictures.push_back(bitmap);
        ::SendMessage(GetDlgItem(kPicture), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    // The three hole types, then an empty entry for a hole without a type (-1). With -1 on the
    // third type's entry a tapped hole would come back without its type after the next apply.
    Kx_StringArray types = stringArr(dialString(994), dialString(995), dialString(996));
    types.append(Kx_String());
    FillCombo(this, kHoleType, types);

    HWND holes = GetDlgItem(kHoles);
    ::SendMessage(holes, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                  LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    column.cx = 110;
    ::SendMessage(holes, LVM_INSERTCOLUMN, 0, reinterpret_cast<LPARAM>(&column));

    m_grid.attach(this, kGrid, /*exactRect=*/true);
    m_grid.setStandardLook(1);
    SSSetBool(m_grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
    m_grid.setColCount(2);
    m_grid.setColumnHeaders(stringArr(Kx_String(), dialString(242)));
    m_grid.setFitMode(1);

    m_hole = m_bolt.holes.isEmpty() ? -1 : 0;
    showData();
    showHole(m_hole);

    m_resizer.attach(this, {
                               {kGrid, {1, 0, 1}, {1, 0, 2}, {1, 0, 1}, {1, 0, 4}},
                               {kHoles, {1, 0, 1}, {1, 0, 2}, {1, 0, 1}, {1, 0, 4}},
                               {IDOK, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                               {IDCANCEL, {1, 0, 3}, {1, 0, 4}, {3, 0, 0}, {4, 0, 0}},
                           });
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/true);
    m_grid.fitToWindow();
    return TRUE;
}

void ZnDlgBoltAdvanced::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
    for (HBITMAP b : m_pictures)
        DeleteObject(b);
    m_pictures.clear();
    KxHostDialog::OnDestroy();
}

void ZnDlgBoltAdvanced::showData()
{
    Kx_StringArray assemblies;
    GetAssemblies(assemblies);
    // A text that is not in a list is added first, so the bolt's own value stays choosable.
    const auto fill = [this](int id, Kx_StringArray list, const Kx_String& current) {
        if (!current.isEmpty() && !list.contains(current, false))
            list.append(current);
        FillCombo(this, id, list, current);
    };
    fill(kAssembly, assemblies, m_bolt.assembly());
    fill(kDiameter, m_diameters, m_bolt.diameter());
    SetDlgItemText(kText3, m_bolt.strings[2].str());
    SetDlgItemText(kText4, m_bolt.strings[3].str());
    SetDlgItemText(kText5, m_bolt.strings[4].str());

    EnDisCtrl(this, kOptionFlag, m_bolt.optionCount > 0);
    CheckDlgButton(kOptionFlag, m_bolt.optionFlag ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemText(kOptionLabel, dialString(m_bolt.optionCount > 0 ? 997 : 998).str());
    for (size_t k = 0; k < m_bolt.options.size(); ++k) {
        // -1: the option does not apply to this bolt.
        EnDisCtrl(this, kOptions[k], m_bolt.options[k] != -1);
        CheckDlgButton(kOptions[k], checkState(m_bolt.options[k]));
    }
    for (size_t k = 0; k < m_bolt.checks.size(); ++k) {
        EnDisCtrl(this, kChecks[k], m_bolt.checks[k] != -1);
        CheckDlgButton(kChecks[k], m_bolt.checks[k] == 1 ? BST_CHECKED : BST_UNCHECKED);
    }

    Kx_Array<bool> flags;
    Kx_StringArray names;
    m_bolt.getHoleColumns(flags, names);
    m_grid.setRowCount(names.length());
    m_grid.setColumnCheckBox(1);
    m_grid.setColumnBools(1, flags);
    m_grid.setColumn(2, names);

    // The hole list: one entry per hole, ticked when the hole is active; the selection stays.
    HWND list = GetDlgItem(kHoles);
    m_filling = true;
    if (static_cast<int>(::SendMessage(list, LVM_GETITEMCOUNT, 0, 0)) != m_bolt.holes.length()) {
        ::SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
        for (int k = 0; k < m_bolt.holes.length(); ++k) {
            const std::string text = dialString(999).str() + " nr: " + std::to_string(k + 1);
            LVITEM item;
            item.mask = LVIF_TEXT;
            item.iItem = k;
            item.pszText = const_cast<char*>(text.c_str());
            ::SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    for (int k = 0; k < m_bolt.holes.length(); ++k)
        setHoleMark(k, m_bolt.holes[k].used == 1);
    if (m_hole >= 0) {
        LVITEM item;
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessage(list, LVM_SETITEMSTATE, static_cast<WPARAM>(m_hole), reinterpret_cast<LPARAM>(&item));
    }
    m_filling = false;
}

void ZnDlgBoltAdvanced::setHoleMark(int index, bool on)
{
    if (index < 0 || index >= m_bolt.holes.length())
        return;
    const bool filling = m_filling;
    m_filling = true;
    LVITEM item;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    ::SendMessage(GetDlgItem(kHoles), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    m_filling = filling;
}

void ZnDlgBoltAdvanced::showHole(int index)
{
    // A bolt without holes shows empty, disabled hole controls.
    const bool valid = index >= 0 && index < m_bolt.holes.length();
    m_hole = valid ? index : -1;
    const MacroBoltHole empty;
    const MacroBoltHole& h = valid ? m_bolt.holes[index] : empty;
    CheckDlgButton(kHoleUsed, valid ? checkState(h.used) : BST_UNCHECKED);
    for (size_t k = 0; k < h.texts.size(); ++k)
        SetDlgItemText(kHoleText[k], h.texts[k].str());
    const int types = static_cast<int>(::SendDlgItemMessage(m_hWnd, kHoleType, CB_GETCOUNT));
    const int type = !valid ? -1 : h.typeIndex >= 0 && h.typeIndex < types - 1 ? h.typeIndex : types - 1;
    ::SendDlgItemMessage(m_hWnd, kHoleType, CB_SETCURSEL, static_cast<WPARAM>(type));
    EnDisCtrl(this, kHoleUsed, valid);
    enableHoleFields();
}

void ZnDlgBoltAdvanced::enableHoleFields()
{
    const bool on = m_hole >= 0 && IsDlgButtonChecked(kHoleUsed) == BST_CHECKED;
    for (int id : kHoleFields)
        EnDisCtrl(this, id, on);
}

void ZnDlgBoltAdvanced::readBack()
{
    m_bolt.strings[0] = Kx_String(GetDlgItemText(kAssembly));
    m_bolt.strings[1] = Kx_String(GetDlgItemText(kDiameter));
    m_bolt.strings[2] = Kx_String(GetDlgItemText(kText3));
    m_bolt.strings[3] = Kx_String(GetDlgItemText(kText4));
    m_bolt.strings[4] = Kx_String(GetDlgItemText(kText5));
    if (m_bolt.optionCount > 0)
        m_bolt.optionFlag = IsDlgButtonChecked(kOptionFlag) == BST_CHECKED;
    for (size_t k = 0; k < m_bolt.options.size(); ++k) {
        if (m_bolt.options[k] == -1)
            continue;
        const int state = IsDlgButtonChecked(kOptions[k]);
        m_bolt.options[k] = state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
    }
    for (size_t k = 0; k < m_bolt.checks.size(); ++k) {
        const bool enabled = ::IsWindowEnabled(GetDlgItem(kChecks[k]));
        m_bolt.checks[k] = !enabled ? -1 : IsDlgButtonChecked(kChecks[k]) == BST_CHECKED ? 1 : 0;
    }
    SSSetEditMode(m_grid.GetSafeHwnd(), FALSE);
    Kx_Array<bool> flags;
    Kx_StringArray names;
    m_bolt.getHoleColumns(flags, names);
    for (int r = 1; r <= names.length(); ++r) {
        bool flag = flags[r - 1];
        m_grid.getCheck(1, r, flag);
        flags[r - 1] = flag;
        Kx_String name;
        if (m_grid.getCellText(2, r, name, Kx_Spread::kTextData))
            names[r - 1] = name;
    }
    m_bolt.setHoleColumns(flags, names);
    readHole();
}

void ZnDlgBoltAdvanced::readHole()
{
    if (m_hole < 0 || m_hole >= m_bolt.holes.length())
        return;
    MacroBoltHole& h = m_bolt.holes[m_hole];
    const int used = IsDlgButtonChecked(kHoleUsed);
    h.used = used == BST_CHECKED ? 1 : used == BST_INDETERMINATE ? 2 : 0;
    for (size_t k = 0; k < h.texts.size(); ++k)
        h.texts[k] = Kx_String(GetDlgItemText(kHoleText[k]));
    const int types = static_cast<int>(::SendDlgItemMessage(m_hWnd, kHoleType, CB_GETCOUNT));
    const int type = static_cast<int>(::SendDlgItemMessage(m_hWnd, kHoleType, CB_GETCURSEL));
    h.typeIndex = type < 0 || type >= types - 1 ? -1 : type;
}

int ZnDlgBoltAdvanced::firstInvalidHole() const
{
    // Read as numbers in the C locale whatever the process has set; "2,5" or a word is not a size.
    const auto positive = [](const Kx_String& text) {
        double v = 0;
        return text.toDouble(v) && v > 0;
    };
    for (int k = 0; k < m_bolt.holes.length(); ++k) {
        const MacroBoltHole& h = m_bolt.holes[k];
        if (h.used == 1 && (!positive(h.texts[2]) || !positive(h.texts[1])))
            return k + 1;
    }
    return 0;
}

bool ZnDlgBoltAdvanced::apply()
{
    readBack();
    if (const int bad = firstInvalidHole(); bad > 0) {
        const std::string text = dialString(1000).str() + " " + std::to_string(bad) + " " + dialString(1001).str()
            + "\n\n" + dialString(888).str() + ".";
        MessageBox(m_hWnd, text, "Ongeldige waarde", MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!m_apply || !m_apply(m_bolt))
        return false;
    // The apply may have dropped holes: the hole shown stays within the list.
    if (m_hole >= m_bolt.holes.length())
        m_hole = m_bolt.holes.length() - 1;
    if (m_hole < 0 && !m_bolt.holes.isEmpty())
        m_hole = 0;
    showData();
    showHole(m_hole);
    return true;
}

void ZnDlgBoltAdvanced::holeListChanged(NMHDR& header)
{
    if (m_filling)
        return;
    const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
    const int item = change.iItem;
    if (item < 0 || item >= m_bolt.holes.length())
        return;
    const UINT newMark = change.uNewState & LVIS_STATEIMAGEMASK;
    const UINT oldMark = change.uOldState & LVIS_STATEIMAGEMASK;
    if ((change.uChanged & LVIF_STATE) && newMark != oldMark && newMark != 0) {
        // A hole ticked or cleared in the list: that hole's active flag, applied at once.
        readHole();
        m_bolt.holes[item].used = newMark == INDEXTOSTATEIMAGEMASK(2) ? 1 : 0;
        if (item == m_hole)
            CheckDlgButton(kHoleUsed, checkState(m_bolt.holes[item].used));
        enableHoleFields();
        apply();
        return;
    }
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED) && item != m_hole) {
        // The edits of the hole shown stay with it.
        readHole();
        showHole(item);
    }
}

void ZnDlgBoltAdvanced::OnOK()
{
    // Enter in a field applies and stays; the OK button applies and closes, only when that worked.
    const bool button = GetFocus() == GetDlgItem(IDOK);
    if (apply() && button)
        EndDialog(IDOK);
}
