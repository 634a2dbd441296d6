#include "StamptabFixture.h"

#include <shellapi.h>

#include <atomic>
#include <filesystem>
#include <mutex>

#include "StamptabClass.h"

namespace stamplets::test {

namespace fs = std::filesystem;

namespace {

// The shell's objects need COM on the test thread.
const bool g_ole_ready = SUCCEEDED(OleInitialize(nullptr));

template <typename F>
F Export(HMODULE module, const char* name) {
  auto p = GetProcAddress(module, name);
  if (!p) throw std::runtime_error(std::string("missing export ") + name);
  return reinterpret_cast<F>(reinterpret_cast<void*>(p));
}

void WriteUtf16OrRemove(const WideString& path, WideStringView text) {
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (text.empty())
    DeleteFileW(path.c_str());
  else
    WriteBytes(path, Utf16File(text));
}

}  // namespace

StamptabModule& StamptabModule::Get() {
  static StamptabModule module;
  return module;
}

StamptabModule::StamptabModule() {
  // A folder name with a space, as under Program Files.
  const WideString folder = root_ / L"Stamplets Install";
  MakeDir(folder);
  const fs::path dist(DistFolder());
  fs::copy(dist / "Stamptab.dll", fs::path(folder));
  fs::copy(dist / "icons", fs::path(folder) / "icons", fs::copy_options::recursive);
  fs::copy(dist / "langs", fs::path(folder) / "langs", fs::copy_options::recursive);
  folder_ = InstallFolder(folder);
  dll_path_ = folder_.File(files::kStamptab);
  module_.reset(LoadLibraryW(dll_path_.c_str()));
  if (!module_) throw std::runtime_error("cannot load the Stamptab copy");
}

HRESULT StamptabModule::GetClassObject(REFCLSID class_id, REFIID iid, void** out) const {
  using Fn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  return Export<Fn>(Handle(), "DllGetClassObject")(class_id, iid, out);
}
HRESULT StamptabModule::CanUnloadNow() const {
  using Fn = HRESULT(STDAPICALLTYPE*)();
  return Export<Fn>(Handle(), "DllCanUnloadNow")();
}
HRESULT StamptabModule::Register() const {
  using Fn = HRESULT(STDAPICALLTYPE*)();
  return Export<Fn>(Handle(), "DllRegisterServer")();
}
HRESULT StamptabModule::Unregister() const {
  using Fn = HRESULT(STDAPICALLTYPE*)();
  return Export<Fn>(Handle(), "DllUnregisterServer")();
}

win::ComPtr<IShellExtInit> StamptabModule::CreateHandler() const {
  win::ComPtr<IClassFactory> factory;
  if (FAILED(GetClassObject(stamptab::CLSID_FolPropSheet, IID_IClassFactory, factory.put_void())))
    throw std::runtime_error("no class factory");
  win::ComPtr<IShellExtInit> handler;
  if (FAILED(factory->CreateInstance(nullptr, IID_IShellExtInit, handler.put_void())))
    throw std::runtime_error("no handler object");
  return handler;
}

void StamptabModule::WriteStore(WideStringView text) const {
  WriteUtf16OrRemove(folder_.File(files::kStore), text);
}
void StamptabModule::WriteSettings(WideStringView text) const {
  WriteUtf16OrRemove(folder_.File(files::kSettings), text);
}

TestFile::TestFile(WideStringView name) : path_(dir_ / name) {
  WriteBytes(path_, "x");
}

win::ComPtr<IDataObject> ShellDataObject(const std::vector<WideString>& paths) {
  std::vector<PIDLIST_ABSOLUTE> absolute;
  std::vector<PCUITEMID_CHILD> children;
  win::ComPtr<IShellFolder> parent;
  for (const WideString& path : paths) {
    PIDLIST_ABSOLUTE pidl = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr)))
      throw std::runtime_error("cannot parse " + WideToUtf8(path));
    absolute.push_back(pidl);
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(SHBindToParent(pidl, IID_IShellFolder, parent.put_void(), &child)))
      throw std::runtime_error("no parent folder");
    children.push_back(child);
  }
  win::ComPtr<IDataObject> data;
  const HRESULT hr =
      parent->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(),
                            IID_IDataObject, nullptr, data.put_void());
  for (PIDLIST_ABSOLUTE pidl : absolute)
    CoTaskMemFree(pidl);
  if (FAILED(hr)) throw std::runtime_error("no data object");
  return data;
}

namespace {

class DropData final : public IDataObject {
 public:
  explicit DropData(std::vector<WideString> paths) : paths_(std::move(paths)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
      *out = static_cast<IDataObject*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    std::size_t chars = 1;
    for (const WideString& p : paths_)
      chars += p.size() + 1;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(global));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const WideString& p : paths_) {
      std::copy(p.begin(), p.end(), names);
      names += p.size() + 1;
    }
    GlobalUnlock(global);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  std::vector<WideString> paths_;
  std::atomic<ULONG> references_{1};
};

BOOL CALLBACK CollectPage(HPROPSHEETPAGE page, LPARAM pages) {
  reinterpret_cast<std::vector<HPROPSHEETPAGE>*>(pages)->push_back(page);
  return TRUE;
}

}  // namespace

win::ComPtr<IDataObject> DropDataObject(const std::vector<WideString>& paths) {
  return win::ComPtr<IDataObject>::Attach(new DropData(paths));
}

ModelessSheet::ModelessSheet(const std::vector<IShellExtInit*>& handlers) {
  for (IShellExtInit* handler : handlers) {
    win::ComPtr<IShellPropSheetExt> ext;
    if (FAILED(handler->QueryInterface(IID_IShellPropSheetExt, ext.put_void())))
      throw std::runtime_error("no IShellPropSheetExt");
    if (ext->AddPages(CollectPage, reinterpret_cast<LPARAM>(&pages_)) != S_OK)
      throw std::runtime_error("AddPages failed");
  }
  if (pages_.empty()) return;
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof(header);
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Properties";
  header.nPages = static_cast<UINT>(pages_.size());
  header.phpage = pages_.data();
  sheet_ = reinterpret_cast<HWND>(PropertySheetW(&header));
  if (!sheet_) throw std::runtime_error("no property sheet");
  Pump();
}

ModelessSheet::~ModelessSheet() {
  if (sheet_) {
    DestroyWindow(sheet_);
    Pump();
  }
}

HWND ModelessSheet::Page(int index) const {
  return reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, index, 0));
}

HWND ModelessSheet::List(int index) const {
  return GetDlgItem(Page(index), stamptab::kListControl);
}

void ModelessSheet::Pump() const {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (sheet_ && IsWindow(sheet_) &&
        SendMessageW(sheet_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

WideString ItemText(HWND list, int item) {
  wchar_t text[512] = {};
  LVITEMW lv{};
  lv.iSubItem = 0;
  lv.pszText = text;
  lv.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
  return text;
}

int ItemImage(HWND list, int item) {
  LVITEMW lv{};
  lv.mask = LVIF_IMAGE;
  lv.iItem = item;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
  return lv.iImage;
}

std::vector<WideString> ItemTexts(HWND list) {
  std::vector<WideString> texts;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    texts.push_back(ItemText(list, i));
  return texts;
}

namespace {

void SendDoubleClick(HWND list) {
  NMITEMACTIVATE note{};
  note.hdr.hwndFrom = list;
  note.hdr.idFrom = stamptab::kListControl;
  note.hdr.code = NM_DBLCLK;
  note.iItem = -1;
  SendMessageW(GetParent(list), WM_NOTIFY, stamptab::kListControl, reinterpret_cast<LPARAM>(&note));
}

void SetState(HWND list, int item, UINT state) {
  LVITEMW lv{};
  lv.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  lv.state = state;
  SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

}  // namespace

void DoubleClick(HWND list, int item) {
  SetState(list, -1, 0);
  SetState(list, item, LVIS_SELECTED | LVIS_FOCUSED);
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, item);
  SendDoubleClick(list);
}

void DoubleClickNothing(HWND list) {
  SetState(list, -1, 0);
  SendDoubleClick(list);
}

namespace {
constexpr UINT kChangeMessage = WM_APP + 1;
}  // namespace

ChangeNotifications::ChangeNotifications() {
  WNDCLASSW cls{};
  cls.lpfnWndProc = WindowProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"StamptabTestChanges";
  RegisterClassW(&cls);
  window_ = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance,
                          nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SHChangeNotifyEntry everything{nullptr, TRUE};
  registration_ = SHChangeNotifyRegister(
      window_, SHCNRF_ShellLevel | SHCNRF_InterruptLevel | SHCNRF_NewDelivery,
      SHCNE_ATTRIBUTES | SHCNE_UPDATEITEM, kChangeMessage, 1, &everything);
  if (!registration_) throw std::runtime_error("no change notification registration");
}

ChangeNotifications::~ChangeNotifications() {
  SHChangeNotifyDeregister(registration_);
  DestroyWindow(window_);
}

std::vector<std::pair<LONG, WideString>> ChangeNotifications::Received() {
  MSG msg;
  for (int i = 0; i < 10; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(20);
  }
  return events_;
}

LRESULT CALLBACK ChangeNotifications::WindowProc(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  if (message != kChangeMessage) return DefWindowProcW(window, message, wparam, lparam);
  auto* self = reinterpret_cast<ChangeNotifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  PIDLIST_ABSOLUTE* items = nullptr;
  LONG event = 0;
  HANDLE lock = SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wparam),
                                          static_cast<DWORD>(lparam), &items, &event);
  if (lock) {
    wchar_t path[1024] = {};
    if (items && items[0]) SHGetPathFromIDListEx(items[0], path, 1024, GPFIDL_DEFAULT);
    self->events_.emplace_back(event, path);
    SHChangeNotification_Unlock(lock);
  }
  return 0;
}

struct MessageBoxWatcher::State {
  WideString caption;
  std::atomic<bool> stop{false};
  std::atomic<bool> seen{false};
  std::mutex mutex;
  WideString text;
};

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  wchar_t cls[32] = {}, buffer[1024] = {};
  GetClassNameW(child, cls, 32);
  if ((lstrcmpiW(cls, L"Static") == 0 || lstrcmpiW(cls, L"Edit") == 0) &&
      GetWindowTextW(child, buffer, 1024) > 0)
    *reinterpret_cast<WideString*>(text) += buffer;
  return TRUE;
}

DWORD WINAPI WatchForBox(void* parameter) {
  auto* state = static_cast<MessageBoxWatcher::State*>(parameter);
  while (!state->stop) {
    if (HWND box = FindWindowW(L"#32770", state->caption.c_str())) {
      // The box may be found before its texts are set.
      WideString text;
      for (int i = 0; i < 100 && text.empty(); ++i) {
        EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
        if (text.empty()) Sleep(20);
      }
      {
        std::lock_guard lock(state->mutex);
        state->text = text;
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      state->seen = true;
      Sleep(200);
      continue;
    }
    Sleep(20);
  }
  return 0;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(WideString caption) : state_(std::make_shared<State>()) {
  state_->caption = std::move(caption);
  thread_.reset(CreateThread(nullptr, 0, WatchForBox, state_.get(), 0, nullptr));
}

MessageBoxWatcher::~MessageBoxWatcher() {
  state_->stop = true;
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool MessageBoxWatcher::Seen() {
  for (int i = 0; i < 250 && !state_->seen; ++i)
    Sleep(20);
  return state_->seen;
}

WideString MessageBoxWatcher::Text() const {
  std::lock_guard lock(state_->mutex);
  return state_->text;
}

}  // namespace stamplets::test
