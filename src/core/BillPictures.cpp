// Pictures of bill lines and the progress window shown while they are drawn.
#include "core/BillPictures.h"

#include "core/CoreResourceScope.h"
#include "core/Kx_Bill.h"
#include "platform/host/HostWindow.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Dialog.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

constexpr int kDefaultHeight = 48;
constexpr int kMinHeight = 16;
constexpr int kMaxHeight = 400;
constexpr COLORREF kFillColour = 0xE0C8A0;   // light steel blue (0xBBGGRR)
constexpr COLORREF kEdgeColour = 0x000000;
constexpr COLORREF kFrameColour = 0x808080;
constexpr COLORREF kBackground = 0xFFFFFF;

class PicturesDialog : public CDialog {
public:
    PicturesDialog() : CDialog(kxcore::kPicturesDialogId) {}
    int count = 0;
    int frame = 0;

    void showProgress(const Kx_String& last)
    {
        SetDlgItemText(kxcore::kPicturesCountId, "Pictures drawn: " + std::to_string(count));
        SetDlgItemText(kxcore::kPicturesLastId, "Last: position " + last.str());
    }

protected:
    // The window is closed by closeBMPDialog only: Escape must not end it while pictures are drawn.
    void OnCancel() override {}
    void OnOK() override {}
};

std::unique_ptr<PicturesDialog>& progressWindow()
{
    static std::unique_ptr<PicturesDialog> window;
    return window;
}

// Picture coordinates of a drawing point.
struct Mapping {
    double minX = 0, maxY = 0, scale = 1;
    int offsetX = 0, offsetY = 0;
    double x(double px) const { return offsetX + (px - minX) * scale; }
    double y(double py) const { return offsetY + (maxY - py) * scale; }
};

void fillPolygon(kxwin::BitmapPixels& pixels, const std::vector<std::pair<double, double>>& polygon, COLORREF colour)
{
    if (polygon.size() < 3)
        return;
    double top = std::numeric_limits<double>::infinity(), bottom = -top;
    for (const auto& p : polygon) {
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    const int y0 = std::max(0, static_cast<int>(std::floor(top)));
    const int y1 = std::min(pixels.height - 1, static_cast<int>(std::ceil(bottom)));
    std::vector<double> crossings;
    for (int y = y0; y <= y1; ++y) {
        const double sy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < polygon.size(); ++i) {
            const auto& a = polygon[i];
            const auto& b = polygon[(i + 1) % polygon.size()];
            if ((a.second <= sy && b.second > sy) || (b.second <= sy && a.second > sy))
                crossings.push_back(a.first + (sy - a.second) * (b.first - a.first) / (b.second - a.second));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const int xa = std::max(0, static_cast<int>(std::ceil(crossings[i] - 0.5)));
            const int xb = std::min(pixels.width - 1, static_cast<int>(std::floor(crossings[i + 1] - 0.5)));
            for (int x = xa; x <= xb; ++x)
                pixels.setPixel(x, y, colour);
        }
    }
}

void drawLine(kxwin::BitmapPixels& pixels, double xa, double ya, double xb, double yb, COLORREF colour)
{
    const double steps = std::max({std::abs(xb - xa), std::abs(yb - ya), 1.0});
    const int n = static_cast<int>(std::min(steps, 100000.0));
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        const int x = static_cast<int>(std::lround(xa + (xb - xa) * t));
        const int y = static_cast<int>(std::lround(ya + (yb - ya) * t));
        if (pixels.contains(x, y))
            pixels.setPixel(x, y, colour);
    }
}

// A file name in the temporary folder that no file has yet.
std::string temporaryPictureName()
{
    static unsigned counter = 0;
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::filesystem::path name =
            (ec ? std::filesystem::path("/tmp") : folder) /
            ("kxbill-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".bmp");
        if (!std::filesystem::exists(name, ec))
            return name.string();
    }
    return {};
}

// Writes a new temporary file. Not through the save routine: the file is read back at once and
// deleted, so a crash cannot lose anything in it, and syncing it to the disk made a bill of 500
// pictures take seconds of waiting instead of a fraction of one. "x": never over another file.
bool writeTemporary(const std::string& name, const std::vector<BYTE>& bytes)
{
    std::FILE* f = std::fopen(name.c_str(), "wbx");
    if (f == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    if (written && closed)
        return true;
    std::remove(name.c_str());
    return false;
}

} // namespace

void initBMPDialog(int frame)
{
    auto& window = progressWindow();
    if (!window || window->GetSafeHwnd() == nullptr) {
        window = std::make_unique<PicturesDialog>();
        kxcore::detail::CoreResourceScope resources;
        if (!window->Create(kxcore::kPicturesDialogId, adsw_acadMainWnd())) {
            window.reset();
            return;
        }
        window->ShowWindow(SW_SHOW);
    }
    window->count = 0;
    window->frame = std::clamp(frame, 0, 200);
    window->SetDlgItemText(kxcore::kPicturesCountId, "");
    window->SetDlgItemText(kxcore::kPicturesLastId, "");
}

void closeBMPDialog()
{
    auto& window = progressWindow();
    if (window && window->GetSafeHwnd() != nullptr)
        window->DestroyWindow();
    window.reset();
}

bool isBMPDialogOpen()
{
    const auto& window = progressWindow();
    return window && window->GetSafeHwnd() != nullptr;
}

kxwin::BitmapPixels kxcore::drawOutline(const std::vector<std::vector<std::pair<double, double>>>& given,
                                        int height, int margin, int width, bool filled, bool framed)
{
    // A part stands in the picture along its longest side: a column drawn upright in a picture
    // row would be a few pixels wide. A taller outline is turned a quarter clockwise.
    std::vector<std::vector<std::pair<double, double>>> polygons = given;
    {
        double lowX = std::numeric_limits<double>::infinity(), lowY = lowX, highX = -lowX, highY = -lowX;
        for (const auto& polygon : polygons)
            for (const auto& [x, y] : polygon) {
                lowX = std::min(lowX, x);
                highX = std::max(highX, x);
                lowY = std::min(lowY, y);
                highY = std::max(highY, y);
            }
        if (highY - lowY > highX - lowX)
            for (auto& polygon : polygons)
                for (auto& point : polygon)
                    point = {point.second, -point.first};
    }
    double minX = std::numeric_limits<double>::infinity(), minY = minX, maxX = -minX, maxY = -minX;
    for (const auto& polygon : polygons)
        for (const auto& [x, y] : polygon) {
            if (!std::isfinite(x) || !std::isfinite(y))
                return {};
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    if (!(maxX >= minX) || !(maxY >= minY))
        return {};
    const double spanX = std::max(maxX - minX, 1e-9), spanY = std::max(maxY - minY, 1e-9);
    const int inner = height - 2 * margin;
    const int widest = width > 0 ? width : 8 * height;
    const double scale = std::min(inner / spanY, (widest - 2 * margin) / spanX);
    const int pictureWidth = width > 0 ? width : std::max(kMinHeight, static_cast<int>(std::ceil(spanX * scale)) + 2 * margin);
    kxwin::BitmapPixels pixels(pictureWidth, height, kBackground);
    Mapping map;
    map.minX = minX;
    map.maxY = maxY;
    map.scale = scale;
    // Centred in the picture.
    map.offsetX = static_cast<int>((pictureWidth - spanX * scale) / 2);
    map.offsetY = static_cast<int>((height - spanY * scale) / 2);
    for (const auto& polygon : polygons) {
        std::vector<std::pair<double, double>> points;
        points.reserve(polygon.size());
        for (const auto& [x, y] : polygon)
            points.emplace_back(map.x(x), map.y(y));
        if (filled)
            fillPolygon(pixels, points, kFillColour);
        for (size_t i = 0; i < points.size() && points.size() >= 2; ++i) {
            const auto& a = points[i];
            const auto& b = points[(i + 1) % points.size()];
            drawLine(pixels, a.first, a.second, b.first, b.second, kEdgeColour);
        }
    }
    if (framed) {
        for (int x = 0; x < pictureWidth; ++x) {
            pixels.setPixel(x, 0, kFrameColour);
            pixels.setPixel(x, height - 1, kFrameColour);
        }
        for (int y = 0; y < height; ++y) {
            pixels.setPixel(0, y, kFrameColour);
            pixels.setPixel(pictureWidth - 1, y, kFrameColour);
        }
    }
    return pixels;
}

bool createImage(const Kx_StringArray& texts, Kx_String& fileName, int& height, int& margin, int& width, bool& filled,
                 bool& framed, const Kx_Bill* bill, AcTransaction* transaction)
{
    fileName.clear();
    if (height < kMinHeight)
        height = kDefaultHeight;
    height = std::min(height, kMaxHeight);
    margin = std::clamp(margin, 0, height / 4);
    width = width <= 0 ? 0 : std::clamp(width, kMinHeight, 8 * kMaxHeight);
    if (bill == nullptr || transaction == nullptr || texts.isEmpty())
        return false;
    const Kx_BillLine* line = bill->lineAt(texts[0]);
    if (line == nullptr || line->ids.isEmpty())
        return false;
    const kxhost::DrawingObject* part = nullptr;
    if (transaction->getObject(part, line->ids[0], AcDb::kForRead) != Acad::eOk || part == nullptr)
        return false;
    std::vector<std::vector<std::pair<double, double>>> polygons;
    for (const kxhost::DrawingOutline& outline : part->outline) {
        auto& polygon = polygons.emplace_back();
        for (const kxhost::DrawingPoint& p : outline)
            polygon.emplace_back(p.x, p.y);
    }
    const kxwin::BitmapPixels pixels = kxcore::drawOutline(polygons, height, margin, width, filled, framed);
    if (pixels.empty())
        return false;
    const std::string name = temporaryPictureName();
    const std::vector<BYTE> bytes = kxwin::encodeBmp(pixels);
    if (name.empty() || bytes.empty() || !writeTemporary(name, bytes))
        return false;
    fileName = Kx_String(name);
    auto& window = progressWindow();
    if (window && window->GetSafeHwnd() != nullptr) {
        ++window->count;
        window->showProgress(texts[0]);
    }
    return true;
}
