#pragma once

// Question files too big for the repository, written at run time into a temporary folder, and the
// process's peak memory, which the benchmarks of such files report.

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace zdawnik::bench {

inline constexpr std::size_t Megabyte = 1024 * 1024;

// A file of lines, each of BytesPerLine copies of one byte followed by LineEnd (which may be empty).
struct BigFile
{
    const char* Name;
    int Lines;
    std::size_t BytesPerLine;
    char Byte;
    const char* LineEnd;

    void write(const std::filesystem::path& path) const
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        const std::string block(Megabyte, Byte);
        for (int line = 0; line < Lines; ++line) {
            for (std::size_t left = BytesPerLine; left > 0;) {
                const std::size_t size = std::min(left, block.size());
                out.write(block.data(), static_cast<std::streamsize>(size));
                left -= size;
            }
            out << LineEnd;
        }
    }
};

// 256 MB of zero bytes and no line feed: one endless line.
inline const BigFile OneLineOf256MB{"256MB-one-line", 1, 256 * Megabyte, '\0', ""};
// Twenty lines of 10 MB: every kept line is cut, and the file has a line too many to be shown.
inline const BigFile TwentyLinesOf10MB{"20-lines-of-10MB", 20, 10 * Megabyte, 'a', "\r\n"};

// The highest resident memory of this process so far, in kilobytes (0 where the system does not say).
inline long PeakResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

} // namespace zdawnik::bench
