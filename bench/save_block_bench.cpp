// How long a store save holds up the interface thread, at 1,000 and 5,000 notes
// with 4 KB bodies on real files. A save is captured on the interface thread
// (CaptureStore) and written on the data folder's writer (DataFolderWriter); the
// interface thread meanwhile goes on with its messages. For each kind of save:
//   - the capture and hand-over, which the interface thread waits for (goal: <= 100 ms);
//   - the longest gap between the turns of a stand-in message loop on the
//     interface thread while the writer writes (goal: <= 100 ms);
//   - the write itself, which a save on the interface thread would have blocked for.
// The kinds: the first save into a store that has no staging folder (a store from
// another computer: every body is written and flushed), a full save after every
// body changed, and a save after one note changed (in a session whose staging
// folder holds the store of the save before).
// Usage: save_block_bench [runs]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/data_folder_writer.h"
#include "bench_note.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/note_store.h"
#include "store/store_snapshot.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using vn::bench::BenchNote;
using vn::bench::Median;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Timing {
    std::vector<double> block, gap, write;
};

// One save the way the controller runs it: capture, hand over, then a message loop
// that turns every millisecond until the writer says it is done.
void TimedSave(vn::DataFolderWriter& writer, vn::NoteStore& store, std::vector<vn::StoreNote*>& list, Timing& into) {
    std::atomic<bool> done{false};
    Clock::duration written{};
    const auto t0 = Clock::now();
    auto snapshot = std::make_shared<const vn::StoreSnapshot>(vn::CaptureStore(list));
    writer.Post([&, snapshot]() -> vn::DataFolderWriter::Then {
        const auto w0 = Clock::now();
        if (!store.Write(*snapshot).saved) std::abort();
        written = Clock::now() - w0;
        done = true;
        return {};
    });
    auto last = Clock::now();
    into.block.push_back(Ms(last - t0));
    Clock::duration longest{};
    volatile unsigned work = 0;
    while (!done) {
        // A message's worth of work: a note moved, a key typed.
        for (unsigned i = 0; i < 20000; ++i) work = work + i;
        const auto now = Clock::now();
        longest = std::max(longest, now - last);
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    writer.WaitIdle();
    into.gap.push_back(Ms(longest));
    into.write.push_back(Ms(written));
}

void Row(const char* what, const Timing& t) {
    std::printf("  %-40s %8.2f ms %8.2f ms %10.2f ms\n", what, Median(t.block), Median(t.gap), Median(t.write));
}

void Bench(const fs::path& temp, int count, int runs) {
    vn::Windows1252CodePage cp;
    vn::FileSystem& disk = vn::PlatformFileSystem();
    const fs::path data = temp / ("Vantory Note " + std::to_string(count));
    const std::u16string dataFolder = vn::DecodeUtf8(data.string()) + u"\\";
    std::string body(4096, 'x');
    std::vector<BenchNote> notes;
    for (int i = 0; i < count; ++i) {
        body.replace(0, 20, "{\\rtf1 note " + std::to_string(i + 100000) + " ");
        notes.emplace_back(i, body);
    }
    std::vector<vn::StoreNote*> list;
    for (auto& n : notes) list.push_back(&n);

    vn::DataFolderWriter writer({});
    Timing first, full, one;
    for (int run = 0; run < runs; ++run) {
        // A store brought from another computer: "Information" only.
        fs::remove_all(data);
        vn::NoteStore(disk, cp, dataFolder).SaveStore(list);
        fs::remove_all(data / "Information.new");
        vn::NoteStore store(disk, cp, dataFolder);
        store.LoadNotes();
        for (int i = 0; i < count; ++i) notes[i] = BenchNote(i, body + "first " + std::to_string(run));
        TimedSave(writer, store, list, first);

        for (int i = 0; i < count; ++i) notes[i] = BenchNote(i, body + "full " + std::to_string(run));
        TimedSave(writer, store, list, full);

        // The staging folder holds the store of two saves ago: one more save of the
        // same notes, as a session's saves go, before the one change.
        if (!store.Write(vn::CaptureStore(list)).saved) std::abort();
        notes[run * 37 % count] = BenchNote(run * 37 % count, body + "one " + std::to_string(run));
        TimedSave(writer, store, list, one);
    }
    std::printf("%d notes with 4 KB bodies, median of %d runs:\n", count, runs);
    std::printf("  %-40s %11s %11s %13s\n", "", "UI blocked", "UI gap", "write (was)");
    Row("first save, no staging folder", first);
    Row("full save, every body changed", full);
    Row("one note changed", one);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string pattern = (fs::temp_directory_path() / "vn-save-block-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path temp(pattern);
    std::printf("goal: the interface thread is never held up more than 100 ms by a save\n");
    for (int count : {1000, 5000}) Bench(temp, count, runs);
    fs::remove_all(temp);
    return 0;
}
