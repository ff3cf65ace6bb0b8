#include "progress/ProgressStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>

namespace zdawnik {

namespace {

// The bank's files are named by the first 128 bits of the SHA-256 of its path: one file per bank,
// whatever characters the path holds. The path itself is kept inside the record.
QString FileStem(const std::string& bankPath)
{
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(bankPath), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.left(16).toHex());
}

} // namespace

ProgressStore::ProgressStore(const QString& stateDir, std::string bankPath)
    : m_stateDir(stateDir), m_bankPath(std::move(bankPath))
{
    const QString stem = QDir(m_stateDir).filePath(FileStem(m_bankPath));
    m_filePath = stem + QStringLiteral(".json");
    m_lock = std::make_unique<QLockFile>(stem + QStringLiteral(".lock"));
    // A window may stay open for days: only a lock whose process is gone is taken over, never one
    // that is merely old.
    m_lock->setStaleLockTime(0);
}

ProgressStore::~ProgressStore() = default;

ProgressStore::Access ProgressStore::Open()
{
    if (m_access == Access::Writing)
        return m_access;
    if (!QDir().mkpath(m_stateDir))
        return m_access = Access::FolderUnwritable;
    if (m_lock->tryLock(0))
        return m_access = Access::Writing;
    return m_access = m_lock->error() == QLockFile::LockFailedError ? Access::HeldByAnother
                                                                    : Access::FolderUnwritable;
}

ProgressStore::Loaded ProgressStore::Load()
{
    Loaded loaded;
    QFile file(m_filePath);
    if (!file.exists())
        return loaded;
    try {
        if (!file.open(QIODevice::ReadOnly))
            throw EDamagedProgress("cannot be opened: " + file.errorString().toStdString());
        if (file.size() > MaxRecordBytes)
            throw EDamagedProgress("larger than " + std::to_string(MaxRecordBytes) + " bytes");
        // A file that grew past the limit meanwhile is refused by the decoder.
        loaded.record = DecodeRunRecord(file.readAll(), m_bankPath);
        loaded.found = Found::Record;
    } catch (const EDamagedProgress& damaged) {
        loaded.found = Found::Damaged;
        loaded.problem = QString::fromStdString(damaged.what());
        file.close();
        loaded.keptAside = m_access == Access::Writing ? KeepAside() : m_filePath;
    }
    return loaded;
}

QString ProgressStore::KeepAside()
{
    // Older damaged files stay as they are: the new one takes the first free name.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString aside = attempt == 0 ? m_filePath + QStringLiteral(".damaged")
                                           : QStringLiteral("%1.%2.damaged").arg(m_filePath).arg(attempt);
        if (!QFile::exists(aside) && QFile::rename(m_filePath, aside))
            return aside;
    }
    return m_filePath;
}

bool ProgressStore::Save(std::string_view record, QString& error)
{
    if (m_access != Access::Writing) {
        error = QStringLiteral("the bank's lock is not held");
        return false;
    }
    QDir().mkpath(m_stateDir); // the folder may have been removed while the window was open
    // QSaveFile writes beside the old file and flushes the new one to the disk before it renames it
    // over the old one.
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(record.data(), qint64(record.size())) != qint64(record.size()) || !file.commit()) {
        error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace zdawnik
