// The section library editor on a large library: opening it with 20 groups, 150 types and 100
// tables (target under 200 ms), switching to a table of 2,000 rows (target under 100 ms) and storing
// that table from its grid (target under 100 ms).
#include "core/Kx_Settings.h"
#include "core/SectionCatalogue.h"
#include "core/ZnTempResourceOverride.h"
#include "frame/ModelessDialogs.h"
#include "platform/win/Registry.h"
#include "platform/win/UserAgent.h"
#include "spread/Kx_ProfValuesTable.h"
#include "spread/SectionLibLaunchers.h"
#include "spread/ZnDlgEditLibSections.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// A library folder of its own: the sample catalogue, 100 copies of the sample HEA table and one
// table "Big" of 2,000 rows made from them.
struct Library {
    Library()
    {
        root = fs::temp_directory_path() / "kx-sectionlib-bench";
        fs::remove_all(root);
        fs::create_directories(root / "prof");
        const fs::path sample = fs::path(Kx_Settings::libDir().str()) / "prof";
        fs::copy_file(sample / "sections.cat", root / "prof" / "sections.cat");
        for (int i = 0; i < 100; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "T%03d.pr", i);
            fs::copy_file(sample / "HEA.pr", root / "prof" / name);
        }
        Kx_Settings::setLibDir((root.string() + "/").c_str());
        SectionGroupArray::reload();
        kxwin::setRegistryPath((root / "registry.sqlite3").c_str());

        Kx_ProfValuesTable table;
        table.readFromFile("T000.pr");
        const Kx_StringArray first = table.rows[0];
        table.rows.removeAll();
        for (int r = 0; r < 2000; ++r) {
            Kx_StringArray row = first;
            row[0] = Kx_String(r + 1);
            table.rows.append(row);
        }
        table.writeToFile("Big.pr");

        data.readLibrary();
        while (data.groups.groupCount() < 20)
            data.groups.appendNewGrp();
        const SectionType sampleType = data.types[0];
        while (data.types.length() < 150) {
            SectionType t = sampleType;
            t.names = Kx_StringArray({Kx_String("Type"), Kx_String("Type"), Kx_String("Type")});
            data.types.append(t);
        }
    }
    ~Library()
    {
        kxwin::setRegistryPath(nullptr);
        Kx_Settings::setLibDir("");
        SectionGroupArray::reload();
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    fs::path root;
    DlgEditLibData data;
};

void BM_OpenSectionLibrary(benchmark::State& state)
{
    Library library;
    kxss::attachModule();
    kxwin::UserAgent agent;
    for (auto _ : state) {
        agent.onDialog(ZnDlgEditLibSections::kTemplateId, [](kxwin::DialogDriver& d) { d.cancel(); });
        DlgEditLibData data = library.data;
        StartDlgEditLibSections(data, "");
    }
    state.SetLabel("20 groups, 150 types, 101 tables: open and close");
}
BENCHMARK(BM_OpenSectionLibrary)->Unit(benchmark::kMillisecond);

void BM_SwitchToLargeTable(benchmark::State& state)
{
    Library library;
    kxss::attachModule();
    kxwin::UserAgent agent;
    ZnDlgEditLibSections dialog(library.data, "");
    agent.onDialog(ZnDlgEditLibSections::kTemplateId, [&](kxwin::DialogDriver& d) {
        kxwin::DialogDriver tables(dialog.GetPage(ZnDlgEditLibSections::kTablesPage)->m_hWnd);
        for (auto _ : state) {
            tables.pick(ZnDlgEditLibSections::kTableList, "Big");
            state.PauseTiming();
            tables.pick(ZnDlgEditLibSections::kTableList, "T000");
            state.ResumeTiming();
        }
        d.cancel();
    });
    ZnTempResourceOverride resources;
    dialog.DoModal();
    state.SetLabel("read 2,000 rows into the grid");
}
BENCHMARK(BM_SwitchToLargeTable)->Unit(benchmark::kMillisecond);

void BM_StoreLargeTable(benchmark::State& state)
{
    Library library;
    kxss::attachModule();
    kxwin::UserAgent agent;
    ZnDlgEditLibSections dialog(library.data, "Big-1");
    agent.onDialog(ZnDlgEditLibSections::kTemplateId, [&](kxwin::DialogDriver& d) {
        for (auto _ : state) {
            if (!dialog.storeTable())
                state.SkipWithError("the table was not stored");
        }
        d.cancel();
    });
    ZnTempResourceOverride resources;
    dialog.DoModal();
    state.SetLabel("grid back, names checked, 2,000 rows written");
}
BENCHMARK(BM_StoreLargeTable)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
