// TTntStringList: a list of wide strings with optional owned objects, case
// sensitivity, change notification, and loading/saving of Unicode text files.
// TMemoryStream: a growable byte buffer with a position.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WideText.h"

namespace stamplets {

// Base of everything a string list can carry as its attached object.
class TObject {
 public:
  virtual ~TObject() = default;
};

// Raised when a text file cannot be read or written.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TTntStringList : public TObject {
 public:
  TTntStringList() = default;
  ~TTntStringList() override = default;
  TTntStringList(const TTntStringList&) = delete;
  TTntStringList& operator=(const TTntStringList&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  const WideString& operator[](int index) const { return items_.at(index).text; }
  const WideString& Strings(int index) const { return items_.at(index).text; }
  TObject* Objects(int index) const { return items_.at(index).object.get(); }

  int Add(WideString s);
  int AddObject(WideString s, std::unique_ptr<TObject> object);
  void Insert(int index, WideString s);
  void Put(int index, WideString s);  // replaces the text; keeps the object
  void Delete(int index);
  void Clear();
  // Copies the texts of another list (objects are not copied).
  void Assign(const TTntStringList& other);

  virtual int IndexOf(WideStringView s) const;
  virtual int IndexOfName(WideStringView name) const;
  // The text before the first "=" (the whole line when it has none).
  static WideString NameOf(WideStringView line);

  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool value);

  // Every line followed by CR LF.
  WideString Text() const;

  // Decides the encoding by the first bytes: FF FE UTF-16 LE, FE FF UTF-16
  // BE, EF BB BF UTF-8, anything else the ANSI code page. Lines end at CR
  // LF, lone CR or lone LF; the text ends at the first U+0000.
  void LoadFromFile(const WideString& path);
  void LoadFromBytes(std::string_view bytes);
  // FF FE, then UTF-16 LE, every line followed by CR LF.
  void SaveToFile(const WideString& path) const;
  std::string SaveToBytes() const;

  std::function<void()> OnChange;

 protected:
  virtual void Changed();
  bool Matches(WideStringView a, WideStringView b) const;

 private:
  struct Item {
    WideString text;
    std::unique_ptr<TObject> object;
  };
  std::vector<Item> items_;
  bool case_sensitive_ = false;
};

// Decodes a text file's bytes by their mark (see TTntStringList::LoadFromFile).
WideString DecodeText(std::string_view bytes);
// FF FE followed by the text in UTF-16 LE.
std::string EncodeUtf16Le(WideStringView text);

class TMemoryStream {
 public:
  std::vector<std::uint8_t>& Bytes() { return bytes_; }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::size_t Position() const { return position_; }
  void SetPosition(std::size_t p) { position_ = p; }
  std::size_t Size() const { return bytes_.size(); }
  void Write(const std::uint8_t* data, std::size_t count);
  void Clear() {
    bytes_.clear();
    position_ = 0;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

}  // namespace stamplets
