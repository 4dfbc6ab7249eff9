// Kx_Bill: the bill engine. It reads the parts (profiles and plates) of the drawing through a host
// transaction, groups equal parts into positions, weighs them with the mass per metre of the
// section tables under the library's "sections" folder, and feeds the lines, the sub-totals per
// profile and the total to an output (Kx_ListOutputCallback). Pictures of parts are made by
// BillPictures.h; printing or saving a bill is the output's business.
#pragma once

#include "core/KxCoreExport.h"
#include "core/Kx_Array.h"
#include "core/Kx_ListOutputCallback.h"
#include "core/Kx_String.h"
#include "core/Kx_StringArray.h"
#include "platform/host/AcDb.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kxhost {
class SimulatedDrawing;
}

// One position of a bill: equal parts counted together.
struct KXCORE_API Kx_BillLine {
    Kx_String position;         // "1", "2", ... in bill order (set by arrange)
    int quantity = 0;
    Kx_String profile;          // the section as the drawing names it ("HEA200"), or "PL 15x200" for a plate
    Kx_String material;
    double length = 0;          // mm
    double massPerMetre = -1;   // kg/m; negative when the section tables do not know the section
    Kx_String name;             // the first part's name
    AcDbObjectIdArray ids;      // the parts of the position, in drawing order

    // kg for one part; negative when the mass per metre is unknown.
    double weightEach() const;
    double weight() const;
};

class KXCORE_API Kx_Bill {
public:
    // The bill's columns, in feed order.
    enum Column : int {
        kPosition = 0,
        kQuantity,
        kProfile,
        kMaterial,
        kLength,
        kMassPerMetre,
        kWeightEach,
        kWeight,
        kPart,
        kColumnCount
    };
    // Column titles and the formats an output gives them: 1 whole numbers, 2 one decimal, 3 text.
    static Kx_StringArray columnTitles();
    static Kx_Array<int> columnFormats();

    // kg/m of a section by its name, from the tables of `folder` (default: the library's
    // "sections" folder). Names match without regard to spaces and case, and "HEA200" finds
    // "HE 200 A". No value for an unknown section or unreadable tables.
    static std::optional<double> massPerMetre(const Kx_String& section, const Kx_String& folder = Kx_String());
    // Every profile and plate of the drawing, in drawing order.
    static AcDbObjectIdArray partsOf(const kxhost::SimulatedDrawing& drawing);

    // Reads the profiles (and plates, when withPlates) among ids through the transaction and adds
    // them to the bill, then arranges it. Ids that cannot be opened, and objects of other kinds,
    // are skipped. Returns the number of parts read.
    int collect(AcTransaction& transaction, const AcDbObjectIdArray& ids, bool withPlates = true);
    // Adds a line as it is (for bills made from other sources); call arrange() when done.
    void addLine(Kx_BillLine line);
    // Sorts by profile, then longest first, and numbers the positions from 1.
    void arrange();

    // Sub-total lines: one after each profile's lines, and the bill's total at the end.
    void setSubTotals(bool perProfile, bool total)
    {
        m_subTotalPerProfile = perProfile;
        m_total = total;
    }

    const std::vector<Kx_BillLine>& lines() const { return m_lines; }
    // The line whose position is `position` (the first text of a fed line); null when none is.
    const Kx_BillLine* lineAt(const Kx_String& position) const;
    // The texts of a line, one per column.
    static Kx_StringArray lineTexts(const Kx_BillLine& line);

    // Feeds the bill: onStartFeed, the lines with their sub-totals, onEndFeed. Returns the first
    // status other than eOk of onStartFeed, or what onEndFeed returns.
    Acad::ErrorStatus feed(Kx_ListOutputCallback& output) const;

private:
    std::vector<Kx_BillLine> m_lines;
    std::unordered_map<std::string, std::size_t> m_byPosition;
    bool m_subTotalPerProfile = true;
    bool m_total = true;
};
