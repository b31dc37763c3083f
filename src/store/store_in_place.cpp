#include "store/store_in_place.h"

#include <set>
#include <unordered_map>

#include "store/body_path.h"
#include "store/index_file.h"
#include "store/index_string.h"
#include "store/store_names.h"

namespace vn {

namespace {

// Names for new body files: none that the folder holds or this save gave out.
class FreeNames {
public:
    explicit FreeNames(const std::vector<std::u16string>& present) {
        for (const std::u16string& name : present) taken_.insert(FoldedFileName(name));
    }
    void Take(const std::u16string& name) { taken_.insert(FoldedFileName(name)); }
    std::u16string Next(const std::u16string& preferred) {
        std::u16string name = preferred;
        while (taken_.count(FoldedFileName(name))) name = DecimalText(lowest_++) + u".txt";
        taken_.insert(FoldedFileName(name));
        return name;
    }

private:
    std::set<std::u16string> taken_;
    size_t lowest_ = 0;
};

} // namespace

void SaveInPlace(FileSystem& fs, StoreFolders& folders, StorePlan& plan, std::optional<FolderContents>& known,
                 const CodePage& codePage, const std::function<void(const std::string& indexBytes)>& beforeIndex) {
    folders.RetireStagedIndex();

    const std::u16string& store = folders.Store();
    FreeNames names(fs.List(store));
    // A file the index names gives its bytes to one record; any other file may be
    // half written or lost in a power cut.
    std::unordered_multimap<std::string_view, std::u16string> held;
    if (known)
        for (const auto& [name, bytes] : *known)
            if (bytes) held.emplace(*bytes, name);
    FolderContents written;
    for (StagedBody& body : plan.bodies) {
        if (body.bytes) {
            if (auto it = held.find(*body.bytes); it != held.end()) {
                body.name = it->second;
                body.bytes = (*known)[body.name];
                written[body.name] = body.bytes;
                held.erase(it);
                continue;
            }
        }
        body.name = names.Next(body.name);
        if (!body.bytes) continue; // its record names a file that does not exist
        fs.WriteFile(store + u"\\" + body.name, *body.bytes, Durability::Flushed);
        written[body.name] = body.bytes;
    }
    const std::string indexBytes = EncodeIndexFile(IndexLines(plan), codePage);
    if (beforeIndex) beforeIndex(indexBytes);
    folders.ReplaceIndex(store, indexBytes);
    known = written;

    std::set<std::u16string> named{FoldedFileName(std::u16string(kIndexFileName))};
    for (const auto& [name, bytes] : written) named.insert(FoldedFileName(name));
    for (const std::u16string& name : fs.List(store)) {
        if (named.count(FoldedFileName(name))) continue;
        try {
            fs.RemoveFile(store + u"\\" + name);
        } catch (const std::exception&) {
            // Held by another program, or a folder someone put there: nothing names it.
        }
    }
}

} // namespace vn
