#include "common/registry_store.h"

#include <atomic>

namespace tessavo {
namespace {

// Set only by ScopedRegistryOverride; null means the platform's own store.
std::atomic<RegistryStore*> overrideStore{nullptr};

}  // namespace

RegistryStore& ActiveRegistry() {
  RegistryStore* store = overrideStore.load();
  return store != nullptr ? *store : PlatformRegistry();
}

ScopedRegistryOverride::ScopedRegistryOverride(RegistryStore& store)
    : previous_(overrideStore.exchange(&store)) {}

ScopedRegistryOverride::~ScopedRegistryOverride() { overrideStore.store(previous_); }

}  // namespace tessavo
