#include "platform/posix/registry_name.h"

namespace platform {
namespace {

// Code page 1252 at 0x80..0x9F; the bytes it leaves undefined widen to themselves.
constexpr char16_t kHighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t Widen(unsigned char c) {
  return c >= 0x80 && c < 0xA0 ? kHighControlRange[c - 0x80] : static_cast<char16_t>(c);
}

// Lower case of every upper-case letter code page 1252 can hold.
char16_t Lower(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  switch (c) {
    case 0x0152: case 0x0160: case 0x017D: return c + 1;
    case 0x0178: return 0x00FF;
    default: return c;
  }
}

}  // namespace

std::u16string RegistryNameKey(const std::string& ansiName) {
  std::u16string key;
  key.reserve(ansiName.size());
  for (const char c : ansiName) key.push_back(Lower(Widen(static_cast<unsigned char>(c))));
  return key;
}

}  // namespace platform
