// Speed of the note store.
//   1. An index of 10,000 records: compose, encode + write, read + decode, split.
//   2. A store save of 1,000 notes with 4 KB bodies on real files: a full save
//      with its flushes against plain writes of the same bytes (goal: within
//      1.5x); a save after one note changed (goals: within 10 % of a full save
//      and 30 ms); a save after a deletion; a full save in memory.
// Usage: store_bench [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "memory_file_system.h"
#include "bench_note.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/index_file.h"
#include "store/note_store.h"
#include "store/record_line.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

using vn::bench::BenchNote;
using vn::bench::Median;

void RawWrite(const fs::path& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void IndexBench(const fs::path& temp, int runs) {
    const int count = 10000;
    vn::Windows1252CodePage cp;
    vn::FileSystem& disk = vn::PlatformFileSystem();
    const std::u16string path = vn::DecodeUtf8((temp / "Jotlets.txt").string());
    std::vector<double> compose, write, read, split;
    size_t bytes = 0;
    for (int run = 0; run < runs; ++run) {
        auto t0 = Clock::now();
        std::vector<std::u16string> lines;
        lines.reserve(count);
        for (int i = 0; i < count; ++i) {
            std::u16string n = vn::DecodeUtf8(std::to_string(i));
            lines.push_back(vn::ComposeRecordLine(u"editor.exe", u"Document " + n + u" - Editor", u"WS-01",
                                                  u"11.08.2015 14:03:22", u"Information\\" + n + u".txt", u"0101000010"));
        }
        auto t1 = Clock::now();
        std::string file = vn::EncodeIndexFile(lines, cp);
        disk.WriteFile(path, file);
        auto t2 = Clock::now();
        std::vector<std::u16string> back = vn::DecodeIndexFile(disk.ReadFile(path), cp);
        auto t3 = Clock::now();
        size_t usable = 0;
        for (const auto& line : back) {
            vn::RecordParts parts = vn::SplitRecordLine(line);
            if (vn::SplitNamePart(parts.namePart).size() == 2 && vn::SplitFields(parts.valuePart).size() >= 3) ++usable;
        }
        auto t4 = Clock::now();
        if (usable != static_cast<size_t>(count)) std::abort();
        bytes = file.size();
        compose.push_back(Seconds(t0, t1));
        write.push_back(Seconds(t1, t2));
        read.push_back(Seconds(t2, t3));
        split.push_back(Seconds(t3, t4));
    }
    std::printf("index of %d records (%zu bytes), median of %d runs:\n", count, bytes, runs);
    auto row = [&](const char* what, const std::vector<double>& t) {
        double s = Median(t);
        std::printf("  %-16s %8.2f ms  %12.0f records/s\n", what, s * 1e3, count / s);
    };
    row("compose", compose);
    row("encode + write", write);
    row("read + decode", read);
    row("split", split);
}

void SaveBench(const fs::path& temp, int runs) {
    const int count = 1000;
    std::string body;
    std::vector<BenchNote> notes = vn::bench::FourKilobyteNotes(count, body);
    std::vector<vn::StoreNote*> list = vn::bench::ListOf(notes);
    vn::Windows1252CodePage cp;

    // The bytes a save writes, for the plain baseline.
    std::vector<std::u16string> lines;
    for (int p = count - 1; p >= 0; --p) {
        std::u16string n = vn::DecodeUtf8(std::to_string(p));
        lines.push_back(vn::ComposeRecordLine(notes[p].ExeName(), notes[p].Caption(), u"WS-01", u"11.08.2015 14:03:22",
                                              u"Information\\" + n + u".txt", notes[p].CheckStateString()));
    }
    const std::string index = vn::EncodeIndexFile(lines, cp);

    vn::FileSystem& disk = vn::PlatformFileSystem();
    const fs::path data = temp / "Vantory Note";
    const std::u16string dataFolder = vn::DecodeUtf8(data.string()) + u"\\";
    const fs::path raw[2] = {temp / "raw0", temp / "raw1"};
    for (const auto& f : raw) fs::create_directories(f);
    auto writeAll = [&](const fs::path& folder) {
        for (int p = 0; p < count; ++p) RawWrite(folder / (std::to_string(p) + ".txt"), notes[p].SaveBody());
        RawWrite(folder / "Jotlets.txt", index);
    };
    auto time = [](std::vector<double>& into, auto&& work) {
        auto t0 = Clock::now();
        work();
        into.push_back(Seconds(t0, Clock::now()));
    };

    // A full save: every body differs from what the folders hold, so each is
    // written and flushed. Two warm-up rounds: from the third on, a save overwrites
    // the files of the store before last, which the plain writes into two folders
    // in turn mirror.
    std::vector<double> full, plain, memory;
    vn::MemoryFileSystem memoryFs;
    vn::NoteStore fullStore(disk, cp, dataFolder);
    for (int run = 0; run < runs + 2; ++run) {
        std::vector<double> scratch;
        const bool counted = run >= 2;
        for (int i = 0; i < count; ++i) notes[i] = BenchNote(i, body + "full " + std::to_string(run));
        time(counted ? full : scratch, [&] { fullStore.SaveStore(list); });
        time(counted ? plain : scratch, [&] { writeAll(raw[run % 2]); });
        time(counted ? memory : scratch,
             [&] { vn::NoteStore(memoryFs, cp, u"C:\\Data\\Vantory Note\\").SaveStore(list); });
    }
    if (disk.ReadFile(vn::DecodeUtf8((data / "Information" / "Jotlets.txt").string())) != index) std::abort();

    // The first save after a start: the list comes back reversed, and the store
    // has not seen the staging folder (which holds the store of two saves ago).
    std::vector<double> firstAfterStart;
    const std::vector<vn::StoreNote*> reversed(list.rbegin(), list.rend());
    for (int run = 0; run < runs; ++run) {
        vn::NoteStore before(disk, cp, dataFolder);
        before.SaveStore(list);
        before.SaveStore(list);
        time(firstAfterStart, [&] { vn::NoteStore(disk, cp, dataFolder).SaveStore(reversed); });
    }

    // One store through a session: after two saves it knows both folders.
    vn::NoteStore store(disk, cp, dataFolder);
    store.SaveStore(list);
    store.SaveStore(list);
    std::vector<double> oneChanged;
    for (int run = 0; run < runs; ++run) {
        BenchNote& changed = notes[static_cast<size_t>(run * 37 % count)];
        changed = BenchNote(run * 37 % count, body + std::to_string(run));
        time(oneChanged, [&] { store.SaveStore(list); });
    }
    // Deleting one note: every later note moves down one place. The two saves
    // after it both move the bodies (the staging folder is one save behind).
    std::vector<double> deleted, afterDeleted;
    for (int run = 0; run < runs; ++run) {
        list.erase(list.begin() + 500);
        time(deleted, [&] { store.SaveStore(list); });
        time(afterDeleted, [&] { store.SaveStore(list); });
    }

    const double fullSave = Median(full);
    std::printf("store save of %d notes with 4 KB bodies (%.1f MB), real files, median of %d runs:\n", count,
                (count * 4096.0 + index.size()) / 1e6, runs);
    std::printf("  %-48s %8.2f ms\n", "full save, bodies and index flushed", fullSave * 1e3);
    std::printf("  %-48s %8.2f ms  full save = %.2fx (goal: <= 1.5x)\n", "plain writes of the same bytes",
                Median(plain) * 1e3, fullSave / Median(plain));
    std::printf("  %-48s %8.2f ms  %.1f %% of a full save\n", "first save after a start (list reversed)",
                Median(firstAfterStart) * 1e3, 100 * Median(firstAfterStart) / fullSave);
    std::printf("  %-48s %8.2f ms  %.1f %% of a full save (goals: <= 10 %%, <= 30 ms)\n", "one note changed",
                Median(oneChanged) * 1e3, 100 * Median(oneChanged) / fullSave);
    std::printf("  %-48s %8.2f ms  %.1f %% of a full save\n", "one note of the middle deleted",
                Median(deleted) * 1e3, 100 * Median(deleted) / fullSave);
    std::printf("  %-48s %8.2f ms  %.1f %% of a full save\n", "the save after that", Median(afterDeleted) * 1e3,
                100 * Median(afterDeleted) / fullSave);
    std::printf("  %-48s %8.2f ms\n", "full save, file system in memory", Median(memory) * 1e3);
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    std::string pattern = (fs::temp_directory_path() / "vn-store-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    fs::path temp(pattern);
    IndexBench(temp, runs);
    SaveBench(temp, runs);
    fs::remove_all(temp);
    return 0;
}
