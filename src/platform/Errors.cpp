#include "Errors.h"

#include <new>

#include "WideText.h"

namespace stamplets::win {

SystemError::SystemError(DWORD code, const std::string& context)
    : std::runtime_error(context + ": " + WideToUtf8(SystemMessage(code))), code_(code) {}

void Check(bool ok, const char* context) {
  if (!ok) throw SystemError(GetLastError(), context);
}

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  if (message.empty()) message = L"Error " + std::to_wstring(code);
  return message;
}

HRESULT ResultFromCaughtException() noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const SystemError& e) {
    return e.Result();
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace stamplets::win
