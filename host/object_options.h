#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The options bytes the host keeps for every file object and hands back through
// GetObjectOptions: a 28-byte header, then the local name and a zero byte.
//   0 "QNOB"   4 header size (28)   8 file size (64-bit)   16 last write (FILETIME)
//   24 file attributes
// Little-endian throughout; the header describes the copy so that a damaged archive shows.
struct FileFacts {
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME
  uint32_t attributes = 0;
};

inline constexpr size_t kObjectHeaderSize = 28;

std::vector<uint8_t> MakeObjectOptions(const FileFacts& facts, const std::string& localName);

// The header of options made by MakeObjectOptions; nullopt for anything else.
std::optional<FileFacts> ReadObjectFacts(const std::vector<uint8_t>& options);

// The local name after the header, up to the zero byte; empty when there is none.
std::string ReadLocalName(const std::vector<uint8_t>& options);
