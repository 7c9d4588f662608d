// The registry helpers' rules live here once, over whichever store is
// active; the stores only keep and hand back raw bytes.
#include "common/global.h"

#include "common/platform.h"
#include "common/registry_store.h"

namespace tessavo {

bool RegKeyExists(std::string_view path, bool create) {
  return ActiveRegistry().OpenKey(path, create);
}

std::int32_t RegReadInteger(std::string_view path, std::string_view name,
                            std::int32_t defaultValue) {
  const std::optional<RegistryValue> value = ActiveRegistry().QueryValue(path, name);
  // Only a whole 32-bit value counts: a longer one does not fit the
  // integer, and a shorter one (which the registry lets other programs
  // store under REG_DWORD) has no sensible reading, so both give the
  // default just as a value of another type does.
  if (!value || value->type != RegDword || value->data.size() != 4) return defaultValue;
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) {
    bits = (bits << 8) | static_cast<unsigned char>(value->data[static_cast<std::size_t>(i)]);
  }
  return static_cast<std::int32_t>(bits);
}

std::string RegReadString(std::string_view path, std::string_view name,
                          std::string_view defaultValue) {
  const std::optional<RegistryValue> value = ActiveRegistry().QueryValue(path, name);
  // Missing and empty both read as the empty text; the default is only for
  // a value that holds something other than text.
  if (!value || value->data.empty()) return {};
  if (value->type != RegSz && value->type != RegExpandSz) return std::string(defaultValue);
  // Other programs may store text with no terminating zero; it ends with
  // the data then.
  const std::string& data = value->data;
  return data.substr(0, data.find('\0'));
}

bool RegWriteString(std::string_view path, std::string_view name, std::string_view value) {
  RegistryValue stored{RegSz, std::string(value)};
  stored.data.push_back('\0');
  return ActiveRegistry().SetValue(path, name, stored);
}

bool RegWriteInteger(std::string_view path, std::string_view name, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  RegistryValue stored{RegDword, std::string(4, '\0')};
  for (std::size_t i = 0; i < 4; ++i) {
    stored.data[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  }
  return ActiveRegistry().SetValue(path, name, stored);
}

std::string WindowsDirectory() {
  std::string directory = platform::SystemWindowsDirectory();
  if (!directory.empty() && directory.back() != '\\') directory.push_back('\\');
  return directory;
}

}  // namespace tessavo
