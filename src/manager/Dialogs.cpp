#include "Dialogs.h"

#include <shellapi.h>

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

void SetMessageHook(std::function<int(const MessageRequest&)> hook) {
  MessageHook() = std::move(hook);
}

void SetShellHook(std::function<void(const ShellRequest&)> hook) {
  ShellHook() = std::move(hook);
}

}  // namespace stamplets::manager
