#include "progress/StateFiles.h"

#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zdawnik {

FileKind KindOfFile(const QString& path)
{
#ifdef _WIN32
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return FileKind::Missing;
    return info.isFile() && !info.isSymLink() && !info.isJunction() ? FileKind::Regular : FileKind::Other;
#else
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? FileKind::Missing : FileKind::Other;
    return S_ISREG(status.st_mode) ? FileKind::Regular : FileKind::Other;
#endif
}

bool RenameWithoutReplacing(const QString& from, const QString& to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                       reinterpret_cast<const wchar_t*>(to.utf16()), 0) != 0;
#else
    const QByteArray source = QFile::encodeName(from), target = QFile::encodeName(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
#endif
    // A file system without the flag: a second link refuses a taken name just as well.
    if (::link(source.constData(), target.constData()) != 0)
        return false;
    ::unlink(source.constData());
    return true;
#endif
}

std::optional<QString> SetAside(const QString& path, const QString& suffix)
{
    // Older files set aside stay as they are: the new one takes the first name that is free. A folder
    // that holds a million of them is no folder this program filled.
    for (int attempt = 0; attempt < 1'000'000; ++attempt) {
        const QString aside =
            attempt == 0 ? path + suffix : QStringLiteral("%1.%2%3").arg(path).arg(attempt).arg(suffix);
        if (KindOfFile(aside) != FileKind::Missing)
            continue;
        if (RenameWithoutReplacing(path, aside))
            return aside;
        if (KindOfFile(aside) == FileKind::Missing)
            return std::nullopt; // not a taken name: the folder refuses the rename
    }
    return std::nullopt;
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString& problem)
{
    if (KindOfFile(path) != FileKind::Regular) {
        problem = QStringLiteral("not a regular file");
        return std::nullopt;
    }
#ifdef _WIN32
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
        return std::nullopt;
    }
    if (file.size() > maxBytes) {
        problem = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        return std::nullopt;
    }
    return file.read(maxBytes + 1);
#else
    // Another file may have taken the name since the look: the open neither follows a link nor waits
    // for a FIFO's writer, and what it opened is looked at again.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        problem = QStringLiteral("not a regular file");
        return std::nullopt;
    }
    if (status.st_size > maxBytes) {
        ::close(fd);
        problem = QStringLiteral("larger than %1 bytes").arg(maxBytes);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        problem = file.errorString();
        return std::nullopt;
    }
    // A file that grew meanwhile is read only up to one byte past the limit, which its reader refuses.
    return file.read(maxBytes + 1);
#endif
}

} // namespace zdawnik
