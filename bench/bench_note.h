#pragma once
// What the store benchmarks share: a note with a fixed identity, labels and check
// states around a body of given bytes, and the median of timed runs.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "store/body_file.h"
#include "store/store_note.h"

namespace vn::bench {

class BenchNote : public StoreNote {
public:
    BenchNote(int i, std::string body) : index_(i), body_(std::move(body)) {}
    std::u16string ExeName() const override { return u"editor.exe"; }
    std::u16string Caption() const override { return u"Document " + DecodeUtf8(std::to_string(index_)) + u" - Editor"; }
    std::u16string OwnerLabel() const override { return u"WS-01"; }
    std::u16string TimeLabel() const override { return u"11.08.2015 14:03:22"; }
    void SetOwnerLabel(const std::u16string&) override {}
    void SetTimeLabel(const std::u16string&) override {}
    std::string SaveBody() override { return body_; }
    void LoadBody(const BodyFile& body) override { body_ = body.Bytes(); }
    std::u16string CheckStateString() const override { return u"0101000010"; }
    void SetPendingCheckStates(const std::u16string&) override {}
    void RestoreLayoutAfterFill() override {}

private:
    int index_;
    std::string body_;
};

// `count` notes whose 4 KB bodies differ in their first bytes, and the list of them.
inline std::vector<BenchNote> FourKilobyteNotes(int count, std::string& body) {
    std::vector<BenchNote> notes;
    notes.reserve(static_cast<size_t>(count));
    body.assign(4096, 'x');
    for (int i = 0; i < count; ++i) {
        body.replace(0, 20, "{\\rtf1 note " + std::to_string(i + 100000) + " ");
        notes.emplace_back(i, body);
    }
    return notes;
}

inline std::vector<StoreNote*> ListOf(std::vector<BenchNote>& notes) {
    std::vector<StoreNote*> list;
    for (auto& n : notes) list.push_back(&n);
    return list;
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace vn::bench
