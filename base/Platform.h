#pragma once

// The few operating-system services the bank needs, behind one small interface: where the program
// lives, listing a directory in the system's own order, a fast clock, and reading a file as bytes.
// POSIX and Windows implementations live side by side in Platform.cpp.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zdawnik::platform {

// The directory of the running executable, as the system reports it (symbolic links resolved).
std::filesystem::path ExecutableDirectory();

// Calls visit with the bare name of every entry of dir except "." and "..", in the order the
// system lists them. Names are the system's bytes (UTF-8 on Windows). Returns false when the
// directory cannot be listed; entries already visited stay visited.
bool ListDirectory(const std::filesystem::path& dir, const std::function<void(std::string_view)>& visit);

// Joins a directory and a name taken from a listing or from a question file. The name is appended
// as it stands: an absolute-looking name stays below dir.
std::filesystem::path JoinName(const std::filesystem::path& dir, const std::string& name);

// Whether an entry of any kind, a dangling link too, stands at path, given as the system's bytes
// (UTF-8 on Windows) in the form JoinName composes.
bool EntryExists(const std::string& path);

// Which directory a path (as for EntryExists) names, the same however the path is written; nothing
// when it names no directory.
std::optional<std::string> DirectoryIdentity(const std::string& path);

// A regular file as the system describes it: its size, and when it was last written in the file
// system's own ticks. A file written anew has another size or another time.
struct FileFacts
{
    std::uintmax_t size = 0;
    std::int64_t modified = 0;
};
// Nothing when there is no regular file at path.
std::optional<FileFacts> RegularFileFacts(const std::filesystem::path& path);

// The length of the longest path the system opens, in the units of its paths: a longer one names no
// file.
std::size_t LongestPath();

// The low 32 bits of the system's high-resolution counter (a millisecond tick count where there is none).
std::uint32_t HighResolutionCounter();

// A file opened for reading only. Failures throw EInOutError with the system's message for the cause
// ("File not found" for a missing file).
class InputFile
{
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to size bytes; 0 at the end of the file.
    std::size_t read(char* buffer, std::size_t size);
    void close() noexcept;

private:
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// The message the program shows when a file cannot be opened or read, for a system error code.
std::string InOutMessage(int systemError);

} // namespace zdawnik::platform
