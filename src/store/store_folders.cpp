#include "store/store_folders.h"

#include "platform/errors.h"
#include "platform/text_codec.h"
#include "store/store_names.h"

namespace vn {

namespace {

const std::u16string kIndex = u"\\" + std::u16string(kIndexFileName);
constexpr std::u16string_view kStagedIndex = u"\\Jotlets.tmp";
constexpr std::u16string_view kRetired = u"\\retired.del";

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
      staging_(dataFolder + std::u16string(kStagingFolderName)),
      backup_(dataFolder + std::u16string(kBackupFolderName)) {}

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
bool StoreFolders::RetireBackup() {
    bool staged = false;
    try {
        // On the disk with the write-through rename that follows.
        fs_.RemoveFile(backup_ + kIndex);
        if (!fs_.Exists(staging_)) {
            fs_.Rename(backup_, staging_);
            staged = true;
        }
    } catch (const std::exception&) {
    }
    if (fs_.Exists(backup_)) DeleteOrFail(backup_);
    return staged;
}

void StoreFolders::PrepareStaging() {
    if (fs_.Exists(backup_)) RetireBackup();
    if (fs_.Exists(staging_)) {
        RetireStagedIndex();
    } else {
        fs_.CreateFolders(staging_);
    }
}

// A plain deletion may be lost in a power cut, and a store folder's index or a
// body file the index names must not come back: the file first goes to a name
// nothing refers to, by a rename, which is on the disk when it returns.
void StoreFolders::RetireFile(const std::u16string& path) {
    if (fs_.Kind(path) != PathKind::File) return;
    const std::u16string retired = ParentPath(path) + std::u16string(kRetired);
    fs_.Rename(path, retired);
    fs_.RemoveFile(retired);
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

void StoreFolders::RetireStagedIndex() {
    RetireFile(staging_ + kIndex);
    if (IsComplete(staging_)) throw Error("Cannot delete file \"" + EncodeUtf8(staging_ + kIndex) + "\".");
}

void StoreFolders::ReplaceIndex(const std::u16string& folder, const std::string& bytes) {
    std::u16string temporary = folder + std::u16string(kStagedIndex);
    fs_.WriteFile(temporary, bytes, Durability::Flushed);
    fs_.Rename(temporary, folder + kIndex);
}

bool StoreFolders::Commit() {
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
    if (!hadStore) return false;
    try {
        return RetireBackup();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace vn
