// The bill output shown with sample data, for the program: a bill of the sample frame (with made-up
// lines for large bills) fed into a bill output and saved, and the sample bill window the snapshot
// and the workbench show. Sibling modules make their own bills; they do not call these.
#pragma once

#include "core/Kx_Bill.h"
#include "frame/KxSsExport.h"

namespace kxhost {
class SimulatedDrawing;
}

namespace kxss {

// The bill of the sample frame's parts, extended to `lines` lines (when larger) with made-up
// positions of library sections. With `pictures` every made-up line shows a part of the frame.
// `drawing` must hold the sample frame and outlive the bill's use.
Kx_Bill makeDemoBill(kxhost::SimulatedDrawing& drawing, AcTransaction& transaction, int lines, bool pictures);

// Feeds the demo bill into a bill output saved as `fileName`; lines <= 0 means the sample frame's
// own lines. Returns the output's status (0 on success); what failed is on the command line. The
// window is closed again before it returns.
KXSS_API int runBillDemo(const char* fileName, int lines, bool pictures) noexcept;

// Opens the sample bill window (30 lines, the total as the one sub-total, two picture rows) and
// leaves it open until closeBillSample; the bill is saved to the temporary folder. False when the
// window cannot be made. A second call closes the first window.
KXSS_API bool openBillSample() noexcept;
KXSS_API void closeBillSample() noexcept;

// Prints a sample bill of 60 lines with pictures into the print preview and shows it until the
// user closes it. False when the bill or its grid cannot be made.
KXSS_API bool runPrintPreviewSample() noexcept;

} // namespace kxss
