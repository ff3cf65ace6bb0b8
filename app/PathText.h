#pragma once

#include <QFile>
#include <QString>

#include <filesystem>

namespace zdawnik {

// A path as the toolkit names it, and back: the system's bytes on POSIX, UTF-16 on Windows, so that
// no name is changed on the way.
inline std::filesystem::path PathFromText(const QString& text)
{
#ifdef _WIN32
    return std::filesystem::path(text.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

inline QString TextFromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

} // namespace zdawnik
