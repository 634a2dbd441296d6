#include "Un_ApiFunctions.h"

#include <windows.h>
#include <shellapi.h>

#include "Folders.h"

namespace stamplets::Un_ApiFunctions {

namespace {

// FOF_NOCONFIRMATION | FOF_SILENT: no questions, no progress window; without
// FOF_ALLOWUNDO deletions bypass the recycle bin.
constexpr FILEOP_FLAGS kFlags = FOF_NOCONFIRMATION | FOF_SILENT;
static_assert(kFlags == 0x14);

// The shell takes lists of paths, each ended by NUL, the list by one more.
WideString PathList(const WideString& path) {
  WideString list = path;
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

bool Operate(UINT operation, const WideString& from, const WideString* to) {
  WideString from_list = PathList(from);
  WideString to_list = to ? PathList(*to) : WideString();
  SHFILEOPSTRUCTW op{};
  op.hwnd = nullptr;
  op.wFunc = operation;
  op.pFrom = from_list.c_str();
  op.pTo = to ? to_list.c_str() : nullptr;
  op.fFlags = kFlags;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace

bool ForceFolders(const WideString& path) {
  return stamplets::ForceFolders(path);
}

bool ShellDelete(const WideString& path) {
  return Operate(FO_DELETE, path, nullptr);
}

bool ShellCopy(const WideString& from, const WideString& to) {
  return Operate(FO_COPY, from, &to);
}

void ShellDeleteFolder(const WideString& path) {
  WideString folder = path;
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
    folder.pop_back();
  if (!folder.empty()) Operate(FO_DELETE, folder, nullptr);
}

}  // namespace stamplets::Un_ApiFunctions
