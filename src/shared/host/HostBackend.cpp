// The core's system services on the Linux host, where tests and benchmarks
// of the portable core run. There are no wide profile calls here, so
// TTntIniFile works through its in-memory engine; file operations are
// serialised with an advisory lock on the file's folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cwctype>

#include "../System.h"

namespace stamplets {

namespace {

// Stamplets names files with a backslash; the host knows only "/".
std::string HostPath(const WideString& path) {
  std::string host = WideToUtf8(path);
  for (char& c : host)
    if (c == '\\') c = '/';
  return host;
}

// Windows-1252: the bytes 0x80..0x9F differ from Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

WideString UpperCase(WideStringView s) {
  WideString out(s);
  for (wchar_t& c : out)
    if (c < 0xD800 || c > 0xDFFF) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

WideString AnsiToWide(std::string_view s) {
  WideString out;
  out.reserve(s.size());
  for (char ch : s) {
    auto b = static_cast<unsigned char>(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? static_cast<wchar_t>(kCp1252High[b - 0x80])
                                        : static_cast<wchar_t>(b));
  }
  return out;
}

std::string WideToAnsi(WideStringView s) {
  std::string out;
  out.reserve(s.size());
  for (wchar_t c : s) {
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i)
      if (static_cast<wchar_t>(kCp1252High[i]) == c) mapped = static_cast<char>(0x80 + i);
    out.push_back(mapped);
  }
  return out;
}

namespace sys {

bool FileExists(const WideString& path) {
  struct stat st;
  return !path.empty() && stat(HostPath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const WideString& path) {
  struct stat st;
  return !path.empty() && stat(HostPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> ReadFileBytes(const WideString& path) {
  std::FILE* f = std::fopen(HostPath(path).c_str(), "rb");
  if (!f) return std::nullopt;
  std::string bytes;
  struct stat st;
  if (fstat(fileno(f), &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.append(chunk, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

bool WriteFileBytes(const WideString& path, std::string_view bytes) {
  std::FILE* f = std::fopen(HostPath(path).c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

bool DeleteFileAt(const WideString& path) {
  return unlink(HostPath(path).c_str()) == 0;
}

std::uint64_t FileStamp(const WideString& path) {
  struct stat st;
  if (stat(HostPath(path).c_str(), &st) != 0) return 0;
  std::uint64_t stamp = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000ull +
                        static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
  stamp ^= static_cast<std::uint64_t>(st.st_size) << 40;
  stamp ^= static_cast<std::uint64_t>(st.st_ino) << 20;
  return stamp == 0 ? 1 : stamp;
}

std::uint64_t FileSize(const WideString& path) {
  struct stat st;
  return stat(HostPath(path).c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

bool CreateFolder(const WideString& path) {
  return !path.empty() && mkdir(HostPath(path).c_str(), 0777) == 0;
}

bool RemoveEmptyFolder(const WideString& path) {
  return !path.empty() && rmdir(HostPath(path).c_str()) == 0;
}

std::vector<WideString> FilesIn(const WideString& folder) {
  std::vector<WideString> names;
  std::string host = HostPath(folder);
  if (host.empty()) return names;
  if (host.back() != '/') host += '/';
  DIR* dir = opendir(host.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    struct stat st;
    if (stat((host + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      names.push_back(Utf8ToWide(entry->d_name));
  }
  closedir(dir);
  return names;
}

bool WideProfileCallsAvailable() {
  return false;
}

std::uint32_t GetProfileText(const wchar_t*, const wchar_t*, const wchar_t*, wchar_t* buffer,
                             std::uint32_t size, const wchar_t*) {
  if (size > 0) buffer[0] = L'\0';
  return 0;
}

bool WriteProfileText(const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*) {
  return false;
}

// The lock is taken on the file's folder: the file itself may not exist
// yet, and a read must not create it.
FileOperationLock::FileOperationLock(const WideString& path) : handle_(-1) {
  std::string host = HostPath(path);
  size_t slash = host.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : host.substr(0, slash + 1);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (flock(fd, LOCK_EX) == 0) {
    handle_ = fd;
    return;
  }
  close(fd);
}

FileOperationLock::~FileOperationLock() {
  if (handle_ >= 0) {
    flock(static_cast<int>(handle_), LOCK_UN);
    close(static_cast<int>(handle_));
  }
}

}  // namespace sys
}  // namespace stamplets
