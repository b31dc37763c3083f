// Speed of export and import with 1,000 notes of 4 KB, on real files.
//   export: the dialog's side (rows, index string of the ticked notes) and the
//           exchange folder's selection save, against that selection save alone
//           (staging, packing into a part file that replaces the archive)
//           (goal: within 1.3x);
//   import: the exchange folder's unpacking (folder reset, unpacking, reading the
//           index) and making the dialog's rows, against the unpacking alone
//           (goal: within 1.3x).
// Medians of the runs, the two sides interleaved.
// Usage: exchange_bench [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/exchange_folder.h"
#include "exchange/export_rows.h"
#include "exchange/import_rows.h"
#include "note/jotlet.h"
#include "bench_note.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/index_string.h"
#include "store/note_store.h"
#include "windowless_jotlet.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

using vn::bench::Median;

// The store's stand-in note, listed as the dialogs list notes.
class BenchNote final : public vn::bench::BenchNote, public vn::test::WindowlessJotlet {
public:
    using vn::bench::BenchNote::BenchNote;
    void SetRemovalNotice(RemovalNotice) override {}
    bool HandlerRunning() const noexcept override { return false; }
    void Hide() override {}
    void Close() override {}
    vn::StoreNote& Stored() noexcept override { return *this; }
};

std::u16string U16(const fs::path& p) { return vn::DecodeUtf8(p.string()); }

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int count = 1000;
    std::string pattern = (fs::temp_directory_path() / "vn-exchange-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path temp(pattern);
    const fs::path data = temp / "Vantory Note";
    fs::create_directories(data);
    vn::FileSystem& disk = vn::PlatformFileSystem();
    vn::Windows1252CodePage codePage;
    vn::NoteStore store(disk, codePage, U16(data) + u"/");
    vn::ExchangeFolder exchange(store, disk, codePage);

    std::vector<BenchNote> notes;
    notes.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 ";
        while (body.size() < 4096) body += "line " + std::to_string(i) + " of a note body\\par ";
        notes.emplace_back(i, body + "}");
    }
    std::vector<vn::StoreNote*> stored;
    std::vector<vn::Jotlet*> list;
    for (BenchNote& n : notes) {
        stored.push_back(&n);
        list.push_back(&n);
    }
    const std::u16string archive = U16(temp / "Exported Vantory notes.vnx");
    const std::u16string baseArchive = U16(temp / "base.vnx");

    std::vector<double> exportBase, exportFull, importBase, importFull;
    size_t rows = 0;
    for (int run = 0; run < runs; ++run) {
        // The selection save alone, every note.
        std::vector<size_t> all;
        for (size_t p = count; p-- > 0;) all.push_back(p);
        auto t0 = Clock::now();
        exchange.SaveSelection(baseArchive, all, stored);
        auto t1 = Clock::now();
        exportBase.push_back(Ms(t0, t1));

        // The export as the dialog runs it: rows, every row ticked through the header,
        // the index string from the list, then the selection save.
        t0 = Clock::now();
        vn::ExportRows exportRows;
        exportRows.Refresh(list);
        exportRows.HeaderMouseUp(true);
        const std::u16string indexString = exportRows.CheckedIndexString(list);
        const std::vector<size_t> positions = vn::IndexSelection(indexString).PositionsDescending(list.size());
        exchange.SaveSelection(archive, positions, stored);
        t1 = Clock::now();
        exportFull.push_back(Ms(t0, t1));

        // Import: reset, unpack, read; then the same with the dialog's rows.
        for (int side = 0; side < 2; ++side) {
            auto s0 = Clock::now();
            std::vector<std::u16string> lines = exchange.Unpack(archive);
            if (side == 1) rows = vn::ImportRowsOf(lines).size();
            auto s1 = Clock::now();
            (side == 0 ? importBase : importFull).push_back(Ms(s0, s1));
        }
    }
    const double eb = Median(exportBase), ef = Median(exportFull), ib = Median(importBase), inf = Median(importFull);
    std::printf("exchange of %d notes of 4 KB, medians of %d runs (real files)\n", count, runs);
    std::printf("  export: selection save %.1f ms; with rows and index string %.1f ms: %.2fx\n", eb,
                ef, ef / eb);
    std::printf("  import: unpack (reset, unzip, read) %.1f ms; with the dialog's %zu rows %.1f ms: %.2fx\n", ib, rows, inf,
                inf / ib);
    fs::remove_all(temp);
    return 0;
}
