#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One object of a folder archive, as a client handed it to the host.
struct ArchiveObject {
  std::string client;            // the client's class identifier text
  uint16_t type = 0;             // 0: a file
  std::string name;              // for a file, the path it was backed up from
  int32_t weight = 0;
  std::vector<uint8_t> options;  // what GetObjectOptions hands back
  std::string copy;              // the file's copy, relative to the archive folder
};

// A folder archive is a folder holding "index.qnx" and the copies under "files\". The index
// is "QNHOSTIX", a 32-bit version (1), then per object: client, type (16-bit), name,
// weight (32-bit), options, copy; texts and options each as a 32-bit length and the bytes.
// Little-endian, no padding.
inline constexpr const char* kIndexFileName = "index.qnx";
inline constexpr const char* kCopiesFolderName = "files";

std::string EncodeIndex(const std::vector<ArchiveObject>& objects);
// nullopt when the bytes are not a whole index of this version.
std::optional<std::vector<ArchiveObject>> DecodeIndex(const std::string& bytes);

// The index of the archive in `folder`; nullopt, with the reason in `error`, when it is
// missing or damaged.
std::optional<std::vector<ArchiveObject>> ReadIndex(const std::string& folder, std::string& error);
// Writes the index beside a temporary file first, so an interrupted write leaves no half index.
bool WriteIndex(const std::string& folder, const std::vector<ArchiveObject>& objects, std::string& error);
