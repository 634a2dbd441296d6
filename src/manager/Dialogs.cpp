#include "Dialogs.h"

#include <commdlg.h>
#include <shellapi.h>

#include <vector>

#include "Translation.h"

namespace stamplets::manager {

namespace {

std::function<int(const MessageRequest&)>& MessageHook() {
  static std::function<int(const MessageRequest&)> hook;
  return hook;
}

std::function<void(const ShellRequest&)>& ShellHook() {
  static std::function<void(const ShellRequest&)> hook;
  return hook;
}

std::function<WideString(const FileDialogRequest&)>& FileDialogHook() {
  static std::function<WideString(const FileDialogRequest&)> hook;
  return hook;
}

int Show(const MessageRequest& request) {
  if (MessageHook()) return MessageHook()(request);
  return MessageBoxW(request.owner, request.text.c_str(), request.caption.c_str(), request.type);
}

}  // namespace

int ShowUserMessage(HWND owner, WideStringView text, WideStringView caption_word, UINT type) {
  return Show({owner, L"Stamplets: " + LanguageSupport::Translate(caption_word),
               LanguageSupport::Translate(text), type});
}

bool AskYesNo(HWND owner, WideStringView text, WideStringView caption_word) {
  return ShowUserMessage(owner, text, caption_word,
                         MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
}

void ShowError(const std::exception& error) {
  Show({nullptr, L"Stamplets Manager", Utf8ToWide(error.what()), MB_OK | MB_ICONERROR});
}

void OpenWithShell(HWND owner, WideStringView target, int show, WideStringView parameters) {
  const ShellRequest request{owner, WideString(target), WideString(parameters), show};
  if (ShellHook()) {
    ShellHook()(request);
    return;
  }
  ShellExecuteW(owner, L"open", request.target.c_str(),
                request.parameters.empty() ? nullptr : request.parameters.c_str(), nullptr, show);
}

WideString PickFile(const FileDialogRequest& request) {
  if (FileDialogHook()) return FileDialogHook()(request);
  // The dialog's filter: the parts NUL-separated, the list ended by one more.
  WideString filter = request.filter;
  for (wchar_t& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = request.owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = request.title.c_str();
  ofn.lpstrDefExt = request.default_extension.empty() ? nullptr : request.default_extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!request.save) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  BOOL picked = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  return picked ? WideString(file.data()) : WideString();
}

void SetMessageHook(std::function<int(const MessageRequest&)> hook) {
  MessageHook() = std::move(hook);
}

void SetShellHook(std::function<void(const ShellRequest&)> hook) {
  ShellHook() = std::move(hook);
}

void SetFileDialogHook(std::function<WideString(const FileDialogRequest&)> hook) {
  FileDialogHook() = std::move(hook);
}

}  // namespace stamplets::manager
