// Sample bills for the program: the sample frame's parts and made-up lines of library sections.
#include "spread/BillDemo.h"

#include "frame/Launcher.h"
#include "platform/host/CommandLine.h"
#include "platform/host/SimulatedDrawing.h"
#include "spread/ZnSSBillOutput.h"

#include <filesystem>
#include <memory>

namespace {

// Sections of the sample library's tables that made-up lines use, in turn.
constexpr const char* kSections[] = {"IPE 200", "IPE 240", "IPE 300", "HE 160 A", "HE 200 B", "UPN 120", "L 80x80x8",
                                     "SHS 100x100x5"};
constexpr const char* kMaterials[] = {"S235", "S355"};
// Lines of the sample window: the frame's two profile positions and made-up ones.
constexpr int kSampleLines = 30;

// The sample window: its drawing, transaction, bill and output live until it is closed.
struct Sample {
    kxhost::SimulatedDrawing drawing;
    std::unique_ptr<AcTransaction> transaction;
    Kx_Bill bill;
    ZnSSBillOutput output;
};

std::unique_ptr<Sample>& sample()
{
    static std::unique_ptr<Sample> open;
    return open;
}

// Made-up line n (from 0): library sections in turn, lengths and quantities that vary.
Kx_BillLine madeUpLine(int n)
{
    Kx_BillLine line;
    line.profile = kSections[static_cast<size_t>(n) % std::size(kSections)];
    line.material = kMaterials[static_cast<size_t>(n / 3) % std::size(kMaterials)];
    line.quantity = 1 + n % 4;
    line.length = 500.0 + static_cast<double>((n * 730) % 11500);
    line.massPerMetre = Kx_Bill::massPerMetre(line.profile).value_or(-1);
    line.name = Kx_String("Part " + std::to_string(n + 1));
    return line;
}

} // namespace

Kx_Bill kxss::makeDemoBill(kxhost::SimulatedDrawing& drawing, AcTransaction& transaction, int lines, bool pictures)
{
    Kx_Bill bill;
    const AcDbObjectIdArray parts = Kx_Bill::partsOf(drawing);
    bill.collect(transaction, parts);
    AcDbObjectIdArray profiles;
    for (const AcDbObjectId& id : parts) {
        const kxhost::DrawingObject* o = drawing.object(id);
        if (o != nullptr && o->kind == "profile")
            profiles.append(id);
    }
    const int own = static_cast<int>(bill.lines().size());
    for (int i = own; i < lines; ++i) {
        const int n = i - own;
        Kx_BillLine line = madeUpLine(n);
        if (pictures && !profiles.isEmpty())
            line.ids.append(profiles[n % profiles.length()]);
        bill.addLine(std::move(line));
    }
    bill.arrange();
    return bill;
}

int kxss::runBillDemo(const char* fileName, int lines, bool pictures) noexcept
{
    return runLauncher("runBillDemo", static_cast<int>(Acad::eOutOfMemory), [&] {
        kxhost::SimulatedDrawing drawing;
        drawing.addSampleFrame();
        AcTransaction transaction(drawing);
        Kx_Bill bill = makeDemoBill(drawing, transaction, lines, pictures);
        ZnSSBillOutput output;
        if (pictures)
            output.setVars(-1, 0, 0, true, false, &bill, &transaction);
        const Acad::ErrorStatus started =
            output.init(Kx_String(fileName ? fileName : ""), Kx_Bill::columnTitles(), {}, Kx_Bill::columnFormats(),
                        Kx_String(), Kx_StringArray{"Project"}, Kx_StringArray{"Sample frame"});
        if (started != Acad::eOk) {
            acutPrintf("*Error* The bill window could not be opened.\n");
            return static_cast<int>(started);
        }
        const int status = static_cast<int>(bill.feed(output));
        transaction.end();
        return status;
    });
}

bool kxss::openBillSample() noexcept
{
    return runLauncher("openBillSample", false, [&] {
        closeBillSample();
        auto s = std::make_unique<Sample>();
        s->drawing.addSampleFrame();
        s->transaction = std::make_unique<AcTransaction>(s->drawing);
        // The frame's beam and columns (two positions, each with its picture), then made-up lines
        // without parts; the total is the one sub-total.
        s->bill.collect(*s->transaction, Kx_Bill::partsOf(s->drawing), /*withPlates=*/false);
        for (int n = 0; n < kSampleLines - 2; ++n)
            s->bill.addLine(madeUpLine(n));
        s->bill.arrange();
        s->bill.setSubTotals(/*perProfile=*/false, /*total=*/true);
        s->output.setVars(-1, 0, 0, true, false, &s->bill, s->transaction.get());
        std::error_code ec;
        const std::string file = (std::filesystem::temp_directory_path(ec) / "kestra-ss sample bill.sss").string();
        if (s->output.init(Kx_String(file), Kx_Bill::columnTitles(), {}, Kx_Bill::columnFormats(), Kx_String(),
                           Kx_StringArray{"Project"}, Kx_StringArray{"Sample frame"}) != Acad::eOk)
            return false;
        s->bill.feed(s->output);
        sample() = std::move(s);
        return true;
    });
}

void kxss::closeBillSample() noexcept
{
    try {
        sample().reset();
    } catch (...) {
    }
}
