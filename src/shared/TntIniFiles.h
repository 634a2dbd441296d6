// INI files whose section names, key names and values are UTF-16 text.
//
//   TTntIniFile        write-through: every read asks the file, every change
//                      is in the file when the call returns. Every INI access
//                      of Stamplets goes through it: create, one to a few
//                      calls, destroy.
//   TTntMemIniFile     the file held in memory, written back by UpdateFile.
//   TTntMemIniFile_V2  in memory, reloaded whenever the file changed on disk;
//                      TTntIniFile's engine where the wide profile calls are
//                      missing (the Linux host).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "TntClasses.h"
#include "WideText.h"

namespace stamplets {

// A write the file system refused: "Unable to write to <path>".
class EIniFileException : public std::runtime_error {
 public:
  explicit EIniFileException(const WideString& path);
  const WideString& Path() const { return path_; }

 private:
  WideString path_;
};

// Fixed-size hash table of (key, value) items with chained buckets.
class TTntStringHash {
 public:
  explicit TTntStringHash(std::size_t bucket_count);
  virtual ~TTntStringHash();
  TTntStringHash(const TTntStringHash&) = delete;
  TTntStringHash& operator=(const TTntStringHash&) = delete;

  // h = (h rotated left by 2) XOR c for each UTF-16 code unit.
  virtual std::uint32_t HashOf(WideStringView key) const;
  // Puts a new item at the head of its chain; equal keys are not merged.
  void Add(WideStringView key, int value);
  // The value of the first item with exactly this key, or -1.
  int ValueOf(WideStringView key) const;
  void Clear();

 private:
  struct TTntHashItem {
    std::unique_ptr<TTntHashItem> next;
    WideString key;
    int value;
  };
  std::vector<std::unique_ptr<TTntHashItem>> buckets_;
};

// A string list whose IndexOf and IndexOfName go through hashes that are
// rebuilt on the first lookup after any change.
class TTntHashedStringList : public TTntStringList {
 public:
  TTntHashedStringList() = default;
  ~TTntHashedStringList() override;

  int IndexOf(WideStringView s) const override;
  int IndexOfName(WideStringView name) const override;

 protected:
  void Changed() override;

 private:
  WideString KeyOf(WideStringView s) const;
  void UpdateValueHash() const;
  void UpdateNameHash() const;

  mutable std::unique_ptr<TTntStringHash> value_hash_;
  mutable std::unique_ptr<TTntStringHash> name_hash_;
  mutable bool value_hash_valid_ = false;
  mutable bool name_hash_valid_ = false;
};

// Days since 1899-12-30, with the time of day as the fraction.
using TDateTime = double;

class TTntCustomIniFile {
 public:
  explicit TTntCustomIniFile(WideString file_name) : file_name_(std::move(file_name)) {}
  virtual ~TTntCustomIniFile() = default;
  TTntCustomIniFile(const TTntCustomIniFile&) = delete;
  TTntCustomIniFile& operator=(const TTntCustomIniFile&) = delete;

  const WideString& FileName() const { return file_name_; }

  // The operations in their fixed order. The typed ones (ReadInteger ...
  // WriteTime) always reach the file through ReadString and WriteString.
  virtual WideString ReadString(const WideString& section, const WideString& ident,
                                const WideString& fallback) = 0;
  virtual void WriteString(const WideString& section, const WideString& ident,
                           const WideString& value) = 0;
  virtual int ReadInteger(const WideString& section, const WideString& ident, int fallback) final;
  virtual void WriteInteger(const WideString& section, const WideString& ident, int value) final;
  virtual bool ReadBool(const WideString& section, const WideString& ident, bool fallback) final;
  virtual void WriteBool(const WideString& section, const WideString& ident, bool value) final;
  virtual int ReadBinaryStream(const WideString& section, const WideString& ident,
                               TMemoryStream& stream) final;
  virtual TDateTime ReadDate(const WideString& section, const WideString& ident,
                             TDateTime fallback) final;
  virtual TDateTime ReadDateTime(const WideString& section, const WideString& ident,
                                 TDateTime fallback) final;
  virtual double ReadFloat(const WideString& section, const WideString& ident,
                           double fallback) final;
  virtual TDateTime ReadTime(const WideString& section, const WideString& ident,
                             TDateTime fallback) final;
  virtual void WriteBinaryStream(const WideString& section, const WideString& ident,
                                 TMemoryStream& stream) final;
  virtual void WriteDate(const WideString& section, const WideString& ident, TDateTime value) final;
  virtual void WriteDateTime(const WideString& section, const WideString& ident,
                             TDateTime value) final;
  virtual void WriteFloat(const WideString& section, const WideString& ident, double value) final;
  virtual void WriteTime(const WideString& section, const WideString& ident, TDateTime value) final;
  virtual void ReadSection(const WideString& section, TTntStringList& strings) = 0;
  virtual void ReadSections(TTntStringList& strings) = 0;
  virtual void ReadSectionValues(const WideString& section, TTntStringList& strings) = 0;
  virtual void EraseSection(const WideString& section) = 0;
  virtual void DeleteKey(const WideString& section, const WideString& ident) = 0;
  virtual void UpdateFile() = 0;

 private:
  WideString file_name_;
};

class TTntMemIniFile : public TTntCustomIniFile {
 public:
  // Loads the file at once; a missing file gives an empty object.
  explicit TTntMemIniFile(WideString file_name);
  ~TTntMemIniFile() override;

  WideString ReadString(const WideString& section, const WideString& ident,
                        const WideString& fallback) override;
  void WriteString(const WideString& section, const WideString& ident,
                   const WideString& value) override;
  void ReadSection(const WideString& section, TTntStringList& strings) override;
  void ReadSections(TTntStringList& strings) override;
  void ReadSectionValues(const WideString& section, TTntStringList& strings) override;
  void EraseSection(const WideString& section) override;
  void DeleteKey(const WideString& section, const WideString& ident) override;
  // Writes every section: FF FE, UTF-16 LE, CR LF, an empty line after each.
  void UpdateFile() override;

 protected:
  // Rereads the file (an empty object when it is missing).
  void LoadValues();
  TTntHashedStringList* FindSection(const WideString& section) const;

 private:
  TTntHashedStringList sections_;
};

class TTntMemIniFile_V2 : public TTntMemIniFile {
 public:
  explicit TTntMemIniFile_V2(WideString file_name);

  WideString ReadString(const WideString& section, const WideString& ident,
                        const WideString& fallback) override;
  void WriteString(const WideString& section, const WideString& ident,
                   const WideString& value) override;
  void ReadSection(const WideString& section, TTntStringList& strings) override;
  void ReadSections(TTntStringList& strings) override;
  void ReadSectionValues(const WideString& section, TTntStringList& strings) override;
  void EraseSection(const WideString& section) override;
  void DeleteKey(const WideString& section, const WideString& ident) override;
  // Saves the changes made since the last load or save.
  void UpdateFile() override;

 private:
  void SyncWithFile();

  std::uint64_t stamp_ = 0;
  bool dirty_ = false;
};

class TTntIniFile : public TTntCustomIniFile {
 public:
  explicit TTntIniFile(WideString file_name);
  // Flushes the platform's cached copy; never throws.
  ~TTntIniFile() override;

  WideString ReadString(const WideString& section, const WideString& ident,
                        const WideString& fallback) override;
  void WriteString(const WideString& section, const WideString& ident,
                   const WideString& value) override;
  void ReadSection(const WideString& section, TTntStringList& strings) override;
  void ReadSections(TTntStringList& strings) override;
  void ReadSectionValues(const WideString& section, TTntStringList& strings) override;
  void EraseSection(const WideString& section) override;
  void DeleteKey(const WideString& section, const WideString& ident) override;
  void UpdateFile() override;

  // Every key of the section with its value, in file order, from one read of
  // the file: the same answer as ReadSection followed by one ReadString(key,
  // fallback) per key, without a file access per key.
  std::vector<std::pair<WideString, WideString>> ReadSectionPairs(const WideString& section,
                                                                  const WideString& fallback);

 private:
  TTntMemIniFile_V2* Inner();

  bool fallback_;  // no wide profile calls: work through the in-memory engine
  std::unique_ptr<TTntMemIniFile_V2> inner_;
};

}  // namespace stamplets
