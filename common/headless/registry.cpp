// Headless settings live in memory for the life of the process.
#include "common/registry_store.h"

namespace tessavo {

RegistryStore& PlatformRegistry() {
  static const std::unique_ptr<RegistryStore> store = MakeMemoryRegistry();
  return *store;
}

}  // namespace tessavo
