#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <iterator>
#include <share.h>
#include <sys/stat.h>

#include "platform/windows/SystemMessage.h"
#include "platform/windows/WidePath.h"

#include <windows.h>

namespace talver {

namespace {

// A FILETIME as one count of 100-nanosecond ticks.
unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The name of the mutex that stands for a folder: the same for every
// spelling of its path that Windows takes for one (case, separators, a
// relative path), and within the length that names of kernel objects allow.
std::wstring FolderMutexName(const std::string& folder)
{
    const std::wstring given = WidePath(folder);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    if (full.empty()) {
        full = given;
    }
    for (wchar_t& letter : full) {
        if (letter == L'/') {
            letter = L'\\';
        }
    }
    while (full.size() > 1 && full.back() == L'\\') {
        full.pop_back();
    }
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    // FNV-1a, 64 bits, over the UTF-16 units.
    unsigned long long hash = 14695981039346656037ull;
    for (const wchar_t letter : full) {
        hash = (hash ^ static_cast<unsigned short>(letter)) * 1099511628211ull;
    }
    wchar_t name[64];
    swprintf(name, std::size(name), L"Local\\talver-folder-%016llx", hash);
    return name;
}

} // namespace

std::FILE* CreateUniqueFile(std::string& pattern, const std::string&, std::string& error)
{
    // The Xs become six letters and digits from the process, the time and a
    // count; creating with _O_EXCL fails on a name taken, and the next count
    // is tried.
    static const char symbols[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t start = pattern.size() - 6;
    unsigned long long seed = (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned long long value = seed + static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull;
        for (std::size_t k = 0; k < 6; ++k) {
            pattern[start + k] = symbols[value % 36];
            value /= 36;
        }
        const std::wstring wide = WidePath(pattern);
        int descriptor = -1;
        // Binary: the file holds the bytes written, "\n" line ends included.
        const errno_t opened = _wsopen_s(&descriptor, wide.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                                         _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (opened == EEXIST) {
            continue;
        }
        if (opened != 0) {
            error = std::strerror(opened);
            return nullptr;
        }
        std::FILE* stream = _fdopen(descriptor, "wb");
        if (!stream) {
            error = std::strerror(errno);
            _close(descriptor);
            DeleteFileW(wide.c_str());
            return nullptr;
        }
        return stream;
    }
    error = "no free name for a temporary file";
    return nullptr;
}

bool WriteThrough(std::FILE* stream, std::string& error)
{
    if (std::fflush(stream) != 0 || std::ferror(stream) != 0) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    if (_commit(_fileno(stream)) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool ReplaceFileWith(const std::string& from, const std::string& to, std::string& error)
{
    // rename() refuses an existing target on Windows; this replaces it in one
    // step and returns once the change is on the disk.
    if (!MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = SystemMessage(GetLastError());
        return false;
    }
    return true;
}

void RemoveFileNow(const char* path) noexcept
{
    // No allocation: a console event's handler calls this while the other
    // threads run on.
    wchar_t wide[4096];
    if (MultiByteToWideChar(CP_UTF8, 0, path, -1, wide, static_cast<int>(std::size(wide))) > 0) {
        DeleteFileW(wide);
    }
}

std::vector<std::string> PlainFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    const HANDLE listing = FindFirstFileExW(WidePath(folder + "/*").c_str(), FindExInfoBasic, &entry,
                                            FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
            names.push_back(Utf8Path(entry.cFileName));
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return names;
}

long long CurrentProcessId()
{
    return GetCurrentProcessId();
}

bool LeftByEndedProcess(long long owner, const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA file{};
    if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &file)) {
        return false;
    }
    // No process can have an id beyond those of a DWORD.
    if (owner <= 0 || owner > 0xFFFFFFFFll) {
        return true;
    }
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(owner));
    if (!process) {
        // Refused access means a process of another user has the id.
        return GetLastError() == ERROR_INVALID_PARAMETER;
    }
    DWORD exitCode = 0;
    FILETIME created{}, exited{}, kernel{}, user{};
    bool ended = GetExitCodeProcess(process, &exitCode) && exitCode != STILL_ACTIVE;
    if (!ended && GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        // The file is written after its process started; a second's leeway
        // for the file system's coarser clock.
        constexpr unsigned long long kSecond = 10000000;
        ended = Ticks(created) > Ticks(file.ftLastWriteTime) + kSecond;
    }
    CloseHandle(process);
    return ended;
}

FolderLock::FolderLock(const std::string& folder)
    : handle_(reinterpret_cast<std::intptr_t>(CreateMutexW(nullptr, FALSE, FolderMutexName(folder).c_str())))
{
    // Windows locks no folder; a mutex named after it does that job. One
    // that a process ended while holding it (WAIT_ABANDONED) is taken over:
    // its renames are over.
    if (handle_ != 0) {
        WaitForSingleObject(reinterpret_cast<HANDLE>(handle_), INFINITE);
    }
}

FolderLock::~FolderLock()
{
    if (handle_ != 0) {
        ReleaseMutex(reinterpret_cast<HANDLE>(handle_));
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
    }
}

} // namespace talver
