// The bolt pattern dialog.
#include "macro/ZnDlgMacroPattern.h"

#include "core/DialogFunctions.h"
#include "core/Kx_Settings.h"
#include "core/MacroData.h"
#include "core/MacroDrawing.h"
#include "core/StringLists.h"
#include "core/TextTables.h"
#include "platform/win/Bitmap.h"

ZnDlgMacroPattern::ZnDlgMacroPattern(const MacroPatternProps& pattern, Apply apply, HWND parent)
    : KxHostDialog(kTemplateId, parent), m_pattern(pattern), m_apply(std::move(apply))
{
    // A spacing typed as "<number>x<spacing>" carries its number of bolts: the count follows it, so
    // the two never disagree (the drawing refuses a count that does not match).
    onCommand(kWithCount.value, EN_CHANGE, [this] { valueChanged(); });
}

BOOL ZnDlgMacroPattern::OnInitDialog()
{
    KxHostDialog::OnInitDialog();
    m_showing = true;
    SetWindowText(dialString(1034).str());
    SetDlgItemText(kDescription, m_pattern.description.str());
    const std::string picture = (Kx_Settings::libDir() + "icons\\BoltPattern.bmp").str();
    if (HBITMAP bitmap = kxwin::loadBitmapFile(picture)) {
        m_pictures.push_back(bitmap);
        ::SendMessage(GetDlgItem(kPicture), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    }
    for (int k = 0; k < 4; ++k)
        SetDlgItemText(kOptions[k], dialString(1051 + k).str());
    SetDlgItemText(kOptionsGroup, dialString(760).str());
    SetDlgItemText(IDOK, dialString(1).str());
    SetDlgItemText(IDCANCEL, dialString(2).str());

    const ControlSet& shown = controls();
    for (const ControlSet* set : {&kWithCount, &kWithoutCount}) {
        const bool on = set == &shown;
        for (int id : {set->group, set->check1, set->valueLabel, set->value, set->countLabel, set->count, set->check2})
            ShowOrHideCtrl(this, id, on);
        SetDlgItemText(set->group, dialString(set == &kWithCount ? 9851 : 9852).str());
        SetDlgItemText(set->check1, dialString(9853).str());
        SetDlgItemText(set->check2, dialString(9854).str());
        SetDlgItemText(set->valueLabel, dialString(86).str());
        SetDlgItemText(set->countLabel, dialString(9850).str());
        // The pattern record keeps no direction or option flags: these boxes show what the
        // pattern does not offer.
        EnDisCtrl(this, set->check1, false);
        EnDisCtrl(this, set->check2, false);
    }
    for (int id : kOptions)
        EnDisCtrl(this, id, false);

    SetDlgItemText(shown.value, m_pattern.value.str());
    if (&shown == &kWithCount) {
        FillCombo(this, kWithCount.count,
                  stringArr(Kx_String(), dialString(695), dialString(996), dialString(1055), dialString(994)),
                  m_pattern.count);
        SetDlgItemText(kWithCount.count, m_pattern.count.str());
    } else {
        // No count: nothing to show or type.
        SetDlgItemText(kWithoutCount.count, "");
        EnDisCtrl(this, kWithoutCount.count, false);
    }
    m_showing = false;
    return TRUE;
}

void ZnDlgMacroPattern::OnDestroy()
{
    for (HBITMAP b : m_pictures)
        DeleteObject(b);
    m_pictures.clear();
    KxHostDialog::OnDestroy();
}

void ZnDlgMacroPattern::valueChanged()
{
    if (m_showing || m_pattern.getCount() == -1)
        return;
    if (const auto spacing = kxcore::parsePattern(Kx_String(GetDlgItemText(kWithCount.value))))
        SetDlgItemText(kWithCount.count, std::to_string(spacing->gaps));
}

void ZnDlgMacroPattern::readBack()
{
    const ControlSet& set = controls();
    // Text 695 marks a value that differs between the edited macros: it is shown, never written.
    const auto take = [](Kx_String& target, const Kx_String& shown) {
        if (!isVariesText(shown))
            target = shown;
    };
    take(m_pattern.value, Kx_String(GetDlgItemText(set.value)));
    if (&set == &kWithCount) {
        // A count must stay a count: an empty choice keeps the old one, so the pattern keeps its
        // count field.
        const Kx_String count = Kx_String(GetDlgItemText(kWithCount.count)).trimmed();
        if (!count.isEmpty())
            take(m_pattern.count, count);
    }
}

void ZnDlgMacroPattern::OnOK()
{
    readBack();
    if (m_apply && !m_apply(m_pattern))
        return;
    EndDialog(IDOK);
}
