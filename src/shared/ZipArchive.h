// Zip archives through libzip: reading the central directory, extracting one
// named entry into memory (entries under the zip format's traditional
// encryption open with the password set beforehand), and adding files to an
// archive with the strongest deflate level.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "WideText.h"

struct zip;

namespace stamplets {

class ZipReader {
 public:
  // Opens an archive for reading; null when the file cannot be read or is
  // not a zip archive.
  static std::unique_ptr<ZipReader> Open(const WideString& path);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // The stored name of every entry, in directory order. Folder parts are
  // separated by "\" whichever separator the archive used.
  const std::vector<WideString>& Names() const { return names_; }
  // Uncompressed size of the entry of exactly this stored name (with "\"
  // or "/"); 0 when there is none.
  std::uint64_t SizeOf(WideStringView name) const;

  // The password for entries under the traditional encryption.
  void SetPassword(const std::string& password);

  enum class Extracted { kOk, kMissing, kTooLarge, kFailed };
  // Extracts the entry of exactly this name (case-sensitive) into `bytes`.
  // An entry whose data does not decrypt, inflate or match its checksum
  // gives kFailed; one larger than `limit` bytes gives kTooLarge, whatever
  // its directory record claims. `bytes` is empty unless kOk.
  Extracted Extract(WideStringView name, std::uint64_t limit, std::string& bytes) const;

 private:
  explicit ZipReader(zip* archive);
  std::int64_t IndexOf(WideStringView name) const;

  zip* archive_;
  std::vector<WideString> names_;
  std::vector<std::string> stored_;  // the names as libzip gives them (UTF-8)
};

class ZipWriter {
 public:
  // Opens the archive for adding, creating it when missing; null when the
  // file exists but is no archive, or cannot be opened.
  static std::unique_ptr<ZipWriter> Open(const WideString& path);
  // Discards what was added when Close was not called.
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Adds (or replaces) an entry, deflated at level 9; `password` non-empty
  // encrypts it with the traditional encryption. False when libzip refuses.
  bool Add(WideStringView name, std::string bytes, std::uint16_t method = kDeflate,
           const std::string& password = {});
  // Writes the archive; false when that fails.
  bool Close();

  static constexpr std::uint16_t kStore = 0;
  static constexpr std::uint16_t kDeflate = 8;

 private:
  explicit ZipWriter(zip* archive) : archive_(archive) {}

  zip* archive_;
  // libzip reads the added data only when the archive is written.
  std::vector<std::unique_ptr<std::string>> data_;
};

}  // namespace stamplets
