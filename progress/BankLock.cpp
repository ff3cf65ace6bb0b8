#include "progress/BankLock.h"

#include "progress/StateFiles.h"

#include <QCryptographicHash>
#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zdawnik {

namespace {

// Where the bank's byte lies: 62 bits of the SHA-256 of its path, so that two banks meet on one byte
// only by a chance no user will see.
std::uint64_t LockOffset(const std::string& bankPath)
{
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(bankPath), QCryptographicHash::Sha256);
    std::uint64_t offset = 0;
    for (int i = 0; i < 8; ++i)
        offset = offset << 8 | std::uint8_t(hash[i]);
    return offset >> 2;
}

} // namespace

BankLock::BankLock(const QString& lockFilePath, const std::string& bankPath)
    : m_path(lockFilePath), m_offset(LockOffset(bankPath))
{
}

BankLock::~BankLock()
{
    Unlock();
}

#ifdef _WIN32

BankLock::Result BankLock::TryLock()
{
    if (m_held)
        return Result::Taken;
    if (KindOfFile(m_path) == FileKind::Other)
        DeleteFileW(reinterpret_cast<const wchar_t*>(m_path.utf16()));
    if (!m_handle) {
        HANDLE handle =
            CreateFileW(reinterpret_cast<const wchar_t*>(m_path.utf16()), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return Result::Failed;
        m_handle = handle;
    }
    OVERLAPPED place = {};
    place.Offset = DWORD(m_offset & 0xFFFFFFFFu);
    place.OffsetHigh = DWORD(m_offset >> 32);
    if (!LockFileEx(m_handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &place))
        return GetLastError() == ERROR_LOCK_VIOLATION ? Result::Held : Result::Failed;
    m_held = true;
    return Result::Taken;
}

void BankLock::Unlock()
{
    if (m_handle) {
        if (m_held) {
            OVERLAPPED place = {};
            place.Offset = DWORD(m_offset & 0xFFFFFFFFu);
            place.OffsetHigh = DWORD(m_offset >> 32);
            UnlockFileEx(m_handle, 0, 1, 0, &place);
        }
        CloseHandle(m_handle);
    }
    m_handle = nullptr;
    m_held = false;
}

#else

BankLock::Result BankLock::TryLock()
{
    if (m_held)
        return Result::Taken;
    const QByteArray path = QFile::encodeName(m_path);
    if (m_fd < 0) {
        // Whatever stands under the name and is no plain file (a FIFO would hold the open up, a link
        // would lead elsewhere) is taken away: a lock file holds nothing worth keeping.
        if (KindOfFile(m_path) == FileKind::Other && ::unlink(path.constData()) != 0)
            return Result::Failed;
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        if (fd < 0)
            return Result::Failed;
        struct stat status;
        if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            ::close(fd);
            return Result::Failed;
        }
        m_fd = fd;
    }
    struct flock range = {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = off_t(m_offset);
    range.l_len = 1;
#ifdef F_OFD_SETLK
    // A lock of the open file, not of the process: two stores in one process exclude each other too,
    // and closing another descriptor of the file does not let it go.
    const int command = F_OFD_SETLK;
#else
    const int command = F_SETLK;
#endif
    if (::fcntl(m_fd, command, &range) != 0)
        return errno == EAGAIN || errno == EACCES ? Result::Held : Result::Failed;
    m_held = true;
    return Result::Taken;
}

void BankLock::Unlock()
{
    if (m_fd >= 0)
        ::close(m_fd); // lets the lock go
    m_fd = -1;
    m_held = false;
}

#endif

} // namespace zdawnik
