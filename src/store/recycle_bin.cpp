#include "store/recycle_bin.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <set>

#include "platform/text_codec.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/store_names.h"

namespace vn {

namespace {

constexpr std::string_view kHeader = "Vantory Note recycle bin 1";
constexpr std::u16string_view kIndexName = u"Deleted.txt";
constexpr std::u16string_view kTemporaryIndexName = u"Deleted.tmp";

std::string Escaped(std::u16string_view text) {
    std::string out;
    for (char c : EncodeUtf8(text)) {
        switch (c) {
        case '%': out += "%25"; break;
        case '|': out += "%7C"; break;
        case '\r': out += "%0D"; break;
        case '\n': out += "%0A"; break;
        default: out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::u16string Unescaped(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return DecodeUtf8(out);
}

std::string Hex(uint64_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (size_t i = 16; i-- > 0; value >>= 4) out[i] = kDigits[value & 15];
    return out;
}

template <class Number>
std::optional<Number> NumberOf(std::string_view text, int base = 10) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::vector<std::string_view> Cut(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t bar; (bar = line.find('|', start)) != std::string_view::npos; start = bar + 1)
        fields.push_back(line.substr(start, bar - start));
    fields.push_back(line.substr(start));
    return fields;
}

std::string EntryLine(const BinEntry& e) {
    const char mark = e.mark == BinMark::Deleting ? 'D' : e.mark == BinMark::Restoring ? 'R' : '-';
    const CapturedNote& n = e.note;
    return std::to_string(e.id) + "|" + std::to_string(e.deletedAt) + "|" + mark + "|" + Hex(e.fingerprint) + "|" +
           Escaped(n.exeName) + "|" + Escaped(n.caption) + "|" + Escaped(n.ownerLabel) + "|" + Escaped(n.timeLabel) +
           "|" + Escaped(n.checkStates) + "\r\n";
}

// An entry of the index, or nothing for a line of another shape (skipped).
std::optional<BinEntry> ReadEntry(std::string_view line) {
    const std::vector<std::string_view> f = Cut(line);
    if (f.size() != 9 || f[2].size() != 1) return std::nullopt;
    auto id = NumberOf<uint64_t>(f[0]);
    auto deleted = NumberOf<int64_t>(f[1]);
    auto fingerprint = NumberOf<uint64_t>(f[3], 16);
    if (!id || !deleted || !fingerprint || *id == 0) return std::nullopt;
    BinEntry e;
    e.id = *id;
    e.deletedAt = *deleted;
    e.mark = f[2] == "D" ? BinMark::Deleting : f[2] == "R" ? BinMark::Restoring : BinMark::None;
    if (e.mark == BinMark::None && f[2] != "-") return std::nullopt;
    e.fingerprint = *fingerprint;
    e.note = {Unescaped(f[4]), Unescaped(f[5]), Unescaped(f[6]), Unescaped(f[7]), Unescaped(f[8]), nullptr};
    e.listed = true;
    return e;
}

// "<id>.txt" as the bin names its body files.
std::optional<uint64_t> BodyFileId(std::u16string_view name) {
    if (!name.ends_with(u".txt")) return std::nullopt;
    std::string digits;
    for (char16_t c : name.substr(0, name.size() - 4)) {
        if (c < u'0' || c > u'9') return std::nullopt;
        digits += static_cast<char>(c);
    }
    return NumberOf<uint64_t>(digits);
}

} // namespace

bool BinEntry::InBin() const {
    switch (mark) {
    case BinMark::None: return listed;
    case BinMark::Deleting: return committed == true;
    case BinMark::Restoring: return committed == false;
    }
    return false;
}

RecycleBin::RecycleBin(FileSystem& fs, const std::u16string& dataFolder)
    : fs_(fs), folder_(dataFolder + std::u16string(kBinFolderName)) {}

std::u16string RecycleBin::BodyPath(uint64_t id) const {
    return folder_ + u"\\" + DecimalText(static_cast<size_t>(id)) + u".txt";
}

void RecycleBin::CheckReadable() const {
    if (unreadable_) throw BinUnreadableError("The recycle bin cannot be read.");
}

void RecycleBin::Load() {
    entries_.clear();
    nextId_ = 1;
    unreadable_ = false;
    const std::u16string index = folder_ + u"\\" + std::u16string(kIndexName);
    if (fs_.Kind(folder_) != PathKind::Folder) return;
    std::string bytes;
    if (fs_.Exists(index)) {
        try {
            bytes = fs_.ReadFile(index);
        } catch (const std::exception& e) {
            unreadable_ = true;
            throw BinUnreadableError(e.what());
        }
    }
    std::set<uint64_t> named;
    size_t start = 0;
    for (size_t lineNumber = 0; start < bytes.size(); ++lineNumber) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string_view line(bytes.data() + start, end - start);
        start = end + 2;
        if (lineNumber == 0 && line == kHeader) continue;
        std::optional<BinEntry> entry = ReadEntry(line);
        if (!entry || !named.insert(entry->id).second) continue;
        nextId_ = std::max(nextId_, entry->id + 1);
        entries_.push_back(std::move(*entry));
    }
    for (const std::u16string& name : fs_.List(folder_)) {
        const std::optional<uint64_t> id = BodyFileId(name);
        if (!id) continue;
        nextId_ = std::max(nextId_, *id + 1);
        if (named.count(*id)) continue;
        try {
            fs_.RemoveFile(folder_ + u"\\" + name);
        } catch (const std::exception&) {
            // Held by another program: nothing names it, and its id is not given out.
        }
    }
}

BinEntry* RecycleBin::FindEntry(uint64_t id) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const BinEntry& e) { return e.id == id; });
    return it == entries_.end() ? nullptr : &*it;
}

const BinEntry* RecycleBin::Find(uint64_t id) const { return const_cast<RecycleBin*>(this)->FindEntry(id); }

BodyBytes RecycleBin::Body(uint64_t id) {
    BinEntry* entry = FindEntry(id);
    if (!entry) throw Error("The note is not in the recycle bin.");
    if (!entry->note.body) entry->note.body = std::make_shared<const std::string>(fs_.ReadFile(BodyPath(id)));
    return entry->note.body;
}

std::vector<uint64_t> RecycleBin::Stage(std::vector<CapturedNote> notes, int64_t now) {
    CheckReadable();
    fs_.CreateFolders(folder_);
    std::vector<uint64_t> ids;
    try {
        for (CapturedNote& note : notes) {
            const uint64_t id = nextId_++;
            fs_.WriteFile(BodyPath(id), note.body ? *note.body : std::string(), Durability::Flushed);
            ids.push_back(id);
            BinEntry entry;
            entry.id = id;
            entry.deletedAt = now;
            entry.note = std::move(note);
            entries_.push_back(std::move(entry));
        }
    } catch (...) {
        try {
            Unstage(ids);
        } catch (const std::exception&) {
        }
        throw;
    }
    return ids;
}

void RecycleBin::Unstage(const std::vector<uint64_t>& ids) {
    std::vector<uint64_t> gone;
    std::erase_if(entries_, [&](const BinEntry& e) {
        const bool leaves = !e.listed && std::find(ids.begin(), ids.end(), e.id) != ids.end();
        if (leaves) gone.push_back(e.id);
        return leaves;
    });
    DeleteBodies(gone);
}

void RecycleBin::WriteIndex(const std::vector<BinEntry>& entries) {
    std::string bytes = std::string(kHeader) + "\r\n";
    for (const BinEntry& e : entries)
        if (e.listed) bytes += EntryLine(e);
    const std::u16string temporary = folder_ + u"\\" + std::u16string(kTemporaryIndexName);
    fs_.WriteFile(temporary, bytes, Durability::Flushed);
    fs_.Rename(temporary, folder_ + u"\\" + std::u16string(kIndexName), Durability::Flushed);
}

void RecycleBin::Replace(std::vector<BinEntry> entries) {
    std::vector<uint64_t> gone;
    for (const BinEntry& e : entries_)
        if (std::none_of(entries.begin(), entries.end(), [&](const BinEntry& kept) { return kept.id == e.id; }))
            gone.push_back(e.id);
    WriteIndex(entries);
    entries_ = std::move(entries);
    DeleteBodies(gone);
}

void RecycleBin::Mark(const std::vector<uint64_t>& ids, BinMark mark, uint64_t fingerprint) {
    CheckReadable();
    fs_.CreateFolders(folder_);
    std::vector<BinEntry> entries = entries_;
    for (BinEntry& e : entries) {
        if (std::find(ids.begin(), ids.end(), e.id) == ids.end()) continue;
        e.mark = mark;
        e.fingerprint = fingerprint;
        e.committed.reset();
        e.listed = true;
    }
    // A failure leaves the old index, and the entries as they were.
    Replace(std::move(entries));
}

void RecycleBin::Decide(const std::vector<uint64_t>& ids, bool committed) {
    for (uint64_t id : ids)
        if (BinEntry* e = FindEntry(id); e && e->mark != BinMark::None) e->committed = committed;
}

void RecycleBin::DecideByStore(uint64_t storeFingerprint) {
    for (BinEntry& e : entries_)
        if (e.mark != BinMark::None && !e.committed) e.committed = e.fingerprint == storeFingerprint;
}

bool RecycleBin::HasUndecided() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const BinEntry& e) { return e.mark != BinMark::None && !e.committed; });
}

void RecycleBin::Settle(bool committed, std::optional<uint64_t> except) {
    auto settling = [&](const BinEntry& e) {
        return e.listed && e.mark != BinMark::None && e.committed == committed && e.fingerprint != except;
    };
    if (std::none_of(entries_.begin(), entries_.end(), settling)) return;
    CheckReadable();
    std::vector<BinEntry> entries;
    for (const BinEntry& e : entries_) {
        if (!settling(e)) {
            entries.push_back(e);
            continue;
        }
        // A delete that went through stays in the bin; so does a restore that did not.
        if ((e.mark == BinMark::Deleting) != committed) continue;
        entries.push_back(e);
        entries.back().mark = BinMark::None;
        entries.back().fingerprint = 0;
        entries.back().committed.reset();
    }
    Replace(std::move(entries));
}

void RecycleBin::Remove(const std::vector<uint64_t>& ids) {
    CheckReadable();
    auto leaving = [&](const BinEntry& e) {
        return e.InBin() && std::find(ids.begin(), ids.end(), e.id) != ids.end();
    };
    if (std::none_of(entries_.begin(), entries_.end(), leaving)) return;
    std::vector<BinEntry> entries = entries_;
    std::erase_if(entries, leaving);
    Replace(std::move(entries));
}

void RecycleBin::Purge(int64_t now) {
    std::vector<uint64_t> old;
    for (const BinEntry& e : entries_)
        if (e.listed && e.mark == BinMark::None && e.deletedAt < now - kBinRetentionSeconds) old.push_back(e.id);
    Remove(old);
}

// A deletion lost in a power cut leaves a file no index names, which the next Load removes.
void RecycleBin::DeleteBodies(const std::vector<uint64_t>& ids) {
    for (uint64_t id : ids) {
        try {
            fs_.RemoveFile(BodyPath(id));
        } catch (const std::exception&) {
        }
    }
}

} // namespace vn
