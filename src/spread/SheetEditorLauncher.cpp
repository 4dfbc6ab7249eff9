// The exported launcher of the spreadsheet editor.
#include "spread/SheetEditorLauncher.h"

#include "frame/Launcher.h"
#include "spread/ZnSheetEditor.h"

bool StartSheetEditor(const Kx_String& file)
{
    return kxss::runLauncher("StartSheetEditor", false, [&] {
        ZnSheetEditor editor(file);
        // A file that cannot be opened closes the editor at once, after it said why.
        return kxss::runModal("StartSheetEditor", editor) != -1 && editor.openedFile();
    });
}
