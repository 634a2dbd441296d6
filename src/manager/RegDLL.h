// Registering and unregistering a shell extension by calling the
// self-registration entry point that its DLL exports.
#pragma once

#include <windows.h>

#include <stdexcept>

#include "WideText.h"

namespace stamplets {

// A registration that could not be carried out. Message() is the text the
// user sees; Code() is the Win32 error code of a failed load or look-up, or
// the entry point's own failing result.
class ERegisterServerError : public std::runtime_error {
 public:
  enum class Kind { kLoad, kEntryPoint, kCall };
  ERegisterServerError(Kind kind, long code, WideString message);
  Kind What() const noexcept { return kind_; }
  long Code() const noexcept { return code_; }
  const WideString& Message() const noexcept { return message_; }

 private:
  Kind kind_;
  long code_;
  WideString message_;
};

// Loads the DLL by its full path (never through the DLL search path), calls
// DllRegisterServer when `register_server` is set and DllUnregisterServer
// otherwise, and unloads it again before returning or raising.
//   the load fails:               "<system message>: <path>"
//   the entry point is missing:   "System Error.  Code: <n>.\r\n<system message>"
//   the entry point fails:        "DllRegisterServer in <path> failed."
// Each raises ERegisterServerError.
void RegisterServerDll(bool register_server, const WideString& dll_path);

}  // namespace stamplets
