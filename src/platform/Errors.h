// Errors of the Windows layer, and the one mapping that turns any exception
// into an HRESULT at a COM or export boundary.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace stamplets::win {

// A failed Win32 call: its error code and the system's message for it.
class SystemError : public std::runtime_error {
 public:
  SystemError(DWORD code, const std::string& context);
  DWORD Code() const noexcept { return code_; }
  HRESULT Result() const noexcept { return HRESULT_FROM_WIN32(code_); }

 private:
  DWORD code_;
};

// Throws SystemError for GetLastError() when `ok` is false.
void Check(bool ok, const char* context);

// The system's text for an error code, without the trailing line break.
std::wstring SystemMessage(DWORD code);

// Maps the exception being handled: bad_alloc to E_OUTOFMEMORY, SystemError to
// its code, anything else to E_UNEXPECTED. Call only inside a catch block.
HRESULT ResultFromCaughtException() noexcept;

// Runs `body` (which returns an HRESULT) so that nothing escapes as an
// exception: the boundary of every COM method and export.
template <typename Body>
HRESULT ComBoundary(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return ResultFromCaughtException();
  }
}

}  // namespace stamplets::win
