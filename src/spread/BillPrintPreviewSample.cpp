// The print preview on a sample bill with pictures, for the program's snapshot and workbench.
#include "spread/BillDemo.h"

#include "frame/Launcher.h"
#include "platform/grid/Spread.h"
#include "platform/win/Window.h"
#include "spread/SheetEditorPrint.h"

#include <filesystem>

bool kxss::runPrintPreviewSample() noexcept
{
    return runLauncher("runPrintPreviewSample", false, [&] {
        std::error_code ec;
        const std::string file = (std::filesystem::temp_directory_path(ec) / "kestra-ss print preview.sss").string();
        // Sixty lines, each made-up one with a picture: a few pages with pictures on each.
        if (runBillDemo(file.c_str(), 60, /*pictures=*/true) != 0)
            return false;
        HWND grid = kxgrid::createStandaloneGrid();
        if (grid == nullptr)
            return false;
        const bool loaded = SSLoadFromFile(grid, file.c_str()) == TRUE;
        if (loaded)
            runEditorPrintPreview(nullptr, grid, Kx_String(file));
        DestroyWindow(grid);
        return loaded;
    });
}
