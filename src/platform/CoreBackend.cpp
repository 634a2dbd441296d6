// The portable core's system services on Windows: the wide profile calls,
// file access by wide path, the ANSI code page, and a named mutex per INI
// file that serialises its operations across processes.
#include <windows.h>

#include <cstring>

#include "../shared/System.h"

namespace stamplets {

static_assert(sizeof(wchar_t) == 2, "Windows wide text is UTF-16");

WideString UpperCase(WideStringView s) {
  WideString out(s);
  if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

WideString AnsiToWide(std::string_view s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  WideString out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(WideStringView s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

namespace sys {

namespace {

// Paths of MAX_PATH characters or more need the "\\?\" form.
WideString LongPath(const WideString& path) {
  if (path.size() < MAX_PATH || StartsWith(path, L"\\\\?\\")) return path;
  if (StartsWith(path, L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + path;
  return path;
}

DWORD Attributes(const WideString& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(LongPath(path).c_str());
}

}  // namespace

bool FileExists(const WideString& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const WideString& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> ReadFileBytes(const WideString& path) {
  HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::string> result;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF) {
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (bytes.empty() ||
        (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
         read == bytes.size()))
      result = std::move(bytes);
  }
  CloseHandle(file);
  return result;
}

bool WriteFileBytes(const WideString& path, std::string_view bytes) {
  HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = bytes.empty() ||
            (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
             written == bytes.size());
  ok = CloseHandle(file) && ok;
  return ok;
}

bool DeleteFileAt(const WideString& path) {
  return DeleteFileW(LongPath(path).c_str()) != 0;
}

std::uint64_t FileStamp(const WideString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  std::uint64_t stamp = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                        data.ftLastWriteTime.dwLowDateTime;
  stamp ^= static_cast<std::uint64_t>(data.nFileSizeLow) << 40;
  return stamp == 0 ? 1 : stamp;
}

std::uint64_t FileSize(const WideString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool CreateFolder(const WideString& path) {
  return !path.empty() && CreateDirectoryW(LongPath(path).c_str(), nullptr) != 0;
}

bool RemoveEmptyFolder(const WideString& path) {
  return !path.empty() && RemoveDirectoryW(LongPath(path).c_str()) != 0;
}

std::vector<WideString> FilesIn(const WideString& folder) {
  std::vector<WideString> names;
  WideString pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(LongPath(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

bool WideProfileCallsAvailable() {
  return true;
}

std::uint32_t GetProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                             wchar_t* buffer, std::uint32_t size, const wchar_t* path) {
  return GetPrivateProfileStringW(section, key, fallback, buffer, size, path);
}

bool WriteProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                      const wchar_t* path) {
  return WritePrivateProfileStringW(section, key, value, path) != 0;
}

namespace {

// "Local\Stamplets.Ini.<hash>" from the upper-cased full path: mutex names
// cannot hold "\" and are limited in length, so the path is hashed (FNV-1a).
WideString MutexNameFor(const WideString& path) {
  wchar_t full[4096];
  DWORD n = GetFullPathNameW(path.c_str(), 4096, full, nullptr);
  WideString normal = UpperCase(n > 0 && n < 4096 ? WideString(full, n) : path);
  for (wchar_t& c : normal)
    if (c == L'/') c = L'\\';
  std::uint64_t h = 14695981039346656037ull;
  for (wchar_t c : normal) {
    h ^= static_cast<std::uint16_t>(c);
    h *= 1099511628211ull;
  }
  wchar_t name[64];
  wsprintfW(name, L"Local\\Stamplets.Ini.%08lX%08lX", static_cast<unsigned long>(h >> 32),
            static_cast<unsigned long>(h & 0xFFFFFFFF));
  return name;
}

constexpr DWORD kLockWaitMs = 10000;

}  // namespace

FileOperationLock::FileOperationLock(const WideString& path) : handle_(0) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexNameFor(path).c_str());
  if (!mutex) return;
  DWORD wait = WaitForSingleObject(mutex, kLockWaitMs);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
    handle_ = reinterpret_cast<std::intptr_t>(mutex);
    return;
  }
  CloseHandle(mutex);
}

FileOperationLock::~FileOperationLock() {
  if (!handle_) return;
  HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
}

}  // namespace sys
}  // namespace stamplets
