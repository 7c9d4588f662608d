// Opening documents, web addresses and mail links with the system's
// program for them.
#include <windows.h>

#include <shellapi.h>

#include "toolkit/services.h"

namespace tessavo::tk::win32 {
namespace {

class Win32Shell final : public ShellService {
 public:
  long long Open(const std::string& target) override {
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", target.c_str(), "", "", SW_SHOWNORMAL);
    return static_cast<long long>(reinterpret_cast<INT_PTR>(result));
  }
};

}  // namespace
}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<ShellService> CreateShellService() {
  return std::make_unique<win32::Win32Shell>();
}

}  // namespace tessavo::tk
