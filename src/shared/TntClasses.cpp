#include "TntClasses.h"

#include <stdexcept>

#include "System.h"

namespace stamplets {

int TTntStringList::Add(WideString s) {
  return AddObject(std::move(s), nullptr);
}

int TTntStringList::AddObject(WideString s, std::unique_ptr<TObject> object) {
  items_.push_back(Item{std::move(s), std::move(object)});
  Changed();
  return Count() - 1;
}

void TTntStringList::Insert(int index, WideString s) {
  if (index < 0 || index > Count()) throw std::out_of_range("list index out of bounds");
  items_.insert(items_.begin() + index, Item{std::move(s), nullptr});
  Changed();
}

void TTntStringList::Put(int index, WideString s) {
  items_.at(index).text = std::move(s);
  Changed();
}

void TTntStringList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("list index out of bounds");
  items_.erase(items_.begin() + index);
  Changed();
}

void TTntStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TTntStringList::Assign(const TTntStringList& other) {
  items_.clear();
  items_.reserve(other.items_.size());
  for (const Item& item : other.items_)
    items_.push_back(Item{item.text, nullptr});
  Changed();
}

bool TTntStringList::Matches(WideStringView a, WideStringView b) const {
  return case_sensitive_ ? a == b : SameText(a, b);
}

int TTntStringList::IndexOf(WideStringView s) const {
  for (int i = 0; i < Count(); ++i)
    if (Matches(items_[i].text, s)) return i;
  return -1;
}

WideString TTntStringList::NameOf(WideStringView line) {
  size_t eq = line.find(L'=');
  return WideString(eq == WideStringView::npos ? line : line.substr(0, eq));
}

int TTntStringList::IndexOfName(WideStringView name) const {
  for (int i = 0; i < Count(); ++i) {
    const WideString& line = items_[i].text;
    size_t eq = line.find(L'=');
    if (eq != WideString::npos && Matches(WideStringView(line).substr(0, eq), name)) return i;
  }
  return -1;
}

void TTntStringList::SetCaseSensitive(bool value) {
  if (value == case_sensitive_) return;
  case_sensitive_ = value;
  Changed();
}

WideString TTntStringList::Text() const {
  WideString out;
  for (const Item& item : items_) {
    out += item.text;
    out += L"\r\n";
  }
  return out;
}

void TTntStringList::Changed() {
  if (OnChange) OnChange();
}

WideString DecodeText(std::string_view bytes) {
  auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
  WideString text;
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    const bool little = bytes[0] == '\xFF';
    text.reserve((bytes.size() - 2) / 2);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
      auto hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
      text.push_back(static_cast<wchar_t>(lo | (hi << 8)));
    }
  } else if (starts("\xEF\xBB\xBF")) {
    text = Utf8ToWide(bytes.substr(3));
  } else {
    text = AnsiToWide(bytes);
  }
  size_t nul = text.find(L'\0');
  if (nul != WideString::npos) text.resize(nul);
  return text;
}

std::string EncodeUtf16Le(WideStringView text) {
  std::string out;
  out.reserve(2 + text.size() * 2);
  out += "\xFF\xFE";
  for (wchar_t c : text) {
    auto unit = static_cast<std::uint32_t>(c);
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return out;
}

void TTntStringList::LoadFromBytes(std::string_view bytes) {
  WideString text = DecodeText(bytes);
  items_.clear();
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      items_.push_back(Item{text.substr(start, i - start), nullptr});
      if (text[i] == L'\r' && i + 1 < n && text[i + 1] == L'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) items_.push_back(Item{text.substr(start), nullptr});
  Changed();
}

void TTntStringList::LoadFromFile(const WideString& path) {
  std::optional<std::string> bytes = sys::ReadFileBytes(path);
  if (!bytes) throw EFileError("Cannot open file \"" + WideToUtf8(path) + "\"");
  LoadFromBytes(*bytes);
}

std::string TTntStringList::SaveToBytes() const {
  return EncodeUtf16Le(Text());
}

void TTntStringList::SaveToFile(const WideString& path) const {
  if (!sys::WriteFileBytes(path, SaveToBytes()))
    throw EFileError("Cannot create file \"" + WideToUtf8(path) + "\"");
}

void TMemoryStream::Write(const std::uint8_t* data, std::size_t count) {
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::copy(data, data + count, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ += count;
}

}  // namespace stamplets
