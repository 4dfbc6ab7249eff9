// The small dialogs of the spreadsheet editor's Cell and Tools menus: the cell note, the font, the
// borders and the type of the selected cells, the sheet's appearance and print options, and the
// language. Each edits a copy of its data and gives it back on OK only; what the editor does with
// the answer lives in ZnSheetEditor.cpp.
#pragma once

#include "platform/win/Dialog.h"

#include <string>
#include <vector>

// Runs a dialog on `data`: true, with `data` replaced, on OK; false (data untouched) on any other
// close or when the template cannot be made.
template <typename Dialog>
bool editModally(typename Dialog::Data& data, HWND owner)
{
    Dialog dialog(owner);
    dialog.data() = data;
    if (dialog.DoModal() != IDOK)
        return false;
    data = dialog.data();
    return true;
}

// One small dialog of the editor: its template and the copy of the data it edits.
template <typename DataT, int TemplateId>
class ZnEditorDialog : public CDialog {
public:
    static constexpr int kTemplateId = TemplateId;
    using Data = DataT;
    explicit ZnEditorDialog(HWND owner) : CDialog(TemplateId, owner) {}
    Data& data() { return m_data; }

protected:
    Data m_data;
};

struct CellNoteData {
    std::string note;
};

class ZnDlgCellNote : public ZnEditorDialog<CellNoteData, 9421> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kNoteEdit = 1000;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

struct CellFontData {
    std::vector<std::string> faces;  // offered in this order
    std::string face;
    int height = 13;                 // font height units, 1 to 400
    bool bold = false;
    bool italic = false;
};

class ZnDlgCellFont : public ZnEditorDialog<CellFontData, 9422> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kFaceCombo = 1000;
    static constexpr int kHeightEdit = 1001;
    static constexpr int kBoldCheck = 1002;
    static constexpr int kItalicCheck = 1003;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

struct CellBordersData {
    enum class Kind : int { None = 0, Outline = 1, All = 2 };
    Kind kind = Kind::Outline;
    int lineStyle = 1;  // SS_BORDERSTYLE_SOLID or SS_BORDERSTYLE_FINE
};

class ZnDlgCellBorders : public ZnEditorDialog<CellBordersData, 9423> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kNoneRadio = 1000;
    static constexpr int kOutlineRadio = 1001;
    static constexpr int kAllRadio = 1002;
    static constexpr int kLineCombo = 1003;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

struct CellTypeData {
    enum class Kind : int { Text = 0, Number = 1, CheckBox = 2, ComboBox = 3, Label = 4 };
    Kind kind = Kind::Text;
    int decimals = 2;                 // numbers: 0 to 15
    std::vector<std::string> items;   // drop-down lists: at least one, none holding a tab
};

class ZnDlgCellType : public ZnEditorDialog<CellTypeData, 9424> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kFirstKindRadio = 1000;  // 1000 to 1004 in the order of Kind
    static constexpr int kDecimalsEdit = 1005;
    static constexpr int kItemsEdit = 1006;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void enableFields();
};

struct SheetOptionsData {
    std::vector<std::string> faces;  // offered; any other name may be typed
    std::string defaultFont;
    int defaultTextHeight = 13;      // 1 to 400
    std::string headerFile;
    std::string footerFile;
    int margins[4] = {9, 5, 5, 5};   // left, right, top, bottom: 0 to 1000
    // smart print, colours, column headers, row headers, grid lines, border
    bool switches[6] = {true, true, true, true, true, true};
};

class ZnDlgSheetOptions : public ZnEditorDialog<SheetOptionsData, 9425> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kFontCombo = 1000;
    static constexpr int kHeightEdit = 1001;
    static constexpr int kHeaderEdit = 1002;
    static constexpr int kFooterEdit = 1003;
    static constexpr int kFirstMarginEdit = 1004;  // 1004 to 1007
    static constexpr int kFirstSwitchCheck = 1008; // 1008 to 1013

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

struct EditorLanguageData {
    int language = 1;  // MacroLangs position: 0 Dutch, 1 English, 2 French
};

class ZnDlgEditorLanguage : public ZnEditorDialog<EditorLanguageData, 9426> {
public:
    using ZnEditorDialog::ZnEditorDialog;
    static constexpr int kEnglishRadio = 1000;
    static constexpr int kDutchRadio = 1001;
    static constexpr int kFrenchRadio = 1002;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
