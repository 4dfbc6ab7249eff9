// The levels dialog.
#include "detailing/ZnDlgLevels.h"

#include "core/DialogFunctions.h"
#include "core/PromptDialog.h"
#include "core/TextTables.h"
#include "platform/win/Messages.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int kDecimals = 3;

// The fields of one level, enabled together.
constexpr int kLevelFields[] = {ZnDlgLevels::kName, ZnDlgLevels::kKind, ZnDlgLevels::kElevation,
                                ZnDlgLevels::kHeight, ZnDlgLevels::kDelete};

} // namespace

double ZnDlgLevels::typedNumber(const Kx_String& text)
{
    std::string s = text.trimmed().str();
    if (s.find('.') == std::string::npos) {
        const auto comma = s.find(',');
        if (comma != std::string::npos)
            s[comma] = '.';
    }
    const char* first = s.c_str();
    const char* last = first + s.size();
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end == first || !std::isfinite(value))
        return 0;
    return value;
}

ZnDlgLevels::ZnDlgLevels() : CDialog(kTemplateId)
{
    onCommand(kLevels, CBN_SELCHANGE, [this] { selectionChanged(); });
    onCommand(kAdd, BN_CLICKED, [this] { addLevel(); });
    onCommand(kDelete, BN_CLICKED, [this] { deleteLevel(); });
}

BOOL ZnDlgLevels::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(dialString(1478).str());
    SetDlgItemText(kFrame, dialString(760).str());
    SetDlgItemText(kNameLabel, dialString(87).str());
    SetDlgItemText(kKindLabel, dialString(1473).str());
    SetDlgItemText(kElevationLabel, dialString(593).str());
    SetDlgItemText(kHeightLabel, dialString(1474).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());
    struct IconButton {
        CButtonST& button;
        int id;
        int icon;
        int tooltip;
    };
    for (const IconButton& b : {IconButton{m_addButton, kAdd, kIconAdd, 131},
                                IconButton{m_deleteButton, kDelete, kIconDelete, 134}}) {
        if (b.button.SubclassDlgItem(b.id, m_hWnd)) {
            b.button.SetIcon(b.icon);
            b.button.SetFlat(true);
            b.button.DrawFlatFocus(false);
            b.button.SetTooltipText(dialString(b.tooltip).str());
        }
    }
    // The data class stores neither names nor storey heights: a change there would be lost.
    SendDlgItemMessage(m_hWnd, kName, EM_SETREADONLY, TRUE);
    SendDlgItemMessage(m_hWnd, kHeight, EM_SETREADONLY, TRUE);
    refill(0);
    return TRUE;
}

void ZnDlgLevels::refill(int index)
{
    Kx_StringArray names;
    m_data.getNames(names);
    if (index >= names.length())
        index = names.length() - 1;
    FillCombo(this, kLevels, names, index);
    show(index);
}

void ZnDlgLevels::show(int index)
{
    Kx_String name, kind;
    double elevation = 0, height = 0;
    const bool valid = m_data.getLevelData(index, name, kind, elevation, height);
    m_shown = valid ? index : -1;
    for (int id : kLevelFields)
        EnDisCtrl(this, id, valid);
    if (!valid) {
        for (int id : {kName, kElevation, kHeight})
            SetDlgItemText(id, "");
        FillCombo(this, kKind, m_data.kinds());
        return;
    }
    SetDlgItemText(kName, name.str());
    // A kind that is not offered (a level from an older model) is still shown as it is.
    Kx_StringArray kinds = m_data.kinds();
    if (!kind.isEmpty() && !kinds.contains(kind))
        kinds.append(kind);
    FillCombo(this, kKind, kinds, kind);
    SetDlgItemText(kElevation, Kx_String(elevation, kDecimals).str());
    SetDlgItemText(kHeight, Kx_String(height, kDecimals).str());
}

void ZnDlgLevels::store()
{
    if (m_shown < 0)
        return;
    m_data.updateLevel(m_shown, typedNumber(Kx_String(GetDlgItemText(kElevation))));
    // A drop-down list shows the selected entry's text.
    if (static_cast<int>(SendDlgItemMessage(m_hWnd, kKind, CB_GETCURSEL)) >= 0)
        m_data.updateLevel(m_shown, Kx_String(GetDlgItemText(kKind)));
}

void ZnDlgLevels::selectionChanged()
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kLevels, CB_GETCURSEL));
    if (index < 0 || index == m_shown)
        return;
    store();
    show(index);
}

void ZnDlgLevels::addLevel()
{
    // What the user changed in the shown level is kept before the list is made again.
    store();
    const std::optional<Kx_String> name = runPromptDialog(87, 1475, 171, 1, 2, m_hWnd);
    if (!name)
        return;
    const int added = m_data.addLevel(*name);
    if (added < 0)
        return;
    refill(added);
}

void ZnDlgLevels::deleteLevel()
{
    const int index = static_cast<int>(SendDlgItemMessage(m_hWnd, kLevels, CB_GETCURSEL));
    if (index < 0 || !m_data.deleteLevel(index))
        return;
    // The deleted level's texts are gone with it; they must not land in the level that moved up.
    m_shown = -1;
    refill(index);
}

void ZnDlgLevels::OnOK()
{
    store();
    CDialog::OnOK();
}
