// Kx_Spread: the one object through which the dialogs show a table. It hosts one grid window
// (class "fpSpread70") and turns the grid's cell calls into table operations: whole columns and
// rows as arrays, typed columns, header texts, row and column insertion with a name prompt, the
// right-click menu, find and replace, Tab hand-over and column fitting after a resize.
//
// The wrapper never owns table data: the grid holds every cell; callers copy their own model in and
// out. Columns and rows count from 1; HEADER (or 0) addresses the header row / header column. Every
// operation fails (false, -1, or nothing done) while the wrapper is not attached, and nothing throws.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "frame/KxSsExport.h"
#include "platform/grid/GridTypes.h"
#include "platform/win/CWnd.h"
#include "platform/win/WinTypes.h"
#include "sheetedit/FindReplaceTarget.h"

#include <memory>
#include <vector>

class CBitmap;
class PopupMenuBuilder;
class ZnDlgFindReplace;

class KXSS_API Kx_Spread : public CWnd, public FindReplaceTarget {
public:
    // The grid's own index of the header row / column.
    static constexpr int HEADER = SS_HEADER;

    // Kinds of cell text (getCellText, getColumn, getRow).
    static constexpr int kTextData = 0;    // as displayed; a formula cell's result
    static constexpr int kTextFormula = 1; // the formula in the current reference style
    static constexpr int kTextTag = 2;     // the hidden tag string
    static constexpr int kTextValue = 3;   // the unformatted value form

    // Cell type codes the wrapper relies on.
    static constexpr int kTypeCheckBox = 12;
    static constexpr int kTypeSkippedBySizing = 8;

    // Kinds of right-click menu entries (setContextMenu).
    enum MenuKind : int {
        kMenuSeparator = 1,
        kMenuCopy = 2,
        kMenuPaste = 3,
        kMenuInsertRow = 4,
        kMenuDeleteRow = 5,
        kMenuInsertColumn = 6,
        kMenuDeleteColumn = 7,
        kMenuCheckAll = 8,
        kMenuUncheckAll = 9,
    };

    // Results of handleTabKey.
    enum TabResult : int { kTabInside = 0, kTabNotHandled = 1, kTabLeaveForward = 2, kTabLeaveBackward = 3 };

    Kx_Spread();
    // Destroys the find dialog's window first, then the owned pictures, menu builder and the grid.
    ~Kx_Spread() override;

    // --- Creation and look -------------------------------------------------------------------------
    // Replaces the owner's placeholder control `controlId` with the grid (same id, same rectangle,
    // moved 5 px left and 20 px up unless exactRect). False when the owner or the control is missing
    // or the window cannot be made; also false when already attached.
    bool attach(CWnd* owner, int controlId, bool exactRect = false);
    bool attach(HWND owner, int controlId, bool exactRect = false);
    bool isAttached() const { return m_attached; }
    HWND ownerWindow() const { return m_owner; }
    int controlId() const { return m_controlId; }

    // The system's standard grid look; enterMode 1 (dialogs) or 0, other values leave the enter keys.
    bool setStandardLook(int enterMode = 1);
    void show();
    void hide();
    bool isVisible() const;
    // Prepares the grid with the appearance and print settings file `settingsName`, takes its default
    // font and height and re-applies the fonts. False when not attached.
    bool loadLook(const Kx_String& settingsName);
    // Replaces the variable names and values of the settings kept in the sheet; returns whether the
    // record was written back.
    bool setPrintVariables(const Kx_StringArray& names, const Kx_StringArray& values);
    // Saves the sheet to `path`, then rewrites the settings record with header and footer files
    // resolved against the file's folder. False (and the record untouched) when the save failed.
    bool saveToFile(const Kx_String& path);
    // Column fitting applied at each resize (modes 0-5; see fitToWindow).
    void setFitMode(int mode, int param1 = 0, int param2 = 0);
    void setFitColumns(int mode, const Kx_Array<int>& columns, const Kx_Array<int>& widths);
    // Applies the fit mode now (what a resize does). Nothing for mode 0 or when not attached.
    void fitToWindow();
    // The kinds of the right-click menu's entries (MenuKind), in menu order; empty: no menu.
    void setContextMenu(const Kx_Array<int>& kinds);
    const Kx_Array<int>& menuEntries() const { return m_menuEntries; }
    // Whether F8 flips the grid's option 13 (on by default).
    void setF8Toggles(bool toggles) { m_f8Toggles = toggles; }
    bool f8Toggles() const { return m_f8Toggles; }
    const Kx_String& fontFace() const { return m_fontFace; }
    int textHeight() const { return m_textHeight; }
    void setFontFace(const Kx_String& face) { m_fontFace = face; }
    void setTextHeight(int height) { m_textHeight = height; }
    int fitMode() const { return m_fitMode; }

    // --- Dimensions and fonts ----------------------------------------------------------------------
    int getRowCount() const; // -1 when not attached
    int getColCount() const;
    // Growing copies the previous last row into every new row (whatever copyLast says; nothing when
    // there were no rows), then sets the fonts of the new rows. Shrinking only cuts.
    bool setRowCount(int count, bool copyLast = false);
    // Growing copies the previous last column into the new ones only when copyLast.
    bool setColCount(int count, bool copyLast = false);
    bool setRangeFont(int col1, int row1, int col2, int row2, const Kx_String& face, int height, bool bold);
    void applyFonts();
    void applyHeaderFonts();
    void applyRowFont(int row, bool headerToo = false);
    void applyColFont(int col, bool headerToo = false);
    bool autoSizeColumn(int col, bool skipType8 = false);
    bool autoSizeRow(int row);
    bool autoSizeColumns(bool skipType8 = false);
    bool autoSizeRows();
    bool autoSizeAll();

    // --- Cell types --------------------------------------------------------------------------------
    bool setEditType(int col1, int row1, int col2, int row2, long style, int maxLength);
    bool setEditRange(int col1, int row1, int col2, int row2);
    bool setColumnEdit(int col);
    bool setNumberType(int col1, int row1, int col2, int row2, int decimals, bool flag);
    bool setColumnNumber(int col, int decimals, bool flag);
    bool setColumnCombo(int col, const Kx_StringArray& items, bool editable);
    bool setColumnCheckBox(int col, bool border = false, bool joinHeader = false);
    bool setCheckBoxCell(int col, int row, bool border = false);
    bool setButtonCell(int col, int row, const Kx_String& caption);
    // --- Single cells of a form-like grid (the macro pages' rows) ---
    // Joins cols x rows cells from (col, row) into one, or splits the join that holds (col, row).
    bool joinCells(int col, int row, int cols, int rows);
    bool splitCells(int col, int row);
    // A drop-down cell with its own items (style: the grid's combo style bits) showing `text`.
    bool setComboCell(int col, int row, const Kx_StringArray& items, long style, const Kx_String& text);
    // A check-box cell drawn with the given pictures (null: the grid's own), checked by "1".
    bool setCheckCell(int col, int row, HBITMAP checked, HBITMAP unchecked, bool check);
    // An edit cell of at most maxLength characters, the case kept as typed.
    bool setTextCell(int col, int row, long style, int maxLength, const Kx_String& text);
    bool setCellData(int col, int row, const Kx_String& text);
    bool setActiveCell(int col, int row);
    // Ends the in-cell editor, keeping what was typed.
    void leaveEditMode();
    // False when the image file cannot be read; extraRows is set to 0 on success.
    bool setImageCell(const Kx_String& imageFile, int col, int row, int& extraRows);
    bool setResourcePicture(int col, int row, int resourceId, bool isIcon);
    int getCellType(int col, int row) const; // -1 when not attached or outside the sheet
    bool setLock(int col, int row, bool locked);
    bool lockColumn(int col);

    // --- Reading and writing -----------------------------------------------------------------------
    // Clears `text` first; false when the grid read nothing: an empty text, a cell outside the sheet
    // or an unknown kind.
    bool getCellText(int col, int row, Kx_String& text, int kind = kTextValue) const;
    bool getDouble(int col, int row, double& value) const;
    bool setDouble(int col, int row, double value);
    // "1" gives true, "0" false; any other text fails.
    bool getCheck(int col, int row, bool& checked) const;
    bool setCheck(int col, int row, bool checked);
    // Element i to row i+1, stopping at the last row; false when col exceeds the column count.
    bool setColumn(int col, const Kx_StringArray& values, bool asValue = false);
    bool setColumnInts(int col, const Kx_Array<int>& values);
    bool setColumnDoubles(int col, const Kx_Array<double>& values);
    bool setColumnBools(int col, const Kx_Array<bool>& values);
    bool getColumn(int col, Kx_StringArray& values, int kind = kTextValue) const;
    bool getColumnInts(int col, Kx_Array<int>& values) const;
    bool getColumnDoubles(int col, Kx_Array<double>& values) const;
    bool getColumnBools(int col, Kx_Array<bool>& values) const;
    bool setRow(int row, const Kx_StringArray& values, bool asValue = false);
    bool getRow(int row, Kx_StringArray& values, int kind = kTextValue) const;
    bool clearRow(int row);
    bool clearRows(int firstRow, int lastRow);
    bool getAllRows(Kx_Array<Kx_StringArray>& rows) const;
    bool setColumnComboIndices(int col, const Kx_Array<int>& indices);
    bool getColumnComboIndices(int col, Kx_Array<int>& indices) const;
    bool setRowHeaders(const Kx_StringArray& names);
    bool getRowHeaders(Kx_StringArray& names) const;
    bool setColumnHeaders(const Kx_StringArray& names);
    bool getColumnHeaders(Kx_StringArray& names) const;
    // Label i as data into column 2i+2; check i (while one exists) into column 2i+1.
    bool setCheckLabelPairs(int row, const Kx_StringArray& labels, const Kx_Array<bool>& checks);

    // --- Selection, active cell and navigation -----------------------------------------------------
    // The active cell; (1, 1) is made active when there is none.
    void getActiveCell(int& col, int& row) override;
    // The selected block; the active cell when nothing is selected.
    bool getSelection(int& col1, int& row1, int& col2, int& row2);
    int getSelectedColumn();
    int getSelectedRow();
    bool setSelection(int col1, int row1, int col2, int row2);
    bool selectRow(int row);
    // The selected characters while a cell is being edited; false otherwise.
    bool getEditSelection(int& start, int& end) override;
    bool firstEditableCell(int& col, int& row) const;
    bool lastEditableCell(int& col, int& row) const;
    bool isFirstEditableCell(int col, int row) const;
    bool isLastEditableCell(int col, int row) const;
    bool focusEdge(bool first);
    // For owner dialogs that manage focus: see TabResult. False (result 1) unless the key is Tab and
    // the visible grid has the focus.
    bool handleTabKey(UINT key, int& result);

    // --- Find and replace ----------------------------------------------------------------------
    void setSearchInFormulas(bool on) override { m_searchInFormulas = on; }
    bool searchesInFormulas() const override { return m_searchInFormulas; }
    // The text find and replace sees in a cell: its value text, or for a formula cell "=" and its
    // formula while searching in formulas (and the grid lets users type formulas); false for an
    // empty cell and for a formula cell left alone.
    bool searchableText(int col, int row, Kx_String& text) const;
    bool findInRow(const Kx_String& text, int row, int firstCol, int& col) const;
    bool findNext(const Kx_String& text, int startCol, int startRow, int& col, int& row) override;
    bool findInCell(const Kx_String& text, int col, int row, int& start, int& length, int from = 0) override;
    bool findAndSelect(const Kx_String& text, int col, int row, int from = 0) override;
    bool replaceSelection(const Kx_String& newText) override;
    bool replaceInCell(int col, int row, const Kx_String& oldText, const Kx_String& newText) override;
    // Every occurrence of oldText in every cell replaced, in row order from (1, 1); the search goes on
    // after each changed cell, so a replacement that holds the searched text never loops. Returns the
    // number of cells changed (-1 when not attached).
    int replaceAll(const Kx_String& oldText, const Kx_String& newText);
    // Opens (creating on first use) the find and replace dialog of this grid. False when it cannot.
    bool openFindDialog();
    // The open find dialog (not owned by the caller), or null.
    ZnDlgFindReplace* findDialog() const { return m_findDialog.get(); }

    // --- Structure (each ends with the grid's option 30 set) -------------------------------------
    bool copyRow(int sourceRow, int targetRow);
    bool copyColumn(int sourceCol, int targetCol);
    // Modal prompt for a row (or column) header name; empty when cancelled.
    Kx_String askHeaderName(bool forRow);
    bool insertRow(int row, bool copyNext = false, bool askName = false);
    bool insertColumn(int col, bool copyNext = false, bool askName = false);
    bool insertRowBelowSelection(bool askName = false);
    bool deleteRow(int row);
    bool deleteColumn(int col);
    bool deleteSelectedRow();
    bool moveRow(int firstRow, int lastRow, int targetRow);
    bool moveSelectedRowUp();
    bool moveSelectedRowDown();
    bool setChecksInSelection(bool checked);
    // Locks the guarded column's cell of each row whose check box is unchecked. Both columns must lie
    // in 1..column count.
    bool setCheckGuard(int checkCol, int guardedCol);
    // The guard applied to one row; false when there is no guard or the check box does not read.
    bool applyCheckGuard(int row);
    int checkColumn() const { return m_checkColumn; }
    int guardedColumn() const { return m_guardedColumn; }
    void setComboNotifyColumn(bool enable, int col);
    int comboNotifyColumn() const { return m_comboNotifyColumn; }

    // --- Window behaviour ----------------------------------------------------------------------
    // F3 find next, F5 replace, F8 flips option 13 (key-down only).
    BOOL PreTranslateMessage(const MSG& msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnRButtonUp(UINT flags, POINT point) override;
    // The right-click menu's picks, and the grid's change and click notifications (codes 59 and 60,
    // lParam the grid) for the check guard when an owner passes them on.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The same notifications on their way to the owner: the check guard follows them here.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    bool ensureCheckPictures();
    bool applyCheckBoxType(int col1, int row1, int col2, int row2);
    void applyNewRowFonts(int oldCount, int newCount);
    void applyNewColFonts(int oldCount, int newCount);
    bool isEditableCell(int col, int row) const;
    void showContextMenu(POINT screenPoint);
    void runMenuKind(int kind);
    void onFindDialogClosed();
    bool writeCell(int col, int row, const Kx_String& text, bool asValue);
    // A text find and replace changed (see searchableText) written back into its cell.
    bool writeSearchedText(int col, int row, const Kx_String& text);
    void markChanged();
    void followCheckGuard();

    bool m_attached = false;
    HWND m_owner = nullptr;
    int m_controlId = 0;
    Kx_String m_fontFace = "Tahoma";
    int m_textHeight = 15;
    int m_fitMode = 0;
    // The find dialog's close callback holds a weak reference to this, so a dialog outliving the
    // wrapper (deleted when idle) never calls back into a destroyed object.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
    std::unique_ptr<CBitmap> m_checkPicture1;
    std::unique_ptr<CBitmap> m_checkPicture2;
    std::unique_ptr<PopupMenuBuilder> m_menuBuilder;
    Kx_Array<int> m_menuEntries;
    std::unique_ptr<ZnDlgFindReplace> m_findDialog;
    bool m_f8Toggles = true;
    int m_fitParam1 = 0;
    int m_fitParam2 = 0;
    Kx_Array<int> m_fitColumns;
    Kx_Array<int> m_fitWidths;
    int m_comboNotifyColumn = -1;
    int m_checkColumn = -1;
    int m_guardedColumn = -1;
    bool m_searchInFormulas = false;
    // Pictures shown by setResourcePicture cells: the grid does not own them.
    std::vector<HBITMAP> m_resourceBitmaps;
    std::vector<HICON> m_resourceIcons;
};
