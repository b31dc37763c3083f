// Speed of a delete to the recycle bin and of a restore from it, against the store
// save after one note changed, with 1,000 and 5,000 notes of 4 KB on real files
// (goal: each within the one-note save and 30 ms). A delete takes a note from the
// middle of the list; a restore puts it back at its place. Also the plain store
// saves of the same changes, the delayed save that follows, and the cost of the
// store's fingerprint.
// Built natively and for Windows (run under Wine by bench/bin_bench.sh).
// Usage: bin_bench [runs] [notes ...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_note.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/bin_commit.h"
#include "store/store_fingerprint.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using vn::bench::BenchNote;
using vn::bench::Median;

double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

void Bench(const fs::path& folder, int count, int runs) {
    std::string body;
    std::vector<BenchNote> notes = vn::bench::FourKilobyteNotes(count, body);
    std::vector<vn::StoreNote*> list = vn::bench::ListOf(notes);

    vn::Windows1252CodePage cp;
    vn::FileSystem& disk = vn::PlatformFileSystem();
    fs::create_directories(folder);
    const std::u16string data = vn::DecodeUtf8(folder.string()) + u"\\";
    vn::NoteStore store(disk, cp, data);
    vn::RecycleBin bin(disk, data);
    vn::BinCommit commit(store, bin);
    auto save = [&] {
        if (!commit.Write(vn::CaptureStore(list)).saved) std::abort();
    };
    save();
    save(); // from here on the store knows both of its folders

    // Each run: one note changed, then that note deleted from the middle and put back
    // at the end, once as plain store saves and once through the bin, so that both
    // meet the folders in the same state.
    std::vector<double> oneChanged, deleted, restored, fingerprint, plainDeleted, plainAdded, following;
    auto timed = [](std::vector<double>& into, auto&& work) {
        const auto t0 = Clock::now();
        work();
        into.push_back(Ms(t0, Clock::now()));
    };
    for (int run = 0; run < runs; ++run) {
        for (bool throughBin : {false, true}) {
            const size_t p = static_cast<size_t>(count / 2);
            vn::StoreNote* note = list[p];
            // Two saves of one change each: the second finds both folders as a steady
            // stream of edits leaves them.
            static_cast<BenchNote&>(*note) = BenchNote(count / 2 + run, body + std::to_string(run) + (throughBin ? "b" : "p"));
            save();
            static_cast<BenchNote&>(*note) = BenchNote(count / 2 + run, body + std::to_string(run) + (throughBin ? "B" : "P"));
            timed(oneChanged, save);
            std::vector<vn::StoreNote*> staying = list;
            staying.erase(staying.begin() + static_cast<ptrdiff_t>(p));
            if (!throughBin) {
                // The delete of the program before the bin: the note leaves the list, and the store follows.
                list = staying;
                timed(plainDeleted, save);
                list.insert(list.begin() + static_cast<ptrdiff_t>(p), note);
                timed(plainAdded, save);
                continue;
            }
            // As the controller deletes and restores: the captures, then the commit.
            vn::BinCommit::Moved moved;
            timed(deleted, [&] {
                moved = commit.MoveToBin(vn::CaptureStore(std::span(&note, 1)).notes,
                                         vn::CaptureStore(vn::StoreOrderWithout(list, {p})), 1'800'000'000);
            });
            if (!moved.outcome.saved) std::abort();
            list = staying;
            // Back at its place, as the program restores a note deleted since its start.
            std::vector<vn::StoreNote*> with = list;
            with.insert(with.begin() + static_cast<ptrdiff_t>(p), note);
            timed(restored, [&] {
                if (!commit.Restore(moved.ids, vn::CaptureStore(with)).saved) std::abort();
            });
            list = with;
            timed(fingerprint, [&] { store.FingerprintOnDisk(); });
            // The delayed save that follows writes the list in its own order.
            timed(following, save);
        }
    }
    const double baseline = Median(oneChanged);
    std::printf("%d notes of 4 KB, real files, median of %d runs:\n", count, runs);
    std::printf("  %-44s %8.2f ms\n", "store save, one note changed", baseline);
    std::printf("  %-44s %8.2f ms  %.2fx the one-note save (goal: <= 1x, <= 30 ms)\n",
                "delete to the bin (from the middle)", Median(deleted), Median(deleted) / baseline);
    std::printf("  %-44s %8.2f ms  %.2fx the one-note save (goal: <= 1x, <= 30 ms)\n", "restore from the bin",
                Median(restored), Median(restored) / baseline);
    std::printf("  %-44s %8.2f ms  (the store's share of a delete)\n", "store save, the same note deleted, no bin",
                Median(plainDeleted));
    std::printf("  %-44s %8.2f ms  (the store's share of a restore)\n", "store save, the note put back, no bin",
                Median(plainAdded));
    std::printf("  %-44s %8.2f ms\n", "the delayed store save after them", Median(following));
    std::printf("  %-44s %8.2f ms  (read only after an interrupted delete or restore)\n",
                "fingerprint of the store on the disk", Median(fingerprint));
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(std::max(1, std::atoi(argv[i])));
    if (counts.empty()) counts = {1000, 5000};
    const fs::path temp = fs::temp_directory_path() / ("vn-bin-bench-" + std::to_string(Clock::now().time_since_epoch().count()));
    for (int count : counts) Bench(temp / std::to_string(count), count, runs);
    fs::remove_all(temp);
    return 0;
}
