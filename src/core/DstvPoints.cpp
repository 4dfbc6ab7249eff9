// The DSTV point groups and their files.
#include "core/DstvPoints.h"

#include "core/Cp1252.h"
#include "core/FileIO.h"
#include "core/FileNameCheck.h"
#include "core/Kx_Settings.h"
#include "core/Paths.h"
#include "core/SaveFile.h"
#include "core/StringLists.h"
#include "core/Utf8.h"
#include "platform/host/CommandLine.h"

#include <charconv>
#include <cmath>
#include <system_error>

void Kx_DstvPointInfo::setSelectGeomExtent(bool on, int sideA, int sideB)
{
    m_geomExtent = on;
    m_sideA = sideA;
    m_sideB = sideB;
}

void Kx_DstvPointInfo::setSelectIntersGeom(bool on, bool middle, int side)
{
    m_intersGeom = on;
    m_middle = middle;
    m_intersSide = side;
}

void Kx_DstvPointInfo::setPlateSelection(short a, short b, double minDistance)
{
    m_plateA = a;
    m_plateB = b;
    m_minDistance = minDistance;
}

void Kx_DstvPointInfo::setDrillFullHole(bool full, bool byThickness, double diameter)
{
    m_fullHole = full;
    m_byThickness = byThickness;
    m_diameter = diameter;
}

namespace kx {

namespace {

constexpr std::string_view kPointKey = "point";
constexpr int kFieldCount = 13;  // the name and twelve values

bool readBool(std::string_view text, bool& value)
{
    if (text == "0" || text == "1") {
        value = text == "1";
        return true;
    }
    return false;
}

bool readIndex(std::string_view text, int limit, int& value)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || v < 0 || v >= limit)
        return false;
    value = v;
    return true;
}

bool readNumber(std::string_view text, double& value)
{
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string number(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

// One point line's fields (after the key) as a point; the problem otherwise.
bool readPoint(const Kx_StringArray& f, Kx_DstvPointInfo& p, std::string& problem)
{
    if (f.length() != kFieldCount + 1) {
        problem = "a point has " + std::to_string(kFieldCount) + " fields, this line " + std::to_string(f.length() - 1);
        return false;
    }
    bool extent = false, inters = false, middle = false, full = false, byThickness = false;
    int sideA = 0, sideB = 0, side = 0, plateA = 0, plateB = 0;
    double distance = 0, diameter = 0;
    struct Check {
        bool ok;
        const char* what;
    };
    const Check checks[] = {
        {readBool(f[2].view(), extent), "the extent switch (0 or 1)"},
        {readIndex(f[3].view(), Kx_DstvPointInfo::kSideCount, sideA), "extent side A (0 to 3)"},
        {readIndex(f[4].view(), Kx_DstvPointInfo::kSideCount, sideB), "extent side B (0 to 3)"},
        {readBool(f[5].view(), inters), "the intersection switch (0 or 1)"},
        {readBool(f[6].view(), middle), "the middle switch (0 or 1)"},
        {readIndex(f[7].view(), Kx_DstvPointInfo::kSideCount, side), "the intersection side (0 to 3)"},
        {readIndex(f[8].view(), Kx_DstvPointInfo::kPlateSelectionCount, plateA), "plate selection A (0 to 5)"},
        {readIndex(f[9].view(), Kx_DstvPointInfo::kPlateSelectionCount, plateB), "plate selection B (0 to 5)"},
        {readNumber(f[10].view(), distance), "the minimum distance (a number)"},
        {readBool(f[11].view(), full), "the full-hole switch (0 or 1)"},
        {readBool(f[12].view(), byThickness), "the thickness switch (0 or 1)"},
        {readNumber(f[13].view(), diameter), "the hole diameter (a number)"},
    };
    for (size_t i = 0; i < std::size(checks); ++i) {
        if (!checks[i].ok) {
            problem = "field " + std::to_string(i + 2) + " is not " + checks[i].what;
            return false;
        }
    }
    p = Kx_DstvPointInfo();
    p.setName(f[1]);
    p.setSelectGeomExtent(extent, sideA, sideB);
    p.setSelectIntersGeom(inters, middle, side);
    p.setPlateSelection(static_cast<short>(plateA), static_cast<short>(plateB), distance);
    p.setDrillFullHole(full, byThickness, diameter);
    return true;
}

void report(const std::string& message, std::string* error)
{
    acutPrintf("*Error* %s\n", message.c_str());
    if (error != nullptr)
        *error = message;
}

} // namespace

bool parseDstvPoints(std::string_view bytes, Kx_Array<Kx_DstvPointInfo>& points, std::string& error)
{
    Kx_StringArray lines;
    if (!splitTextLines(bytes, kMaxTextLineBytes, lines, error))
        return false;
    bool utf8 = true;
    for (const Kx_String& line : lines)
        utf8 = utf8 && kxutf8::isValid(line.view());
    Kx_Array<Kx_DstvPointInfo> read;
    for (int i = 0; i < lines.length(); ++i) {
        const Kx_String line = utf8 ? lines[i] : Kx_String(windows1252ToUtf8(lines[i].view()));
        if (line.trimmed().isEmpty() || line.view().starts_with('#'))
            continue;
        Kx_StringArray fields;
        strToArr(line, '\t', fields);
        if (fields[0].view() != kPointKey) {
            error = "line " + std::to_string(i + 1) + ": not a point (a point line starts with \"point\" and a tab)";
            return false;
        }
        Kx_DstvPointInfo p;
        std::string problem;
        if (!readPoint(fields, p, problem)) {
            error = "line " + std::to_string(i + 1) + ": " + problem;
            return false;
        }
        read.append(p);
    }
    points = std::move(read);
    return true;
}

bool formatDstvPoints(const Kx_Array<Kx_DstvPointInfo>& points, std::string& text, std::string& error)
{
    std::string out = "# DSTV point group: point, name, extent, side A, side B, intersection, middle, side,\n"
                      "# plate A, plate B, minimum distance, full hole, diameter by thickness, diameter\n";
    for (int i = 0; i < points.length(); ++i) {
        const Kx_DstvPointInfo& p = points[i];
        const std::string_view name = p.name().view();
        if (name.find_first_of("\t\r\n") != std::string_view::npos || !kxutf8::isValid(name) ||
            name.find('\0') != std::string_view::npos) {
            error = "point " + std::to_string(i + 1) + ": the name \"" + p.name().str() +
                    "\" holds a tab, a line break or bytes that are not text";
            return false;
        }
        auto flag = [](bool b) { return b ? "1" : "0"; };
        out += std::string(kPointKey) + '\t' + std::string(name) + '\t' + flag(p.selectGeomExtent()) + '\t' +
               std::to_string(p.extentSideA()) + '\t' + std::to_string(p.extentSideB()) + '\t' +
               flag(p.selectIntersGeom()) + '\t' + flag(p.middle()) + '\t' + std::to_string(p.intersectionSide()) +
               '\t' + std::to_string(p.plateSelectionA()) + '\t' + std::to_string(p.plateSelectionB()) + '\t' +
               number(p.minDistance()) + '\t' + flag(p.drillFullHole()) + '\t' + flag(p.diameterByThickness()) +
               '\t' + number(p.holeDiameter()) + '\n';
    }
    text = std::move(out);
    return true;
}

} // namespace kx

void DlgDstvPoints::getDstvPointsFolder(Kx_String& folder)
{
    folder = Kx_Settings::libDir() + "DSTV Points/";
}

void DlgDstvPoints::getAllDstvPointsFiles(Kx_StringArray& names)
{
    names.removeAll();
    Kx_String folder;
    getDstvPointsFolder(folder);
    Kx_StringArray paths;
    if (!ObjectExportFindFiles(folder, "*.dat", paths))
        return;
    for (const Kx_String& path : paths)
        names.append(removeExtension(getFileName(path)));
}

void DlgDstvPoints::getStandardDstvPointsFile(Kx_String& name)
{
    name.clear();
    Kx_String folder;
    getDstvPointsFolder(folder);
    const Kx_String path = folder + kx::kStandardDstvGroupFile;
    if (!fileExists(path))
        return;
    Kx_StringArray lines;
    std::string error;
    if (!kx::readTextLines(path.view(), lines, error) || lines.isEmpty())
        return;
    const Kx_String stored = lines[0].trimmed();
    // Only a plain file name of the folder counts: the setting cannot point elsewhere.
    if (!kx::invalidFileNameReason(stored))
        name = stored;
}

bool DlgDstvPoints::setStandardDstvPointsFile(const Kx_String& name)
{
    Kx_String file = name.trimmed();
    if (!file.endsWith(".dat", false))
        file.append(".dat");
    if (kx::invalidFileNameReason(file)) {
        acutPrintf("*Error* \"%s\" cannot be the standard DSTV point group.\n", name.c_str());
        return false;
    }
    Kx_String folder;
    getDstvPointsFolder(folder);
    if (!ObjectExportCreateDirectory(folder))
        return false;
    Kx_StringArray lines;
    lines.append(file);
    return ObjectExportWriteFile(folder + kx::kStandardDstvGroupFile, lines);
}

bool DlgDstvPoints::readFromFile(const Kx_String& path, Kx_Array<Kx_DstvPointInfo>& points, std::string* error)
{
    std::string bytes;
    std::string message;
    if (!kx::readFileBytes(path.view(), kx::kMaxTextFileBytes, bytes, message)) {
        kx::report("Cannot read " + message, error);
        return false;
    }
    if (!kx::parseDstvPoints(bytes, points, message)) {
        kx::report("Cannot read " + path.str() + ": " + message, error);
        return false;
    }
    return true;
}

bool DlgDstvPoints::writeToFile(const Kx_String& path, const Kx_Array<Kx_DstvPointInfo>& points, std::string* error)
{
    std::string text;
    std::string message;
    if (!kx::formatDstvPoints(points, text, message)) {
        kx::report("Cannot save " + path.str() + ": " + message, error);
        return false;
    }
    if (!kx::saveFileAtomically(path.str(), text, &message)) {
        kx::report(message, error);
        return false;
    }
    return true;
}
