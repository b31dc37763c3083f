#include "store/store_folders.h"

#include "platform/errors.h"
#include "store/utf.h"

namespace vn {

namespace {
constexpr std::u16string_view kIndex = u"\\Jotlets.txt";
constexpr std::u16string_view kStagedIndex = u"\\Jotlets.tmp";
} // namespace

StoreFolders::StoreFolders(FileSystem& fs, const std::u16string& dataFolder)
    : fs_(fs),
      store_(dataFolder + u"Information"),
      staging_(dataFolder + u"Information.new"),
      backup_(dataFolder + u"Information.old") {}

bool StoreFolders::IsComplete(const std::u16string& folder) { return fs_.Exists(folder + std::u16string(kIndex)); }

std::u16string StoreFolders::FolderToLoad() {
    for (const std::u16string* folder : {&store_, &staging_, &backup_})
        if (IsComplete(*folder)) return *folder;
    return {};
}

void StoreFolders::DeleteOrFail(const std::u16string& folder) {
    fs_.DeleteDirectory(folder);
    // Leftovers would mix with the next store or block the swap.
    if (fs_.Exists(folder)) throw Error("Cannot delete folder \"" + EncodeUtf8(folder) + "\".");
}

void StoreFolders::Settle() {
    if (IsComplete(store_)) return;
    const std::u16string* source = IsComplete(staging_) ? &staging_ : IsComplete(backup_) ? &backup_ : nullptr;
    if (!source) return;
    // An incomplete "Information" has no index, so nothing refers to its files.
    if (fs_.Exists(store_)) DeleteOrFail(store_);
    fs_.Rename(*source, store_);
}

void StoreFolders::ResetStaging() {
    DeleteOrFail(staging_);
    fs_.CreateDirectories(staging_);
}

void StoreFolders::WriteStagedIndex(const std::string& bytes) {
    std::u16string temporary = staging_ + std::u16string(kStagedIndex);
    fs_.WriteFile(temporary, bytes);
    fs_.Rename(temporary, staging_ + std::u16string(kIndex));
}

void StoreFolders::Commit() {
    DeleteOrFail(backup_);
    const bool hadStore = fs_.Exists(store_);
    if (hadStore) fs_.Rename(store_, backup_);
    try {
        fs_.Rename(staging_, store_);
    } catch (...) {
        if (hadStore) {
            try {
                fs_.Rename(backup_, store_);
            } catch (const std::exception&) {
                // The next start finds the new store in the staging folder.
            }
        }
        throw;
    }
    fs_.DeleteDirectory(backup_);
}

} // namespace vn
