// The binding report: the dialog built hidden, read page by page, then destroyed.
#include "macro/MacroBindReport.h"

#include "core/StringLists.h"
#include "frame/Launcher.h"
#include "macro/ZnDlgMacro.h"
#include "macro/ZnDlgMacroTab.h"

#include <string_view>

namespace {

void item(std::string& out, int tab, const char* kind, const std::string& name, int id)
{
    out += "item\t" + std::to_string(tab) + '\t' + kind + '\t' + escapeLineField(name) + '\t' + std::to_string(id) + '\n';
}

} // namespace

bool kxss_macroBindReport(const MacroData& macro, std::string& report, std::string& error)
{
    return kxss::runLauncher("macroBindReport", false, [&] {
        ZnDlgMacro dialog(nullptr, -1);
        dialog.data() = macro;
        if (!dialog.Create(ZnDlgMacro::kTemplateId, nullptr)) {
            error = "the macro dialog could not be made";
            return false;
        }
        static const char* const kBolt[] = {"assembly", "diameter", "text3", "text4", "text5"};
        static const char* const kArrayStrings[] = {"distance", "offset", "special", "dim1"};
        const MacroData& data = dialog.data();
        for (int t = 0; t < data.tabs.length(); ++t) {
            const MacroTabData& tab = data.tabs[t];
            for (const MacroCell& c : tab.cells)
                item(report, t, "cell", c.name.str(), c.ctrlId);
            for (const MacroPatternProps& p : tab.patterns) {
                item(report, t, "pattern", p.name.str(), p.valueId);
                if (p.getCount() != -1)
                    item(report, t, "pattern", p.name.str() + "#count", p.countId);
                if (p.hasButton)
                    item(report, t, "pattern", p.name.str() + "#button", p.btnId);
            }
            for (size_t k = 0; k < tab.bolt.ids.size(); ++k)
                if (!tab.bolt.strings[k].isEmpty())
                    item(report, t, "bolt", kBolt[k], tab.bolt.ids[k]);
            if (tab.bolt.advancedId != 0)
                item(report, t, "bolt", "advanced", tab.bolt.advancedId);
            for (const MacroProfData& p : tab.profiles)
                item(report, t, "profile", p.group.str() + (p.name2.isEmpty() ? "" : "#" + p.name2.str()), p.ids[0]);
            // Control ids 1 to 4 of an array show its strings 4, 3, 1 and 2.
            static constexpr int kStringOfId[4] = {3, 2, 0, 1};
            for (const DynArrayData& a : tab.arrays) {
                item(report, t, "array", a.name.str(), a.valueId);
                for (int k = 0; k < 4; ++k)
                    if (a.ids[static_cast<size_t>(k)] != 0)
                        item(report, t, "array", a.name.str() + "#" + kArrayStrings[kStringOfId[k]],
                             a.ids[static_cast<size_t>(k)]);
                if (a.btnId != 0)
                    item(report, t, "array", a.name.str() + "#button", a.btnId);
                for (int e = 0; e < a.entries.length(); ++e)
                    item(report, t, "entry", a.name.str() + "[" + std::to_string(e) + "]", a.entries[e].ctrlId);
            }
            for (const MacroCutData& c : tab.cuts)
                item(report, t, "cut", c.name.str(), c.ctrlId);
            if (tab.block.enabled)
                item(report, t, "block", tab.block.blockName.str(), tab.block.ctrlId);
            if (ZnDlgMacroTab* page = dialog.page(t)) {
                for (const auto& r : page->removedControls())
                    report += "removed\t" + std::to_string(t) + '\t' + std::to_string(r.index) + '\t'
                        + std::to_string(r.type) + '\t' + escapeLineField(r.contents) + '\t' + escapeLineField(r.reason) + '\n';
            }
        }
        dialog.DestroyWindow();
        return true;
    });
}
