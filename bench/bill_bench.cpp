// The bill output at 10,000 lines by 12 columns with 300 sub-totals and 500 pictures: the feed
// (target under 1 s), the end step of trimming, autosizing, print variables and saving (target
// under 500 ms), and loading the saved bill back, with its file size as a counter.
#include "core/Kx_Bill.h"
#include "frame/ModelessDialogs.h"
#include "platform/grid/Spread.h"
#include "platform/host/SimulatedDrawing.h"
#include "platform/win/Window.h"
#include "spread/ZnSSBillOutput.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kLines = 10'000;
constexpr int kColumns = 12;
constexpr int kSubTotals = 300;
constexpr int kPictures = 500;

std::string billFile()
{
    return (std::filesystem::temp_directory_path() / ("kx_bill_bench_" + std::to_string(::getpid()) + ".sss")).string();
}

// 500 profiles of different outlines (so 500 different pictures), and a bill whose positions 1 to
// 500 are those parts (the lines that get pictures).
struct Source {
    kxhost::SimulatedDrawing drawing;
    std::unique_ptr<AcTransaction> transaction;
    Kx_Bill bill;

    Source()
    {
        kxss::attachModule();
        std::vector<AcDbObjectId> ids;
        for (int i = 0; i < kPictures; ++i) {
            kxhost::DrawingObject o;
            o.kind = "profile";
            o.name = "Part " + std::to_string(i + 1);
            const double length = 1000 + 23.0 * i, depth = 100 + (i % 37) * 5;
            // A plate with a notch whose place moves along the part.
            const double notch = 50 + (i * 17) % static_cast<int>(length - 100);
            o.outline = {{{0, 0}, {length, 0}, {length, depth}, {notch + 60, depth}, {notch + 60, depth / 2},
                          {notch, depth / 2}, {notch, depth}, {0, depth}}};
            ids.push_back(drawing.addObject(o));
        }
        transaction = std::make_unique<AcTransaction>(drawing);
        for (int i = 0; i < kPictures; ++i) {
            Kx_BillLine line;
            line.profile = "IPE300";
            line.length = 5780;
            line.quantity = 1;
            line.ids.append(ids[static_cast<size_t>(i)]);
            bill.addLine(line);
        }
        bill.arrange();
    }
};

Source& source()
{
    static Source s;
    return s;
}

Kx_StringArray titles()
{
    Kx_StringArray t;
    for (int c = 1; c <= kColumns; ++c)
        t.append(Kx_String("Column " + std::to_string(c)));
    return t;
}

// Feeds the whole bill: a sub-total after every 33rd line (300 in all), pictures for lines 1-500.
void feed(ZnSSBillOutput& out)
{
    out.onStartFeed();
    Kx_StringArray texts;
    texts.setLogicalLength(kColumns);
    int subTotals = 0;
    for (int i = 1; i <= kLines; ++i) {
        texts[0] = Kx_String(i);
        texts[1] = Kx_String(1 + i % 4);
        texts[2] = "IPE 300";
        texts[3] = "S235";
        for (int c = 4; c < kColumns; ++c)
            texts[c] = Kx_String((i * 7 + c) % 1000 + 0.5, 1);
        out.onAddRow(texts);
        if (i % 33 == 0 && subTotals < kSubTotals) {
            Kx_StringArray sub;
            sub.setLogicalLength(kColumns);
            sub[1] = "33";
            sub[kColumns - 1] = "1234.5";
            out.onAddSubTotals(sub, {}, false, 1);
            ++subTotals;
        }
    }
}

Kx_Array<int> formats()
{
    Kx_Array<int> f{1, 1, 3, 3};
    while (f.length() < kColumns)
        f.append(2);
    return f;
}

void BM_BillFeed(benchmark::State& state)
{
    Source& s = source();
    for (auto _ : state) {
        state.PauseTiming();
        auto out = std::make_unique<ZnSSBillOutput>();
        out->setVars(-1, 0, 0, true, false, &s.bill, s.transaction.get());
        out->init(Kx_String(billFile()), titles(), {}, formats(), Kx_String(), {}, {});
        state.ResumeTiming();
        feed(*out);
        state.PauseTiming();
        out.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BillFeed)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BillEnd(benchmark::State& state)
{
    Source& s = source();
    for (auto _ : state) {
        state.PauseTiming();
        auto out = std::make_unique<ZnSSBillOutput>();
        out->setVars(-1, 0, 0, true, false, &s.bill, s.transaction.get());
        out->init(Kx_String(billFile()), titles(), {}, formats(), Kx_String(), {}, {});
        feed(*out);
        state.ResumeTiming();
        benchmark::DoNotOptimize(out->onEndFeed());
        state.PauseTiming();
        out.reset();
        state.ResumeTiming();
    }
    std::error_code ec;
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(billFile(), ec));
}
BENCHMARK(BM_BillEnd)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BillLoad(benchmark::State& state)
{
    const std::string file = billFile();
    HWND g = kxgrid::createStandaloneGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(SSLoadFromFile(g, file.c_str()));
    state.counters["rows"] = SSGetMaxRows(g);
    DestroyWindow(g);
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_BillLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace


