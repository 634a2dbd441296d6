#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace stamplets::test {

namespace fs = std::filesystem;

namespace {

fs::path NativePath(const WideString& path) {
#ifdef _WIN32
  return fs::path(path);
#else
  // Stamplets names files with backslashes; the host knows only "/".
  std::string host = WideToUtf8(path);
  for (char& c : host)
    if (c == '\\') c = '/';
  return fs::path(host);
#endif
}

WideString FromNative(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return Utf8ToWide(path.string());
#endif
}

}  // namespace

TempDir::TempDir() {
  static int counter = 0;
  fs::path base = fs::temp_directory_path();
#ifdef _WIN32
  auto pid = GetCurrentProcessId();
#else
  auto pid = getpid();
#endif
  for (;;) {
    fs::path candidate =
        base / ("stamplets-test-" + std::to_string(pid) + "-" + std::to_string(++counter));
    if (fs::create_directory(candidate)) {
      path_ = FromNative(candidate);
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Files made read-only by a test must not survive it.
  for (auto it = fs::recursive_directory_iterator(NativePath(path_), ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(NativePath(path_), ignored);
}

WideString TempDir::operator/(WideStringView name) const {
#ifdef _WIN32
  return path_ + L"\\" + WideString(name);
#else
  return path_ + L"/" + WideString(name);
#endif
}

std::string ReadBytes(const WideString& path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + WideToUtf8(path));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const WideString& path, std::string_view bytes) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + WideToUtf8(path));
}

std::string Utf16File(WideStringView text) {
  std::string out = "\xFF\xFE";
  for (wchar_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  return out;
}

bool Exists(const WideString& path) {
  return fs::exists(NativePath(path));
}

void MakeDir(const WideString& path) {
  fs::create_directories(NativePath(path));
}

WideString DistFolder() {
#ifdef _WIN32
  WideString path = L"Z:" + Utf8ToWide(STAMPLETS_DIST_DIR_ON_BUILD_HOST);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
#else
  return Utf8ToWide(STAMPLETS_DIST_DIR_ON_BUILD_HOST);
#endif
}

std::string SolidIconFile(int size, unsigned char r, unsigned char g, unsigned char b) {
  std::string out;
  auto put16 = [&](unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto put32 = [&](unsigned v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  const unsigned n = static_cast<unsigned>(size);
  const unsigned mask_row = ((n + 31) / 32) * 4;
  const unsigned image_bytes = 40 + n * n * 4 + mask_row * n;
  put16(0);  // icon directory: reserved, type 1 (icon), one image
  put16(1);
  put16(1);
  out.push_back(static_cast<char>(n < 256 ? n : 0));  // the image's entry
  out.push_back(static_cast<char>(n < 256 ? n : 0));
  out.push_back(0);
  out.push_back(0);
  put16(1);
  put16(32);
  put32(image_bytes);
  put32(22);
  put32(40);  // BITMAPINFOHEADER: the height counts colour and mask rows
  put32(n);
  put32(2 * n);
  put16(1);
  put16(32);
  for (int i = 0; i < 6; ++i)
    put32(0);
  for (unsigned i = 0; i < n * n; ++i) {
    out.push_back(static_cast<char>(b));
    out.push_back(static_cast<char>(g));
    out.push_back(static_cast<char>(r));
    out.push_back(static_cast<char>(0xFF));
  }
  out.append(mask_row * n, '\0');
  return out;
}

WideString SiblingProgram(std::string_view base_name) {
#ifdef _WIN32
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  fs::path dir = fs::path(self).parent_path();
  return (dir / (std::string(base_name) + ".exe")).wstring();
#else
  fs::path dir = fs::read_symlink("/proc/self/exe").parent_path();
  return Utf8ToWide((dir / base_name).string());
#endif
}

std::vector<int> RunConcurrently(const std::vector<std::vector<WideString>>& command_lines) {
  std::vector<int> codes;
#ifdef _WIN32
  std::vector<HANDLE> processes;
  for (const auto& args : command_lines) {
    WideString line;
    for (const auto& arg : args)
      line += L"\"" + arg + L"\" ";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      throw std::runtime_error("CreateProcessW failed");
    CloseHandle(pi.hThread);
    processes.push_back(pi.hProcess);
  }
  for (HANDLE process : processes) {
    WaitForSingleObject(process, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    codes.push_back(static_cast<int>(code));
    CloseHandle(process);
  }
#else
  std::vector<pid_t> children;
  for (const auto& args : command_lines) {
    std::vector<std::string> utf8;
    for (const auto& arg : args)
      utf8.push_back(WideToUtf8(arg));
    pid_t pid = fork();
    if (pid == 0) {
      std::vector<char*> argv;
      for (auto& a : utf8)
        argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    children.push_back(pid);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : 128);
  }
#endif
  return codes;
}

}  // namespace stamplets::test
