#pragma once
// Failures are exceptions carrying a text; the one application-wide handler
// decides what the user sees.
#include <stdexcept>
#include <string>

namespace vn {

// Base of every failure the program raises itself. The text is UTF-8.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operating-system call failed; the text names the error code.
class OSError : public Error {
public:
    OSError(unsigned long code, const std::string& message)
        : Error("System Error.  Code: " + std::to_string(code) + ".\n" + message), code_(code) {}
    unsigned long Code() const noexcept { return code_; }

private:
    unsigned long code_;
};

// Why a file operation failed, as far as the file system can tell: what a
// person can do about it differs (close the other program, free space, change
// the folder's permissions).
enum class FileFault {
    Unknown,  // any other failure (a missing path, a device error ...)
    InUse,    // another program holds the file or folder
    DiskFull, // no space left on the disk, or the quota is used up
    ReadOnly, // the file, folder or disk does not allow the change
};

// A file operation failed; the text names the path, and Fault() the cause.
class FileError : public Error {
public:
    FileError(const std::string& message, FileFault fault) : Error(message), fault_(fault) {}
    FileFault Fault() const noexcept { return fault_; }

private:
    FileFault fault_;
};

// The system refused a note window as an owned window of its target (the target
// runs with higher rights). The message is the class name: the handler looks for it.
class TSNCreateWindowHandleAccessDeniedException : public Error {
public:
    TSNCreateWindowHandleAccessDeniedException() : Error("TSNCreateWindowHandleAccessDeniedException") {}
};

} // namespace vn
