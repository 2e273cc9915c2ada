// Key paths, value names and values from any bytes, through CRegistryStore on the embedded
// registry. Input: path, NUL, value name, NUL, value text (the rest, NULs and all).
// Properties:
// - every operation closes every key it opened, and holds no more than two at once;
// - when the path can be created, a text written under it reads back as written (up to its
//   first NUL, where a stored text ends), a number reads back as written, the value is listed
//   by its name, and clearing the key leaves it without values;
// - when it cannot, it cannot be opened either, and reads give empty text and 0; the same
//   reads come from HKEY_PERFORMANCE_DATA, which opens as a root but is no stored key.
// Whatever an input creates is deleted again, so every input starts from the same registry.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/registry.h"
#include "registry/key_path.h"
#include "registry/registry_store.h"

namespace {

// Runs one store operation and checks the keys it leaves open and holds on its way.
template <typename Operation>
auto Checked(Operation operation) {
  const int before = platform::OpenRegistryKeyCount();
  platform::ResetPeakOpenRegistryKeyCount();
  auto result = operation();
  FUZZ_CHECK(platform::OpenRegistryKeyCount() == before);
  FUZZ_CHECK(platform::PeakOpenRegistryKeyCount() <= before + 2);
  return result;
}

// What the path will create, found before anything is written: the first level that does
// not exist yet, with the key above it. Levels are opened as the store opens them.
class CreatedLevels {
 public:
  explicit CreatedLevels(const std::string& path) {
    if (!ParseKeyPath(path, m_parsed)) return;
    m_nFirstMissing = Walk(m_parsed.levels.size());
  }

  // Deletes the subtree the path created and, on a key that existed before, the value.
  void Undo(const std::string& valueName) const {
    if (!ParseKeyPathOk()) return;
    const size_t depth = m_nFirstMissing < m_parsed.levels.size() ? m_nFirstMissing : m_parsed.levels.size();
    platform::RegKey key = nullptr;
    if (Open(depth, key) != depth) return;
    if (m_nFirstMissing < m_parsed.levels.size()) {
      platform::DeleteRegistryTree(key, m_parsed.levels[m_nFirstMissing].c_str());
    } else {
      platform::DeleteRegistryValue(key, valueName.c_str());
    }
    platform::CloseRegistryKey(key);
  }

 private:
  bool ParseKeyPathOk() const { return m_nFirstMissing != kUnparsed; }

  // Opens `depth` levels; the number actually opened, with the deepest key in `key`.
  size_t Open(size_t depth, platform::RegKey& key) const {
    key = platform::PredefinedRegistryKey(m_parsed.root);
    for (size_t i = 0; i < depth; ++i) {
      platform::RegKey child = nullptr;
      const long result = platform::OpenRegistryKey(key, m_parsed.levels[i].c_str(), platform::kKeyRead, &child);
      platform::CloseRegistryKey(key);
      key = child;
      if (result != platform::kRegistryOk) return i;
    }
    return depth;
  }

  size_t Walk(size_t depth) const {
    platform::RegKey key = nullptr;
    const size_t opened = Open(depth, key);
    if (key != nullptr) platform::CloseRegistryKey(key);
    return opened;
  }

  static constexpr size_t kUnparsed = SIZE_MAX;
  KeyPath m_parsed;
  size_t m_nFirstMissing = kUnparsed;
};

constexpr size_t kLongestValueName = 16383;

std::string UpToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// The text from `position` up to the next NUL (or the end); `position` moves past the NUL.
std::string NextField(const std::string& input, size_t& position) {
  if (position >= input.size()) return {};
  const size_t end = std::min(input.find('\0', position), input.size());
  std::string field = input.substr(position, end - position);
  position = end + 1;
  return field;
}

void CheckWritablePath(const CRegistryStore& store, const std::string& path, const std::string& name,
                       const std::string& text) {
  Checked([&] { return store.WriteString(path, name, text), 0; });
  FUZZ_CHECK(Checked([&] { return store.ReadString(path, name); }) == UpToNul(text));

  const uint32_t count = Checked([&] { return store.EnumValue(path); });
  FUZZ_CHECK(count >= 1);
  bool listed = false;
  for (uint32_t index = 0; index < count && !listed; ++index) {
    std::string found;
    Checked([&] { return store.EnumValue(path, static_cast<int32_t>(index), &found); });
    listed = found == name;
  }
  FUZZ_CHECK(listed);

  uint32_t number = 0;
  std::memcpy(&number, text.data(), std::min(text.size(), sizeof number));
  Checked([&] { return store.WriteDword(path, name, number), 0; });
  FUZZ_CHECK(Checked([&] { return store.ReadDword(path, name); }) == number);

  Checked([&] { return store.ClearValues(path), 0; });
  FUZZ_CHECK(Checked([&] { return store.EnumValue(path); }) == 0);
}

void CheckNothingIsKept(const CRegistryStore& store, const std::string& path, const std::string& name,
                        const std::string& text) {
  Checked([&] { return store.WriteString(path, name, text), 0; });
  FUZZ_CHECK(Checked([&] { return store.ReadString(path, name); }).empty());
  FUZZ_CHECK(Checked([&] { return store.ReadDword(path, name); }) == 0);
  FUZZ_CHECK(Checked([&] { return store.EnumValue(path); }) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t position = 0;
  const std::string path = NextField(input, position);
  const std::string name = NextField(input, position);
  const std::string text = position < input.size() ? input.substr(position) : std::string();
  // Longer names are refused by every registry; not a property of key paths.
  if (name.size() > kLongestValueName) return 0;

  const int keysAtStart = platform::OpenRegistryKeyCount();
  const CreatedLevels created(path);
  const CRegistryStore store;
  const bool creates = Checked([&] { return static_cast<bool>(store.CreateKey(path)); });
  KeyPath parsed;
  if (creates && !(ParseKeyPath(path, parsed) && parsed.root == platform::RegistryRoot::kPerformanceData)) {
    CheckWritablePath(store, path, name, text);
  } else {
    if (!creates) FUZZ_CHECK(!Checked([&] { return static_cast<bool>(store.OpenKey(path)); }));
    CheckNothingIsKept(store, path, name, text);
  }
  created.Undo(name);
  FUZZ_CHECK(platform::OpenRegistryKeyCount() == keysAtStart);
  return 0;
}
