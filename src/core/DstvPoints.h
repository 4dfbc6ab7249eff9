// The DSTV point groups: Kx_DstvPointInfo (one point definition) and DlgDstvPoints (the group files,
// their folder and the standard group). The file format is described in docs/dstv-point-groups.md.
// The dialogs that edit them are the module's (detailing/), not here.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"

#include <string>
#include <string_view>

class KXCORE_API Kx_DstvPointInfo {
public:
    // The number of entries of the lists the indices below choose from: four sides (top, bottom,
    // left, right) and the plate selections (all views, four views, none).
    static constexpr int kSideCount = 4;
    static constexpr int kPlateSelectionCount = 6;

    // A new point: found by the extent (sides 0 and 2), intersection off with middle on and side 0,
    // plate selections 0 and 0 at 50.0 from the edge, no full hole, diameter 16.0.
    Kx_DstvPointInfo() = default;

    void setName(const Kx_String& name) { m_name = name; }
    void setSelectGeomExtent(bool on, int sideA, int sideB);
    void setSelectIntersGeom(bool on, bool middle, int side);
    void setPlateSelection(short a, short b, double minDistance);
    void setDrillFullHole(bool full, bool byThickness, double diameter);

    const Kx_String& name() const { return m_name; }
    bool selectGeomExtent() const { return m_geomExtent; }
    int extentSideA() const { return m_sideA; }
    int extentSideB() const { return m_sideB; }
    bool selectIntersGeom() const { return m_intersGeom; }
    bool middle() const { return m_middle; }
    int intersectionSide() const { return m_intersSide; }
    short plateSelectionA() const { return m_plateA; }
    short plateSelectionB() const { return m_plateB; }
    double minDistance() const { return m_minDistance; }
    bool drillFullHole() const { return m_fullHole; }
    bool diameterByThickness() const { return m_byThickness; }
    double holeDiameter() const { return m_diameter; }

    friend bool operator==(const Kx_DstvPointInfo&, const Kx_DstvPointInfo&) = default;

private:
    Kx_String m_name;
    bool m_geomExtent = true;
    int m_sideA = 0;
    int m_sideB = 2;
    bool m_intersGeom = false;
    bool m_middle = true;
    int m_intersSide = 0;
    short m_plateA = 0;
    short m_plateB = 0;
    double m_minDistance = 50.0;
    bool m_fullHole = false;
    bool m_byThickness = false;
    double m_diameter = 16.0;
};

class KXCORE_API DlgDstvPoints {
public:
    // The folder of the groups: the library folder's "DSTV Points/", ending with '/'.
    static void getDstvPointsFolder(Kx_String& folder);
    // The names of the groups (the ".dat" files of the folder) without extension, sorted; empty
    // when the folder does not exist.
    static void getAllDstvPointsFiles(Kx_StringArray& names);
    // The standard group's file name ("Welds.dat"), kept in the folder's file "standard.txt"; empty
    // when none was set or that file cannot be read.
    static void getStandardDstvPointsFile(Kx_String& name);
    // Makes name (with or without ".dat") the standard group. False with a message on the command
    // line when the name cannot be a file name or the setting cannot be written.
    static bool setStandardDstvPointsFile(const Kx_String& name);

    // Reads the points of the group file at path, replacing points. An empty file is an empty group.
    // False, points untouched, when the file cannot be read or holds a line that is not a point
    // ("*Error* Cannot read ..." on the command line, the reason also in *error when given).
    static bool readFromFile(const Kx_String& path, Kx_Array<Kx_DstvPointInfo>& points, std::string* error = nullptr);
    // Writes points to path through the save routine (the old file intact on failure). False with
    // the reason (printed, and in *error when given); a name holding a tab or a line break is
    // refused before anything is written.
    static bool writeToFile(const Kx_String& path, const Kx_Array<Kx_DstvPointInfo>& points,
                            std::string* error = nullptr);
};

namespace kx {

// The name of the file in the points folder that holds the standard group's file name.
inline constexpr const char* kStandardDstvGroupFile = "standard.txt";

// The bytes of a group file as points; false with a message naming the line for a line that is not
// a point (points untouched). A file that is not valid UTF-8 is read as Windows-1252.
KXCORE_API bool parseDstvPoints(std::string_view bytes, Kx_Array<Kx_DstvPointInfo>& points, std::string& error);
// The text of a group file; false with a message when a name cannot be written.
KXCORE_API bool formatDstvPoints(const Kx_Array<Kx_DstvPointInfo>& points, std::string& text, std::string& error);

} // namespace kx
