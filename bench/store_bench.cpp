// Speed of the note store.
//   1. An index of 10,000 records: compose, encode + write, read + decode, split.
//   2. A store save of 1,000 notes with 4 KB bodies through the engine, against
//      the file system in memory and against real files, as a ratio to writing
//      the same bytes with plain file writes (goal: within 1.5x).
// Usage: store_bench [runs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "store/index_file.h"
#include "memory_file_system.h"
#include "store/note_store.h"
#include "platform/file_system.h"
#include "store/record_line.h"
#include "platform/text_codec.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class BenchNote final : public vn::StoreNote {
public:
    BenchNote(int i, std::string body) : index_(i), body_(std::move(body)) {}
    std::u16string ExeName() const override { return u"editor.exe"; }
    std::u16string Caption() const override { return u"Document " + vn::DecodeUtf8(std::to_string(index_)) + u" - Editor"; }
    std::u16string OwnerLabel() const override { return u"WS-01"; }
    std::u16string TimeLabel() const override { return u"11.08.2015 14:03:22"; }
    void SetOwnerLabel(const std::u16string&) override {}
    void SetTimeLabel(const std::u16string&) override {}
    std::string SaveBody() override { return body_; }
    void LoadBody(const vn::BodyFile& body) override { body_ = body.Bytes(); }
    std::u16string CheckStateString() const override { return u"0101000010"; }
    void SetPendingCheckStates(const std::u16string&) override {}
    void RestoreLayoutAfterFill() override {}

private:
    int index_;
    std::string body_;
};

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
    std::vector<BenchNote> notes;
    std::string body(4096, 'x');
    for (int i = 0; i < count; ++i) {
        body.replace(0, 20, "{\\rtf1 note " + std::to_string(i + 100000) + " ");
        notes.emplace_back(i, body);
    }
    std::vector<vn::StoreNote*> list;
    for (auto& n : notes) list.push_back(&n);
    vn::Windows1252CodePage cp;

    // The bytes a save writes, for the raw baseline.
    std::vector<std::u16string> lines;
    for (int p = count - 1; p >= 0; --p) {
        std::u16string n = vn::DecodeUtf8(std::to_string(p));
        lines.push_back(vn::ComposeRecordLine(notes[p].ExeName(), notes[p].Caption(), u"WS-01", u"11.08.2015 14:03:22",
                                              u"Information\\" + n + u".txt", notes[p].CheckStateString()));
    }
    const std::string index = vn::EncodeIndexFile(lines, cp);

    std::vector<double> memory, real, rawTwin, rawSame, rawReset;
    vn::MemoryFileSystem memoryFs;
    vn::NoteStore memoryStore(memoryFs, cp, u"C:\\Data\\Vantory Note\\");
    vn::FileSystem& disk = vn::PlatformFileSystem();
    const fs::path data = temp / "Vantory Note";
    vn::NoteStore realStore(disk, cp, vn::DecodeUtf8(data.string()) + u"\\");
    const fs::path raw[2] = {temp / "raw0", temp / "raw1"};
    const fs::path same = temp / "same", reset = temp / "reset";
    for (const auto& f : {raw[0], raw[1], same}) fs::create_directories(f);
    auto writeAll = [&](const fs::path& folder) {
        for (int p = 0; p < count; ++p) RawWrite(folder / (std::to_string(p) + ".txt"), notes[p].SaveBody());
        RawWrite(folder / "Jotlets.txt", index);
    };
    auto time = [](std::vector<double>& into, auto&& work) {
        auto t0 = Clock::now();
        work();
        into.push_back(Seconds(t0, Clock::now()));
    };

    // Two warm-up saves: from the third on, a save overwrites the files of the
    // store before last, which the plain writes into two folders in turn mirror.
    for (int run = 0; run < runs + 2; ++run) {
        std::vector<double> scratch;
        const bool counted = run >= 2;
        time(counted ? memory : scratch, [&] { memoryStore.SaveStore(list); });
        time(counted ? real : scratch, [&] { realStore.SaveStore(list); });
        time(counted ? rawTwin : scratch, [&] { writeAll(raw[run % 2]); });
        time(counted ? rawSame : scratch, [&] { writeAll(same); });
        time(counted ? rawReset : scratch, [&] {
            fs::remove_all(reset);
            fs::create_directories(reset);
            writeAll(reset);
        });
    }
    if (disk.ReadFile(vn::DecodeUtf8((data / "Information" / "Jotlets.txt").string())) != index) std::abort();
    const double engine = Median(real);
    std::printf("store save of %d notes with 4 KB bodies (%.1f MB), median of %d runs:\n", count,
                (count * 4096.0 + index.size()) / 1e6, runs);
    std::printf("  %-44s %8.2f ms  %9.0f records/s\n", "engine, memory file system", Median(memory) * 1e3,
                count / Median(memory));
    std::printf("  %-44s %8.2f ms  %9.0f records/s\n", "engine, real files", engine * 1e3, count / engine);
    auto baseline = [&](const char* what, const std::vector<double>& t) {
        std::printf("  %-44s %8.2f ms  engine = %.2fx\n", what, Median(t) * 1e3, engine / Median(t));
    };
    baseline("plain writes, two folders in turn", rawTwin);
    baseline("plain writes, the same files each time", rawSame);
    baseline("plain writes into a folder deleted first", rawReset);
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
