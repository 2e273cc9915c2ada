#include "registry/registry_store.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "registry/key_path.h"

namespace {

using OpenLevelFunction = long (*)(platform::RegKey, const char*, uint32_t, platform::RegKey*);

// Walks the path level by level, closing each parent as soon as its child is open, so no
// more than two keys are ever held.
RegistryKey WalkKeyPath(const std::string& path, OpenLevelFunction openLevel, uint32_t access) {
  KeyPath parsed;
  if (!ParseKeyPath(path, parsed)) return {};
  RegistryKey key(platform::PredefinedRegistryKey(parsed.root));
  for (const std::string& level : parsed.levels) {
    platform::RegKey child = nullptr;
    const long result = openLevel(key.get(), level.c_str(), access, &child);
    key.reset();
    if (result != platform::kRegistryOk) return {};
    key = RegistryKey(child);
  }
  return key;
}

struct ValueNames {
  uint32_t count = 0;
  uint32_t longest = 0;
};

bool QueryValueNames(const RegistryKey& key, ValueNames& names) {
  return platform::QueryRegistryKeyInfo(key.get(), &names.count, &names.longest) == platform::kRegistryOk;
}

// The name of the value at `index`, read into a buffer one longer than the longest name.
bool ValueNameAt(const RegistryKey& key, uint32_t index, uint32_t longest, std::string& name, uint32_t* type) {
  std::vector<char> buffer(static_cast<size_t>(longest) + 1, '\0');
  uint32_t length = longest + 1;
  if (platform::EnumRegistryValue(key.get(), index, buffer.data(), &length, type) != platform::kRegistryOk)
    return false;
  name.assign(buffer.data(), std::min<size_t>(length, longest));
  return true;
}

}  // namespace

RegistryKey CRegistryStore::OpenKey(const std::string& path) const {
  return WalkKeyPath(path, platform::OpenRegistryKey, platform::kKeyRead);
}

RegistryKey CRegistryStore::CreateKey(const std::string& path) const {
  return WalkKeyPath(path, platform::CreateRegistryKey, platform::kKeyRead | platform::kKeyWrite);
}

std::string CRegistryStore::ReadString(const std::string& path, const std::string& name) const {
  const RegistryKey key = OpenKey(path);
  if (!key) return {};
  uint32_t size = 0;
  if (platform::QueryRegistryValue(key.get(), name.c_str(), nullptr, nullptr, &size) != platform::kRegistryOk)
    return {};
  // One more than the data, so a text stored without its NUL still ends in one.
  std::vector<uint8_t> buffer(static_cast<size_t>(size) + 1, 0);
  uint32_t length = size + 1;
  if (platform::QueryRegistryValue(key.get(), name.c_str(), nullptr, buffer.data(), &length) != platform::kRegistryOk)
    return {};
  return std::string(reinterpret_cast<const char*>(buffer.data()));
}

uint32_t CRegistryStore::ReadDword(const std::string& path, const std::string& name) const {
  const RegistryKey key = OpenKey(path);
  if (!key) return 0;
  uint32_t size = 0;
  if (platform::QueryRegistryValue(key.get(), name.c_str(), nullptr, nullptr, &size) != platform::kRegistryOk)
    return 0;
  // Only the number's own four bytes are offered: a longer value does not fit and reads as 0,
  // a shorter one fills the low bytes.
  uint8_t bytes[sizeof(uint32_t)] = {};
  uint32_t length = sizeof bytes;
  if (platform::QueryRegistryValue(key.get(), name.c_str(), nullptr, bytes, &length) != platform::kRegistryOk)
    return 0;
  uint32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

void CRegistryStore::WriteString(const std::string& path, const std::string& name, const std::string& text) const {
  if (text.size() >= std::numeric_limits<uint32_t>::max()) return;
  const RegistryKey key = CreateKey(path);
  if (!key) return;
  platform::SetRegistryValue(key.get(), name.c_str(), platform::kRegSz, reinterpret_cast<const uint8_t*>(text.c_str()),
                             static_cast<uint32_t>(text.size() + 1));
}

void CRegistryStore::WriteDword(const std::string& path, const std::string& name, uint32_t value) const {
  const RegistryKey key = CreateKey(path);
  if (!key) return;
  uint8_t bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  platform::SetRegistryValue(key.get(), name.c_str(), platform::kRegDword, bytes, sizeof bytes);
}

uint32_t CRegistryStore::EnumValue(const std::string& path, int32_t index, std::string* name, uint32_t* type) const {
  const RegistryKey key = OpenKey(path);
  if (!key) return 0;
  ValueNames names;
  if (!QueryValueNames(key, names)) return 0;
  if (index >= 0) {
    std::string found;
    uint32_t foundType = 0;
    if (ValueNameAt(key, static_cast<uint32_t>(index), names.longest, found, &foundType)) {
      if (name != nullptr) *name = std::move(found);
      if (type != nullptr) *type = foundType;
    }
  }
  return names.count;
}

void CRegistryStore::ClearValues(const std::string& path) const {
  const RegistryKey key = CreateKey(path);
  if (!key) return;
  ValueNames names;
  if (!QueryValueNames(key, names)) return;
  // Values below `kept` could not be named or deleted and stay. Every round either removes a
  // value or steps past one, so the loop ends even on a registry that refuses.
  uint32_t kept = 0;
  while (kept < names.count) {
    const uint32_t before = names.count;
    std::string name;
    const bool deleted = ValueNameAt(key, kept, names.longest, name, nullptr) &&
                         platform::DeleteRegistryValue(key.get(), name.c_str()) == platform::kRegistryOk;
    if (!QueryValueNames(key, names)) return;
    if (!deleted || names.count >= before) {
      ++kept;
      names.count = std::min(names.count, before);
    }
  }
}
