#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zdawnik {

// The files of the state folder are looked at before they are opened: the folder is the user's, and
// anything may stand under a name the program uses. A FIFO opened for reading would wait for a writer
// for ever, and a symbolic link would lead the program's writes to a file elsewhere.
enum class FileKind
{
    Missing,
    Regular, // a plain file, not a link to one
    Other,   // a symbolic link, a FIFO, a folder, a device, a socket
};

// The kind of what stands at path, its links not followed.
FileKind KindOfFile(const QString& path);

// Renames from to to, only when nothing stands at to: an older file is never overwritten.
bool RenameWithoutReplacing(const QString& from, const QString& to);

// Renames path to path + suffix, or when that name is taken to path + ".N" + suffix with the first N
// that is free. Returns the new name, or nothing when it could not be renamed.
std::optional<QString> SetAside(const QString& path, const QString& suffix);

// Reads a regular file of at most maxBytes, never through a link and never waiting on a FIFO. Gives
// nothing, and the reason in problem, for anything else.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes, QString& problem);

} // namespace zdawnik
