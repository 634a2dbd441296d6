// Everything the manager says to the user or hands to the shell goes
// through these calls, so that tests can answer and watch them.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "WideText.h"

namespace stamplets::manager {

// A message box as it would be shown: caption and text already translated.
struct MessageRequest {
  HWND owner;
  WideString caption;
  WideString text;
  UINT type;  // MB_* buttons, icon and default button
};

// A message box with the caption "Stamplets: " + the translation of
// `caption_word` and the translation of `text`; returns the button pressed
// (IDOK, IDYES, IDNO ...).
int ShowUserMessage(HWND owner, WideStringView text, WideStringView caption_word, UINT type);
// The question every confirmation asks: Yes and No, information icon, No
// the default. True on Yes.
bool AskYesNo(HWND owner, WideStringView text, WideStringView caption_word);
// The application's error box for an error that left an event handler:
// caption "Stamplets Manager", the error's message, OK and the error icon.
void ShowError(const std::exception& error);

// A request to the shell to open a document, page or link.
struct ShellRequest {
  HWND owner;
  WideString target;
  WideString parameters;  // empty: none
  int show;
};
void OpenWithShell(HWND owner, WideStringView target, int show, WideStringView parameters = L"");

// An open or save dialog for one file. `filter` is in the "text|pattern"
// form, "|" between the parts.
struct FileDialogRequest {
  HWND owner;
  bool save;
  WideString title;
  WideString filter;
  WideString default_extension;  // save only; empty: none
};
// The chosen path; empty when the dialog was cancelled.
WideString PickFile(const FileDialogRequest& request);

// Test hooks: while set, messages, shell requests and file dialogs go to them
// instead of the screen and the shell. An empty function restores the real
// calls.
void SetMessageHook(std::function<int(const MessageRequest&)> hook);
void SetShellHook(std::function<void(const ShellRequest&)> hook);
void SetFileDialogHook(std::function<WideString(const FileDialogRequest&)> hook);

}  // namespace stamplets::manager
