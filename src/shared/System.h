// What the portable core needs from the operating system, in its own terms.
// Windows implements it in src/platform/CoreBackend.cpp over the Win32 calls;
// the Linux host (tests and benchmarks) in src/shared/host/HostBackend.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WideText.h"

namespace stamplets::sys {

// ---- files -----------------------------------------------------------------

bool FileExists(const WideString& path);       // a file; a folder does not count
bool DirectoryExists(const WideString& path);  // a folder
// The whole file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const WideString& path);
// Creates or replaces the file whole; false when that fails.
bool WriteFileBytes(const WideString& path, std::string_view bytes);
bool DeleteFileAt(const WideString& path);
// Size in bytes; 0 when the file cannot be examined.
std::uint64_t FileSize(const WideString& path);
// Changes whenever the file is written (last-write time and size); 0 when the
// file cannot be examined.
std::uint64_t FileStamp(const WideString& path);

// ---- folders -------------------------------------------------------------------

// Creates one folder whose parent exists; false when it cannot (also when it
// exists already).
bool CreateFolder(const WideString& path);
// Removes a folder that is empty; false otherwise.
bool RemoveEmptyFolder(const WideString& path);
// The names of the plain files directly in a folder (no folders), in the
// order the file system gives them; empty when the folder cannot be read.
std::vector<WideString> FilesIn(const WideString& folder);

// ---- the platform's wide profile calls ---------------------------------------

// True where GetPrivateProfileStringW / WritePrivateProfileStringW exist.
bool WideProfileCallsAvailable();
// Same contract as GetPrivateProfileStringW; null pointers stand for absent
// arguments. Returns the number of characters copied, without the terminator.
std::uint32_t GetProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                             wchar_t* buffer, std::uint32_t size, const wchar_t* path);
// Same contract as WritePrivateProfileStringW.
bool WriteProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                      const wchar_t* path);

// ---- serialising the operations on one file across processes ----------------

// Held for the length of one INI operation. Every process that opens the
// same file (by its normalised full path) waits for the others, so writers
// never overwrite each other's keys and no reader sees a half-written file.
// A lock that cannot be had within a few seconds is given up rather than
// hanging the caller.
class FileOperationLock {
 public:
  explicit FileOperationLock(const WideString& path);
  ~FileOperationLock();
  FileOperationLock(const FileOperationLock&) = delete;
  FileOperationLock& operator=(const FileOperationLock&) = delete;

 private:
  std::intptr_t handle_;
};

}  // namespace stamplets::sys
