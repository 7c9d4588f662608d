// The per-user settings store beneath the registry helpers: keys addressed
// by backslash-separated paths below the current user's root, values held
// as a type code and raw bytes. The Win32 build keeps them in the real
// registry; the headless build in memory, with the same rules.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessavo {

// Registry value types (the Win32 REG_* codes).
enum : std::uint32_t {
  RegNone = 0,
  RegSz = 1,
  RegExpandSz = 2,
  RegBinary = 3,
  RegDword = 4,
};

struct RegistryValue {
  std::uint32_t type = RegNone;
  std::string data;  // raw bytes, exactly as stored
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // Opens the key, or with create makes it and every missing level.
  // True when a key handle could be had. A path starting with a backslash
  // names no key; empty names from doubled backslashes are skipped.
  virtual bool OpenKey(std::string_view path, bool create) = 0;

  // Reads a value, creating the key first if it is missing. Empty when the
  // key cannot be opened or the value does not exist.
  virtual std::optional<RegistryValue> QueryValue(std::string_view path,
                                                  std::string_view name) = 0;

  // Sets a value, creating the key first; replaces one of any type.
  virtual bool SetValue(std::string_view path, std::string_view name,
                        const RegistryValue& value) = 0;

  // Removes a key with everything below it (tests and clean-up only).
  // False when the key is missing, and for the empty path: the root itself
  // is never removed.
  virtual bool DeleteTree(std::string_view path) = 0;
};

// The store that the registry helpers use: the platform's own unless a
// test has put another in place.
RegistryStore& ActiveRegistry();

// A fresh in-memory store (key and value names compared case-insensitively).
std::unique_ptr<RegistryStore> MakeMemoryRegistry();

// The platform's own store: the registry on Windows, a process-wide
// in-memory store elsewhere.
RegistryStore& PlatformRegistry();

// Puts a store in place for the lifetime of this object.
class ScopedRegistryOverride {
 public:
  explicit ScopedRegistryOverride(RegistryStore& store);
  ~ScopedRegistryOverride();
  ScopedRegistryOverride(const ScopedRegistryOverride&) = delete;
  ScopedRegistryOverride& operator=(const ScopedRegistryOverride&) = delete;

 private:
  RegistryStore* previous_;
};

}  // namespace tessavo
