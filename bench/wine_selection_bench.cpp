// Under Wine: the module's Backup over a benchmark tree, through the registered module and a
// host that does nothing per file, against a one-pass FindFirstFileA walk of the same tree.
// Runs alternate; prints wall-clock medians and their ratios, and prices the one-search design
// the module does not use.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/wine_bench.h"
#include "bkqnfiles.h"
#include "host/dispatch_object.h"
#include "model/settings_store.h"
#include "platform/posix/wildcard_match.h"
#include "platform/win32/unique_handles.h"
#include "server/com_ptr.h"

namespace {

class NullProgress final : public DispatchObject<IProgress> {
 public:
  STDMETHODIMP Clean() override { return S_OK; }
  STDMETHODIMP FirstStep(BSTR, long) override { return S_OK; }
  STDMETHODIMP NextStep(BSTR, long) override { return S_OK; }
  STDMETHODIMP Message(BSTR) override { return S_OK; }
  STDMETHODIMP Prompt(BSTR, unsigned int, int*) override { return E_NOTIMPL; }
  STDMETHODIMP ClientError(HRESULT, BSTR, int, int*) override { return E_NOTIMPL; }
};

class NullBackuper final : public DispatchObject<IBackuper> {
 public:
  long files = 0;
  STDMETHODIMP SetProgress(IProgress*) override { return S_OK; }
  STDMETHODIMP SetVersionInfo(long, long) override { return S_OK; }
  STDMETHODIMP SetArchiveInfo(BSTR, BSTR, BSTR, BSTR, DATE, long) override { return S_OK; }
  STDMETHODIMP BeginClient(BSTR, BSTR, int) override { return S_OK; }
  STDMETHODIMP EndClient(int) override { return S_OK; }
  STDMETHODIMP BackupFile(BSTR, BSTR, BSTR, int, VARIANT_BOOL) override {
    ++files;
    return S_OK;
  }
  STDMETHODIMP BackupRegistryKey(BSTR, BSTR, int) override { return S_OK; }
  STDMETHODIMP SetClientOptions(BSTR, BSTR, VARIANT) override { return S_OK; }
  STDMETHODIMP GetClientOptions(BSTR, VARIANT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetLastError(int*, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP StartBackup() override { return S_OK; }
  STDMETHODIMP FinishBackup(int) override { return S_OK; }
  STDMETHODIMP BeginBackupString(BSTR, BSTR, BSTR, int, VARIANT_BOOL) override { return S_OK; }
  STDMETHODIMP BackupNextPartOfString(BSTR) override { return S_OK; }
  STDMETHODIMP EndBackupString() override { return S_OK; }
};

// Every file of the tree, one FindFirstFileA search per folder.
size_t OnePassWalk(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const UniqueFindHandle search(FindFirstFileA((folder + "*").c_str(), &found));
  if (!search) return 0;
  size_t files = 0;
  std::vector<std::string> subfolders;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ++files;
    } else if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0) {
      subfolders.push_back(folder + found.cFileName + "\\");
    }
  } while (FindNextFileA(search.get(), &found));
  for (const std::string& sub : subfolders) files += OnePassWalk(sub);
  return files;
}

// What the platform's matching costs by itself: one FindFirstFileExA search per mask in every
// folder, and one more for its subfolders, as the selection must do to let Windows match.
size_t PerMaskWalk(const std::string& folder, const std::vector<std::string>& masks) {
  size_t found = 0;
  WIN32_FIND_DATAA data;
  for (const std::string& mask : masks) {
    const UniqueFindHandle search(FindFirstFileExA((folder + mask).c_str(), FindExInfoBasic, &data,
                                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) continue;
    do ++found;
    while (FindNextFileA(search.get(), &data));
  }
  std::vector<std::string> subfolders;
  const UniqueFindHandle search(FindFirstFileExA((folder + "*.*").c_str(), FindExInfoBasic, &data,
                                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (search) {
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(data.cFileName, ".") != 0 &&
          std::strcmp(data.cFileName, "..") != 0) {
        subfolders.push_back(folder + data.cFileName + "\\");
      }
    } while (FindNextFileA(search.get(), &data));
  }
  for (const std::string& sub : subfolders) found += PerMaskWalk(sub, masks);
  return found;
}

// The design the module does not use, priced for comparison: one search per folder, the
// program matching every mask against each long name and its short name itself.
size_t OneSearchOwnMatching(const std::string& folder, const std::vector<std::string>& masks) {
  WIN32_FIND_DATAA data;
  const UniqueFindHandle search(FindFirstFileExA((folder + "*").c_str(), FindExInfoStandard, &data,
                                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return 0;
  size_t found = 0;
  std::vector<std::string> subfolders;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) {
        subfolders.push_back(folder + data.cFileName + "\\");
      }
      continue;
    }
    for (const std::string& mask : masks) {
      if (platform::WildcardMatch(mask, data.cFileName) ||
          (data.cAlternateFileName[0] != 0 && platform::WildcardMatch(mask, data.cAlternateFileName))) {
        ++found;
      }
    }
  } while (FindNextFileA(search.get(), &data));
  for (const std::string& sub : subfolders) found += OneSearchOwnMatching(sub, masks);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  int runs = 0;
  if (!ReadFolderAndRuns(argc, argv, "wine_selection_bench TREE_FOLDER [RUNS]", root, runs)) return 2;

  CFolderEntry folder;
  folder.m_strPath = root;
  folder.m_strIncludeMasks = "*.doc | *.txt | *.jpg";
  folder.m_strExcludeMasks = "*.bak | *.tmp";
  SaveBackupList(BackupListKey(), {folder});

  if (FAILED(CoInitialize(nullptr))) return 1;
  int status = 0;
  {
    ComPtr<IBkQnService> service;
    HRESULT hr = CoCreateInstance(CLSID_BkQnFilesSrv, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.put_void());
    if (FAILED(hr)) {
      std::fprintf(stderr, "the module is not registered (0x%08lx)\n", static_cast<unsigned long>(hr));
      CoUninitialize();
      return 1;
    }
    auto progress = ComPtr<IProgress>::Adopt(new NullProgress);
    size_t walked = 0;
    long handed = 0;
    const std::vector<std::string> masks = {"*.doc", "*.txt", "*.jpg", "*.bak", "*.tmp"};
    std::vector<double> walks, perMask, backups, ownMatching;
    for (int run = 0; run <= runs; ++run) {  // the first round only warms the caches
      const double walk = Seconds([&] { walked = OnePassWalk(root); });
      const double maskWalk = Seconds([&] { PerMaskWalk(root, masks); });
      const double oneSearch = Seconds([&] { OneSearchOwnMatching(root, masks); });
      auto* raw = new NullBackuper;
      auto backuper = ComPtr<IBackuper>::Adopt(raw);
      const double backup = Seconds([&] { hr = service->Backup(backuper.get(), progress.get()); });
      handed = raw->files;
      if (FAILED(hr)) status = 1;
      if (run > 0) {
        walks.push_back(walk);
        perMask.push_back(maskWalk);
        backups.push_back(backup);
        ownMatching.push_back(oneSearch);
      }
    }
    std::printf("tree: %zu files; Backup handed %ld files to the host\n", walked, handed);
    std::printf("one-pass FindFirstFileA walk: median %.3f s over %d runs\n", Median(walks), runs);
    std::printf("per-mask walk (5 masks + 1):  median %.3f s over %d runs\n", Median(perMask), runs);
    std::printf("Backup, host doing nothing:   median %.3f s over %d runs\n", Median(backups), runs);
    std::printf("not used: one search a folder, masks matched by the program against long and short names: "
                "median %.3f s, %.2fx the one-pass walk\n",
                Median(ownMatching), Median(ownMatching) / Median(walks));
    std::printf("Backup: %.2fx the one-pass walk, %.2fx the per-mask walk (which is %.2fx the one-pass walk)\n",
                Median(backups) / Median(walks), Median(backups) / Median(perMask), Median(perMask) / Median(walks));
  }
  CoUninitialize();
  return status;
}
