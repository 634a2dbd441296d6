#include "TntIniFiles.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "SectionReader.h"
#include "System.h"

namespace stamplets {

namespace {

constexpr std::uint32_t kReadBufferChars = 2048;
constexpr std::uint32_t kListBufferChars = 32768;
constexpr std::size_t kHashBuckets = 256;

// Splits a double-NUL-terminated list of names ("a\0b\0\0") into strings.
void AddNameList(const std::vector<wchar_t>& buffer, std::uint32_t length,
                 TTntStringList& strings) {
  std::uint32_t start = 0;
  for (std::uint32_t i = 0; i < length; ++i) {
    if (buffer[i] == L'\0') {
      if (i == start) break;
      strings.Add(WideString(&buffer[start], i - start));
      start = i + 1;
    }
  }
  if (start < length) strings.Add(WideString(&buffer[start], length - start));
}

// Reads a list of names through the profile call, growing the buffer until
// the whole list fits (the call reports size - 2 when it had to cut). The
// names cannot take more characters than the file has bytes, so a buffer of
// that size usually takes one call.
void ReadNameList(const wchar_t* section, const WideString& path, TTntStringList& strings) {
  const std::uint64_t file_size = sys::FileSize(path);
  std::uint32_t size = kListBufferChars;
  while (size < file_size + 2 && size < (1u << 30))
    size *= 2;
  for (;;) {
    std::vector<wchar_t> buffer(size, L'\0');
    std::uint32_t length =
        sys::GetProfileText(section, nullptr, nullptr, buffer.data(), size, path.c_str());
    if (length + 2 < size || size >= (1u << 30)) {
      AddNameList(buffer, length, strings);
      return;
    }
    size *= 2;
  }
}

// Signed 32-bit integer: leading spaces, an optional sign, then decimal
// digits or "$" and hexadecimal digits, and nothing after them.
bool ParseInteger(std::string_view s, int& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ')
    ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  }
  if (i == s.size()) return false;
  std::uint64_t value = 0;
  for (; i < s.size(); ++i) {
    int digit;
    char c = s[i];
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return false;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;
  }
  if (base == 16) {
    // Hexadecimal text gives the 32-bit pattern, as the platform reads it.
    auto bits = static_cast<std::uint32_t>(value);
    out = static_cast<int>(negative ? 0u - bits : bits);
    return true;
  }
  std::int64_t signed_value = negative ? -static_cast<std::int64_t>(value) : value;
  if (signed_value < INT32_MIN || signed_value > INT32_MAX) return false;
  out = static_cast<int>(signed_value);
  return true;
}

// Dates travel as fixed, locale-independent text: "yyyy-mm-dd", "hh:nn:ss".
std::int64_t DaysFromCivil(int y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::int64_t>(era) * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kUnixEpochInDelphiDays = 25569;  // 1970-01-01

WideString FormatDate(TDateTime value) {
  std::int64_t days = static_cast<std::int64_t>(std::floor(value)) - kUnixEpochInDelphiDays;
  std::time_t t = static_cast<std::time_t>(days * 86400);
  std::tm tm{};
#ifdef _WIN32
  gmtime_s(&tm, &t);
#else
  gmtime_r(&t, &tm);
#endif
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  return AnsiToWide(text);
}

WideString FormatTime(TDateTime value) {
  double fraction = value - std::floor(value);
  auto seconds = static_cast<int>(std::lround(fraction * 86400.0)) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return AnsiToWide(text);
}

bool ParseDate(std::string_view s, TDateTime& out) {
  int y, m, d;
  char tail;
  std::string text(s);
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
  if (m < 1 || m > 12 || d < 1 || d > 31) return false;
  out = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) +
                            kUnixEpochInDelphiDays);
  return true;
}

bool ParseTime(std::string_view s, TDateTime& out) {
  int h, n, sec = 0;
  char tail;
  std::string text(s);
  int fields = std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &h, &n, &sec, &tail);
  if (fields != 2 && fields != 3) return false;
  if (h < 0 || h > 23 || n < 0 || n > 59 || sec < 0 || sec > 59) return false;
  out = (h * 3600 + n * 60 + sec) / 86400.0;
  return true;
}

}  // namespace

// ---- EIniFileException ------------------------------------------------------

EIniFileException::EIniFileException(const WideString& path)
    : std::runtime_error("Unable to write to " + WideToUtf8(path)), path_(path) {}

// ---- TTntStringHash ---------------------------------------------------------

TTntStringHash::TTntStringHash(std::size_t bucket_count) : buckets_(bucket_count) {}

TTntStringHash::~TTntStringHash() {
  Clear();
}

std::uint32_t TTntStringHash::HashOf(WideStringView key) const {
  std::uint32_t h = 0;
  for (wchar_t c : key)
    h = ((h << 2) | (h >> 30)) ^ static_cast<std::uint32_t>(c);
  return h;
}

void TTntStringHash::Add(WideStringView key, int value) {
  auto& head = buckets_[HashOf(key) % buckets_.size()];
  auto item = std::make_unique<TTntHashItem>();
  item->key = WideString(key);
  item->value = value;
  item->next = std::move(head);
  head = std::move(item);
}

int TTntStringHash::ValueOf(WideStringView key) const {
  for (const TTntHashItem* item = buckets_[HashOf(key) % buckets_.size()].get(); item;
       item = item->next.get())
    if (item->key == key) return item->value;
  return -1;
}

void TTntStringHash::Clear() {
  // Unlinks chains one item at a time, so a long chain cannot exhaust the
  // stack through nested destructors.
  for (auto& head : buckets_)
    while (head)
      head = std::move(head->next);
}

// ---- TTntHashedStringList ---------------------------------------------------

TTntHashedStringList::~TTntHashedStringList() = default;

WideString TTntHashedStringList::KeyOf(WideStringView s) const {
  return CaseSensitive() ? WideString(s) : UpperCase(s);
}

void TTntHashedStringList::UpdateValueHash() const {
  if (value_hash_valid_) return;
  if (value_hash_)
    value_hash_->Clear();
  else
    value_hash_ = std::make_unique<TTntStringHash>(kHashBuckets);
  for (int i = 0; i < Count(); ++i)
    value_hash_->Add(KeyOf(Strings(i)), i);
  value_hash_valid_ = true;
}

void TTntHashedStringList::UpdateNameHash() const {
  if (name_hash_valid_) return;
  if (name_hash_)
    name_hash_->Clear();
  else
    name_hash_ = std::make_unique<TTntStringHash>(kHashBuckets);
  for (int i = 0; i < Count(); ++i) {
    const WideString& line = Strings(i);
    size_t eq = line.find(L'=');
    if (eq != WideString::npos) name_hash_->Add(KeyOf(WideStringView(line).substr(0, eq)), i);
  }
  name_hash_valid_ = true;
}

int TTntHashedStringList::IndexOf(WideStringView s) const {
  UpdateValueHash();
  return value_hash_->ValueOf(KeyOf(s));
}

int TTntHashedStringList::IndexOfName(WideStringView name) const {
  UpdateNameHash();
  return name_hash_->ValueOf(KeyOf(name));
}

void TTntHashedStringList::Changed() {
  TTntStringList::Changed();
  value_hash_valid_ = false;
  name_hash_valid_ = false;
}

// ---- TTntCustomIniFile: typed values -----------------------------------------

int TTntCustomIniFile::ReadInteger(const WideString& section, const WideString& ident,
                                   int fallback) {
  WideString text = ReadString(section, ident, L"");
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
    text = L"$" + text.substr(2);
  int value;
  return ParseInteger(WideToAnsi(text), value) ? value : fallback;
}

void TTntCustomIniFile::WriteInteger(const WideString& section, const WideString& ident,
                                     int value) {
  WriteString(section, ident, IntToWide(value));
}

bool TTntCustomIniFile::ReadBool(const WideString& section, const WideString& ident,
                                 bool fallback) {
  return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TTntCustomIniFile::WriteBool(const WideString& section, const WideString& ident, bool value) {
  WriteString(section, ident, value ? L"1" : L"0");
}

int TTntCustomIniFile::ReadBinaryStream(const WideString& section, const WideString& ident,
                                        TMemoryStream& stream) {
  WideString text = ReadString(section, ident, L"");
  if (text.empty()) return 0;
  auto nibble = [](wchar_t c) -> int {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
  };
  std::vector<std::uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = nibble(text[i]);
    int lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  stream.Write(bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}

void TTntCustomIniFile::WriteBinaryStream(const WideString& section, const WideString& ident,
                                          TMemoryStream& stream) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  WideString text;
  const auto& bytes = stream.Bytes();
  for (size_t i = stream.Position(); i < bytes.size(); ++i) {
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 15]);
  }
  stream.SetPosition(bytes.size());
  WriteString(section, ident, text);
}

TDateTime TTntCustomIniFile::ReadDate(const WideString& section, const WideString& ident,
                                      TDateTime fallback) {
  WideString text = ReadString(section, ident, L"");
  TDateTime value;
  return !text.empty() && ParseDate(WideToAnsi(text), value) ? value : fallback;
}

TDateTime TTntCustomIniFile::ReadDateTime(const WideString& section, const WideString& ident,
                                          TDateTime fallback) {
  WideString text = ReadString(section, ident, L"");
  if (text.empty()) return fallback;
  std::string ansi = WideToAnsi(text);
  size_t blank = ansi.find(' ');
  TDateTime date = 0, time = 0;
  if (blank == std::string::npos) return ParseDate(ansi, date) ? date : fallback;
  if (!ParseDate(ansi.substr(0, blank), date) || !ParseTime(ansi.substr(blank + 1), time))
    return fallback;
  return date + time;
}

double TTntCustomIniFile::ReadFloat(const WideString& section, const WideString& ident,
                                    double fallback) {
  WideString text = ReadString(section, ident, L"");
  if (text.empty()) return fallback;
  std::string ansi = TrimControls(WideToAnsi(text));
  double value;
  auto [end, error] = std::from_chars(ansi.data(), ansi.data() + ansi.size(), value);
  return error == std::errc() && end == ansi.data() + ansi.size() ? value : fallback;
}

TDateTime TTntCustomIniFile::ReadTime(const WideString& section, const WideString& ident,
                                      TDateTime fallback) {
  WideString text = ReadString(section, ident, L"");
  TDateTime value;
  return !text.empty() && ParseTime(WideToAnsi(text), value) ? value : fallback;
}

void TTntCustomIniFile::WriteDate(const WideString& section, const WideString& ident,
                                  TDateTime value) {
  WriteString(section, ident, FormatDate(value));
}

void TTntCustomIniFile::WriteDateTime(const WideString& section, const WideString& ident,
                                      TDateTime value) {
  WriteString(section, ident, FormatDate(value) + L" " + FormatTime(value));
}

void TTntCustomIniFile::WriteFloat(const WideString& section, const WideString& ident,
                                   double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  WriteString(section, ident, AnsiToWide(text));
}

void TTntCustomIniFile::WriteTime(const WideString& section, const WideString& ident,
                                  TDateTime value) {
  WriteString(section, ident, FormatTime(value));
}

// ---- TTntMemIniFile ---------------------------------------------------------

TTntMemIniFile::TTntMemIniFile(WideString file_name) : TTntCustomIniFile(std::move(file_name)) {
  LoadValues();
}

TTntMemIniFile::~TTntMemIniFile() = default;

void TTntMemIniFile::LoadValues() {
  sections_.Clear();
  if (FileName().empty() || !sys::FileExists(FileName())) return;
  TTntStringList lines;
  lines.LoadFromFile(FileName());
  TTntHashedStringList* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) {
    WideString line = TrimControls(lines[i]);
    if (line.empty() || line[0] == L';') continue;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      auto section = std::make_unique<TTntHashedStringList>();
      section->SetCaseSensitive(sections_.CaseSensitive());
      current = section.get();
      sections_.AddObject(TrimControls(WideStringView(line).substr(1, line.size() - 2)),
                          std::move(section));
      continue;
    }
    if (!current) continue;
    size_t eq = line.find(L'=');
    if (eq == WideString::npos) {
      current->Add(line);
    } else {
      current->Add(TrimControls(WideStringView(line).substr(0, eq)) + L"=" +
                   TrimControls(WideStringView(line).substr(eq + 1)));
    }
  }
}

TTntHashedStringList* TTntMemIniFile::FindSection(const WideString& section) const {
  int index = sections_.IndexOf(section);
  return index < 0 ? nullptr : static_cast<TTntHashedStringList*>(sections_.Objects(index));
}

WideString TTntMemIniFile::ReadString(const WideString& section, const WideString& ident,
                                      const WideString& fallback) {
  const TTntHashedStringList* lines = FindSection(section);
  if (!lines) return fallback;
  int index = lines->IndexOfName(ident);
  if (index < 0) return fallback;
  const WideString& line = lines->Strings(index);
  return line.size() > ident.size() ? line.substr(ident.size() + 1) : WideString();
}

void TTntMemIniFile::WriteString(const WideString& section, const WideString& ident,
                                 const WideString& value) {
  TTntHashedStringList* lines = FindSection(section);
  if (!lines) {
    auto created = std::make_unique<TTntHashedStringList>();
    created->SetCaseSensitive(sections_.CaseSensitive());
    lines = created.get();
    sections_.AddObject(section, std::move(created));
  }
  WideString line = ident + L"=" + value;
  int index = lines->IndexOfName(ident);
  if (index >= 0)
    lines->Put(index, std::move(line));
  else
    lines->Add(std::move(line));
}

void TTntMemIniFile::ReadSection(const WideString& section, TTntStringList& strings) {
  strings.Clear();
  const TTntHashedStringList* lines = FindSection(section);
  if (!lines) return;
  for (int i = 0; i < lines->Count(); ++i) {
    const WideString& line = lines->Strings(i);
    size_t eq = line.find(L'=');
    strings.Add(eq == WideString::npos ? WideString() : line.substr(0, eq));
  }
}

void TTntMemIniFile::ReadSections(TTntStringList& strings) {
  strings.Assign(sections_);
}

void TTntMemIniFile::ReadSectionValues(const WideString& section, TTntStringList& strings) {
  strings.Clear();
  if (const TTntHashedStringList* lines = FindSection(section)) strings.Assign(*lines);
}

void TTntMemIniFile::EraseSection(const WideString& section) {
  int index = sections_.IndexOf(section);
  if (index >= 0) sections_.Delete(index);
}

void TTntMemIniFile::DeleteKey(const WideString& section, const WideString& ident) {
  TTntHashedStringList* lines = FindSection(section);
  if (!lines) return;
  int index = lines->IndexOfName(ident);
  if (index >= 0) lines->Delete(index);
}

void TTntMemIniFile::UpdateFile() {
  TTntStringList out;
  for (int i = 0; i < sections_.Count(); ++i) {
    out.Add(L"[" + sections_[i] + L"]");
    const auto* lines = static_cast<const TTntHashedStringList*>(sections_.Objects(i));
    for (int k = 0; k < lines->Count(); ++k)
      out.Add(lines->Strings(k));
    out.Add(L"");
  }
  out.SaveToFile(FileName());
}

// ---- TTntMemIniFile_V2 ------------------------------------------------------

TTntMemIniFile_V2::TTntMemIniFile_V2(WideString file_name) : TTntMemIniFile(std::move(file_name)) {}

void TTntMemIniFile_V2::SyncWithFile() {
  std::uint64_t stamp = sys::FileStamp(FileName());
  if (stamp == stamp_) return;
  LoadValues();
  stamp_ = stamp;
  dirty_ = false;
}

WideString TTntMemIniFile_V2::ReadString(const WideString& section, const WideString& ident,
                                         const WideString& fallback) {
  SyncWithFile();
  return TTntMemIniFile::ReadString(section, ident, fallback);
}

void TTntMemIniFile_V2::WriteString(const WideString& section, const WideString& ident,
                                    const WideString& value) {
  SyncWithFile();
  TTntMemIniFile::WriteString(section, ident, value);
  dirty_ = true;
  UpdateFile();
}

void TTntMemIniFile_V2::ReadSection(const WideString& section, TTntStringList& strings) {
  SyncWithFile();
  TTntMemIniFile::ReadSection(section, strings);
}

void TTntMemIniFile_V2::ReadSections(TTntStringList& strings) {
  SyncWithFile();
  TTntMemIniFile::ReadSections(strings);
}

void TTntMemIniFile_V2::ReadSectionValues(const WideString& section, TTntStringList& strings) {
  SyncWithFile();
  TTntMemIniFile::ReadSectionValues(section, strings);
}

void TTntMemIniFile_V2::EraseSection(const WideString& section) {
  SyncWithFile();
  if (!FindSection(section)) return;
  TTntMemIniFile::EraseSection(section);
  dirty_ = true;
  UpdateFile();
}

void TTntMemIniFile_V2::DeleteKey(const WideString& section, const WideString& ident) {
  SyncWithFile();
  const TTntHashedStringList* lines = FindSection(section);
  if (!lines || lines->IndexOfName(ident) < 0) return;
  TTntMemIniFile::DeleteKey(section, ident);
  dirty_ = true;
  UpdateFile();
}

void TTntMemIniFile_V2::UpdateFile() {
  if (!dirty_) return;
  try {
    TTntMemIniFile::UpdateFile();
  } catch (const EFileError&) {
    throw EIniFileException(FileName());
  }
  dirty_ = false;
  stamp_ = sys::FileStamp(FileName());
}

// ---- TTntIniFile -------------------------------------------------------------

TTntIniFile::TTntIniFile(WideString file_name)
    : TTntCustomIniFile(std::move(file_name)), fallback_(!sys::WideProfileCallsAvailable()) {}

TTntMemIniFile_V2* TTntIniFile::Inner() {
  // Made on first use (the caller holds the file's lock), so an object that
  // only lists a section in one pass never loads the whole file twice.
  if (fallback_ && !inner_) inner_ = std::make_unique<TTntMemIniFile_V2>(FileName());
  return inner_.get();
}

TTntIniFile::~TTntIniFile() {
  try {
    UpdateFile();
  } catch (...) {
    // A destructor reports nothing; every write already reported its own
    // failure when it was made.
  }
}

WideString TTntIniFile::ReadString(const WideString& section, const WideString& ident,
                                   const WideString& fallback) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) {
    // The profile calls give at most 2047 characters; so does the fallback.
    WideString value = inner->ReadString(section, ident, fallback);
    if (value.size() > kReadBufferChars - 1) value.resize(kReadBufferChars - 1);
    return value;
  }
  wchar_t buffer[kReadBufferChars];
  buffer[0] = L'\0';
  sys::GetProfileText(section.c_str(), ident.c_str(), fallback.c_str(), buffer, kReadBufferChars,
                      FileName().c_str());
  return buffer;
}

void TTntIniFile::WriteString(const WideString& section, const WideString& ident,
                              const WideString& value) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) return inner->WriteString(section, ident, value);
  // The profile calls create a missing file as 8-bit text, which would turn
  // every character outside the code page into "?". A file that starts with
  // the UTF-16 mark stays UTF-16, so create it that way first.
  if (!sys::FileExists(FileName()) && !sys::DirectoryExists(FileName()))
    sys::WriteFileBytes(FileName(), "\xFF\xFE");
  if (!sys::WriteProfileText(section.c_str(), ident.c_str(), value.c_str(), FileName().c_str()))
    throw EIniFileException(FileName());
}

void TTntIniFile::ReadSection(const WideString& section, TTntStringList& strings) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) return inner->ReadSection(section, strings);
  strings.Clear();
  ReadNameList(section.c_str(), FileName(), strings);
}

void TTntIniFile::ReadSections(TTntStringList& strings) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) return inner->ReadSections(strings);
  strings.Clear();
  ReadNameList(nullptr, FileName(), strings);
}

void TTntIniFile::ReadSectionValues(const WideString& section, TTntStringList& strings) {
  if (fallback_) {
    sys::FileOperationLock lock(FileName());
    return Inner()->ReadSectionValues(section, strings);
  }
  TTntStringList keys;
  ReadSection(section, keys);
  strings.Clear();
  for (int i = 0; i < keys.Count(); ++i)
    strings.Add(keys[i] + L"=" + ReadString(section, keys[i], L""));
}

void TTntIniFile::EraseSection(const WideString& section) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) return inner->EraseSection(section);
  // Nothing to erase in a missing file; the call would create it.
  if (!sys::FileExists(FileName())) return;
  if (!sys::WriteProfileText(section.c_str(), nullptr, nullptr, FileName().c_str()))
    throw EIniFileException(FileName());
}

void TTntIniFile::DeleteKey(const WideString& section, const WideString& ident) {
  sys::FileOperationLock lock(FileName());
  if (TTntMemIniFile_V2* inner = Inner()) {
    try {
      inner->DeleteKey(section, ident);
    } catch (const EIniFileException&) {
      // Deleting reports nothing, as the profile call's result is not looked at.
    }
    return;
  }
  if (!sys::FileExists(FileName())) return;
  sys::WriteProfileText(section.c_str(), ident.c_str(), nullptr, FileName().c_str());
}

void TTntIniFile::UpdateFile() {
  sys::FileOperationLock lock(FileName());
  if (fallback_) {
    if (inner_) inner_->UpdateFile();  // nothing to flush when nothing was loaded
    return;
  }
  sys::WriteProfileText(nullptr, nullptr, nullptr, FileName().c_str());
}

std::vector<std::pair<WideString, WideString>> TTntIniFile::ReadSectionPairs(
    const WideString& section, const WideString& fallback) {
  sys::FileOperationLock lock(FileName());
  std::optional<std::string> bytes = sys::ReadFileBytes(FileName());
  if (!bytes) return {};
  return ReadSectionOnePass(*bytes, section, fallback,
                            fallback_ ? IniDialect::kInMemory : IniDialect::kProfileCalls);
}

}  // namespace stamplets
