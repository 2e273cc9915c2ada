#include "host/run_commands.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "host/archive_backuper.h"
#include "host/archive_restorer.h"
#include "host/client_list.h"
#include "host/com_apartment.h"
#include "host/console_progress.h"
#include "host/object_options.h"
#include "host/size_text.h"
#include "host/system_message.h"
#include "model/join_path.h"
#include "model/settings_store.h"
#include "server/bstr.h"

namespace {

constexpr const char kNoClient[] = "no client module is registered (register one with regsvr32)";

int Refuse(int code, const std::string& text) {
  std::fprintf(stderr, "qnhost: %s\n", text.c_str());
  return code;
}

std::string DescribeResult(HRESULT hr) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
  return std::string(code) + " (" + SystemMessage(static_cast<DWORD>(hr)) + ")";
}

bool FullPath(const std::string& typed, std::string& full) {
  char buffer[MAX_PATH];
  const DWORD length = GetFullPathNameA(typed.c_str(), sizeof buffer, buffer, nullptr);
  if (length == 0 || length >= sizeof buffer) return false;
  full.assign(buffer, length);
  return true;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SameClsid(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The client's service object, created the way the host creates it.
HRESULT CreateClientService(const std::string& clsidText, ComPtr<IBkQnService>& service) {
  CLSID clsid;
  const HRESULT parsed = CLSIDFromString(WidenToBstr(clsidText).get(), &clsid);
  if (FAILED(parsed)) return parsed;
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBkQnService, service.put_void());
}

// Creates the archive folder and its copies folder; an existing archive is never touched.
bool PrepareArchive(const std::string& folder, std::string& error) {
  if (Exists(JoinPath(folder, kIndexFileName)) || Exists(JoinPath(folder, kCopiesFolderName))) {
    error = "\"" + folder + "\" already holds an archive; choose a new folder";
    return false;
  }
  if (!CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    error = "cannot create \"" + folder + "\": " + SystemMessage(::GetLastError());
    return false;
  }
  const std::string copies = JoinPath(folder, kCopiesFolderName);
  if (!CreateDirectoryA(copies.c_str(), nullptr)) {
    error = "cannot create \"" + copies + "\": " + SystemMessage(::GetLastError());
    return false;
  }
  return true;
}

// Creates every client's service in turn and runs `run` on it, `what` naming the run in a
// failure; the exit code: 3 when a service cannot be created, else 1 when a run failed.
int RunEveryClient(const std::vector<ClientModule>& clients, ProgressBar& bar, const char* what,
                   const std::function<HRESULT(const ClientModule&, IBkQnService&, IProgress*)>& run) {
  int code = kExitDone;
  const auto progress = ComPtr<ConsoleProgress>::Adopt(new ConsoleProgress(bar));
  for (const ClientModule& client : clients) {
    ComPtr<IBkQnService> service;
    HRESULT hr = CreateClientService(client.clsid, service);
    if (FAILED(hr)) {
      std::printf("\"%s\": cannot be created: %s\n", client.name.c_str(), DescribeResult(hr).c_str());
      code = kExitNoModule;
      continue;
    }
    hr = run(client, *service.get(), progress.get());
    bar.Finish();
    if (FAILED(hr)) {
      std::printf("\"%s\": %s failed: %s\n", client.name.c_str(), what, DescribeResult(hr).c_str());
      code = std::max(code, int{kExitFailed});
    }
  }
  return code;
}

// Every client's Backup into `backuper`; the exit code, 1 also when the host failed a file.
int BackUpEveryClient(const std::vector<ClientModule>& clients, ArchiveBackuper& backuper, ProgressBar& bar) {
  const int code = RunEveryClient(clients, bar, "backup", [&](const ClientModule&, IBkQnService& service,
                                                              IProgress* progress) {
    return service.Backup(&backuper, progress);
  });
  return backuper.FailedFiles() > 0 ? std::max(code, int{kExitFailed}) : code;
}

}  // namespace

int ShowClients() {
  const std::vector<ClientModule> clients = RegisteredClients();
  if (clients.empty()) return Refuse(kExitNoModule, kNoClient);
  const ComApartment apartment;
  int code = kExitDone;
  for (const ClientModule& client : clients) {
    ComPtr<IBkQnService> service;
    const HRESULT created = CreateClientService(client.clsid, service);
    if (FAILED(created)) code = kExitNoModule;
    std::printf("%s  \"%s\"\n    server: %s\n    %s\n", client.clsid.c_str(), client.name.c_str(),
                ServerFileOf(client.clsid).c_str(),
                SUCCEEDED(created) ? "ready" : ("cannot be created: " + DescribeResult(created)).c_str());
  }
  return code;
}

int BackupToArchive(const std::string& archive) {
  std::string folder, error;
  if (!FullPath(archive, folder)) return Refuse(kExitFailed, "\"" + archive + "\" is not a usable path");
  const std::vector<ClientModule> clients = RegisteredClients();
  if (clients.empty()) return Refuse(kExitNoModule, kNoClient);
  if (!PrepareArchive(folder, error)) return Refuse(kExitFailed, error);

  const ComApartment apartment;
  if (FAILED(apartment.Result())) return Refuse(kExitFailed, "COM cannot start: " + DescribeResult(apartment.Result()));
  ProgressBar bar(stdout, ProgressBar::StdoutIsConsole());
  const auto backuper = ComPtr<ArchiveBackuper>::Adopt(new ArchiveBackuper(folder, bar));
  const int code = BackUpEveryClient(clients, *backuper.get(), bar);
  if (!WriteIndex(folder, backuper->Objects(), error)) return Refuse(kExitFailed, error);
  const size_t files = backuper->Objects().size();
  std::printf("%zu file%s backed up into %s", files, files == 1 ? "" : "s", folder.c_str());
  if (backuper->FailedFiles() > 0) std::printf(", %d failed", backuper->FailedFiles());
  std::printf("\n");
  return code;
}

int DryRunBackup(bool human) {
  const std::vector<ClientModule> clients = RegisteredClients();
  if (clients.empty()) return Refuse(kExitNoModule, kNoClient);
  const ComApartment apartment;
  if (FAILED(apartment.Result())) return Refuse(kExitFailed, "COM cannot start: " + DescribeResult(apartment.Result()));
  ProgressBar bar(stdout, ProgressBar::StdoutIsConsole());
  const auto backuper = ComPtr<DryRunBackuper>::Adopt(new DryRunBackuper(bar, human));
  const int code = BackUpEveryClient(clients, *backuper.get(), bar);
  const size_t files = backuper->Objects().size();
  const uint64_t bytes = backuper->Bytes();
  const std::string size = human ? SizeText(bytes, true) : SizeText(bytes, false) + (bytes == 1 ? " byte" : " bytes");
  std::printf("%zu file%s, %s would be backed up\n", files, files == 1 ? "" : "s", size.c_str());
  if (backuper->FailedFiles() > 0) std::printf("%d cannot be read\n", backuper->FailedFiles());
  return code;
}

int RestoreFromArchive(const Command& command) {
  std::string folder, destination, error;
  if (!FullPath(command.path, folder)) return Refuse(kExitFailed, "\"" + command.path + "\" is not a usable path");
  if (command.destination && !FullPath(*command.destination, destination))
    return Refuse(kExitFailed, "\"" + *command.destination + "\" is not a usable path");
  std::optional<std::vector<ArchiveObject>> objects = ReadIndex(folder, error);
  if (!objects) return Refuse(kExitFailed, error);

  // What the restore page stores, and what the client reads back at the start of its run.
  // Without options the choice stored last (by `qnhost ui restore`, say) is the one used.
  if (command.destination || command.overwrite) {
    SaveRestoreOptions(RestoreOptionsKey(), {destination, command.overwrite ? 1u : 0u});
  }

  // Every client the archive holds objects of, in the archive's order.
  const std::vector<ClientModule> registered = RegisteredClients();
  int code = kExitDone;
  std::vector<std::string> seen;
  std::vector<ClientModule> clients;
  for (const ArchiveObject& object : *objects) {
    const auto same = [&](const std::string& clsid) { return SameClsid(clsid, object.client); };
    if (std::any_of(seen.begin(), seen.end(), same)) continue;
    seen.push_back(object.client);
    const auto found =
        std::find_if(registered.begin(), registered.end(), [&](const ClientModule& c) { return same(c.clsid); });
    if (found != registered.end()) {
      clients.push_back(*found);
    } else {
      std::printf("The archive holds objects of %s, which is not registered here; they are left out.\n",
                  object.client.c_str());
      code = kExitNoModule;
    }
  }

  const ComApartment apartment;
  if (FAILED(apartment.Result())) return Refuse(kExitFailed, "COM cannot start: " + DescribeResult(apartment.Result()));
  ProgressBar bar(stdout, ProgressBar::StdoutIsConsole());
  const auto restorer = ComPtr<ArchiveRestorer>::Adopt(new ArchiveRestorer(folder, std::move(*objects), bar));
  code = std::max(code, RunEveryClient(clients, bar, "restore", [&](const ClientModule& client,
                                                                     IBkQnService& service, IProgress* progress) {
    bar.PrintLine("Restoring \"" + client.name + "\" " + client.clsid);
    return service.Restore(restorer.get(), progress);
  }));
  const int restored = restorer->RestoredFiles(), failedFiles = restorer->FailedFiles();
  std::printf("%d file%s restored", restored, restored == 1 ? "" : "s");
  if (failedFiles > 0) std::printf(", %d failed", failedFiles);
  std::printf("\n");
  return failedFiles > 0 ? std::max(code, int{kExitFailed}) : code;
}

int ShowArchive(const std::string& archive) {
  std::string folder, error;
  if (!FullPath(archive, folder)) return Refuse(kExitFailed, "\"" + archive + "\" is not a usable path");
  const std::optional<std::vector<ArchiveObject>> objects = ReadIndex(folder, error);
  if (!objects) return Refuse(kExitFailed, error);
  std::printf("%s: %zu object%s\n", folder.c_str(), objects->size(), objects->size() == 1 ? "" : "s");
  for (const ArchiveObject& object : *objects) {
    const std::optional<FileFacts> facts = ReadObjectFacts(object.options);
    std::printf("  %s  type %u  %s\n      as \"%s\", %llu bytes, kept in %s\n", object.client.c_str(), object.type,
                object.name.c_str(), ReadLocalName(object.options).c_str(),
                static_cast<unsigned long long>(facts ? facts->size : 0), object.copy.c_str());
  }
  return kExitDone;
}
