// Reads one section of an INI file with all its values from the file's bytes
// in one pass: what TTntIniFile::ReadSectionPairs gives instead of one
// file access per key. The answer equals ReadSection followed by one
// ReadString(key, fallback) per key of the engine named by the dialect.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "WideText.h"

namespace stamplets {

enum class IniDialect {
  // The platform's profile calls: the first section of the name, the first
  // of several equal keys, blanks trimmed, one pair of enclosing quotes
  // stripped from a value.
  kProfileCalls,
  // The in-memory engine: the last section of the name, the last of several
  // equal keys, characters below 33 trimmed, "; " lines skipped.
  kInMemory,
};

// Values are cut to 2047 characters, as the profile calls give them.
std::vector<std::pair<WideString, WideString>> ReadSectionOnePass(std::string_view file_bytes,
                                                                  WideStringView section,
                                                                  WideStringView fallback,
                                                                  IniDialect dialect);

}  // namespace stamplets
