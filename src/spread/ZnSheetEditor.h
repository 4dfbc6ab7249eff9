// ZnSheetEditor: the spreadsheet editor, a main window with the editor's menu bar (menu 139) and
// toolbar (toolbar 128) over one Kx_Spread grid, for the bills of material and profile tables users
// keep as sheet files. It runs until the user closes it; StartSheetEditor (SheetEditorLauncher.h)
// opens it. The small dialogs of its Cell and Tools menus are in ZnSheetEditorDialogs.h.
#pragma once

#include "core/Kx_String.h"
#include "platform/win/Dialog.h"

#include <memory>

class Kx_Spread;
namespace kxss {
class SheetUndoHistory;
}

class ZnSheetEditor : public CDialog {
public:
    static constexpr int kTemplateId = 9420;
    static constexpr int kMainMenu = 139;
    static constexpr int kCellMenu = 138;
    static constexpr int kToolbar = 128;  // the toolbar resource and its picture strip
    static constexpr int kGridId = 1000;
    static constexpr int kToolbarWindowId = 0xE800;

    // The commands of the menu bar, the toolbar and the cell menu.
    enum Command : UINT {
        kNew = 32811,
        kOpen = 32812,
        kSave = 32816,
        kSaveAs = 32817,
        kExport = 32818,
        kPrintSetup = 32830,
        kPrint = 32831,
        kPrintPreview = 32832,
        kCut = 32842,
        kCopy = 32843,
        kPaste = 32844,
        kNote = 32806,
        kBorders = 32813,
        kFont = 32815,
        kCellType = 32807,
        kOptions = 32845,
        kLanguage = 32846,
        kUndo = 32850,
        kRedo = 32851,
        kInsertRow = 32852,
        kDeleteRow = 32853,
        kInsertColumn = 32854,
        kDeleteColumn = 32855,
    };

    // `file`: the sheet to open; empty for a new sheet.
    explicit ZnSheetEditor(const Kx_String& file, HWND parent = nullptr);
    ~ZnSheetEditor() override;

    // The grid while the window is open; null before and after.
    HWND grid() const;
    Kx_Spread* spread() const;
    HWND toolbar() const { return m_toolbar; }
    // The sheet's file; empty for a sheet never saved.
    const Kx_String& fileName() const { return m_fileName; }
    // Whether the sheet has changes since it was made, opened or saved (the grid's option 30).
    bool isChanged() const;
    // False when the file given at construction could not be opened (the window then closed at once,
    // after saying why).
    bool openedFile() const { return m_openedFile; }
    // "<file name> - <editor name>", with "*" after the file name while the sheet has changes.
    Kx_String titleText() const;
    // Whether Undo (Redo) has a step to go to.
    bool canUndo() const;
    bool canRedo() const;

    // Ctrl+Z and Ctrl+Y anywhere in the editor; an arrow or Tab that would leave the sheet at its
    // last row or column grows the sheet by one first, as a spreadsheet has no end there.
    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter and Escape belong to the grid: the editor closes by its close box only.
    void OnOK() override {}
    void OnCancel() override {}
    void OnDestroy() override;

private:
    class Grid;

    bool runCommand(UINT command);
    void layout();
    void updateTitle();
    void updateCommandStates();
    void showCellMenu(POINT screenPoint);
    bool confirmDiscard();
    bool loadFile(const Kx_String& path);
    // A tab-separated text table (the library's section tables): the first line becomes the column
    // titles, every further line a row. The text file is never written: saving asks for a sheet name.
    bool importTextTable(const Kx_String& path);
    void newSheet();
    // Empties the grid to a new grid's state and prepares it for editing.
    void resetSheet();
    void openSheet();
    bool save();
    bool saveAs();
    bool saveTo(const Kx_String& path);
    void exportCsv();
    void cut();
    void paste();
    void editNote();
    void editFont();
    void editBorders();
    void editCellType();
    void editOptions();
    void changeLanguage();
    void message(const Kx_String& text, UINT type) const;
    // Rows and columns: at the active cell (inserting) or of the selection (deleting); references
    // follow the cells they name.
    void insertRow();
    void deleteRows();
    void insertColumn();
    void deleteColumns();
    // One more row (column) at the end, formatted as the last one and empty.
    bool growRows();
    bool growColumns();
    void growBeforeMove(WPARAM key);
    // The history's steps: after every change (recordChange), and the changed mark set from where
    // Undo and Redo arrive.
    void recordChange();
    void startHistory();
    void undo();
    void redo();

    Kx_String m_fileName;
    // The text table the sheet was read from, while it has no sheet file of its own.
    Kx_String m_importedFrom;
    std::unique_ptr<Grid> m_spread;
    std::unique_ptr<kxss::SheetUndoHistory> m_history;
    HWND m_toolbar = nullptr;
    bool m_openedFile = true;
};
