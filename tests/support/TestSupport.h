// Small fixtures shared by the tests of both targets.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "WideText.h"

namespace stamplets::test {

// A fresh, empty folder that is removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const WideString& Path() const { return path_; }
  // Path of a name inside the folder.
  WideString operator/(WideStringView name) const;

 private:
  WideString path_;
};

std::string ReadBytes(const WideString& path);
void WriteBytes(const WideString& path, std::string_view bytes);
// FF FE followed by the text in UTF-16 LE.
std::string Utf16File(WideStringView text);
bool Exists(const WideString& path);
void MakeDir(const WideString& path);

// The installation folder that the build lays out (build/<preset>/dist), as
// the running program names it (under Wine: on drive Z:).
WideString DistFolder();

// The bytes of an .ico file holding one square image of `size` pixels, every
// pixel opaque and of the colour (r, g, b).
std::string SolidIconFile(int size, unsigned char r, unsigned char g, unsigned char b);

// Path of a program that is built beside the running test program.
WideString SiblingProgram(std::string_view base_name);
// Starts the programs with their arguments all at once and waits for every
// one; returns their exit codes.
std::vector<int> RunConcurrently(const std::vector<std::vector<WideString>>& command_lines);

}  // namespace stamplets::test
