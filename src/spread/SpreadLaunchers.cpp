// The exported launchers of the spreadsheet services: ReadSSFile and EvaluateSS (the Formulas
// dialog), the axis grid, lookup and string-array dialogs, all under the launcher convention.
#include "spread/SpreadLaunchers.h"

#include "frame/Launcher.h"
#include "platform/grid/Spread.h"
#include "spread/ZnDlgFormulas.h"
#include "spread/ZnDlgGrid.h"
#include "spread/ZnDlgLookUp.h"
#include "spread/ZnDlgStringArray.h"

bool ReadSSFile(const Kx_String& fileName, Kx_String& firstCell, Kx_StringArray& titles,
                Kx_Array<Kx_StringArray>& rows)
{
    titles.setLogicalLength(0);
    rows.setLogicalLength(0);
    return kxss::runLauncher("ReadSSFile", false, [&] {
        ZnDlgFormulas dialog(ZnDlgFormulas::kReadFile, fileName);
        dialog.setReadOutputs(&titles, &rows);
        if (kxss::runModal("ReadSSFile", dialog) != IDOK)
            return false;
        firstCell = dialog.firstCellText();
        return dialog.loaded();
    });
}

void EvaluateSS()
{
    kxss::runLauncher("EvaluateSS", 0, [&] {
        ZnDlgFormulas dialog(ZnDlgFormulas::kEvaluateCell, "c:\\a\\t3.sss");
        dialog.setEvaluationCell(1, 1);
        kxss::runModal("EvaluateSS", dialog);
        return 0;
    });
}

bool StartDlgGrid(ZnGridDlgData& data)
{
    return kxss::launchModal<ZnDlgGrid>("StartDlgGrid", data);
}

bool StartDlgLookUp(ZnLookUpDlgData& data)
{
    return kxss::launchModal<ZnDlgLookUp>("StartDlgLookUp", data);
}

bool startGridDialog(const Kx_StringArray& colTitles, const Kx_StringArray& rowTitles,
                     Kx_Array<Kx_StringArray>& rows, bool allowRowEdit, Kx_String title, Kx_String sizeKey)
{
    if (colTitles.isEmpty())
        return false;
    return kxss::runLauncher("startGridDialog", false, [&] {
        ZnDlgStringArray dialog(colTitles, rowTitles, rows, allowRowEdit, title, sizeKey);
        if (kxss::runModal("startGridDialog", dialog) != IDOK)
            return false;
        rows = dialog.rows();
        return true;
    });
}
