// Windows: removes a folder's leftover save temporaries once the process that made them is gone.
#include <windows.h>

#include <set>

#include "imaging/stale_temporaries.h"

namespace korvanth {

namespace {

// A process that cannot be opened because there is none, or one that has exited while
// someone still holds it open. Access denied means it runs under another account.
bool ProcessIsGone(DWORD pid) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool exited = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  CloseHandle(process);
  return exited;
}

bool FirstVisit(const std::wstring& folder) {
  static SRWLOCK lock = SRWLOCK_INIT;
  static std::set<std::wstring> visited;
  AcquireSRWLockExclusive(&lock);
  const bool first = visited.insert(folder).second;
  ReleaseSRWLockExclusive(&lock);
  return first;
}

}  // namespace

void RemoveStaleTemporaries(const std::wstring& folder) {
  if (!FirstVisit(folder)) return;
  const std::wstring pattern =
      folder + std::wstring(kTemporaryPrefix.begin(), kTemporaryPrefix.end()) + L"*.tmp";
  WIN32_FIND_DATAW found{};
  const HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  const DWORD self = GetCurrentProcessId();
  do {
    // Only plain files: never a folder or a link that happens to carry the name.
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
      continue;
    const std::optional<std::uint32_t> owner = TemporaryOwner(std::wstring_view(found.cFileName));
    if (owner && *owner != self && ProcessIsGone(*owner))
      DeleteFileW((folder + found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace korvanth
