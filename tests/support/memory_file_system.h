#pragma once
// A file system in memory, for tests of everything that writes the store. It
// behaves like the Windows one where the store depends on it (a folder never
// replaces anything, names compare without regard to ASCII case, a file needs
// its folder) and it can fail or "kill the process" at any changing step:
//
//   FailStep(n)  - the n-th changing step from now fails with vn::FileError
//                  (of the cause given) and the program goes on (a failed write
//                  leaves half its bytes); several steps may be set to fail;
//   Lock(path)   - reading that file fails, as while another program holds it;
//   KillAfter(n) - after n more changing steps the process dies: the next step
//                  is left half done and every later call raises ProcessKilled.
//                  Survivor() is what the next start finds on disk.
//
// and it can refuse changes for as long as a condition lasts, as Windows does
// before it changes anything (no step is taken):
//
//   Hold(path)       - another program has the file or folder open without
//                      sharing: the file cannot be read or changed, and it or
//                      the folder cannot be renamed or deleted, nor any folder
//                      above it (a command prompt whose current folder it is;
//                      a scan holding a file). Files inside a held folder can
//                      still be changed. InUse.
//   ReadOnly(folder) - nothing at or below the folder may change. With
//                      `below` false only the folder's own entries are fixed
//                      (none added, deleted or renamed, the folder itself not
//                      renamed) while the files and folders in it may change,
//                      as with the ext4 immutable flag. ReadOnly.
//   Full()           - no file can be written or folder created. DiskFull.
//
// With TrackPowerCuts() it also keeps what a power cut would leave:
// PowerCutSurvivor(). That is the disk as of the last flush (a write or a
// rename with Durability::Flushed): every change of names made until then is
// there, in order, but each file holds only the bytes it had when it was last
// flushed, and nothing if it never was (a file replaced without a flush comes
// back empty). Everything after the last flush is gone.
// MakeDurable() flushes everything, as a disk at rest is.
//
// Changing steps: each file write (a file opened by Create counts once, when
// created), each file deleted, each folder created, each entry deleted by
// DeleteDirectory, each rename.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace vn {

// Raised by a killed MemoryFileSystem; deliberately not a std::exception, so
// that nothing that handles ordinary failures mistakes it for one.
struct ProcessKilled {};

class MemoryFileSystem final : public FileSystem {
public:
    PathKind Kind(const std::u16string& path) override;
    std::string ReadFile(const std::u16string& path) override;
    using FileSystem::WriteFile;
    void WriteFile(const std::u16string& path, std::string_view bytes, Durability durability) override;
    void RemoveFile(const std::u16string& path) override;
    void CreateFolders(const std::u16string& path) override;
    void DeleteDirectory(const std::u16string& path) override;
    using FileSystem::Rename;
    void Rename(const std::u16string& from, const std::u16string& to, Durability durability) override;
    std::vector<std::u16string> List(const std::u16string& folder) override;
    std::unique_ptr<SourceFile> OpenRead(const std::u16string& path) override;
    std::unique_ptr<TargetFile> Create(const std::u16string& path) override;
    std::vector<ListedFile> ListFiles(const std::u16string& folder) override;
    void CreateFolder(const std::u16string& path) override;

    void FailStep(int64_t n, FileFault cause = FileFault::Unknown) { failAt_[steps_ + n] = cause; }
    void KillAfter(int64_t n) { killAt_ = steps_ + n + 1; }
    void Lock(const std::u16string& path, bool locked = true);
    void Hold(const std::u16string& path, bool held = true);
    void ReadOnly(const std::u16string& folder, bool below = true);
    void Writable(const std::u16string& folder);
    void Full(bool full = true) { full_ = full; }
    void ClearFaults() {
        failAt_.clear();
        locked_.clear();
        held_.clear();
        readOnly_.clear();
        full_ = false;
        killAt_ = -1;
    }
    bool Killed() const { return killed_; }
    int64_t Steps() const { return steps_; }

    // The disk as the next process finds it: same files, no faults, no log.
    MemoryFileSystem Survivor() const;

    void TrackPowerCuts() {
        tracking_ = true;
        Commit();
    }
    void MakeDurable();
    // The disk as a power cut now would leave it (see above); tracking goes on in the copy.
    MemoryFileSystem PowerCutSurvivor() const;
    // How many flushes (durable writes and renames) there were.
    int64_t Flushes() const { return flushes_; }

    // Every changing step in order: "write P", "mkdir P", "delete P", "rename A > B";
    // a step that failed ends in " (failed)".
    const std::vector<std::u16string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

    // Paths of all files (as last written), in key order.
    std::vector<std::u16string> Files() const;

private:
    struct Node {
        bool folder = false;
        std::string data;
        std::u16string path;                // as given by the caller who made it
        std::optional<std::string> flushed; // the bytes as of the file's last flush
    };
    // A flush: the names as they are now, each file with its flushed bytes.
    void Commit();
    // A file system with this disk, as the next process finds it: no faults, no log.
    MemoryFileSystem NextStart(const std::map<std::u16string, Node>& disk, bool tracking) const;

    enum class StepResult { Done, Fail, Kill };
    StepResult BeginStep(const std::u16string& what);
    [[noreturn]] void FailedStep(const char* what, const std::u16string& path) const;
    void CheckAlive() const;
    bool FolderExists(const std::u16string& key) const;
    // The cause for which a condition refuses a change of `key`: its contents
    // (`entry` false) or its entry in its folder (created, deleted, renamed).
    std::optional<FileFault> Refusal(const std::u16string& key, bool entry) const;
    void CheckChange(const char* what, const std::u16string& path, const std::u16string& key, bool entry) const;

    std::map<std::u16string, Node> nodes_;
    int64_t steps_ = 0;
    std::map<int64_t, FileFault> failAt_;
    std::set<std::u16string> locked_;
    std::set<std::u16string> held_;
    std::map<std::u16string, bool> readOnly_; // folder -> whether what is below it is fixed too
    bool full_ = false;
    int64_t killAt_ = -1;
    bool killed_ = false;
    std::vector<std::u16string> log_;
    bool tracking_ = false;
    std::map<std::u16string, Node> durable_;
    int64_t flushes_ = 0;
};

} // namespace vn
