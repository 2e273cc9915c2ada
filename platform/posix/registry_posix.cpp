#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/posix/registry_name.h"
#include "platform/registry.h"

// An in-memory registry that answers the seam's calls as Wine 8 does, error codes and
// enumeration order included; the shared registry tests hold it to that.
namespace platform {
namespace {

// The ANSI calls widen a subkey through a MAX_PATH buffer; the server limits each key name.
constexpr size_t kLongestSubkeyText = 260;
constexpr size_t kLongestKeyName = 256;
constexpr size_t kLongestValueName = 16383;
constexpr uint32_t kAllAccess = 0xF003F;
constexpr size_t kRootCount = 7;
constexpr uintptr_t kFirstPredefined = 0x80000000;

struct Value {
  std::string name;  // as first written; later writes in another case keep it
  std::u16string order;
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

struct Node {
  bool deleted = false;
  std::vector<Value> values;  // sorted by `order`: Wine enumerates values that way
  std::map<std::u16string, std::shared_ptr<Node>> subkeys;
};

struct OpenHandle {
  std::shared_ptr<Node> node;
  uint32_t access = 0;
};

void MarkDeleted(Node& node) {
  node.deleted = true;
  node.values.clear();
  for (auto& entry : node.subkeys) MarkDeleted(*entry.second);
  node.subkeys.clear();
}

// REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ.
bool IsStringType(uint32_t type) { return type == kRegSz || type == 2 || type == 7; }

// Splits "a\b\c" into its levels; empty levels between backslashes are skipped.
long SplitSubkey(const char* subkey, std::vector<std::string>& levels) {
  levels.clear();
  if (subkey == nullptr || *subkey == '\0') return kRegistryOk;
  const std::string text(subkey);
  if (text.size() > kLongestSubkeyText) return kRegistryMoreData;
  if (text[0] == '\\') return kRegistryBadPathname;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) {
      if (end - start > kLongestKeyName) return kRegistryInvalidParameter;
      levels.push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return kRegistryOk;
}

class EmbeddedRegistry {
 public:
  EmbeddedRegistry() {
    for (auto& root : m_roots) root = std::make_shared<Node>();
    // As in Wine, these two roots are views of keys under HKEY_LOCAL_MACHINE; performance
    // data is no key at all.
    m_roots[Index(RegistryRoot::kClassesRoot)] = Descend(Root(RegistryRoot::kLocalMachine), {"Software", "Classes"});
    m_roots[Index(RegistryRoot::kCurrentConfig)] = Descend(
        Root(RegistryRoot::kLocalMachine), {"System", "CurrentControlSet", "Hardware Profiles", "Current"});
    m_roots[Index(RegistryRoot::kPerformanceData)] = nullptr;
  }

  long Open(RegKey parent, const char* subkey, uint32_t access, bool create, RegKey* result) {
    *result = nullptr;
    OpenHandle from;
    if (const long error = Resolve(parent, from)) return error;
    std::vector<std::string> levels;
    if (const long error = SplitSubkey(subkey, levels)) return error;
    std::shared_ptr<Node> node = from.node;
    for (const std::string& level : levels) {
      auto& children = node->subkeys;
      const std::u16string order = RegistryNameKey(level);
      auto found = children.find(order);
      if (found == children.end()) {
        if (!create) return kRegistryFileNotFound;
        found = children.emplace(order, std::make_shared<Node>()).first;
      }
      node = found->second;
    }
    const uintptr_t handle = m_nNextHandle;
    m_nNextHandle += 4;
    m_open.emplace(handle, OpenHandle{node, access});
    m_nPeakOpen = std::max(m_nPeakOpen, m_open.size());
    *result = reinterpret_cast<RegKey>(handle);
    return kRegistryOk;
  }

  long QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
    if (Index(RegistryRoot::kPerformanceData) == PredefinedIndex(key)) return kRegistryMoreData;
    if (data != nullptr && size == nullptr) return kRegistryInvalidParameter;
    std::vector<Value>* values = nullptr;
    std::vector<Value>::iterator value;
    if (const long error = FindValue(key, name, kKeyQueryValue, values, value)) return error;
    if (type != nullptr) *type = value->type;
    const auto length = static_cast<uint32_t>(value->data.size());
    if (data != nullptr) {
      if (*size < length) {
        *size = length;
        return kRegistryMoreData;
      }
      std::copy(value->data.begin(), value->data.end(), data);
      // Like Windows, a string stored without its NUL gets one when there is room.
      if (IsStringType(value->type) && length > 0 && length < *size && data[length - 1] != 0) data[length] = 0;
    }
    if (size != nullptr) *size = length;
    return kRegistryOk;
  }

  long SetValue(RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
    OpenHandle open;
    if (const long error = Resolve(key, open)) return error;
    if ((open.access & kKeySetValue) == 0) return kRegistryAccessDenied;
    const std::string valueName = name != nullptr ? name : "";
    if (valueName.size() > kLongestValueName) return kRegistryInvalidParameter;
    if (data == nullptr && size != 0) return kRegistryInvalidParameter;
    std::vector<Value>& values = open.node->values;
    const std::u16string order = RegistryNameKey(valueName);
    auto at = LowerBound(values, order);
    if (at == values.end() || at->order != order) at = values.insert(at, Value{valueName, order, 0, {}});
    at->type = type;
    at->data.assign(data, data + size);
    return kRegistryOk;
  }

  long EnumValue(RegKey key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type) {
    OpenHandle open;
    if (const long error = Resolve(key, open)) return error;
    if ((open.access & kKeyQueryValue) == 0) return kRegistryAccessDenied;
    if (index >= open.node->values.size()) return kRegistryNoMoreItems;
    const Value& value = open.node->values[index];
    if (*nameLength <= value.name.size()) return kRegistryMoreData;  // no room for the NUL
    std::memcpy(name, value.name.c_str(), value.name.size() + 1);
    *nameLength = static_cast<uint32_t>(value.name.size());
    if (type != nullptr) *type = value.type;
    return kRegistryOk;
  }

  long QueryInfo(RegKey key, uint32_t* valueCount, uint32_t* longestValueName) {
    OpenHandle open;
    if (const long error = Resolve(key, open)) return error;
    size_t longest = 0;
    for (const Value& value : open.node->values) longest = std::max(longest, value.name.size());
    *valueCount = static_cast<uint32_t>(open.node->values.size());
    *longestValueName = static_cast<uint32_t>(longest);
    return kRegistryOk;
  }

  long DeleteValue(RegKey key, const char* name) {
    std::vector<Value>* values = nullptr;
    std::vector<Value>::iterator value;
    if (const long error = FindValue(key, name, kKeySetValue, values, value)) return error;
    if (!m_strUndeletable.empty() && value->order == m_strUndeletable) return kRegistryAccessDenied;
    values->erase(value);
    return kRegistryOk;
  }

  long DeleteTree(RegKey parent, const char* subkey) {
    OpenHandle from;
    if (const long error = Resolve(parent, from)) return error;
    std::vector<std::string> levels;
    if (const long error = SplitSubkey(subkey, levels)) return error;
    if (levels.empty()) {  // everything below the key goes; the key itself stays
      from.node->values.clear();
      for (auto& entry : from.node->subkeys) MarkDeleted(*entry.second);
      from.node->subkeys.clear();
      return kRegistryOk;
    }
    std::shared_ptr<Node> node = from.node;
    for (size_t i = 0; i + 1 < levels.size(); ++i) {
      const auto found = node->subkeys.find(RegistryNameKey(levels[i]));
      if (found == node->subkeys.end()) return kRegistryFileNotFound;
      node = found->second;
    }
    const auto target = node->subkeys.find(RegistryNameKey(levels.back()));
    if (target == node->subkeys.end()) return kRegistryFileNotFound;
    MarkDeleted(*target->second);
    node->subkeys.erase(target);
    return kRegistryOk;
  }

  long Close(RegKey key) {
    if (PredefinedIndex(key) < kRootCount) return kRegistryOk;
    return m_open.erase(Handle(key)) == 1 ? kRegistryOk : kRegistryInvalidHandle;
  }

  int OpenCount() const { return static_cast<int>(m_open.size()); }
  int PeakOpenCount() const { return static_cast<int>(m_nPeakOpen); }
  void ResetPeakOpenCount() { m_nPeakOpen = m_open.size(); }

  void SetUndeletable(const char* name) { m_strUndeletable = RegistryNameKey(name != nullptr ? name : ""); }

 private:
  static size_t Index(RegistryRoot root) { return static_cast<size_t>(root); }
  static uintptr_t Handle(RegKey key) { return reinterpret_cast<uintptr_t>(key); }
  // The root's index for a predefined key, kRootCount for any other.
  static size_t PredefinedIndex(RegKey key) {
    const uintptr_t value = Handle(key);
    return value >= kFirstPredefined && value < kFirstPredefined + kRootCount ? value - kFirstPredefined : kRootCount;
  }

  std::shared_ptr<Node> Root(RegistryRoot root) const { return m_roots[Index(root)]; }

  static std::shared_ptr<Node> Descend(std::shared_ptr<Node> node, std::initializer_list<const char*> levels) {
    for (const char* level : levels) {
      auto& child = node->subkeys[RegistryNameKey(level)];
      if (!child) child = std::make_shared<Node>();
      node = child;
    }
    return node;
  }

  static std::vector<Value>::iterator LowerBound(std::vector<Value>& values, const std::u16string& order) {
    return std::lower_bound(values.begin(), values.end(), order,
                            [](const Value& value, const std::u16string& wanted) { return value.order < wanted; });
  }

  long Resolve(RegKey key, OpenHandle& open) const {
    const size_t root = PredefinedIndex(key);
    if (root < kRootCount) {
      if (!m_roots[root]) return kRegistryInvalidHandle;
      open = OpenHandle{m_roots[root], kAllAccess};
    } else {
      const auto found = m_open.find(Handle(key));
      if (found == m_open.end()) return kRegistryInvalidHandle;
      open = found->second;
    }
    return open.node->deleted ? kRegistryKeyDeleted : kRegistryOk;
  }

  // The value `name` of the key, through a handle that must carry `access`.
  long FindValue(RegKey key, const char* name, uint32_t access, std::vector<Value>*& values,
                 std::vector<Value>::iterator& value) {
    OpenHandle open;
    if (const long error = Resolve(key, open)) return error;
    if ((open.access & access) == 0) return kRegistryAccessDenied;
    const std::u16string order = RegistryNameKey(name != nullptr ? name : "");
    values = &open.node->values;
    value = LowerBound(*values, order);
    if (value == values->end() || value->order != order) return kRegistryFileNotFound;
    return kRegistryOk;
  }

  std::array<std::shared_ptr<Node>, kRootCount> m_roots;
  std::unordered_map<uintptr_t, OpenHandle> m_open;
  size_t m_nPeakOpen = 0;
  uintptr_t m_nNextHandle = 0x100;
  std::u16string m_strUndeletable;
};

EmbeddedRegistry& Registry() {
  static EmbeddedRegistry registry;
  return registry;
}

}  // namespace

RegKey PredefinedRegistryKey(RegistryRoot root) {
  return reinterpret_cast<RegKey>(kFirstPredefined + static_cast<uintptr_t>(root));
}

long OpenRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result) {
  return Registry().Open(parent, subkey, access, false, result);
}

long CreateRegistryKey(RegKey parent, const char* subkey, uint32_t access, RegKey* result) {
  return Registry().Open(parent, subkey, access, true, result);
}

long QueryRegistryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
  return Registry().QueryValue(key, name, type, data, size);
}

long SetRegistryValue(RegKey key, const char* name, uint32_t type, const uint8_t* data, uint32_t size) {
  return Registry().SetValue(key, name, type, data, size);
}

long EnumRegistryValue(RegKey key, uint32_t index, char* name, uint32_t* nameLength, uint32_t* type) {
  return Registry().EnumValue(key, index, name, nameLength, type);
}

long QueryRegistryKeyInfo(RegKey key, uint32_t* valueCount, uint32_t* longestValueName) {
  return Registry().QueryInfo(key, valueCount, longestValueName);
}

long DeleteRegistryValue(RegKey key, const char* name) { return Registry().DeleteValue(key, name); }

long DeleteRegistryTree(RegKey parent, const char* subkey) { return Registry().DeleteTree(parent, subkey); }

long CloseRegistryKey(RegKey key) { return Registry().Close(key); }

int OpenRegistryKeyCount() { return Registry().OpenCount(); }

int PeakOpenRegistryKeyCount() { return Registry().PeakOpenCount(); }

void ResetPeakOpenRegistryKeyCount() { Registry().ResetPeakOpenCount(); }

void SetUndeletableRegistryValueForTesting(const char* name) { Registry().SetUndeletable(name); }

}  // namespace platform
