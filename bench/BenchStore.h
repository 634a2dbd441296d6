// Stamplet stores of a given number of records for the benchmarks, made once
// per size in the temporary folder: paths spread over folders of 100 files,
// values 1 to 10.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "System.h"
#include "TntIniFiles.h"

namespace stamplets::bench {

inline WideString StorePath(int records) {
  static std::map<int, WideString> made;
  auto found = made.find(records);
  if (found != made.end()) return found->second;
  auto folder = std::filesystem::temp_directory_path() / "stamplets-bench";
  std::filesystem::create_directories(folder);
  auto file = folder / ("base-" + std::to_string(records) + ".ini");
#ifdef _WIN32
  WideString path = file.wstring();
#else
  WideString path = Utf8ToWide(file.string());
#endif
  WideString text = L"[Files]\r\n";
  for (int i = 0; i < records; ++i)
    text += L"C:\\Users\\someone\\Documents\\Projects\\Folder " + IntToWide(i / 100) +
            L"\\document " + IntToWide(i) + L".txt=" + IntToWide(i % 10 + 1) + L"\r\n";
  sys::WriteFileBytes(path, EncodeUtf16Le(text));
  made.emplace(records, path);
  return path;
}

}  // namespace stamplets::bench
