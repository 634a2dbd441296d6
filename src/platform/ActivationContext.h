// A module's own manifest as an activation context, and the scope that
// makes a context current on this thread. A DLL loaded into someone else's
// process gets the host's context, not its own; whatever it creates that
// must bind to its manifest (common controls 6) is created inside a scope.
#pragma once

#include <windows.h>

#include "Handles.h"

namespace stamplets::win {

// The context of the manifest resource `resource_id` (type 24) of the
// module; an empty handle when the module has none or it cannot be used.
unique_actctx CreateModuleActCtx(HMODULE module, WORD resource_id);

class ActivationScope {
 public:
  // An invalid handle activates nothing.
  explicit ActivationScope(HANDLE context) noexcept;
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace stamplets::win
