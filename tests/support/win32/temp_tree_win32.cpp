#include <windows.h>

#include <stdexcept>

#include "platform/win32/file_time.h"
#include "platform/win32/unique_handles.h"
#include "tests/support/temp_tree.h"

namespace {

void MakeParents(const std::string& path) {
  for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
  }
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA((folder + "*").c_str(), &found));
  if (search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search.get(), &found));
  }
  RemoveDirectoryA(folder.c_str());
}

std::string TempFolder() {
  char base[MAX_PATH];
  if (GetTempPathA(MAX_PATH, base) == 0) throw std::runtime_error("no temp folder");
  return base;
}

}  // namespace

TempTree::TempTree() : TempTree(TempFolder()) {}

TempTree::TempTree(const std::string& base) {
  static unsigned counter = 0;
  for (;;) {
    m_strRoot = base + "tree-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "\\";
    if (CreateDirectoryA(m_strRoot.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + m_strRoot);
  }
}

TempTree::~TempTree() { RemoveTree(m_strRoot); }

void TempTree::AddFolder(const std::string& relative) { MakeParents(Path(relative) + "\\"); }

void TempTree::AddFile(const std::string& relative, int64_t lastWrite, uint32_t attributes) {
  const std::string path = Path(relative);
  MakeParents(path);
  const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + path);
  const std::string content = relative + "\n";
  DWORD written = 0;
  WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  const FILETIME time = platform::FileTimeFromUnixSeconds(lastWrite);
  SetFileTime(file.get(), nullptr, &time, &time);
  if (attributes != 0) SetFileAttributesA(path.c_str(), attributes);
}
