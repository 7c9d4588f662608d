// The in-memory settings store: a tree of keys under one root, kept to the
// same observable rules as the registry so that the headless build and the
// tests see what a Windows user would.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "common/registry_store.h"

namespace tessavo {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Registry names compare without regard to (ASCII) case and keep the
// spelling they were first given.
struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  }
};

struct Key {
  std::map<std::string, std::unique_ptr<Key>, NoCaseLess> subkeys;
  std::map<std::string, RegistryValue, NoCaseLess> values;
};

// Splits a key path into its names. A leading backslash is refused, as the
// registry refuses it; empty names from doubled or trailing backslashes are
// skipped, as the registry skips them. The empty path is the root itself.
bool SplitPath(std::string_view path, std::vector<std::string_view>& names) {
  if (!path.empty() && path.front() == '\\') return false;
  while (!path.empty()) {
    const std::size_t end = std::min(path.find('\\'), path.size());
    if (end > 0) names.push_back(path.substr(0, end));
    path.remove_prefix(std::min(end + 1, path.size()));
  }
  return true;
}

class MemoryRegistry final : public RegistryStore {
 public:
  bool OpenKey(std::string_view path, bool create) override {
    std::lock_guard lock(mutex_);
    return Find(path, create) != nullptr;
  }

  std::optional<RegistryValue> QueryValue(std::string_view path,
                                          std::string_view name) override {
    std::lock_guard lock(mutex_);
    const Key* key = Find(path, true);
    if (key == nullptr) return std::nullopt;
    const auto found = key->values.find(name);
    if (found == key->values.end()) return std::nullopt;
    return found->second;
  }

  bool SetValue(std::string_view path, std::string_view name,
                const RegistryValue& value) override {
    std::lock_guard lock(mutex_);
    Key* key = Find(path, true);
    if (key == nullptr) return false;
    const auto found = key->values.find(name);
    if (found != key->values.end()) {
      found->second = value;
    } else {
      key->values.emplace(std::string(name), value);
    }
    return true;
  }

  bool DeleteTree(std::string_view path) override {
    std::lock_guard lock(mutex_);
    std::vector<std::string_view> names;
    // Never the whole store: an empty path here is a caller's mistake.
    if (!SplitPath(path, names) || names.empty()) return false;
    const std::string_view last = names.back();
    names.pop_back();
    Key* parent = Walk(names, false);
    if (parent == nullptr) return false;
    const auto found = parent->subkeys.find(last);
    if (found == parent->subkeys.end()) return false;
    parent->subkeys.erase(found);
    return true;
  }

 private:
  Key* Find(std::string_view path, bool create) {
    std::vector<std::string_view> names;
    if (!SplitPath(path, names)) return nullptr;
    return Walk(names, create);
  }

  Key* Walk(const std::vector<std::string_view>& names, bool create) {
    Key* key = &root_;
    for (const std::string_view name : names) {
      auto found = key->subkeys.find(name);
      if (found == key->subkeys.end()) {
        if (!create) return nullptr;
        found = key->subkeys.emplace(std::string(name), std::make_unique<Key>()).first;
      }
      key = found->second.get();
    }
    return key;
  }

  std::mutex mutex_;
  Key root_;
};

}  // namespace

std::unique_ptr<RegistryStore> MakeMemoryRegistry() { return std::make_unique<MemoryRegistry>(); }

}  // namespace tessavo
