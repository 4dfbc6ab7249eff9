// The simple library editor.
#include "spread/ZnDlgEditLibSimple.h"

#include "core/DialogFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroLangs.h"
#include "core/Paths.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "core/FileIO.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "spread/SpreadNumbers.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kTextTitle = 796;
constexpr int kTextName = 797;
constexpr int kTextAutoName = 1377;
constexpr int kTextTypedName = 1378;
constexpr int kTextCannotDraw = 1457;
constexpr int kTextRadiusRule = 1458;
constexpr int kTextPleaseCorrect = 888;
constexpr int kTextInvalidInput = 1098;
constexpr int kTextNameInUse = 2306;
constexpr int kTextNameNeeded = 2307;

// The square form: split at "x", the first two parts are equal ("100x100x8").
bool isSquareForm(const Kx_String& name)
{
    Kx_StringArray parts;
    strToArr(name, 'x', parts);
    return parts.length() >= 2 && !parts[0].isEmpty() && parts[0] == parts[1];
}

} // namespace

ZnDlgEditLibSimple::ZnDlgEditLibSimple(const Kx_String& typeName, const Kx_ProfValuesTable& table, int selected)
    : CDialog(kTemplateId), m_typeName(typeName), m_table(table), m_selected(selected)
{
    int number = 0;
    if (typeName.trimmed().toInt(number)) {
        if (const SectionType* type = SectionGroupArray::library().findType(number))
            m_type = *type;
    }
    onCommand(kAutoName, BN_CLICKED, [this] { updateNameMode(); });
    onCommand(kTypedName, BN_CLICKED, [this] { updateNameMode(); });
    onCommandRange(valueId(0), valueId(kFieldCount - 1), EN_CHANGE, [this](int) { valueChanged(); });
}

BOOL ZnDlgEditLibSimple::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(kTextTitle).str());
    SetDlgItemText(kNameGroup, dialString(kTextName).str());
    SetDlgItemText(kAutoName, dialString(kTextAutoName).str());
    SetDlgItemText(kTypedName, dialString(kTextTypedName).str());
    SetDlgItemText(kNameLabel, dialString(kTextName).str() + ":");
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    // The picture of the section type; the button is hidden when the type has none.
    bool pictured = false;
    if (m_type && m_picture.SubclassDlgItem(kPicture, m_hWnd)) {
        const auto path = kx::resolveUnderRoot((Kx_Settings::resourceDir() + "icons").view(),
                                               (m_type->pictureName + "-big.bmp").view());
        pictured = path && fileExists(Kx_String(*path)) && m_picture.SetBitmapFile(*path, RGB(255, 255, 255));
        m_picture.SetFlat(true);
        m_picture.DrawBorder(false);
        m_picture.SetTooltipText(m_type->name().str());
    }
    ShowOrHideCtrl(this, kPicture, pictured);

    // The entry the new one is made from.
    if (m_selected >= 0 && m_selected < m_table.rows.length()) {
        int found = m_selected;
        m_table.findSysName(m_table.rows[m_selected].isEmpty() ? Kx_String() : m_table.rows[m_selected][0], found);
        m_sourceRow = m_table.rows[found];
        m_selected = found;
    }
    m_sourceRow.setLogicalLength(std::max(m_sourceRow.length(), m_table.columnNames.length()));

    const Kx_StringArray labels = m_type ? m_type->fieldLabels() : Kx_StringArray{};
    const int valueColumns = std::max(m_table.columnNames.length() - kFirstValueColumn, 0);
    m_visibleFields = std::min({labels.length(), kFieldCount, valueColumns});
    for (int f = 0; f < kFieldCount; ++f) {
        const bool visible = f < m_visibleFields;
        ShowOrHideCtrl(this, labelId(f), visible);
        ShowOrHideCtrl(this, valueId(f), visible);
        if (!visible)
            continue;
        SetDlgItemText(labelId(f), labels[f].str() + ":");
        const int column = kFirstValueColumn + f;
        SetDlgItemText(valueId(f), column < m_sourceRow.length() ? m_sourceRow[column].str() : std::string());
    }
    const int descColumn = m_table.descriptionColumn();
    SetDlgItemText(kName, descColumn >= 0 && descColumn < m_sourceRow.length() ? m_sourceRow[descColumn].str()
                                                                             : std::string());
    CheckDlgButton(kAutoName, BST_CHECKED);
    CheckDlgButton(kTypedName, BST_UNCHECKED);
    updateNameMode();

    std::vector<CResizerEntry> entries = {
        {kNameGroup, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {1, 0, 2}},
        {kName, {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}},
        {IDOK, {3, 0, 0}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
        {IDCANCEL, {3, 0, 0}, {1, 0, 4}, {1, 0, 3}, {4, 0, 0}},
    };
    for (int f = 0; f < kFieldCount; ++f)
        entries.push_back({valueId(f), {1, 0, 1}, {1, 0, 2}, {1, 0, 3}, {4, 0, 0}});
    m_resizer.attach(this, std::move(entries));
    ChangeDlgSize(this, kSizeKey, /*sizeOnly=*/false);
    return TRUE;
}

void ZnDlgEditLibSimple::updateNameMode()
{
    const bool automatic = IsDlgButtonChecked(kAutoName) == BST_CHECKED;
    EnDisCtrl(this, kName, !automatic);
    if (automatic)
        SetDlgItemText(kName, automaticName().str());
}

void ZnDlgEditLibSimple::valueChanged()
{
    if (IsDlgButtonChecked(kAutoName) == BST_CHECKED)
        SetDlgItemText(kName, automaticName().str());
}

Kx_String ZnDlgEditLibSimple::automaticName() const
{
    Kx_StringArray values;
    for (int f = 0; f < m_visibleFields; ++f)
        values.append(Kx_String(GetDlgItemText(valueId(f))).trimmed());
    Kx_String name = m_type ? m_type->namePrefix : Kx_String();
    bool first = true;
    if (m_type) {
        for (int f : m_type->nameFields) {
            if (f < 0 || f >= values.length())
                continue;
            if (!first)
                name.append("x");
            name.append(values[f]);
            first = false;
        }
    }
    return name;
}

bool ZnDlgEditLibSimple::passesDrawingCheck(const Kx_StringArray& entry) const
{
    int number = 0;
    if (!m_typeName.trimmed().toInt(number) || number != 10 || !m_type || !m_type->hasDrawing || entry.length() <= 9)
        return true;
    const double wall = kxss::leadingDouble(entry[8].view());
    const double radius = kxss::leadingDouble(entry[9].view());
    return radius == 0 || radius > wall;
}

int ZnDlgEditLibSimple::insertPosition(const Kx_String& name) const
{
    Kx_StringArray names;
    for (const Kx_StringArray& row : m_table.rows)
        names.append(row.isEmpty() ? Kx_String() : row[0]);
    if (!isSquareForm(name))
        return ObjectExportAddToSorted(names, name);
    // Square forms go directly after the square form that precedes them in sorted order.
    Kx_StringArray squares;
    for (const Kx_String& n : names)
        if (isSquareForm(n))
            squares.append(n);
    const int pos = std::max(ObjectExportAddToSorted(squares, name), 1);
    int index = -1;
    int at = 1;
    if (m_table.findSysName(squares[pos - 1], index))
        at = index + 1;
    return std::min(at, m_table.rows.length());
}

std::optional<Kx_StringArray> ZnDlgEditLibSimple::buildEntry(Kx_String& name)
{
    const bool automatic = IsDlgButtonChecked(kAutoName) == BST_CHECKED;
    name = (automatic ? automaticName() : Kx_String(GetDlgItemText(kName))).trimmed();
    auto refuse = [&](const Kx_String& text) {
        MessageBox(m_hWnd, text.str(), dialString(kTextInvalidInput).str(), MB_OK | MB_ICONWARNING);
        ::SetFocus(GetDlgItem(automatic ? valueId(0) : kName));
        return std::nullopt;
    };
    if (name.isEmpty())
        return refuse(dialString(kTextNameNeeded));
    int used = 0;
    if (m_table.findSysName(name, used))
        return refuse(dialString(kTextNameInUse) + " \"" + name + "\"");

    Kx_StringArray entry = m_sourceRow;
    entry.setLogicalLength(std::max(entry.length(), 2));
    entry[1] = "1";
    // The description columns are found by their language's name, wherever the table has them.
    for (int k = 0; k < MacroLangs::LanguageCount; ++k) {
        const int column = m_table.getColumnIdx(MacroLangs::GetLanguageName(k));
        if (column < 0 || column >= entry.length())
            continue;
        const Kx_String prefix = automatic && m_type && k < m_type->languagePrefixes.length()
                                     ? m_type->languagePrefixes[k]
                                     : Kx_String();
        entry[column] = prefix + name;
    }
    entry[0] = name;
    // Only the fields shown are taken; the other columns keep the copied entry's values.
    for (int f = 0; f < m_visibleFields; ++f) {
        const int column = kFirstValueColumn + f;
        if (column < entry.length())
            entry[column] = Kx_String(GetDlgItemText(valueId(f))).trimmed();
    }
    if (!passesDrawingCheck(entry)) {
        const Kx_String text = dialString(kTextCannotDraw) + "\n" + dialString(kTextRadiusRule) + "\n\n" +
                               dialString(kTextPleaseCorrect) + ".";
        MessageBox(m_hWnd, text.str(), dialString(kTextInvalidInput).str(), MB_OK | MB_ICONWARNING);
        return std::nullopt;
    }
    return entry;
}

void ZnDlgEditLibSimple::OnOK()
{
    Kx_String name;
    const auto entry = buildEntry(name);
    if (!entry)
        return;
    const int at = insertPosition(name);
    m_table.rows.insertAt(at, *entry);
    m_selected = at;
    CDialog::OnOK();
}

void ZnDlgEditLibSimple::OnDestroy()
{
    WriteDlgSize(this, kSizeKey);
    m_resizer.detach();
}
