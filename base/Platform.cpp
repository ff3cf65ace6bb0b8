#include "base/Platform.h"

#include "base/Errors.h"

#include <chrono>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zdawnik::platform {

std::filesystem::path JoinName(const std::filesystem::path& dir, const std::string& name)
{
#ifdef _WIN32
    std::u8string utf8(name.begin(), name.end());
    return std::filesystem::path(dir.u8string() + u8"\\" + utf8);
#else
    return std::filesystem::path(dir.native() + "/" + name);
#endif
}

std::size_t LongestPath()
{
#ifdef _WIN32
    return 32767; // with the \\?\ prefix; the system takes no longer path in any form
#else
    return PATH_MAX;
#endif
}

#ifdef _WIN32

static std::string ToUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

std::filesystem::path ExecutableDirectory()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::filesystem::path(buffer).parent_path();
}

bool EntryExists(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), length);
    return GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FileFacts> RegularFileFacts(const std::filesystem::path& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return std::nullopt;
    FileFacts facts;
    facts.size = std::uintmax_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    facts.modified = std::int64_t(std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                  data.ftLastWriteTime.dwLowDateTime);
    return facts;
}

std::optional<std::string> DirectoryIdentity(const std::string& path)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), length);
    // Directories open only with backup semantics.
    HANDLE handle = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(handle, &information) &&
                       (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(handle);
    if (!known)
        return std::nullopt;
    return std::to_string(information.dwVolumeSerialNumber) + ':' +
           std::to_string(information.nFileIndexHigh) + ':' + std::to_string(information.nFileIndexLow);
}

bool ListDirectory(const std::filesystem::path& dir, const std::function<void(std::string_view)>& visit)
{
    WIN32_FIND_DATAW data;
    const std::wstring pattern = dir.wstring() + L"\\*";
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (wcscmp(data.cFileName, L".") != 0 && wcscmp(data.cFileName, L"..") != 0)
            visit(ToUtf8(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

std::uint32_t HighResolutionCounter()
{
    LARGE_INTEGER counter;
    if (QueryPerformanceCounter(&counter))
        return static_cast<std::uint32_t>(counter.QuadPart);
    return static_cast<std::uint32_t>(GetTickCount());
}

std::string InOutMessage(int systemError)
{
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "File not found";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return "File access denied";
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return "Invalid filename";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "Too many open files";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

InputFile::InputFile(const std::filesystem::path& path)
{
    m_handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) {
        m_handle = nullptr;
        throw EInOutError(InOutMessage(static_cast<int>(GetLastError())));
    }
}

std::size_t InputFile::read(char* buffer, std::size_t size)
{
    DWORD done = 0;
    const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(m_handle, buffer, chunk, &done, nullptr))
        throw EInOutError(InOutMessage(static_cast<int>(GetLastError())));
    return done;
}

void InputFile::close() noexcept
{
    if (m_handle)
        CloseHandle(m_handle);
    m_handle = nullptr;
}

#else

std::filesystem::path ExecutableDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        return self.parent_path();
    // Without /proc (a chroot, a locked-down sandbox) the working directory is the best guess left.
    return std::filesystem::current_path(error);
}

bool EntryExists(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
}

std::optional<FileFacts> RegularFileFacts(const std::filesystem::path& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileFacts{std::uintmax_t(status.st_size),
                     std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

std::optional<std::string> DirectoryIdentity(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    return std::to_string(status.st_dev) + ':' + std::to_string(status.st_ino);
}

bool ListDirectory(const std::filesystem::path& dir, const std::function<void(std::string_view)>& visit)
{
    DIR* stream = opendir(dir.c_str());
    if (!stream)
        return false;
    while (const dirent* entry = readdir(stream)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        visit(std::string_view(name));
    }
    closedir(stream);
    return true;
}

std::uint32_t HighResolutionCounter()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC, &now) == 0)
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                                          static_cast<std::uint64_t>(now.tv_nsec));
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

std::string InOutMessage(int systemError)
{
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EISDIR:
        return "File access denied";
    case ENAMETOOLONG:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    default:
        return std::string(std::strerror(systemError));
    }
}

InputFile::InputFile(const std::filesystem::path& path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        throw EInOutError(InOutMessage(errno));
    struct stat info
    {
    };
    if (fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        // A directory, a pipe or a device is no question file: refuse it as the system refuses
        // to open a directory for reading, without waiting on a writer that never comes.
        const int error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
        close();
        throw EInOutError(InOutMessage(error));
    }
    // A regular file reads the same without waiting or not, so the descriptor stays as opened: two
    // calls fewer for every question shown. A file system that does answer "would block" is told
    // to wait (below).
}

std::size_t InputFile::read(char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t done = ::read(m_fd, buffer, size);
        if (done >= 0)
            return static_cast<std::size_t>(done);
        const int error = errno;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            const int flags = fcntl(m_fd, F_GETFL);
            if (flags >= 0 && (flags & O_NONBLOCK) && fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) == 0)
                continue;
        }
        if (error != EINTR)
            throw EInOutError(InOutMessage(error));
    }
}

void InputFile::close() noexcept
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

#endif

InputFile::~InputFile()
{
    close();
}

} // namespace zdawnik::platform
