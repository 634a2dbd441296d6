#include "ActivationContext.h"

#include "Installation.h"

namespace stamplets::win {

unique_actctx CreateModuleActCtx(HMODULE module, WORD resource_id) {
  const WideString file = ModuleFileName(module);
  if (file.empty()) return {};
  ACTCTXW request{};
  request.cbSize = sizeof(request);
  request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = file.c_str();
  request.hModule = module;
  request.lpResourceName = MAKEINTRESOURCEW(resource_id);
  return unique_actctx(CreateActCtxW(&request));
}

ActivationScope::ActivationScope(HANDLE context) noexcept {
  if (context != INVALID_HANDLE_VALUE && context != nullptr)
    active_ = ActivateActCtx(context, &cookie_) != FALSE;
}

ActivationScope::~ActivationScope() {
  if (active_) DeactivateActCtx(0, cookie_);
}

}  // namespace stamplets::win
