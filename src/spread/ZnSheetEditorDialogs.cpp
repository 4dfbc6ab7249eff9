// The spreadsheet editor's small dialogs. Every text they show comes from the text tables; a value
// out of range is refused with a message and the focus goes back to its field.
#include "spread/ZnSheetEditorDialogs.h"

#include "core/MacroLangs.h"
#include "core/TextTables.h"
#include "platform/win/Backend.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

#include <charconv>
#include <optional>
#include <initializer_list>
#include <utility>

namespace {

constexpr int kTextEditorName = 9400;

struct ControlText {
    int id;
    int text;
};

void applyTexts(CDialog& dialog, int title, std::initializer_list<ControlText> texts)
{
    dialog.SetWindowText(dialString(title).str());
    for (const ControlText& t : texts)
        dialog.SetDlgItemText(t.id, dialString(t.text).str());
    dialog.SetDlgItemText(IDOK, dialString(1).str());
    dialog.SetDlgItemText(IDCANCEL, dialString(2).str());
}

void refuse(CDialog& dialog, int field, int message)
{
    MessageBox(dialog.m_hWnd, dialString(message).str(), dialString(kTextEditorName).str(), MB_OK | MB_ICONWARNING);
    ::SetFocus(dialog.GetDlgItem(field));
}

// The whole-number text of a field within [low, high]; a message and nothing otherwise.
std::optional<int> readInt(CDialog& dialog, int field, int low, int high, int message)
{
    std::string text = dialog.GetDlgItemText(field);
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    int value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        refuse(dialog, field, message);
        return std::nullopt;
    }
    return value;
}

void fillCombo(CDialog& dialog, int id, const std::vector<std::string>& items, const std::string& current)
{
    HWND combo = dialog.GetDlgItem(id);
    SendMessage(combo, CB_RESETCONTENT);
    for (const std::string& item : items)
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    const LRESULT at = SendMessage(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(current.c_str()));
    if (at >= 0)
        SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(at));
    else
        SetWindowText(combo, current);
}

std::string comboText(CDialog& dialog, int id)
{
    return dialog.GetDlgItemText(id);
}

// The lines of a multi-line edit (CR LF, LF or CR), without empty ones.
std::vector<std::string> nonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            if (!line.empty())
                lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        line += text[i];
    }
    return lines;
}

} // namespace

// --- Note ----------------------------------------------------------------------------------------

BOOL ZnDlgCellNote::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9412, {{1001, 9413}});
    SetDlgItemText(kNoteEdit, m_data.note);
    return TRUE;
}

void ZnDlgCellNote::OnOK()
{
    m_data.note = GetDlgItemText(kNoteEdit);
    CDialog::OnOK();
}

// --- Font ----------------------------------------------------------------------------------------

BOOL ZnDlgCellFont::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9414, {{1004, 9415}, {1005, 9416}, {kBoldCheck, 9417}, {kItalicCheck, 9418}});
    fillCombo(*this, kFaceCombo, m_data.faces, m_data.face);
    SetDlgItemText(kHeightEdit, std::to_string(m_data.height));
    CheckDlgButton(kBoldCheck, m_data.bold ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kItalicCheck, m_data.italic ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void ZnDlgCellFont::OnOK()
{
    const auto height = readInt(*this, kHeightEdit, 1, 400, 9454);
    if (!height)
        return;
    const std::string face = comboText(*this, kFaceCombo);
    if (!face.empty())
        m_data.face = face;
    m_data.height = *height;
    m_data.bold = IsDlgButtonChecked(kBoldCheck) == BST_CHECKED;
    m_data.italic = IsDlgButtonChecked(kItalicCheck) == BST_CHECKED;
    CDialog::OnOK();
}

// --- Borders -------------------------------------------------------------------------------------

BOOL ZnDlgCellBorders::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9419, {{kNoneRadio, 9420}, {kOutlineRadio, 9421}, {kAllRadio, 9422}, {1004, 9423}});
    CheckRadioButton(m_hWnd, kNoneRadio, kAllRadio, kNoneRadio + static_cast<int>(m_data.kind));
    fillCombo(*this, kLineCombo, {dialString(9424).str(), dialString(9425).str()},
              dialString(m_data.lineStyle == 6 ? 9425 : 9424).str());
    return TRUE;
}

void ZnDlgCellBorders::OnOK()
{
    for (int id = kNoneRadio; id <= kAllRadio; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            m_data.kind = static_cast<Data::Kind>(id - kNoneRadio);
    m_data.lineStyle = SendDlgItemMessage(m_hWnd, kLineCombo, CB_GETCURSEL) == 1 ? 6 : 1;
    CDialog::OnOK();
}

// --- Cell type -----------------------------------------------------------------------------------

BOOL ZnDlgCellType::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9426,
               {{1000, 9427}, {1001, 9428}, {1002, 9429}, {1003, 9430}, {1004, 9431}, {1007, 9432}, {1008, 9433}});
    CheckRadioButton(m_hWnd, kFirstKindRadio, kFirstKindRadio + 4, kFirstKindRadio + static_cast<int>(m_data.kind));
    SetDlgItemText(kDecimalsEdit, std::to_string(m_data.decimals));
    std::string items;
    for (const std::string& item : m_data.items)
        items += (items.empty() ? "" : "\r\n") + item;
    SetDlgItemText(kItemsEdit, items);
    enableFields();
    return TRUE;
}

BOOL ZnDlgCellType::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id >= kFirstKindRadio && id <= kFirstKindRadio + 4 && HIWORD(wParam) == BN_CLICKED) {
        const BOOL handled = CDialog::OnCommand(wParam, lParam);
        enableFields();
        return handled;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void ZnDlgCellType::enableFields()
{
    ::EnableWindow(GetDlgItem(kDecimalsEdit), IsDlgButtonChecked(kFirstKindRadio + 1) == BST_CHECKED);
    ::EnableWindow(GetDlgItem(kItemsEdit), IsDlgButtonChecked(kFirstKindRadio + 3) == BST_CHECKED);
}

void ZnDlgCellType::OnOK()
{
    Data answer = m_data;
    for (int i = 0; i <= 4; ++i)
        if (IsDlgButtonChecked(kFirstKindRadio + i) == BST_CHECKED)
            answer.kind = static_cast<Data::Kind>(i);
    if (answer.kind == Data::Kind::Number) {
        const auto decimals = readInt(*this, kDecimalsEdit, 0, 15, 9455);
        if (!decimals)
            return;
        answer.decimals = *decimals;
    }
    if (answer.kind == Data::Kind::ComboBox) {
        // The grid separates list items by tabs: an item holding one would read back as two.
        answer.items = nonEmptyLines(GetDlgItemText(kItemsEdit));
        bool usable = !answer.items.empty();
        for (const std::string& item : answer.items)
            usable = usable && item.find('\t') == std::string::npos;
        if (!usable) {
            refuse(*this, kItemsEdit, 9459);
            return;
        }
    }
    m_data = std::move(answer);
    CDialog::OnOK();
}

// --- Sheet options -------------------------------------------------------------------------------

BOOL ZnDlgSheetOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9434,
               {{1020, 9435}, {1021, 9436}, {1022, 9437}, {1023, 9438}, {1024, 9439}, {1025, 9440}, {1026, 9441},
                {1027, 9442}, {1028, 9443}, {1008, 9444}, {1009, 9445}, {1010, 9446}, {1011, 9447}, {1012, 9448},
                {1013, 9449}});
    fillCombo(*this, kFontCombo, m_data.faces, m_data.defaultFont);
    SetDlgItemText(kHeightEdit, std::to_string(m_data.defaultTextHeight));
    SetDlgItemText(kHeaderEdit, m_data.headerFile);
    SetDlgItemText(kFooterEdit, m_data.footerFile);
    for (int i = 0; i < 4; ++i)
        SetDlgItemText(kFirstMarginEdit + i, std::to_string(m_data.margins[i]));
    for (int i = 0; i < 6; ++i)
        CheckDlgButton(kFirstSwitchCheck + i, m_data.switches[i] ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void ZnDlgSheetOptions::OnOK()
{
    Data answer = m_data;
    answer.defaultFont = comboText(*this, kFontCombo);
    if (answer.defaultFont.empty()) {
        refuse(*this, kFontCombo, 9460);
        return;
    }
    const auto height = readInt(*this, kHeightEdit, 1, 400, 9454);
    if (!height)
        return;
    answer.defaultTextHeight = *height;
    for (int i = 0; i < 4; ++i) {
        const auto margin = readInt(*this, kFirstMarginEdit + i, 0, 1000, 9456);
        if (!margin)
            return;
        answer.margins[i] = *margin;
    }
    answer.headerFile = GetDlgItemText(kHeaderEdit);
    answer.footerFile = GetDlgItemText(kFooterEdit);
    for (int i = 0; i < 6; ++i)
        answer.switches[i] = IsDlgButtonChecked(kFirstSwitchCheck + i) == BST_CHECKED;
    m_data = std::move(answer);
    CDialog::OnOK();
}

// --- Language ------------------------------------------------------------------------------------

namespace {

// Radio buttons in the dialog's order (English, Dutch, French) and MacroLangs positions.
constexpr std::pair<int, int> kLanguageRadios[] = {
    {ZnDlgEditorLanguage::kEnglishRadio, MacroLangs::English},
    {ZnDlgEditorLanguage::kDutchRadio, MacroLangs::Dutch},
    {ZnDlgEditorLanguage::kFrenchRadio, MacroLangs::French},
};

} // namespace

BOOL ZnDlgEditorLanguage::OnInitDialog()
{
    CDialog::OnInitDialog();
    applyTexts(*this, 9450, {{kEnglishRadio, 9451}, {kDutchRadio, 9452}, {kFrenchRadio, 9453}});
    int checked = kEnglishRadio;
    for (const auto& [radio, language] : kLanguageRadios)
        if (language == m_data.language)
            checked = radio;
    CheckRadioButton(m_hWnd, kEnglishRadio, kFrenchRadio, checked);
    return TRUE;
}

void ZnDlgEditorLanguage::OnOK()
{
    for (const auto& [radio, language] : kLanguageRadios)
        if (IsDlgButtonChecked(radio) == BST_CHECKED)
            m_data.language = language;
    CDialog::OnOK();
}
