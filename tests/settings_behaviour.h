// The registry helpers' behaviour suite, run once per settings store: the
// in-memory one everywhere and, in the Windows build, the real registry.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/registry_store.h"

namespace tessavo::test {

struct SettingsBackend {
  std::string name;  // a valid test-name part
  // A store that starts empty and removes whatever it holds when destroyed.
  std::function<std::unique_ptr<RegistryStore>()> make;
};

class SettingsBehaviour : public ::testing::TestWithParam<SettingsBackend> {
 protected:
  void SetUp() override {
    store_ = GetParam().make();
    active_.emplace(*store_);
  }
  void TearDown() override {
    active_.reset();
    store_.reset();
  }

  RegistryStore& Store() { return *store_; }

 private:
  std::unique_ptr<RegistryStore> store_;
  std::optional<ScopedRegistryOverride> active_;
};

inline std::string BackendName(const ::testing::TestParamInfo<SettingsBackend>& info) {
  return info.param.name;
}

}  // namespace tessavo::test
