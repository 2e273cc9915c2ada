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

#include <cstring>

#include "fuzz/fuzz_check.h"
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

// Opens up to `depth` levels one by one, as the store does; how many opened, the last in `key`.
size_t OpenLevels(const KeyPath& parsed, size_t depth, RegistryKey& key) {
  key = RegistryKey(platform::PredefinedRegistryKey(parsed.root));
  for (size_t i = 0; i < depth; ++i) {
    platform::RegKey child = nullptr;
    if (platform::OpenRegistryKey(key.get(), parsed.levels[i].c_str(), platform::kKeyRead | platform::kKeyWrite,
                                  &child) != platform::kRegistryOk)
      return i;
    key = RegistryKey(child);
  }
  return depth;
}

void CheckWritablePath(const CRegistryStore& store, const std::string& path, const std::string& name,
                       const std::string& text) {
  Checked([&] { return store.WriteString(path, name, text), 0; });
  FUZZ_CHECK(Checked([&] { return store.ReadString(path, name); }) == text.substr(0, text.find('\0')));
  const uint32_t count = Checked([&] { return store.EnumValue(path); });
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = InputText(data, size);
  size_t position = 0;
  const std::string path = NextField(input, position, '\0');
  const std::string name = NextField(input, position, '\0');
  const std::string text = position < input.size() ? input.substr(position) : std::string();
  // Longer names are refused by every registry; not a property of key paths.
  if (name.size() > 16383) return 0;

  const int keysAtStart = platform::OpenRegistryKeyCount();
  KeyPath parsed;
  const bool parses = ParseKeyPath(path, parsed);
  RegistryKey probe;
  const size_t firstMissing = parses ? OpenLevels(parsed, parsed.levels.size(), probe) : 0;
  probe.reset();

  const CRegistryStore store;
  const bool creates = Checked([&] { return static_cast<bool>(store.CreateKey(path)); });
  if (creates && parsed.root != platform::RegistryRoot::kPerformanceData) {
    CheckWritablePath(store, path, name, text);
  } else {
    if (!creates) FUZZ_CHECK(!Checked([&] { return static_cast<bool>(store.OpenKey(path)); }));
    Checked([&] { return store.WriteString(path, name, text), 0; });
    FUZZ_CHECK(Checked([&] { return store.ReadString(path, name); }).empty());
    FUZZ_CHECK(Checked([&] { return store.ReadDword(path, name); }) == 0);
    FUZZ_CHECK(Checked([&] { return store.EnumValue(path); }) == 0);
  }
  // What the path created goes again; values of a key that was there were cleared above.
  RegistryKey above;
  if (parses && firstMissing < parsed.levels.size() && OpenLevels(parsed, firstMissing, above) == firstMissing) {
    platform::DeleteRegistryTree(above.get(), parsed.levels[firstMissing].c_str());
  }
  above.reset();
  FUZZ_CHECK(platform::OpenRegistryKeyCount() == keysAtStart);
  return 0;
}
