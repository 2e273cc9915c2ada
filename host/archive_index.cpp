#include "host/archive_index.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "model/join_path.h"

namespace {

const char kMagic[] = "QNHOSTIX";
constexpr size_t kMagicSize = sizeof kMagic - 1;
constexpr uint32_t kVersion = 1;

void PutNumber(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

template <typename Bytes>
void PutBytes(std::string& out, const Bytes& bytes) {
  PutNumber(out, bytes.size(), 4);
  out.append(bytes.begin(), bytes.end());
}

// Reads fields off the front of the index; every read checks what is left.
class Reader {
 public:
  explicit Reader(const std::string& bytes) : m_strBytes(bytes) {}

  bool Number(uint64_t& value, int bytes) {
    if (Left() < static_cast<size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<uint8_t>(m_strBytes[m_nAt + i])) << (8 * i);
    m_nAt += bytes;
    return true;
  }
  template <typename Bytes>
  bool Sized(Bytes& out) {
    uint64_t size = 0;
    if (!Number(size, 4) || Left() < size) return false;
    out.assign(m_strBytes.begin() + m_nAt, m_strBytes.begin() + m_nAt + size);
    m_nAt += size;
    return true;
  }
  bool Literal(const char* text, size_t size) {
    if (Left() < size || m_strBytes.compare(m_nAt, size, text) != 0) return false;
    m_nAt += size;
    return true;
  }
  size_t Left() const { return m_strBytes.size() - m_nAt; }

 private:
  const std::string& m_strBytes;
  size_t m_nAt = 0;
};

bool ReadObject(Reader& in, ArchiveObject& object) {
  uint64_t type = 0, weight = 0;
  if (!(in.Sized(object.client) && in.Number(type, 2) && in.Sized(object.name) && in.Number(weight, 4) &&
        in.Sized(object.options) && in.Sized(object.copy)))
    return false;
  object.type = static_cast<uint16_t>(type);
  object.weight = static_cast<int32_t>(weight);
  return true;
}

}  // namespace

std::string EncodeIndex(const std::vector<ArchiveObject>& objects) {
  std::string out(kMagic, kMagicSize);
  PutNumber(out, kVersion, 4);
  for (const ArchiveObject& object : objects) {
    PutBytes(out, object.client);
    PutNumber(out, object.type, 2);
    PutBytes(out, object.name);
    PutNumber(out, static_cast<uint32_t>(object.weight), 4);
    PutBytes(out, object.options);
    PutBytes(out, object.copy);
  }
  return out;
}

std::optional<std::vector<ArchiveObject>> DecodeIndex(const std::string& bytes) {
  Reader in(bytes);
  uint64_t version = 0;
  if (!in.Literal(kMagic, kMagicSize) || !in.Number(version, 4) || version != kVersion) return std::nullopt;
  std::vector<ArchiveObject> objects;
  while (in.Left() > 0) {
    ArchiveObject object;
    if (!ReadObject(in, object)) return std::nullopt;
    objects.push_back(std::move(object));
  }
  return objects;
}

std::optional<std::vector<ArchiveObject>> ReadIndex(const std::string& folder, std::string& error) {
  const std::string path = JoinPath(folder, kIndexFileName);
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "\"" + folder + "\" holds no archive (" + kIndexFileName + " is missing)";
    return std::nullopt;
  }
  std::ostringstream bytes;
  bytes << file.rdbuf();
  std::optional<std::vector<ArchiveObject>> objects = DecodeIndex(bytes.str());
  if (!objects) error = "the index of the archive \"" + folder + "\" is damaged";
  return objects;
}

bool WriteIndex(const std::string& folder, const std::vector<ArchiveObject>& objects, std::string& error) {
  const std::string path = JoinPath(folder, kIndexFileName);
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    const std::string bytes = EncodeIndex(objects);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
      error = "cannot write \"" + temporary + "\"";
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    error = "cannot put the index in place as \"" + path + "\"";
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}
