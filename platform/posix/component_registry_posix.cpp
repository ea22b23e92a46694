// The component registry of this platform: the text file "components.reg" in
// the program folder, one "key=value" line per value. Changes are made under
// a system-wide lock and written in one step, so concurrent registrations
// and readers never see half a file.
#include <string>
#include <string_view>
#include <vector>

#include "platform/component.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr const char* kRegistryFileName = "components.reg";
constexpr const char* kRegistryLockName = "corvane-component-registry";

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// `key` itself or a key below it.
bool IsKeyOrBelow(std::string_view candidate, std::string_view key) {
  if (candidate.size() > key.size() && candidate[key.size()] == '\\')
    candidate = candidate.substr(0, key.size());
  return SameKey(candidate, key);
}

// A missing registry file is an empty registry.
std::vector<RegistryValue> ReadAll() {
  std::vector<RegistryValue> values;
  const std::string path = ComponentRegistryPath();
  FileSystem& files = SystemFileSystem();
  if (!files.FileExists(path)) return values;
  for (const std::string& line : files.ReadTextLines(path)) {
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    values.push_back({line.substr(0, equals), line.substr(equals + 1)});
  }
  return values;
}

void WriteAll(const std::vector<RegistryValue>& values) {
  std::string text;
  for (const RegistryValue& value : values) text += value.key + "=" + value.value + "\r\n";
  SystemFileSystem().WriteFileAtomically(ComponentRegistryPath(), text);
}

// Runs a read-modify-write of the registry under its lock.
template <class Change>
void ChangeRegistry(Change&& change) {
  NamedLock lock(kRegistryLockName);
  NamedLockHold hold(lock);
  std::vector<RegistryValue> values = ReadAll();
  change(values);
  WriteAll(values);
}

// Keys and values are single lines without "=" in the key.
void RequireStorable(const RegistryValue& value) {
  if (value.key.empty() || value.key.find_first_of("=\r\n") != std::string::npos ||
      value.value.find_first_of("\r\n") != std::string::npos)
    throw OsError(kInvalidArgument);
}

}  // namespace

std::string ComponentRegistryPath() { return ProgramFolder() + kSeparatorText + kRegistryFileName; }

std::optional<std::string> ReadRegistryValue(const std::string& key) {
  std::vector<RegistryValue> values;
  try {
    values = ReadAll();
  } catch (const OsError&) {
    return std::nullopt;  // an unreadable registry registers nothing
  }
  for (const RegistryValue& value : values) {
    if (SameKey(value.key, key)) return value.value;
  }
  return std::nullopt;
}

void WriteRegistryValues(const std::vector<RegistryValue>& namedValues) {
  std::vector<RegistryValue> newValues;
  for (const RegistryValue& value : namedValues) {
    newValues.push_back(
        {value.name.empty() ? value.key : value.key + "\\" + value.name, value.value});
    RequireStorable(newValues.back());
  }
  ChangeRegistry([&](std::vector<RegistryValue>& values) {
    for (const RegistryValue& newValue : newValues) {
      bool replaced = false;
      for (RegistryValue& value : values) {
        if (SameKey(value.key, newValue.key)) {
          value.value = newValue.value;
          replaced = true;
        }
      }
      if (!replaced) values.push_back(newValue);
    }
  });
}

void DeleteRegistryKeys(const std::vector<std::string>& keys) {
  ChangeRegistry([&](std::vector<RegistryValue>& values) {
    std::erase_if(values, [&](const RegistryValue& value) {
      for (const std::string& key : keys) {
        if (IsKeyOrBelow(value.key, key)) return true;
      }
      return false;
    });
  });
}

}  // namespace platform
