// The real registry below HKEY_CURRENT_USER. Every call opens the key it
// needs and closes it again; nothing is kept between calls.
#include <windows.h>

#include <limits>
#include <string>

#include "common/registry_store.h"

namespace tessavo {
namespace {

// Closes the handle when the call that opened it is done.
class KeyHandle {
 public:
  KeyHandle() = default;
  ~KeyHandle() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;

  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// Without create, a key that may not be written (a locked-down policy key,
// say) is still worth opening for reading.
bool Open(std::string_view path, bool create, KeyHandle& key) {
  const std::string pathZ(path);
  LONG status;
  if (create) {
    status = RegCreateKeyExA(HKEY_CURRENT_USER, pathZ.c_str(), 0, nullptr,
                             REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Out(),
                             nullptr);
  } else {
    status = RegOpenKeyExA(HKEY_CURRENT_USER, pathZ.c_str(), 0, KEY_ALL_ACCESS, key.Out());
    if (status != ERROR_SUCCESS) {
      *key.Out() = nullptr;
      status = RegOpenKeyExA(HKEY_CURRENT_USER, pathZ.c_str(), 0, KEY_READ, key.Out());
    }
  }
  if (status != ERROR_SUCCESS) *key.Out() = nullptr;
  return static_cast<bool>(key);
}

class Win32Registry final : public RegistryStore {
 public:
  bool OpenKey(std::string_view path, bool create) override {
    KeyHandle key;
    return Open(path, create, key);
  }

  std::optional<RegistryValue> QueryValue(std::string_view path,
                                          std::string_view name) override {
    KeyHandle key;
    if (!Open(path, true, key)) return std::nullopt;
    const std::string nameZ(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.Get(), nameZ.c_str(), nullptr, &type, nullptr, &size);
    // Another program may rewrite the value between asking its size and
    // reading it; a value that grew is asked for again with the new size.
    for (int attempt = 0; attempt < 4 && status == ERROR_SUCCESS; ++attempt) {
      RegistryValue value;
      value.data.resize(size);
      DWORD got = size;
      status = RegQueryValueExA(key.Get(), nameZ.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(value.data.data()), &got);
      if (status == ERROR_SUCCESS) {
        // The size asked first is only an upper bound for text held as
        // UTF-16 and converted to ANSI here.
        value.data.resize(got <= size ? got : size);
        value.type = type;
        return value;
      }
      if (status == ERROR_MORE_DATA) {
        size = got > size ? got : size + 1;
        status = ERROR_SUCCESS;
      }
    }
    return std::nullopt;
  }

  bool SetValue(std::string_view path, std::string_view name,
                const RegistryValue& value) override {
    if (value.data.size() > std::numeric_limits<DWORD>::max()) return false;
    KeyHandle key;
    if (!Open(path, true, key)) return false;
    const std::string nameZ(name);
    return RegSetValueExA(key.Get(), nameZ.c_str(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.data.data()),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
  }

  bool DeleteTree(std::string_view path) override {
    // An empty path would name HKEY_CURRENT_USER itself.
    if (path.empty() || path.find_first_not_of('\\') == std::string_view::npos) return false;
    const std::string pathZ(path);
    return RegDeleteTreeA(HKEY_CURRENT_USER, pathZ.c_str()) == ERROR_SUCCESS;
  }
};

}  // namespace

RegistryStore& PlatformRegistry() {
  static Win32Registry store;
  return store;
}

}  // namespace tessavo
