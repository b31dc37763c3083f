// Speed of the exchange archive next to zlib alone and Info-ZIP on the same files.
//   zip_bench [SCRATCH_FOLDER] [RUNS]
// Generates two folders (2,000 RTF-like files of 1-50 KB, about 50 MB; 200 typical
// note bodies with their index), then for each reports the best of RUNS timings of:
// raw zlib deflate / inflate of the same bytes in memory (one stream, reset per
// file), packing and unpacking with the program's code, and `zip -6 -r` / `unzip`.
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "exchange/zip_archive.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kWords[] = {"milk", "eggs", "call", "Anna", "about", "the", "meeting", "tomorrow", "report",
                              "draft", "check", "invoice", "budget", "review", "notes", "project", "deadline",
                              "Friday", "update", "server", "backup", "password", "reset", "order", "coffee",
                              "\\'e9t\\'e9", "caf\\'e9", "na\\'efve", "r\\'e9sum\\'e9", "todo", "done", "later"};

// An RTF document of about `size` bytes, as a rich-edit control writes one.
std::string RtfLike(size_t size, std::mt19937& random) {
    std::string s =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Segoe UI;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue0;\\red192\\green0\\blue0;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276\\slmult1\\f0\\fs18\\lang9 ";
    while (s.size() < size) {
        const unsigned r = random() % 100;
        if (r < 4) s += "\\b ";
        else if (r < 8) s += "\\b0 ";
        else if (r < 10) s += "\\cf2 ";
        else if (r < 12) s += "\\cf0 ";
        else if (r < 20) s += "\\par\r\n";
        else if (r < 24) s += std::to_string(random() % 10000) + " ";
        s += kWords[random() % std::size(kWords)];
        s += ' ';
    }
    return s + "\\par\r\n}\r\n";
}

struct DataSet {
    std::string label;
    fs::path folder;
    std::vector<std::string> contents;
    uint64_t bytes = 0;
};

DataSet Generate(const fs::path& folder, const std::string& label, size_t count, size_t minSize, size_t maxSize,
                 bool withIndex, unsigned seed) {
    std::mt19937 random(seed);
    DataSet set{label, folder, {}, 0};
    fs::create_directories(folder);
    std::string index;
    for (size_t i = 0; i < count; ++i) {
        const size_t size = minSize + random() % (maxSize - minSize + 1);
        set.contents.push_back(RtfLike(size, random));
        std::ofstream(folder / (std::to_string(i) + ".txt"), std::ios::binary) << set.contents.back();
        index += "notepad.exe|note " + std::to_string(i) + " - Notepad=HOST|17.05.2024 13:45|Temp Export\\" +
                 std::to_string(i) + ".txt|1010\r\n";
    }
    if (withIndex) {
        set.contents.push_back(index);
        std::ofstream(folder / "Jotlets.txt", std::ios::binary) << index;
    }
    for (const std::string& c : set.contents) set.bytes += c.size();
    return set;
}

struct Task {
    std::function<void()> prepare;
    std::function<void()> work;
    double best = 1e30;
};

// Runs the tasks in turn, RUNS rounds, and keeps each one's best time: on a shared,
// noisy machine, rivals measured side by side see the same load.
void RunRounds(int runs, std::vector<Task*> tasks) {
    for (int i = 0; i < runs; ++i) {
        for (Task* t : tasks) {
            t->prepare();
            // Nothing left for the disk to write back: what the previous run wrote
            // or deleted is not charged to the next one.
            sync();
            const auto start = Clock::now();
            t->work();
            t->best = std::min(t->best, std::chrono::duration<double>(Clock::now() - start).count());
        }
    }
}

void Shell(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

struct Row {
    const char* name;
    double seconds;
};

void Measure(const DataSet& set, const fs::path& scratch, int runs) {
    const double mb = static_cast<double>(set.bytes) / 1e6;
    std::printf("\n%s: %zu files, %.1f MB\n", set.label.c_str(), set.contents.size(), mb);

    // zlib alone: one raw deflate stream reset per file, 64 KiB output buffer.
    std::vector<std::string> compressed(set.contents.size());
    z_stream z = {};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> out(64 * 1024);
    Task rawDeflate{[] {}, [&] {
        for (size_t i = 0; i < set.contents.size(); ++i) {
            deflateReset(&z);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(set.contents[i].data()));
            z.avail_in = static_cast<uInt>(set.contents[i].size());
            compressed[i].clear();
            int rc;
            do {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                rc = deflate(&z, Z_FINISH);
                compressed[i].append(reinterpret_cast<char*>(out.data()), out.size() - z.avail_out);
            } while (rc != Z_STREAM_END);
        }
    }};
    z_stream inf = {};
    inflateInit2(&inf, -15);
    Task rawInflate{[] {}, [&] {
        for (size_t i = 0; i < compressed.size(); ++i) {
            inflateReset(&inf);
            inf.next_in = reinterpret_cast<Bytef*>(compressed[i].data());
            inf.avail_in = static_cast<uInt>(compressed[i].size());
            int rc;
            do {
                inf.next_out = out.data();
                inf.avail_out = static_cast<uInt>(out.size());
                rc = inflate(&inf, Z_NO_FLUSH);
            } while (rc == Z_OK);
        }
    }};

    const fs::path ours = scratch / (set.label + "-ours.zip");
    const fs::path theirs = scratch / (set.label + "-infozip.zip");
    const fs::path outOurs = scratch / (set.label + "-out-ours");
    const fs::path outTheirs = scratch / (set.label + "-out-unzip");
    Task pack{[&] { fs::remove(ours); },
              [&] { vn::ZipDirectoryContents(ours.u16string(), set.folder.u16string(), 8); }};
    Task zip{[&] { fs::remove(theirs); },
             [&] { Shell("cd " + Quote(set.folder) + " && zip -q -6 -r " + Quote(theirs) + " ."); }};
    Task unpack{[&] { fs::remove_all(outOurs); }, [&] { vn::ExtractZipFile(ours.u16string(), outOurs.u16string()); }};
    Task unzip{[&] { fs::remove_all(outTheirs); },
               [&] { Shell("unzip -q -o " + Quote(theirs) + " -d " + Quote(outTheirs)); }};
    RunRounds(runs, {&rawDeflate, &pack, &zip});
    RunRounds(runs, {&rawInflate, &unpack, &unzip});
    deflateEnd(&z);
    inflateEnd(&inf);
    uint64_t compressedBytes = 0;
    for (const std::string& c : compressed) compressedBytes += c.size();

    const Row rows[] = {{"raw zlib deflate (memory)", rawDeflate.best}, {"ZipDirectoryContents", pack.best},
                        {"Info-ZIP zip -6 -r", zip.best},               {"raw zlib inflate (memory)", rawInflate.best},
                        {"ExtractZipFile", unpack.best},                {"Info-ZIP unzip", unzip.best}};
    for (const Row& r : rows) std::printf("  %-28s %8.1f MB/s  %8.1f ms\n", r.name, mb / r.seconds, r.seconds * 1e3);
    std::printf("  archive: ours %.2f MB (%.1f%% of the files), zip -6 %.2f MB, raw deflate %.2f MB\n",
                fs::file_size(ours) / 1e6, 100.0 * fs::file_size(ours) / set.bytes, fs::file_size(theirs) / 1e6,
                compressedBytes / 1e6);
    std::printf("  packing takes %.2fx raw deflate (goal <= 1.15x), %.2fx zip -6 (goal < 1)\n",
                pack.best / rawDeflate.best, pack.best / zip.best);
    std::printf("  unpacking takes %.2fx unzip (goal < 1), %.2fx raw inflate\n", unpack.best / unzip.best,
                unpack.best / rawInflate.best);
}

} // namespace

int main(int argc, char** argv) {
    const fs::path scratch = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "vn-zip-bench";
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const DataSet rtf = Generate(scratch / "rtf", "rtf-2000", 2000, 1000, 50000, false, 1);
    const DataSet notes = Generate(scratch / "notes", "notes-200", 200, 300, 4000, true, 2);
    std::printf("best of %d runs each; files in %s", runs, scratch.string().c_str());
    Measure(rtf, scratch, runs);
    Measure(notes, scratch, runs);
    fs::remove_all(scratch);
    return 0;
}
