#include "ZipArchive.h"

#include <zip.h>

namespace stamplets {

namespace {

// A file source for libzip from a wide path: the wide file calls on
// Windows, the UTF-8 name with "/" on the host.
zip_source_t* FileSource(const WideString& path, zip_error_t* error) {
#ifdef _WIN32
  return zip_source_win32w_create(path.c_str(), 0, -1, error);
#else
  std::string host = WideToUtf8(path);
  for (char& c : host)
    if (c == '\\') c = '/';
  return zip_source_file_create(host.c_str(), 0, -1, error);
#endif
}

zip_t* OpenArchive(const WideString& path, int flags) {
  if (path.empty()) return nullptr;
  zip_error_t error;
  zip_error_init(&error);
  zip_t* archive = nullptr;
  if (zip_source_t* source = FileSource(path, &error)) {
    archive = zip_open_from_source(source, flags, &error);
    if (!archive) zip_source_free(source);
  }
  zip_error_fini(&error);
  return archive;
}

WideString WithBackslashes(WideStringView name) {
  WideString out(name);
  for (wchar_t& c : out)
    if (c == L'/') c = L'\\';
  return out;
}

}  // namespace

// ---- ZipReader ------------------------------------------------------------------

std::unique_ptr<ZipReader> ZipReader::Open(const WideString& path) {
  zip_t* archive = OpenArchive(path, ZIP_RDONLY);
  if (!archive) return nullptr;
  return std::unique_ptr<ZipReader>(new ZipReader(archive));
}

ZipReader::ZipReader(zip* archive) : archive_(archive) {
  zip_int64_t count = zip_get_num_entries(archive_, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
    stored_.emplace_back(name ? name : "");
    names_.push_back(WithBackslashes(Utf8ToWide(stored_.back())));
  }
}

ZipReader::~ZipReader() {
  zip_discard(archive_);
}

void ZipReader::SetPassword(const std::string& password) {
  zip_set_default_password(archive_, password.empty() ? nullptr : password.c_str());
}

// The one entry of this name; -1 when there is none or more than one.
std::int64_t ZipReader::IndexOf(WideStringView name) const {
  WideString wanted = WithBackslashes(name);
  std::int64_t found = -1;
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] != wanted) continue;
    if (found >= 0) return -1;
    found = static_cast<std::int64_t>(i);
  }
  return found;
}

std::uint64_t ZipReader::SizeOf(WideStringView name) const {
  std::int64_t index = IndexOf(name);
  zip_stat_t st;
  zip_stat_init(&st);
  if (index < 0 || zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0 ||
      !(st.valid & ZIP_STAT_SIZE))
    return 0;
  return st.size;
}

ZipReader::Extracted ZipReader::Extract(WideStringView name, std::uint64_t limit,
                                        std::string& bytes) const {
  bytes.clear();
  std::int64_t index = IndexOf(name);
  if (index < 0) return Extracted::kMissing;
  if (SizeOf(name) > limit) return Extracted::kTooLarge;

  zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
  if (!file) return Extracted::kFailed;
  Extracted result = Extracted::kOk;
  char chunk[65536];
  for (;;) {
    zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
    if (n < 0) {
      result = Extracted::kFailed;
      break;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<std::uint64_t>(n) > limit) {
      result = Extracted::kTooLarge;
      break;
    }
    bytes.append(chunk, static_cast<size_t>(n));
  }
  if (zip_fclose(file) != 0 && result == Extracted::kOk) result = Extracted::kFailed;
  if (result != Extracted::kOk) bytes.clear();
  return result;
}

// ---- ZipWriter ------------------------------------------------------------------

std::unique_ptr<ZipWriter> ZipWriter::Open(const WideString& path) {
  zip_t* archive = OpenArchive(path, ZIP_CREATE);
  if (!archive) return nullptr;
  return std::unique_ptr<ZipWriter>(new ZipWriter(archive));
}

ZipWriter::~ZipWriter() {
  if (archive_) zip_discard(archive_);
}

bool ZipWriter::Add(WideStringView name, std::string bytes, std::uint16_t method,
                    const std::string& password) {
  if (!archive_) return false;
  std::string stored = WideToUtf8(name);
  for (char& c : stored)
    if (c == '\\') c = '/';
  data_.push_back(std::make_unique<std::string>(std::move(bytes)));
  const std::string& data = *data_.back();
  zip_source_t* source = zip_source_buffer(archive_, data.data(), data.size(), 0);
  if (!source) return false;
  zip_int64_t index =
      zip_file_add(archive_, stored.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  auto entry = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(archive_, entry, method == kStore ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                               method == kStore ? 0 : 9) != 0)
    return false;
  if (!password.empty() &&
      zip_file_set_encryption(archive_, entry, ZIP_EM_TRAD_PKWARE, password.c_str()) != 0)
    return false;
  return true;
}

bool ZipWriter::Close() {
  if (!archive_) return false;
  if (zip_close(archive_) != 0) return false;  // archive_ stays for the destructor's discard
  archive_ = nullptr;
  data_.clear();
  return true;
}

}  // namespace stamplets
