// The macro settings dialog.
#include "constraints/ZnDlgMacroSettings.h"

#include "core/CButtonST.h"
#include "core/CCheckComboBox.h"
#include "core/Kx_Settings.h"
#include "core/TextTables.h"
#include "core/ZnTempResourceOverride.h"
#include "platform/grid/Spread.h"
#include "platform/win/Bitmap.h"
#include "spread/Kx_Spread.h"

#include <algorithm>
#include <vector>

namespace {

Kx_StringArray texts(std::initializer_list<int> numbers)
{
    Kx_StringArray out;
    for (int n : numbers)
        out.append(dialString(n));
    return out;
}

// The entries of the settings' check lists, by position in the settings' arrays.
Kx_StringArray angles90Items() { return texts({925, 926, 1486}); }
Kx_StringArray angles180Items() { return texts({925, 926}); }
Kx_StringArray sectionTypeItems() { return texts({1487, 1488, 1489, 1490, 1491}); }
Kx_StringArray materialItems() { return texts({1492, 1493}); }

Kx_String windowText(CWnd* dialog, int id) { return Kx_String(GetWindowText(dialog->GetDlgItem(id))); }

} // namespace

struct ZnDlgMacroSettings::Pages {
    CCheckComboBox angles90;
    CCheckComboBox angles180;
    CCheckComboBox sectionTypes;
    CCheckComboBox materials;
    Kx_Spread tolerances;
    Kx_Spread names;
    Kx_Spread options;
    Kx_Spread groups;
    std::vector<std::unique_ptr<CButtonST>> buttons;
    std::vector<HBITMAP> pictures;

    ~Pages()
    {
        for (HBITMAP b : pictures)
            DeleteObject(b);
    }
};

ZnDlgMacroSettings::ZnDlgMacroSettings(const MacroSettingsData& settings, HWND parent)
    : KxHostTabDialog(kTemplateId, kTabs, parent), m_settings(settings), m_pages(std::make_unique<Pages>())
{
}

ZnDlgMacroSettings::~ZnDlgMacroSettings() = default;

namespace {

void fillCheckCombo(CCheckComboBox& combo, const Kx_StringArray& items, const Kx_Array<bool>& checks)
{
    combo.ResetContent();
    for (int i = 0; i < items.length(); ++i)
        combo.AddString(items[i].str(), i < checks.length() && checks[i]);
}

// The marks of the combo; entries of the settings beyond the combo's entries are kept.
void readCheckCombo(const CCheckComboBox& combo, Kx_Array<bool>& checks)
{
    const int count = combo.GetCount();
    if (checks.length() < count)
        checks.setLogicalLength(count);
    for (int i = 0; i < count; ++i)
        checks[i] = combo.GetCheck(i);
}

void showPicture(CWnd* page, int id, const char* file, std::vector<HBITMAP>& owned)
{
    const std::string path = (Kx_Settings::libDir() + "icons\\" + file).str();
    HBITMAP picture = kxwin::loadBitmapFile(path);
    if (picture == nullptr)
        return;
    owned.push_back(picture);
    ::SendMessage(page->GetDlgItem(id), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
}

void attachGrid(Kx_Spread& grid, CWnd* page, int id, const Kx_StringArray& headers)
{
    grid.attach(page, id, /*exactRect=*/true);
    grid.setStandardLook(1);
    grid.setColCount(headers.length());
    grid.setColumnHeaders(headers);
    grid.setFitMode(1);
    // Rows are not named, except where the caller gives row titles.
    SSSetBool(grid.GetSafeHwnd(), SSB_SHOWROWHEADERS, FALSE);
}

// The rows of a grid whose first cell is not blank, as texts.
Kx_Array<Kx_StringArray> filledRows(const Kx_Spread& grid)
{
    Kx_Array<Kx_StringArray> rows;
    const int cols = grid.getColCount();
    for (int r = 1; r <= grid.getRowCount(); ++r) {
        Kx_StringArray row;
        for (int c = 1; c <= cols; ++c) {
            Kx_String text;
            grid.getCellText(c, r, text, Kx_Spread::kTextData);
            row.append(text);
        }
        if (!row.isEmpty() && !row[0].trimmed().isEmpty())
            rows.append(row);
    }
    return rows;
}

} // namespace

BOOL ZnDlgMacroSettings::OnInitDialog()
{
    KxHostTabDialog::OnInitDialog();
    SetWindowText(dialString(916).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    const int titles[5] = {917, 918, 919, 875, 755};
    {
        ZnTempResourceOverride resources;
        for (int i = 0; i < 5; ++i)
            AddTab(dialString(titles[i]).str(), std::make_unique<CDialog>(kPageTemplates[i]), kPageTemplates[i]);
    }
    Pages& p = *m_pages;
    const MacroSettingsData& s = m_settings;

    if (CDialog* page = GetPage(0)) {
        page->SetDlgItemText(kAngleFilter, dialString(922).str());
        page->CheckDlgButton(kAngleFilter, s.angleFilterOn ? BST_CHECKED : BST_UNCHECKED);
        const std::pair<int, int> labels[] = {{1140, 923}, {1141, 924}, {1146, 925}, {1147, 926},
                                              {1148, 927}, {1144, 928}, {1145, 929}, {1153, 930}};
        for (auto [id, text] : labels)
            page->SetDlgItemText(id, dialString(text).str());
        showPicture(page, 1158, "MacroFilterAngle90.bmp", p.pictures);
        showPicture(page, 1157, "MacroFilterAngle180.bmp", p.pictures);
        showPicture(page, 1159, "MacroFilterSectionAngle.bmp", p.pictures);
        p.angles90.SubclassDlgItem(kAngles90, page->m_hWnd);
        p.angles180.SubclassDlgItem(kAngles180, page->m_hWnd);
        fillCheckCombo(p.angles90, angles90Items(), s.angles90);
        fillCheckCombo(p.angles180, angles180Items(), s.angles180);
        attachGrid(p.tolerances, page, kToleranceGrid, texts({927}));
        p.tolerances.setRowCount(2);
        SSSetBool(p.tolerances.GetSafeHwnd(), SSB_SHOWROWHEADERS, TRUE);
        p.tolerances.setRowHeaders(texts({920, 921}));
        SSSetData(p.tolerances.GetSafeHwnd(), 1, 1, s.angleTolerance.c_str());
        SSSetData(p.tolerances.GetSafeHwnd(), 1, 2, s.sectionAngleTolerance.c_str());
        p.tolerances.fitToWindow();
    }
    if (CDialog* page = GetPage(1)) {
        page->SetDlgItemText(kDistanceFilter, dialString(1351).str());
        page->CheckDlgButton(kDistanceFilter, s.distanceFilterOn ? BST_CHECKED : BST_UNCHECKED);
        const std::pair<int, int> labels[] = {{1159, 933}, {1160, 934}, {1161, 935}, {1163, 936}, {1166, 937},
                                              {1167, 934}, {1168, 938}, {1170, 939}, {1175, 940}, {1177, 941}};
        for (auto [id, text] : labels)
            page->SetDlgItemText(id, dialString(text).str());
        showPicture(page, 1165, "MacroFilterPathDistance.bmp", p.pictures);
        showPicture(page, 1172, "MacroFilterSectionSize.bmp", p.pictures);
        page->SetDlgItemText(kMaxDistance, s.maxPathDistance.str());
        page->SetDlgItemText(kMinSize, s.minSectionSize.str());
        page->SetDlgItemText(kMaxSize, s.maxSectionSize.str());
        p.sectionTypes.SubclassDlgItem(kSectionTypes, page->m_hWnd);
        p.materials.SubclassDlgItem(kMaterials, page->m_hWnd);
        fillCheckCombo(p.sectionTypes, sectionTypeItems(), s.sectionTypes);
        fillCheckCombo(p.materials, materialItems(), s.materials);
    }
    if (CDialog* page = GetPage(2)) {
        page->SetDlgItemText(1175, dialString(957).str());
        page->SetDlgItemText(1280, dialString(958).str());
        page->SetDlgItemText(1281, dialString(959).str());
        page->SetDlgItemText(1318, dialString(960).str());
        attachGrid(p.names, page, kGrid, texts({85}));
        p.names.setRowCount(s.sectionNames.length());
        p.names.setColumn(1, s.sectionNames);
        p.names.fitToWindow();
        for (auto [id, icon, tip] : {std::tuple{kAddName, 212, 961}, std::tuple{kRemoveName, 206, 962}}) {
            auto button = std::make_unique<CButtonST>();
            button->SubclassDlgItem(id, page->m_hWnd);
            ZnTempResourceOverride resources;
            button->SetIcon(icon);
            button->SetTooltipText(dialString(tip).str());
            p.buttons.push_back(std::move(button));
        }
        page->onCommand(kAddName, BN_CLICKED, [this] {
            Kx_Spread& grid = m_pages->names;
            int col = 1, row = 0;
            SSGetActiveCell(grid.GetSafeHwnd(), &col, &row);
            const int at = std::clamp(row + 1, 1, grid.getRowCount() + 1);
            if (grid.insertRow(at)) {
                SSSetActiveCell(grid.GetSafeHwnd(), 1, at);
                grid.SetFocus();
            }
        });
        page->onCommand(kRemoveName, BN_CLICKED, [this] {
            Kx_Spread& grid = m_pages->names;
            int col = 1, row = 0;
            SSGetActiveCell(grid.GetSafeHwnd(), &col, &row);
            if (row >= 1 && row <= grid.getRowCount() && grid.deleteRow(row) && grid.getRowCount() > 0)
                SSSetActiveCell(grid.GetSafeHwnd(), 1, std::min(row, grid.getRowCount()));
        });
        HWND update = page->GetDlgItem(kUpdateMode);
        HWND numbering = page->GetDlgItem(kNumberingMode);
        for (int n : {1494, 1495, 2921})
            ::SendMessage(update, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialString(n).c_str()));
        for (int n : {1494, 2922, 2923})
            ::SendMessage(numbering, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(dialString(n).c_str()));
        ::SendMessage(update, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(s.updateMode, 0, 2)));
        ::SendMessage(numbering, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(s.numberingMode, 0, 2)));
    }
    if (CDialog* page = GetPage(3)) {
        page->SetDlgItemText(1175, (dialString(942) + " " + dialString(943)).str());
        page->SetDlgItemText(1363, dialString(1388).str());
        page->SetDlgItemText(1365, dialString(1392).str());
        page->SetDlgItemText(1367, dialString(1407).str());
        attachGrid(p.options, page, kGrid, texts({1385, 1386}));
        const int n = std::min(s.optionNames.length(), s.optionValues.length());
        p.options.setRowCount(n);
        for (int r = 0; r < n; ++r) {
            SSSetData(p.options.GetSafeHwnd(), 1, r + 1, s.optionNames[r].c_str());
            SSSetData(p.options.GetSafeHwnd(), 2, r + 1, s.optionValues[r].c_str());
        }
        p.options.fitToWindow();
    }
    if (CDialog* page = GetPage(4)) {
        attachGrid(p.groups, page, kGrid, texts({944, 1483, 1484, 1485}));
        p.groups.setRowCount(s.groups.length());
        for (int r = 0; r < s.groups.length(); ++r)
            for (int c = 0; c < 4; ++c)
                SSSetData(p.groups.GetSafeHwnd(), c + 1, r + 1, s.groups[r][static_cast<size_t>(c)].c_str());
        p.groups.fitToWindow();
    }
    SetActiveTab(0);
    return TRUE;
}

void ZnDlgMacroSettings::OnOK()
{
    // Every page keeps what the user did on it: a cell still being edited is committed first.
    Pages& p = *m_pages;
    MacroSettingsData& s = m_settings;
    for (Kx_Spread* grid : {&p.tolerances, &p.names, &p.options, &p.groups})
        if (grid->isAttached())
            SSSetEditMode(grid->GetSafeHwnd(), FALSE);
    if (CDialog* page = GetPage(0)) {
        s.angleFilterOn = page->IsDlgButtonChecked(kAngleFilter) == BST_CHECKED;
        readCheckCombo(p.angles90, s.angles90);
        readCheckCombo(p.angles180, s.angles180);
        p.tolerances.getCellText(1, 1, s.angleTolerance, Kx_Spread::kTextData);
        p.tolerances.getCellText(1, 2, s.sectionAngleTolerance, Kx_Spread::kTextData);
    }
    if (CDialog* page = GetPage(1)) {
        s.distanceFilterOn = page->IsDlgButtonChecked(kDistanceFilter) == BST_CHECKED;
        s.maxPathDistance = windowText(page, kMaxDistance);
        s.minSectionSize = windowText(page, kMinSize);
        s.maxSectionSize = windowText(page, kMaxSize);
        readCheckCombo(p.sectionTypes, s.sectionTypes);
        readCheckCombo(p.materials, s.materials);
    }
    if (CDialog* page = GetPage(2)) {
        s.sectionNames = Kx_StringArray();
        for (const Kx_StringArray& row : filledRows(p.names))
            s.sectionNames.append(row[0].trimmed());
        const int update = static_cast<int>(::SendMessage(page->GetDlgItem(kUpdateMode), CB_GETCURSEL));
        const int numbering = static_cast<int>(::SendMessage(page->GetDlgItem(kNumberingMode), CB_GETCURSEL));
        if (update >= 0)
            s.updateMode = update;
        if (numbering >= 0)
            s.numberingMode = numbering;
    }
    if (GetPage(3) != nullptr) {
        s.optionNames = Kx_StringArray();
        s.optionValues = Kx_StringArray();
        for (const Kx_StringArray& row : filledRows(p.options)) {
            s.optionNames.append(row[0]);
            s.optionValues.append(row[1]);
        }
    }
    if (GetPage(4) != nullptr) {
        s.groups.setLogicalLength(0);
        for (const Kx_StringArray& row : filledRows(p.groups))
            s.groups.append({row[0], row[1], row[2], row[3]});
    }
    KxHostTabDialog::OnOK();
}
