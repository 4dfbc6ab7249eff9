// Writes the sample layouts of the library: three steel connections (an end plate, a base plate and a
// bolted splice), each a layout text file and a background picture drawn to scale from the
// connection's dimensions, plus the list files their combo boxes read. The output is committed under
// library/Dialog Templates/Dialog Design/; run this again when the samples change:
//
//   kx_make_sample_layouts <library folder>
//
// Pictures are drawn pixel by pixel here (lines, dashes, circles, a small digit font) so that they
// come out the same on every machine; white is the transparent colour of layout pictures.
#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "core/NumberLists.h"
#include "core/SaveFile.h"
#include "designer/Kx_DlgDesignerData.h"
#include "designer/LayoutFiles.h"
#include "platform/win/ImageCodec.h"
#include "platform/win/Messages.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSteel = RGB(40, 60, 110);      // outlines of parts
constexpr COLORREF kHidden = RGB(120, 120, 120);   // parts behind, dashed
constexpr COLORREF kFill = RGB(205, 215, 235);     // cut faces
constexpr COLORREF kDimension = RGB(170, 30, 30);  // dimension lines and their values
constexpr COLORREF kBolt = RGB(20, 20, 20);
constexpr COLORREF kConcrete = RGB(225, 225, 215);

// Glyphs of 3 x 5 pixels, rows from the top, bit 2 the left column.
struct Glyph {
    char c;
    unsigned char rows[5];
};
constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'x', {0, 5, 2, 5, 0}}, {'-', {0, 0, 7, 0, 0}},
    {'B', {6, 5, 6, 5, 6}}, {'E', {7, 4, 6, 4, 7}}, {'H', {5, 5, 7, 5, 5}}, {'I', {7, 2, 2, 2, 7}},
    {'M', {5, 7, 7, 5, 5}}, {'P', {6, 5, 6, 4, 4}}, {' ', {0, 0, 0, 0, 0}},
};

class Canvas {
public:
    Canvas(int width, int height) : m_pixels(width, height, kWhite) {}

    const kxwin::BitmapPixels& pixels() const { return m_pixels; }
    int width() const { return m_pixels.width; }
    int height() const { return m_pixels.height; }

    void dot(int x, int y, COLORREF c)
    {
        if (m_pixels.contains(x, y))
            m_pixels.setPixel(x, y, c);
    }
    // Bresenham; with dash > 0, runs of `dash` pixels on and off.
    void line(int x0, int y0, int x1, int y1, COLORREF c, int dash = 0)
    {
        const int dx = std::abs(x1 - x0);
        const int dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1;
        const int sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (int step = 0;; ++step) {
            if (dash == 0 || (step / dash) % 2 == 0)
                dot(x0, y0, c);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    void frame(int l, int t, int r, int b, COLORREF c, int dash = 0)
    {
        line(l, t, r, t, c, dash);
        line(r, t, r, b, c, dash);
        line(r, b, l, b, c, dash);
        line(l, b, l, t, c, dash);
    }
    void fill(int l, int t, int r, int b, COLORREF c)
    {
        for (int y = t; y <= b; ++y)
            for (int x = l; x <= r; ++x)
                dot(x, y, c);
    }
    void part(int l, int t, int r, int b)
    {
        fill(l, t, r, b, kFill);
        frame(l, t, r, b, kSteel);
    }
    void circle(int cx, int cy, int radius, COLORREF c)
    {
        for (int a = 0; a < 360; a += 2) {
            const double rad = a * 3.14159265358979 / 180.0;
            dot(cx + static_cast<int>(std::lround(radius * std::cos(rad))),
                cy + static_cast<int>(std::lround(radius * std::sin(rad))), c);
        }
    }
    // A bolt or anchor seen end-on: its hole and centre lines.
    void bolt(int cx, int cy, int radius)
    {
        circle(cx, cy, radius, kBolt);
        line(cx - radius - 3, cy, cx + radius + 3, cy, kHidden, 2);
        line(cx, cy - radius - 3, cx, cy + radius + 3, kHidden, 2);
    }
    void text(int x, int y, const std::string& s, COLORREF c)
    {
        for (char ch : s) {
            for (const Glyph& g : kGlyphs) {
                if (g.c != ch)
                    continue;
                for (int row = 0; row < 5; ++row)
                    for (int col = 0; col < 3; ++col)
                        if (g.rows[row] & (4 >> col))
                            dot(x + col, y + row, c);
            }
            x += 4;
        }
    }
    // A horizontal dimension from x0 to x1 at height y, its value written above the line.
    void hdim(int x0, int x1, int y, double value)
    {
        line(x0, y, x1, y, kDimension);
        line(x0, y - 4, x0, y + 4, kDimension);
        line(x1, y - 4, x1, y + 4, kDimension);
        const std::string label = valueText(value);
        text((x0 + x1) / 2 - static_cast<int>(label.size()) * 2, y - 7, label, kDimension);
    }
    // A vertical dimension from y0 to y1 at x, its value written beside the line.
    void vdim(int x, int y0, int y1, double value)
    {
        line(x, y0, x, y1, kDimension);
        line(x - 4, y0, x + 4, y0, kDimension);
        line(x - 4, y1, x + 4, y1, kDimension);
        text(x + 3, (y0 + y1) / 2 - 2, valueText(value), kDimension);
    }

private:
    static std::string valueText(double value)
    {
        return std::to_string(static_cast<long>(std::lround(value)));
    }

    kxwin::BitmapPixels m_pixels;
};

// A layout under construction: controls are placed in picture pixels and stored as factors,
// rounded to 4 decimals so that the files stay readable.
class Sample {
public:
    Sample(std::string name, int width, int height)
        : m_name(std::move(name)), m_canvas(width, height), m_layout(std::make_unique<Kx_DlgDesignerData>())
    {
    }

    Canvas& canvas() { return m_canvas; }

    void add(Kx_ControlType type, int left, int top, int width, int height, const char* contents,
             const char* comboList = "")
    {
        const double w = m_canvas.width();
        const double h = m_canvas.height();
        Kx_DesignerControl c;
        c.setType(type);
        c.setFactors(ObjectExportRoundTo(left / w, 0.0001), ObjectExportRoundTo(top / h, 0.0001),
                     ObjectExportRoundTo((left + width) / w, 0.0001), ObjectExportRoundTo((top + height) / h, 0.0001));
        c.setContents(contents);
        c.setSplitExtComboList(comboList);
        m_layout->append(c);
    }
    // A variable edit with its label to the left.
    void edit(int left, int top, const char* label, const char* variable, int width = 44)
    {
        add(Kx_ControlType::Label, left, top + 3, 7 * static_cast<int>(std::string(label).size()), 14, label);
        add(Kx_ControlType::VariableEdit, left + 7 * static_cast<int>(std::string(label).size()) + 2, top, width, 20,
            variable);
    }

    bool write(const std::string& root) const
    {
        const std::string base = root + "/" + m_name;
        std::filesystem::create_directories(std::filesystem::path(base).parent_path());
        std::string error;
        const std::vector<BYTE> bmp = kxwin::encodeBmp(m_canvas.pixels());
        const std::string bytes(bmp.begin(), bmp.end());
        if (!kx::saveFileAtomically(base + ".bmp", bytes, &error)
            || !kx::saveFileAtomically(base + ".txt", m_layout->toText(), &error)) {
            std::fprintf(stderr, "kx_make_sample_layouts: %s\n", error.c_str());
            return false;
        }
        std::printf("%s.txt: %d controls, picture %d x %d\n", base.c_str(), m_layout->getNrControls(),
                    m_canvas.width(), m_canvas.height());
        return true;
    }

private:
    std::string m_name;
    Canvas m_canvas;
    // Held by pointer: copying a layout gives an empty one, so a Sample must move.
    std::unique_ptr<Kx_DlgDesignerData> m_layout;
};

using T = Kx_ControlType;

// Where the combo lists of the samples live, relative to the library folder (comboList names are
// taken from there). Not ".txt", so that they are never listed as layouts.
constexpr const char* kWeldTypes = "Dialog Templates\\Dialog Design\\Lists\\weld types.lst";
constexpr const char* kGrades = "Dialog Templates\\Dialog Design\\Lists\\steel grades.lst";

// Flush beam-to-column end plate: an IPE 300 on a 200 x 420 x 20 plate, two bolt columns 100 apart,
// four rows 77 apart from an edge distance of 95, all between the flanges. Front view at 0.6 px/mm,
// side view to its right.
Sample endPlate()
{
    constexpr double s = 0.6;
    constexpr double plateWidth = 200, plateHeight = 420, plateThickness = 20;
    constexpr double beamDepth = 300, beamWidth = 150, flange = 10.7, web = 7.1;
    constexpr double gauge = 100, pitch = 77, edge = 95;
    constexpr int rows = 4;
    Sample sample("End plates/end plate", 440, 360);
    Canvas& c = sample.canvas();
    const auto px = [](double mm) { return static_cast<int>(std::lround(mm * s)); };

    const int left = 70, top = 40;
    const int right = left + px(plateWidth), bottom = top + px(plateHeight);
    c.part(left, top, right, bottom);
    // The beam behind the plate, centred.
    const int cx = (left + right) / 2;
    const int beamTop = top + px((plateHeight - beamDepth) / 2), beamBottom = beamTop + px(beamDepth);
    c.frame(cx - px(beamWidth / 2), beamTop, cx + px(beamWidth / 2), beamTop + px(flange), kHidden, 3);
    c.frame(cx - px(beamWidth / 2), beamBottom - px(flange), cx + px(beamWidth / 2), beamBottom, kHidden, 3);
    c.frame(cx - px(web / 2), beamTop + px(flange), cx + px(web / 2), beamBottom - px(flange), kHidden, 3);
    for (int row = 0; row < rows; ++row) {
        const int y = top + px(edge + row * pitch);
        c.bolt(cx - px(gauge / 2), y, px(11));
        c.bolt(cx + px(gauge / 2), y, px(11));
    }
    c.hdim(left, right, top - 14, plateWidth);
    c.vdim(left - 16, top, bottom, plateHeight);
    c.hdim(cx - px(gauge / 2), cx + px(gauge / 2), bottom + 14, gauge);
    c.vdim(right + 14, top + px(edge), top + px(edge + pitch), pitch);
    c.vdim(right + 14, top, top + px(edge), edge);
    // Side view: column flange, plate and beam.
    const int sideX = 250;
    c.part(sideX, top - 10, sideX + 12, bottom + 10);
    c.part(sideX + 13, top, sideX + 13 + px(plateThickness), bottom);
    const int beamStart = sideX + 14 + px(plateThickness);
    c.part(beamStart, beamTop, 430, beamTop + px(flange));
    c.part(beamStart, beamBottom - px(flange), 430, beamBottom);
    c.line(beamStart, (beamTop + beamBottom) / 2, 430, (beamTop + beamBottom) / 2, kHidden, 4);
    c.hdim(sideX + 13, sideX + 13 + px(plateThickness), bottom + 14, plateThickness);
    c.text(beamStart + 30, beamTop - 9, "IPE 300", kSteel);
    c.text(left + 4, bottom + 26, "M20", kBolt);

    sample.add(T::Frame, 4, 4, 432, 352, "End plate");
    sample.add(T::Label, 10, 18, 50, 14, "Plate");
    sample.edit(right - 40, 8, "b", "plateWidth");
    sample.edit(4, (top + bottom) / 2 + 10, "h", "plateHeight", 36);
    sample.edit(sideX - 6, bottom - 6, "t", "plateThickness", 36);
    sample.add(T::PatternValueEdit, cx + px(gauge / 2) + 6, bottom + 4, 46, 20, "boltPattern");
    sample.add(T::PatternCountEdit, right + 24, top + px(edge + pitch) - 26, 36, 20, "boltPattern");
    sample.add(T::PatternButton, right + 64, top + px(edge + pitch) - 26, 22, 20, "boltPattern");
    sample.add(T::BoltAssemblyList, 10, 330, 110, 20, "boltPattern");
    sample.add(T::BoltDiameterEdit, 124, 330, 40, 20, "boltPattern");
    sample.add(T::BoltAdvancedButton, 168, 330, 60, 20, "boltPattern");
    sample.add(T::ProfileList, 300, 40, 90, 20, "beam");
    sample.add(T::ProfileSelectButton, 394, 40, 22, 20, "beam");
    sample.add(T::VariableCombo, 300, 180, 120, 20, "fillet", kWeldTypes);
    sample.add(T::CheckBox, 300, 206, 120, 18, "Weld all around", "weldAllAround");
    sample.add(T::DimensionButton, right + 24, top + 4, 22, 20, "edgeTop", "plateHeight;edgeTop;0.5;edgeBottom;");
    sample.add(T::FlexButton, 300, 230, 30, 26, "plateWidth", "plateDims;;plateWidth;");
    sample.add(T::FlexButton, 334, 230, 30, 26, "plateHeight", "plateDims;;plateHeight;");
    sample.add(T::CutModeList, 300, 262, 120, 20, "0");
    return sample;
}

// Column base: an HEB 240 on a 400 x 400 x 30 base plate with four anchors 300 apart, and
// stiffeners on both flanges. Plan view at 0.55 px/mm.
Sample basePlate()
{
    constexpr double s = 0.55;
    constexpr double plate = 400, anchorSpacing = 300, column = 240, flange = 17, web = 10;
    Sample sample("Base plates/base plate", 460, 340);
    Canvas& c = sample.canvas();
    const auto px = [](double mm) { return static_cast<int>(std::lround(mm * s)); };

    const int left = 60, top = 50;
    const int size = px(plate);
    c.fill(left - 12, top - 12, left + size + 12, top + size + 12, kConcrete);
    c.part(left, top, left + size, top + size);
    const int cx = left + size / 2, cy = top + size / 2;
    // The column's H in plan.
    const int half = px(column / 2);
    c.part(cx - half, cy - half, cx + half, cy - half + px(flange));
    c.part(cx - half, cy + half - px(flange), cx + half, cy + half);
    c.part(cx - px(web / 2), cy - half + px(flange), cx + px(web / 2), cy + half - px(flange));
    // Stiffeners outside the flanges.
    c.part(cx - 2, top + 4, cx + 2, cy - half - 1);
    c.part(cx - 2, cy + half + 1, cx + 2, top + size - 4);
    for (int i = -1; i <= 1; i += 2)
        for (int j = -1; j <= 1; j += 2)
            c.bolt(cx + i * px(anchorSpacing / 2), cy + j * px(anchorSpacing / 2), px(15));
    c.hdim(left, left + size, top - 24, plate);
    c.vdim(left - 26, top, top + size, plate);
    c.hdim(cx - px(anchorSpacing / 2), cx + px(anchorSpacing / 2), top + size + 24, anchorSpacing);
    c.text(cx + half + 6, cy - 2, "HEB 240", kSteel);

    sample.add(T::Label, 8, 8, 70, 14, "Base plate");
    sample.edit(cx - 30, 2, "a", "plateLength");
    sample.edit(2, cy + 12, "b", "plateWidth", 34);
    sample.edit(300, 40, "t", "plateThickness");
    sample.add(T::PatternValueEdit, cx - 24, top + size + 30, 48, 20, "anchorPattern");
    sample.add(T::PatternCountEdit, cx + 30, top + size + 30, 34, 20, "anchorPattern");
    sample.add(T::PatternButton, cx + 68, top + size + 30, 22, 20, "anchorPattern");
    sample.add(T::ProfileList, 300, 70, 100, 20, "column");
    sample.add(T::ProfileSelectButton, 404, 70, 22, 20, "column");
    sample.add(T::ProfilePositionList, 300, 96, 100, 20, "column");
    sample.add(T::ProfileAngleCombo, 300, 122, 60, 20, "column");
    sample.add(T::ProfileAdvancedButton, 364, 122, 62, 20, "column");
    sample.add(T::ArrayValueEdit, 300, 160, 50, 20, "stiffeners");
    sample.add(T::ArrayDimensionEdit, 354, 160, 40, 20, "stiffeners");
    sample.add(T::ArrayButton, 398, 160, 22, 20, "stiffeners");
    sample.add(T::ArraySpecialValueEdit, 300, 186, 40, 20, "stiffeners");
    sample.add(T::ArrayField1Edit, 344, 186, 40, 20, "stiffeners");
    sample.add(T::ArrayField2Edit, 388, 186, 40, 20, "stiffeners");
    sample.add(T::ArrayEntryEdit, 300, 212, 40, 20, "stiffeners", "1");
    sample.add(T::ArrayEntryEdit, 344, 212, 40, 20, "stiffeners", "2");
    sample.add(T::BlockList, 300, 250, 126, 20, "anchor M24", "Blocks\\Anchors");
    sample.add(T::DimensionButtonTwoValues, 300, 276, 22, 20, "grout", "groutLevel;groutThickness;plateThickness;;");
    sample.add(T::VariableCombo, 326, 276, 100, 20, "S355", kGrades);
    return sample;
}

// Beam splice with flange and web cover plates: two IPE 400 ends 10 apart, flange plates 12 bolts
// each side, web plates 2 x 3 bolts. Elevation at 0.5 px/mm.
Sample boltedSplice()
{
    constexpr double s = 0.5;
    constexpr double depth = 400, flange = 13.5, gap = 10, flangePlate = 500, webPlateLength = 360;
    constexpr double webPlateHeight = 280, pitch = 70, edge = 40;
    Sample sample("Splices/bolted splice", 480, 360);
    Canvas& c = sample.canvas();
    const auto px = [](double mm) { return static_cast<int>(std::lround(mm * s)); };

    const int cx = 240, top = 70;
    const int bottom = top + px(depth);
    for (int side = -1; side <= 1; side += 2) {
        const int inner = cx + side * px(gap / 2);
        const int outer = cx + side * 200;
        const int l = std::min(inner, outer), r = std::max(inner, outer);
        c.part(l, top, r, top + px(flange));
        c.part(l, bottom - px(flange), r, bottom);
        c.line(l, top + px(flange), l, bottom - px(flange), kSteel);
        c.line(r, top + px(flange), r, bottom - px(flange), kSteel);
    }
    // Flange cover plates and their bolts.
    c.frame(cx - px(flangePlate / 2), top - 8, cx + px(flangePlate / 2), top - 1, kSteel);
    c.frame(cx - px(flangePlate / 2), bottom + 1, cx + px(flangePlate / 2), bottom + 8, kSteel);
    for (int k = 0; k < 3; ++k) {
        const int offset = px(gap / 2 + edge + k * pitch);
        for (int y : {top - 4, bottom + 4}) {
            c.line(cx - offset, y - 10, cx - offset, y + 10, kBolt);
            c.line(cx + offset, y - 10, cx + offset, y + 10, kBolt);
        }
    }
    // Web cover plate, dashed behind, and its bolts.
    const int wl = cx - px(webPlateLength / 2), wt = (top + bottom) / 2 - px(webPlateHeight / 2);
    c.frame(wl, wt, cx + px(webPlateLength / 2), wt + px(webPlateHeight), kHidden, 3);
    for (int k = 0; k < 2; ++k)
        for (int row = 0; row < 3; ++row) {
            const int y = wt + px(edge) + row * px(100);
            c.bolt(cx - px(gap / 2 + edge + k * pitch), y, px(11));
            c.bolt(cx + px(gap / 2 + edge + k * pitch), y, px(11));
        }
    c.hdim(cx - px(flangePlate / 2), cx + px(flangePlate / 2), top - 22, flangePlate);
    c.vdim(cx + 214, top, bottom, depth);
    c.hdim(cx + px(gap / 2 + edge), cx + px(gap / 2 + edge + pitch), bottom + 22, pitch);
    c.text(cx + 60, top + 14, "IPE 400", kSteel);

    sample.add(T::Frame, 4, 4, 472, 352, "Bolted splice");
    sample.add(T::Label, 10, 16, 60, 14, "Flanges");
    sample.edit(cx - 30, 24, "L", "flangePlateLength");
    sample.edit(cx + 170, (top + bottom) / 2 - 10, "h", "beamDepth", 34);
    sample.edit(cx - 130, bottom + 14, "g", "gap", 34);
    sample.add(T::PatternValueEdit, cx + 70, bottom + 12, 46, 20, "flangeBolts");
    sample.add(T::PatternCountEdit, cx + 120, bottom + 12, 34, 20, "flangeBolts");
    sample.add(T::PatternButton, cx + 158, bottom + 12, 22, 20, "flangeBolts");
    sample.add(T::PatternValueEdit, 10, 120, 46, 20, "webBolts");
    sample.add(T::PatternCountEdit, 10, 146, 34, 20, "webBolts");
    sample.add(T::BoltAssemblyList, 10, 330, 100, 20, "flangeBolts");
    sample.add(T::BoltDiameterEdit, 114, 330, 36, 20, "flangeBolts");
    sample.add(T::BoltText3Edit, 154, 330, 36, 20, "flangeBolts");
    sample.add(T::BoltText4Edit, 194, 330, 36, 20, "flangeBolts");
    sample.add(T::BoltText5Edit, 234, 330, 36, 20, "flangeBolts");
    sample.add(T::CutModeList, 330, 330, 110, 20, "3");
    sample.add(T::CheckBox, 10, 178, 110, 18, "Fill plates", "fillPlates");
    sample.add(T::FlexButton, 10, 40, 30, 26, "flangePlateLength", "spliceDims;;flangePlateLength;");
    sample.add(T::FlexButton, 44, 40, 30, 26, "gap", "spliceDims;;gap;");
    return sample;
}

bool writeList(const std::string& root, const char* name, const Kx_StringArray& lines)
{
    const std::string path = root + "/Lists/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!ObjectExportWriteFile(Kx_String(path), lines))
        return false;
    std::printf("%s: %d items\n", path.c_str(), lines.length());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_make_sample_layouts <library folder>\n");
        return 2;
    }
    Kx_Settings::setLibDir(argv[1]);
    std::string root = getDesignerRootFolder().str();
    for (char& ch : root)
        if (ch == '\\')
            ch = '/';
    while (!root.empty() && root.back() == '/')
        root.pop_back();
    bool ok = endPlate().write(root) && basePlate().write(root) && boltedSplice().write(root);
    ok = ok && writeList(root, "weld types.lst", {"fillet", "butt", "partial penetration", "full penetration"});
    ok = ok && writeList(root, "steel grades.lst", {"S235", "S275", "S355", "S460"});
    return ok ? 0 : 1;
}
