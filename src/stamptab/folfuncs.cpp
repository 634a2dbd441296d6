#include "folfuncs.h"

#include "ComServer.h"
#include "Installation.h"
#include "StampletStore.h"
#include "Translation.h"

namespace stamplets::stamptab::folfuncs {

namespace {

StampletStore Store() {
  return StampletStore(InstallationFolder().File(files::kStore));
}

}  // namespace

InstallFolder InstallationFolder() {
  return win::ModuleFolder(ModuleHandle());
}

int ReadStamplet(const WideString& path) {
  return Store().Read(path);
}

void WriteStamplet(const WideString& path, int number) {
  if (number == 0)
    Store().Clear(path);
  else
    Store().Set(path, number);
}

WideString Translate(WideStringView english) {
  return StamptabText::Translate(english, InstallationFolder());
}

}  // namespace stamplets::stamptab::folfuncs
