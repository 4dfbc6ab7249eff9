// Pictures of bill lines: the outline of a line's part drawn into a temporary .bmp file for an
// output to show, and the progress window that is open while a bill's pictures are drawn. The
// bill itself is Kx_Bill.h's.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/win/ImageCodec.h"

class Kx_Bill;
class AcTransaction;

namespace kxcore {
// The progress window's template and controls.
inline constexpr int kPicturesDialogId = 8071;
inline constexpr int kPicturesCountId = 1001;
inline constexpr int kPicturesLastId = 1002;
} // namespace kxcore

// Opens the progress window (modeless, over the host's main window) and resets its count. `frame`
// is the blank border in pixels around the picture shown in it. A second call while it is open
// only resets the count. Nothing happens when the window cannot be made; pictures are drawn anyway.
KXCORE_API void initBMPDialog(int frame);
// Closes the progress window; nothing when it is not open.
KXCORE_API void closeBMPDialog();
KXCORE_API bool isBMPDialogOpen();

// Draws the part of the line whose position is texts[0] into a new temporary .bmp file and gives
// its name; the caller deletes the file (deleteFile). The settings:
//   height   picture height in pixels; below 16 (the usual -1) means 48; at most 400
//   margin   blank pixels between the outline and the picture's edge (0 to height / 4)
//   width    picture width in pixels; 0 or less: as the outline's proportions need, at most 8 heights
//   filled   the outline is filled (else only its edges are drawn)
//   framed   a frame is drawn round the picture
// Out-of-range settings are brought into range and written back. False (fileName empty) when
// bill or transaction is missing, no line has that position, its part cannot be opened or has no
// outline, or the file cannot be written.
KXCORE_API bool createImage(const Kx_StringArray& texts, Kx_String& fileName, int& height, int& margin, int& width,
                            bool& filled, bool& framed, const Kx_Bill* bill, AcTransaction* transaction);

namespace kxcore {

// The drawing createImage saves: the outlines (polygons of points in millimetres, y upwards)
// scaled into a picture with the settings above (already in range), laid along their longest
// side (a taller outline is turned a quarter). Empty when there is nothing to draw.
KXCORE_API kxwin::BitmapPixels drawOutline(const std::vector<std::vector<std::pair<double, double>>>& polygons,
                                           int height, int margin, int width, bool filled, bool framed);

} // namespace kxcore
