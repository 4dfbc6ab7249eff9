// ZnDlgFormulas: the Formulas dialog (template 133). One grid, three jobs: read a spreadsheet file
// for ReadSSFile (mode 4), answer one FROMTABLE call (mode 2), and evaluate a sheet with the user
// trying reference styles, recalculation, save and load (mode 1, the test bench of EvaluateSS).
// Modes 4 and 2 close themselves before they are shown.
#pragma once

#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/grid/Spread.h"
#include "platform/host/HostWindow.h"

class ZnDlgFormulas : public KxHostDialog {
public:
    static constexpr int kTemplateId = 133;
    enum Mode : int { kEvaluateCell = 1, kAnswerLookup = 2, kReadFile = 4 };

    ZnDlgFormulas(int mode, const Kx_String& fileName);

    // Mode 1: the cell recalculated and read when the dialog opens (default column 1, row 1).
    void setEvaluationCell(int col, int row)
    {
        m_col = col;
        m_row = row;
    }
    // Mode 2: the call to answer; the records are the grid's, not owned.
    void setLookup(SS_VALUE* result, const SS_VALUE* args, int count)
    {
        m_result = result;
        m_args = args;
        m_argCount = count;
    }
    // Mode 4: where the file's texts go (not owned; both emptied first).
    void setReadOutputs(Kx_StringArray* titles, Kx_Array<Kx_StringArray>* rows)
    {
        m_titles = titles;
        m_rows = rows;
    }

    const Kx_String& firstCellText() const { return m_firstCell; }
    const Kx_String& evaluatedText() const { return m_evaluated; }
    // Whether the named file was loaded when the dialog opened.
    bool loaded() const { return m_loaded; }
    // The dialog's grid while it is open; null before and after.
    HWND grid() const { return m_grid; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override { m_grid = nullptr; }

private:
    void attachGrid();
    void prepareEmptySheet();
    void readOutputs();
    void setReferenceStyle(short style);
    void saveToFile();
    void loadFromFile();

    HWND m_grid = nullptr;
    int m_mode;
    SS_VALUE* m_result = nullptr;
    const SS_VALUE* m_args = nullptr;
    int m_argCount = 0;
    HWND m_previousSheet = nullptr;
    Kx_String m_fileName;
    int m_col = 1;
    int m_row = 1;
    Kx_String m_evaluated;
    Kx_StringArray* m_titles = nullptr;
    Kx_Array<Kx_StringArray>* m_rows = nullptr;
    Kx_String m_firstCell;
    bool m_loaded = false;
};
