#include "store/store_folders.h"

#include "platform/errors.h"
#include "platform/text_codec.h"
#include "store/store_names.h"

namespace vn {

namespace {

const std::u16string kIndex = u"\\" + std::u16string(kIndexFileName);
constexpr std::u16string_view kStagedIndex = u"\\Jotlets.tmp";

// "<n>.txt" with n below count, as the store names its body files: decimal
// without leading zeros (any letter case in the extension).
bool IsBodyFileBelow(std::u16string_view name, size_t count) {
    constexpr std::u16string_view ext = u".txt";
    constexpr size_t maxDigits = 9;
    if (name.size() <= ext.size() || name.size() > ext.size() + maxDigits) return false;
    for (size_t i = 0; i < ext.size(); ++i)
        if ((name[name.size() - ext.size() + i] | 0x20) != ext[i]) return false;
    std::u16string_view digits = name.substr(0, name.size() - ext.size());
    if (digits.size() > 1 && digits[0] == u'0') return false;
    size_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + static_cast<size_t>(c - u'0');
    }
    return value < count;
}

} // namespace

StoreFolders::StoreFolders(FileSystem& fs, const std::u16string& dataFolder)
    : fs_(fs),
      store_(dataFolder + std::u16string(kStoreFolderName)),
      staging_(store_ + u".new"),
      backup_(store_ + u".old") {}

bool StoreFolders::IsComplete(const std::u16string& folder) { return fs_.Exists(folder + kIndex); }

std::u16string StoreFolders::FolderToLoad() {
    for (const std::u16string* folder : {&staging_, &store_, &backup_})
        if (IsComplete(*folder)) return *folder;
    return {};
}

void StoreFolders::DeleteOrFail(const std::u16string& folder) {
    fs_.DeleteDirectory(folder);
    // Leftovers would mix with the next store or block the swap.
    if (fs_.Exists(folder)) throw Error("Cannot delete folder \"" + EncodeUtf8(folder) + "\".");
}

void StoreFolders::Settle() {
    if (IsComplete(staging_)) {
        Commit();
        return;
    }
    if (IsComplete(store_) || !IsComplete(backup_)) return;
    // An incomplete "Information" has no index, so nothing refers to its files.
    if (fs_.Exists(store_)) DeleteOrFail(store_);
    fs_.Rename(backup_, store_);
}

// The backup folder holds a store older than "Information": it loses its index
// first, then becomes the staging folder, or goes.
void StoreFolders::RetireBackup() {
    try {
        fs_.RemoveFile(backup_ + kIndex);
        if (!fs_.Exists(staging_)) fs_.Rename(backup_, staging_);
    } catch (const std::exception&) {
    }
    if (fs_.Exists(backup_)) DeleteOrFail(backup_);
}

void StoreFolders::PrepareStaging() {
    if (fs_.Exists(backup_)) RetireBackup();
    if (fs_.Exists(staging_)) {
        fs_.RemoveFile(staging_ + kIndex);
        if (IsComplete(staging_)) throw Error("Cannot delete file \"" + EncodeUtf8(staging_ + kIndex) + "\".");
    } else {
        fs_.CreateFolders(staging_);
    }
}

void StoreFolders::RemoveStaleFiles(size_t bodyFileCount) {
    for (const std::u16string& name : fs_.List(staging_)) {
        if (IsBodyFileBelow(name, bodyFileCount)) continue;
        std::u16string path = staging_ + u"\\" + name;
        try {
            fs_.RemoveFile(path);
        } catch (const std::exception&) {
            fs_.DeleteDirectory(path); // a folder someone put there
            if (fs_.Exists(path)) throw;
        }
    }
}

void StoreFolders::WriteStagedIndex(const std::string& bytes) {
    std::u16string temporary = staging_ + std::u16string(kStagedIndex);
    fs_.WriteFile(temporary, bytes);
    fs_.Rename(temporary, staging_ + kIndex);
}

void StoreFolders::Commit() {
    if (fs_.Exists(backup_)) DeleteOrFail(backup_);
    const bool hadStore = fs_.Exists(store_);
    if (hadStore) fs_.Rename(store_, backup_);
    try {
        fs_.Rename(staging_, store_);
    } catch (...) {
        if (hadStore) {
            try {
                fs_.Rename(backup_, store_);
            } catch (const std::exception&) {
                // The complete staging folder is still the newest store.
            }
        }
        throw;
    }
    // The new store is in place; what is left is tidying up, which the next
    // save repeats if it fails here.
    if (!hadStore) return;
    try {
        RetireBackup();
    } catch (const std::exception&) {
    }
}

} // namespace vn
