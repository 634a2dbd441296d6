#include "WideText.h"

namespace stamplets {

namespace {

template <typename Char>
std::basic_string<Char> TrimImpl(std::basic_string_view<Char> s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<std::uint32_t>(s[first]) < 33)
    ++first;
  while (last > first && static_cast<std::uint32_t>(s[last - 1]) < 33)
    --last;
  return std::basic_string<Char>(s.substr(first, last - first));
}

}  // namespace

WideString TrimControls(WideStringView s) {
  return TrimImpl(s);
}

std::string TrimControls(std::string_view s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) < 33)
    ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) < 33)
    --last;
  return std::string(s.substr(first, last - first));
}

WideString ReplaceAll(WideStringView s, WideStringView from, WideStringView to) {
  if (from.empty()) return WideString(s);
  WideString out;
  out.reserve(s.size());
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(from, pos);
    if (hit == WideStringView::npos) break;
    out.append(s.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

WideString ExpandLineBreaks(WideStringView s) {
  return ReplaceAll(s, L"/n", L"\n\r");
}

bool EndsWith(WideStringView s, WideStringView tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool StartsWith(WideStringView s, WideStringView head) {
  return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

bool SameText(WideStringView a, WideStringView b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

WideString Utf8ToWide(std::string_view s) {
  WideString out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    std::uint32_t c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (c >= 0x80) c &= (0x3F >> extra);
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i)
      c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<wchar_t>(c));
    }
  }
  return out;
}

std::string WideToUtf8(WideStringView s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    std::uint32_t c = static_cast<std::uint32_t>(s[i]) & 0xFFFF;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size()) {
      std::uint32_t low = static_cast<std::uint32_t>(s[i + 1]) & 0xFFFF;
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

WideString IntToWide(std::int64_t value) {
  std::string digits = std::to_string(value);
  return WideString(digits.begin(), digits.end());
}

}  // namespace stamplets
