// ReadSSFile and EvaluateSS: the Formulas dialog run under the launcher convention.
#include "spread/SpreadLaunchers.h"

#include "frame/Launcher.h"
#include "platform/grid/Spread.h"
#include "spread/ZnDlgFormulas.h"

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
