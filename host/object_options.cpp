#include "host/object_options.h"

#include <algorithm>

namespace {

const uint8_t kMagic[4] = {'Q', 'N', 'O', 'B'};

void Put(std::vector<uint8_t>& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t Get(const std::vector<uint8_t>& in, size_t at, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[at + i]) << (8 * i);
  return value;
}

}  // namespace

std::vector<uint8_t> MakeObjectOptions(const FileFacts& facts, const std::string& localName) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  Put(out, kObjectHeaderSize, 4);
  Put(out, facts.size, 8);
  Put(out, facts.lastWrite, 8);
  Put(out, facts.attributes, 4);
  out.insert(out.end(), localName.begin(), localName.end());
  out.push_back(0);
  return out;
}

std::optional<FileFacts> ReadObjectFacts(const std::vector<uint8_t>& options) {
  if (options.size() < kObjectHeaderSize || !std::equal(kMagic, kMagic + 4, options.begin()) ||
      Get(options, 4, 4) != kObjectHeaderSize)
    return std::nullopt;
  return FileFacts{Get(options, 8, 8), Get(options, 16, 8), static_cast<uint32_t>(Get(options, 24, 4))};
}

std::string ReadLocalName(const std::vector<uint8_t>& options) {
  if (options.size() <= kObjectHeaderSize) return {};
  const auto begin = options.begin() + kObjectHeaderSize;
  return std::string(begin, std::find(begin, options.end(), uint8_t{0}));
}
