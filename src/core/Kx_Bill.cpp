// The bill engine over the drawing: reading parts, grouping, weighing and feeding.
#include "core/Kx_Bill.h"

#include "core/SectionTables.h"

#include "core/FileIO.h"
#include "core/Kx_Settings.h"
#include "platform/host/SimulatedDrawing.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// Steel, kg per cubic millimetre: plates are weighed from their size.
constexpr double kSteelDensity = 7.85e-6;

std::optional<double> parseNumber(std::string_view text)
{
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> propertyNumber(const kxhost::DrawingObject& o, const std::string& key)
{
    return parseNumber(o.property(key));
}

// "200 x 360" -> {200, 360}.
std::optional<std::pair<double, double>> plateSize(const std::string& text)
{
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ')
            s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ')
            s.remove_suffix(1);
        return s;
    };
    const auto a = parseNumber(trim(std::string_view(text).substr(0, x)));
    const auto b = parseNumber(trim(std::string_view(text).substr(x + 1)));
    if (!a || !b)
        return std::nullopt;
    return std::make_pair(*a, *b);
}

Kx_String number(double value, int decimals)
{
    return value < 0 ? Kx_String() : Kx_String(value, decimals);
}

} // namespace

double Kx_BillLine::weightEach() const
{
    return massPerMetre < 0 ? -1 : massPerMetre * length / 1000.0;
}

double Kx_BillLine::weight() const
{
    return massPerMetre < 0 ? -1 : weightEach() * quantity;
}

Kx_StringArray Kx_Bill::columnTitles()
{
    return Kx_StringArray{"Pos.", "Qty", "Profile", "Material", "Length (mm)", "kg/m", "Each (kg)", "Weight (kg)", "Part"};
}

Kx_Array<int> Kx_Bill::columnFormats()
{
    return Kx_Array<int>{1, 1, 3, 3, 1, 2, 2, 2, 3};
}

std::optional<double> Kx_Bill::massPerMetre(const Kx_String& section, const Kx_String& folder)
{
    const auto size = kxcore::sectionSize(section.view(), folder);
    if (!size || size->massPerMetre <= 0)
        return std::nullopt;
    return size->massPerMetre;
}

AcDbObjectIdArray Kx_Bill::partsOf(const kxhost::SimulatedDrawing& drawing)
{
    AcDbObjectIdArray ids;
    for (const kxhost::DrawingObject& o : drawing.objects())
        if (o.kind == "profile" || o.kind == "plate")
            ids.append(o.id);
    return ids;
}

int Kx_Bill::collect(AcTransaction& transaction, const AcDbObjectIdArray& ids, bool withPlates)
{
    int read = 0;
    for (const AcDbObjectId& id : ids) {
        const kxhost::DrawingObject* o = nullptr;
        if (transaction.getObject(o, id, AcDb::kForRead) != Acad::eOk || o == nullptr)
            continue;
        Kx_BillLine part;
        part.quantity = 1;
        part.material = Kx_String(o->property("Material"));
        part.name = Kx_String(o->name);
        part.ids.append(id);
        if (o->kind == "profile") {
            part.profile = Kx_String(o->property("Section"));
            part.length = propertyNumber(*o, "Length").value_or(0);
            part.massPerMetre = massPerMetre(part.profile).value_or(-1);
        } else if (o->kind == "plate" && withPlates) {
            const auto thickness = propertyNumber(*o, "Thickness");
            const auto size = plateSize(o->property("Size"));
            if (!thickness || !size)
                continue;
            part.profile = Kx_String("PL " + Kx_String(*thickness, 0).str() + "x" + Kx_String(size->first, 0).str());
            part.length = size->second;
            part.massPerMetre = kSteelDensity * *thickness * size->first * 1000.0;
        } else {
            continue;
        }
        ++read;
        // Equal parts (profile, material, length) make one position.
        auto same = std::find_if(m_lines.begin(), m_lines.end(), [&](const Kx_BillLine& l) {
            return l.profile == part.profile && l.material == part.material && l.length == part.length;
        });
        if (same != m_lines.end()) {
            ++same->quantity;
            same->ids.append(id);
        } else {
            m_lines.push_back(std::move(part));
        }
    }
    arrange();
    return read;
}

void Kx_Bill::addLine(Kx_BillLine line)
{
    m_lines.push_back(std::move(line));
}

void Kx_Bill::arrange()
{
    std::stable_sort(m_lines.begin(), m_lines.end(), [](const Kx_BillLine& a, const Kx_BillLine& b) {
        if (a.profile != b.profile)
            return a.profile < b.profile;
        return a.length > b.length;
    });
    m_byPosition.clear();
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i].position = Kx_String(static_cast<int>(i + 1));
        m_byPosition.emplace(m_lines[i].position.str(), i);
    }
}

const Kx_BillLine* Kx_Bill::lineAt(const Kx_String& position) const
{
    const auto it = m_byPosition.find(position.str());
    return it == m_byPosition.end() ? nullptr : &m_lines[it->second];
}

Kx_StringArray Kx_Bill::lineTexts(const Kx_BillLine& line)
{
    Kx_StringArray texts;
    texts.append(line.position);
    texts.append(Kx_String(line.quantity));
    texts.append(line.profile);
    texts.append(line.material);
    texts.append(Kx_String(line.length, 0));
    texts.append(number(line.massPerMetre, 1));
    texts.append(number(line.weightEach(), 1));
    texts.append(number(line.weight(), 1));
    texts.append(line.name);
    return texts;
}

Acad::ErrorStatus Kx_Bill::feed(Kx_ListOutputCallback& output) const
{
    if (const Acad::ErrorStatus started = output.onStartFeed(); started != Acad::eOk)
        return started;
    struct Sum {
        int quantity = 0;
        double length = 0;
        double weight = 0;
    };
    auto totalTexts = [](const Sum& sum, const Kx_String& label) {
        Kx_StringArray texts;
        texts.setLogicalLength(kColumnCount);
        texts[kQuantity] = Kx_String(sum.quantity);
        texts[kProfile] = label;
        texts[kLength] = Kx_String(sum.length, 0);
        texts[kWeight] = Kx_String(sum.weight, 1);
        return texts;
    };
    Sum group, all;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Kx_BillLine& line = m_lines[i];
        output.onAddRow(lineTexts(line));
        for (Sum* s : {&group, &all}) {
            s->quantity += line.quantity;
            s->length += line.length * line.quantity;
            s->weight += std::max(line.weight(), 0.0);
        }
        const bool groupEnds = i + 1 == m_lines.size() || m_lines[i + 1].profile != line.profile;
        if (groupEnds) {
            if (m_subTotalPerProfile)
                output.onAddSubTotals(totalTexts(group, line.profile), Kx_StringArray{line.profile}, false, 1);
            group = Sum();
        }
    }
    if (m_total)
        output.onAddSubTotals(totalTexts(all, "Total"), Kx_StringArray{"Total"}, true, 0);
    return output.onEndFeed();
}
