#pragma once

#include "progress/RunRecord.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>

class QLockFile;

namespace zdawnik {

// Where the run on one bank is kept between sittings: a file in the state folder, named by a hash of
// the bank's path, and a lock file beside it. Only the store that holds the lock writes, so two
// windows on one bank never write over each other; the files of the bank itself are never touched.
class ProgressStore
{
public:
    enum class Access
    {
        Writing,          // this store holds the lock: it saves
        HeldByAnother,    // another window on the same bank holds it: this one only reads
        FolderUnwritable, // the state folder cannot be created or written: nothing is saved
    };

    enum class Found
    {
        Nothing, // no run kept for this bank
        Record,  // a record, whole and consistent
        Damaged, // a file that cannot be trusted; when writing, it is renamed aside
    };

    struct Loaded
    {
        Found found = Found::Nothing;
        RunRecord record;
        QString problem;   // for Damaged: what is wrong with it
        QString keptAside; // for Damaged: where the file now is
    };

    // bankPath: the bank's canonical path, as the system's bytes.
    ProgressStore(const QString& stateDir, std::string bankPath);
    ~ProgressStore();
    ProgressStore(const ProgressStore&) = delete;
    ProgressStore& operator=(const ProgressStore&) = delete;

    // Creates the state folder if need be and takes the bank's lock.
    Access Open();
    Access access() const { return m_access; }

    Loaded Load();

    // Replaces the kept record by this one (EncodeRunRecord's bytes): written to a new file, flushed to
    // the disk, and only then put in the old one's place, so that a crash at any moment leaves the old
    // record or the new one. Returns false, and the reason in error, when it could not be written.
    bool Save(std::string_view record, QString& error);

    const std::string& bankPath() const { return m_bankPath; }
    QString filePath() const { return m_filePath; }
    QString stateDir() const { return m_stateDir; }

private:
    QString KeepAside();

    QString m_stateDir;
    std::string m_bankPath;
    QString m_filePath;
    std::unique_ptr<QLockFile> m_lock;
    Access m_access = Access::FolderUnwritable;
};

} // namespace zdawnik
