#include "SectionReader.h"

#include <unordered_set>

#include "TntClasses.h"

namespace stamplets {

namespace {

constexpr size_t kMaxValue = 2047;

// Upper case of one code unit, with a fast path for ASCII.
wchar_t Fold(wchar_t c) {
  if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
  return UpperCase(WideStringView(&c, 1))[0];
}

using Pairs = std::vector<std::pair<WideString, WideString>>;

// Hashes and compares pairs by index, on their names without regard to
// case, so no upper-cased copy of any name is made.
struct NameHash {
  const Pairs* pairs;
  size_t operator()(size_t i) const {
    std::uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (wchar_t c : (*pairs)[i].first)
      h = (h ^ static_cast<std::uint64_t>(Fold(c))) * 1099511628211ull;
    return static_cast<size_t>(h);
  }
};
struct NameEqual {
  const Pairs* pairs;
  bool operator()(size_t a, size_t b) const {
    const WideString& x = (*pairs)[a].first;
    const WideString& y = (*pairs)[b].first;
    if (x.size() != y.size()) return false;
    for (size_t k = 0; k < x.size(); ++k)
      if (x[k] != y[k] && Fold(x[k]) != Fold(y[k])) return false;
    return true;
  }
};

// Walks UTF-16 LE units or ANSI bytes straight from the file's bytes, so a
// large file is never held twice; the text ends at the first U+0000.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {
    if (bytes_.size() >= 2 && bytes_[0] == '\xFF' && bytes_[1] == '\xFE') {
      utf16_ = true;
      pos_ = 2;
    }
  }
  bool Next(WideString& line) {
    line.clear();
    if (done_ || (utf16_ ? pos_ + 1 >= bytes_.size() : pos_ >= bytes_.size())) return false;
    if (!utf16_) {
      size_t end = bytes_.find_first_of(std::string_view("\r\n\0", 3), pos_);
      if (end == std::string_view::npos) end = bytes_.size();
      line = AnsiToWide(bytes_.substr(pos_, end - pos_));
      pos_ = end;
      if (pos_ < bytes_.size() && bytes_[pos_] == '\0') done_ = true;
      if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
      if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
      return true;
    }
    while (pos_ + 1 < bytes_.size()) {
      auto c = static_cast<wchar_t>(static_cast<unsigned char>(bytes_[pos_]) |
                                    (static_cast<unsigned char>(bytes_[pos_ + 1]) << 8));
      pos_ += 2;
      if (c == L'\0') {
        done_ = true;
        break;
      }
      if (c == L'\n') break;
      if (c == L'\r') {
        if (pos_ + 1 < bytes_.size() && bytes_[pos_] == '\n' && bytes_[pos_ + 1] == '\0') pos_ += 2;
        break;
      }
      line.push_back(c);
    }
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  bool utf16_ = false;
  bool done_ = false;
};

// The text without what the dialect trims from its ends; a view, no copy.
WideStringView Trim(WideStringView s, IniDialect dialect) {
  auto trimmed = [dialect](wchar_t c) {
    if (dialect == IniDialect::kInMemory) return static_cast<std::uint32_t>(c) < 33;
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
  };
  size_t first = 0, last = s.size();
  while (first < last && trimmed(s[first]))
    ++first;
  while (last > first && trimmed(s[last - 1]))
    --last;
  return s.substr(first, last - first);
}

}  // namespace

std::vector<std::pair<WideString, WideString>> ReadSectionOnePass(std::string_view file_bytes,
                                                                  WideStringView section,
                                                                  WideStringView fallback,
                                                                  IniDialect dialect) {
  // Files with other marks are rare here: decode them once to UTF-16 LE.
  std::string recoded;
  if (file_bytes.substr(0, 2) == "\xFE\xFF" || file_bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    recoded = EncodeUtf16Le(DecodeText(file_bytes));
    file_bytes = recoded;
  }
  const bool in_memory = dialect == IniDialect::kInMemory;
  const WideString wanted = UpperCase(section);
  Pairs pairs;
  pairs.reserve(file_bytes.size() / 64);
  std::unordered_set<size_t, NameHash, NameEqual> names(pairs.capacity(), NameHash{&pairs},
                                                        NameEqual{&pairs});
  std::vector<std::pair<size_t, size_t>> duplicates;  // (later pair, first pair of its name)
  std::vector<size_t> without_equals;                 // in-memory lines that have no "="

  LineReader reader(file_bytes);
  WideString raw;
  bool inside = false;
  while (reader.Next(raw)) {
    const WideStringView line = Trim(raw, dialect);
    if (line.empty()) continue;
    const bool header = line[0] == L'[' && (!in_memory || line.back() == L']');
    if (header) {
      size_t close = in_memory ? line.size() - 1 : line.find(L']');
      const WideStringView name =
          Trim(line.substr(1, close == WideStringView::npos ? close : close - 1), dialect);
      const bool match = UpperCase(name) == wanted;
      if (in_memory) {
        // The in-memory lookups find the last section of a name.
        if (match) {
          pairs.clear();
          names.clear();
          duplicates.clear();
          without_equals.clear();
        }
        inside = match;
      } else if (inside) {
        break;  // the profile calls read the first section of a name
      } else {
        inside = match;
      }
      continue;
    }
    if (!inside || line[0] == L';') continue;

    size_t eq = line.find(L'=');
    if (eq == WideStringView::npos) {
      if (in_memory) {
        without_equals.push_back(pairs.size());
        pairs.emplace_back(WideString(), WideString(fallback));
      } else {
        pairs.emplace_back(WideString(line), WideString(fallback));
      }
      continue;
    }
    WideStringView value = Trim(line.substr(eq + 1), dialect);
    if (!in_memory && value.size() > 1 && (value[0] == L'"' || value[0] == L'\'') &&
        value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    pairs.emplace_back(WideString(Trim(line.substr(0, eq), dialect)),
                       WideString(value.substr(0, kMaxValue)));
    auto [first, inserted] = names.insert(pairs.size() - 1);
    if (inserted) continue;
    duplicates.emplace_back(pairs.size() - 1, *first);
    // The first pair of a name holds the answer for every pair of that name.
    if (in_memory) pairs[*first].second = pairs.back().second;
  }
  for (auto [later, first] : duplicates)
    pairs[later].second = pairs[first].second;
  if (!without_equals.empty()) {
    // A line without "=" lists under the empty name, whose value is that of
    // the last line beginning with "=".
    pairs.emplace_back(WideString(), WideString());
    auto found = names.find(pairs.size() - 1);
    WideString value = found == names.end() ? WideString(fallback) : pairs[*found].second;
    pairs.pop_back();
    for (size_t i : without_equals)
      pairs[i].second = value;
  }
  return pairs;
}

}  // namespace stamplets
