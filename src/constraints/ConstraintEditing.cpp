// The constraint editor's window-free rules.
#include "constraints/ConstraintEditing.h"

#include "core/TextTables.h"

#include <cctype>
#include <algorithm>
#include <cmath>

namespace kxconstr {

Kx_String joinEquations(const Kx_StringArray& equations)
{
    std::string text;
    for (int i = 0; i < equations.length(); ++i) {
        if (i > 0)
            text += '\n';
        text += equations[i].str();
    }
    return Kx_String(std::move(text));
}

Kx_StringArray splitEquations(const std::string& text)
{
    Kx_StringArray out;
    std::string line;
    auto flush = [&] {
        if (!line.empty())
            out.append(Kx_String(line));
        line.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            flush();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            continue;
        }
        line += c;
    }
    flush();
    return out;
}

std::optional<NameWarning> checkVariableName(const Kx_String& name, bool inUse)
{
    const Kx_String quoted = Kx_String("\"") + name + "\"\n";
    if (inUse) {
        return NameWarning{quoted + dialString(857) + ".\n" + dialString(858) + ".", dialString(856)};
    }
    const std::string& s = name.str();
    if (!s.empty() && (s.back() == '+' || s.back() == '-' || s.back() == '*' || s.back() == '/')) {
        return NameWarning{quoted + dialString(1455) + ".\n" + dialString(1456) + ".\n\n" + dialString(888) + ".",
                           dialString(884)};
    }
    if (!s.empty() && std::isdigit(static_cast<unsigned char>(s.front()))) {
        return NameWarning{quoted + dialString(885) + ".\n" + dialString(886) + ".\n" + dialString(887) + ".\n\n"
                               + dialString(888) + ".",
                           dialString(884)};
    }
    return std::nullopt;
}

int positionAfterRemoval(int removed, int count)
{
    if (count <= 0)
        return -1;
    if (removed < 0)
        return 0;
    return removed < count ? removed : count - 1;
}

int rowAfterDelete(int deleted, int rows)
{
    if (rows <= 0)
        return 0;
    const int above = deleted - 1;
    return above >= 1 && above <= rows ? above : 1;
}

int previousSortColumn(int column, int sortColumn)
{
    if (sortColumn != 0)
        return sortColumn;
    return column == 4 ? 1 : column + 1;
}

std::vector<int> contextMenuKinds(const Kx_StringArray& items, const Kx_Array<int>& ids, const Kx_Array<int>& disabled)
{
    std::vector<int> kinds;
    for (int k = 0; k < items.length(); ++k) {
        const bool isDisabled = std::find(disabled.items().begin(), disabled.items().end(), k) != disabled.items().end();
        if (items[k] == "%BREAK%")
            kinds.push_back(5);
        else if (isDisabled || k >= kContextMenuPositions || k >= ids.length())
            kinds.push_back(4);
        else
            kinds.push_back(1);
    }
    return kinds;
}

bool constraintDiffers(const ConstraintRow& stored, const ConstraintRow& shown)
{
    return !stored.varName.equal(shown.varName, false) || !stored.text2.equal(shown.text2, false)
           || stored.flag1 != shown.flag1 || stored.flag2 != shown.flag2 || stored.choice != shown.choice
           || stored.enumChoice != shown.enumChoice;
}

Kx_Array<ConstraintVariable> variablesFromRows(const Kx_Array<VariableRow>& rows,
                                               const Kx_Array<ConstraintVariable>& before, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    auto shown = [&](double v) { return std::round(v * scale) / scale; };
    Kx_Array<ConstraintVariable> out;
    for (int i = 0; i < rows.length(); ++i) {
        const VariableRow& row = rows[i];
        const Kx_String name = row.name.trimmed();
        if (name.isEmpty())
            continue;
        ConstraintVariable v{name, row.hasNumber ? row.number : 0.0, row.kind};
        if (i < before.length() && before[i].name == name) {
            const double old = before[i].value;
            if (row.hasNumber && std::fabs(shown(old) - row.number) < 1e-9 * std::max(1.0, std::fabs(old)))
                v.value = old;
        }
        out.append(v);
    }
    return out;
}

} // namespace kxconstr
