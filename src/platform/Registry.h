// Registry entries as data: a table of {root, key, value name, data} rows
// that is written in order, and removal of whole key trees. Roots are
// parameters, so the same tables can be written into a scratch key.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <stdexcept>

#include "WideText.h"

namespace stamplets::win {

// A key or value the registry refused; the text says which.
class ERegistryException : public std::runtime_error {
 public:
  explicit ERegistryException(const WideString& message);
};

// The two roots a shell registration writes to.
struct RegistryRoots {
  HKEY classes = HKEY_CLASSES_ROOT;
  HKEY machine = HKEY_LOCAL_MACHINE;
};

// One string value (REG_SZ); an empty name is the key's default value.
struct RegistryEntry {
  HKEY root;
  WideString key;
  WideString name;
  WideString data;
};

// Creates each key where missing (non-volatile) and sets its value, in
// table order. The first failure raises ERegistryException; what was
// written before stays.
void WriteRegistryEntries(std::span<const RegistryEntry> entries);

// Sets one value of a key that is opened, or created, with full access.
// Returns false, writing nothing, when the key cannot be opened (no right
// to it); raises ERegistryException when the key opened but the value
// could not be set.
bool WriteOptionalRegistryValue(const RegistryEntry& entry);

// Deletes the key with everything below it. A key that is not there
// counts as deleted; returns false only for other failures.
bool DeleteRegistryTree(HKEY root, const WideString& key) noexcept;
// Deletes one value; a missing key or value counts as deleted.
bool DeleteRegistryValue(HKEY root, const WideString& key, const WideString& name) noexcept;

// The string value, or nothing when the key or value is missing or is not
// a string.
std::optional<WideString> ReadRegistryString(HKEY root, const WideString& key,
                                             const WideString& name);

}  // namespace stamplets::win
