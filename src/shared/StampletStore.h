// The stamplet store: section "Files" of base.ini, one key per marked path
// (exactly as the shell gave it) with its stamplet number as decimal text.
// Every operation opens the file, makes its calls and frees it.
#pragma once

#include <stdexcept>
#include <vector>

#include "WideText.h"

namespace stamplets {

inline constexpr wchar_t kStoreSection[] = L"Files";
inline constexpr int kMaxStamplet = 10;

// A path that cannot be kept as a key: the store would take the text before
// its first "=" as the key and the rest as part of the value.
class EStoreKeyError : public std::runtime_error {
 public:
  explicit EStoreKeyError(const WideString& path);
  const WideString& Path() const { return path_; }
  // The message in UTF-16, for showing to the user.
  WideString Message() const;

 private:
  WideString path_;
};

// One record: the path and its value as stored (normally "1" to "10").
struct StampletRecord {
  WideString path;
  WideString value;
  bool operator==(const StampletRecord&) const = default;
};

class StampletStore {
 public:
  explicit StampletStore(WideString base_ini_path) : path_(std::move(base_ini_path)) {}
  const WideString& Path() const { return path_; }

  // The path's stamplet number; 0 when there is none, when the value is not
  // a number, or when the store cannot be read.
  int Read(const WideString& path) const noexcept;
  // Stores 1..10 for the path. Raises EStoreKeyError for a path holding "=",
  // std::invalid_argument for another number, and EIniFileException when the
  // file refuses the write.
  void Set(const WideString& path, int number) const;
  // Removes the path's key; reports nothing.
  void Clear(const WideString& path) const noexcept;
  // Every record in file order, from one read of the file; a value that is
  // missing reads as "0".
  std::vector<StampletRecord> List() const;
  // Every path in file order.
  std::vector<WideString> ListPaths() const;
  // Removes the keys of the paths and returns those still in the store
  // afterwards (a read-only store keeps them).
  std::vector<WideString> Remove(const std::vector<WideString>& paths) const;

  static bool CanBeKey(WideStringView path) { return path.find(L'=') == WideStringView::npos; }

 private:
  WideString path_;
};

}  // namespace stamplets
