// One owner per Windows handle kind: a move-only holder whose close function
// and null value come from a small traits type, one alias per kind.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <unknwn.h>

#include <utility>

namespace stamplets::win {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Null(); }
  Handle release() noexcept { return std::exchange(handle_, Traits::Null()); }
  void reset(Handle h = Traits::Null()) noexcept {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::Null()) Traits::Close(old);
  }
  // For out-parameters: releases what is held and gives the slot.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Null();
};

namespace traits {
template <typename H, auto CloseFn, H NullValue = H{}>
struct Simple {
  using Handle = H;
  static Handle Null() noexcept { return NullValue; }
  static void Close(Handle h) noexcept { CloseFn(h); }
};
struct File {
  using Handle = HANDLE;
  static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct GdiObject {
  using Handle = HGDIOBJ;
  static Handle Null() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct ActCtx {
  using Handle = HANDLE;
  static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::ReleaseActCtx(h); }
};
inline void CloseKey(HKEY key) noexcept {
  ::RegCloseKey(key);
}
inline void CloseKernel(HANDLE h) noexcept {
  ::CloseHandle(h);
}
inline void DestroyIconHandle(HICON h) noexcept {
  ::DestroyIcon(h);
}
inline void DeleteFont(HFONT h) noexcept {
  ::DeleteObject(h);
}
inline void DeleteBitmap(HBITMAP h) noexcept {
  ::DeleteObject(h);
}
inline void DeleteBrush(HBRUSH h) noexcept {
  ::DeleteObject(h);
}
inline void DestroyImageList(HIMAGELIST h) noexcept {
  ::ImageList_Destroy(h);
}
inline void UnloadModule(HMODULE h) noexcept {
  ::FreeLibrary(h);
}
inline void FreeGlobal(HGLOBAL h) noexcept {
  ::GlobalFree(h);
}
inline void FinishDrop(HDROP h) noexcept {
  ::DragFinish(h);
}
inline void DeleteMemoryDc(HDC h) noexcept {
  ::DeleteDC(h);
}
}  // namespace traits

using unique_hkey = UniqueHandle<traits::Simple<HKEY, traits::CloseKey>>;
using unique_handle = UniqueHandle<traits::Simple<HANDLE, traits::CloseKernel>>;
using unique_hfile = UniqueHandle<traits::File>;
using unique_hicon = UniqueHandle<traits::Simple<HICON, traits::DestroyIconHandle>>;
using unique_hfont = UniqueHandle<traits::Simple<HFONT, traits::DeleteFont>>;
using unique_hbitmap = UniqueHandle<traits::Simple<HBITMAP, traits::DeleteBitmap>>;
using unique_hbrush = UniqueHandle<traits::Simple<HBRUSH, traits::DeleteBrush>>;
using unique_hgdiobj = UniqueHandle<traits::GdiObject>;
using unique_himagelist = UniqueHandle<traits::Simple<HIMAGELIST, traits::DestroyImageList>>;
using unique_hmodule = UniqueHandle<traits::Simple<HMODULE, traits::UnloadModule>>;
using unique_hglobal = UniqueHandle<traits::Simple<HGLOBAL, traits::FreeGlobal>>;
using unique_hdrop = UniqueHandle<traits::Simple<HDROP, traits::FinishDrop>>;
using unique_hdc = UniqueHandle<traits::Simple<HDC, traits::DeleteMemoryDc>>;
using unique_actctx = UniqueHandle<traits::ActCtx>;

// Selects a GDI object into a device context for the length of a scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectObjectScope() { ::SelectObject(dc_, old_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A COM interface pointer that owns one reference.
template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) noexcept {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  ComPtr(const ComPtr& other) noexcept : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  void reset() noexcept {
    if (T* old = std::exchange(p_, nullptr)) old->Release();
  }
  T** put() noexcept {
    reset();
    return &p_;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
  T* detach() noexcept { return std::exchange(p_, nullptr); }

  template <typename U>
  HRESULT As(REFIID iid, ComPtr<U>& out) const noexcept {
    return p_ ? p_->QueryInterface(iid, out.put_void()) : E_POINTER;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace stamplets::win
