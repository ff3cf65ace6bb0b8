#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace zdawnik {

// The writer's lock on one bank: one byte of the state folder's lock file, at a place given by the
// bank's path, locked by the system for as long as this object lives. The system lets the lock go
// when its process ends, however it ends, so a lock is never left behind by a crash; what the file
// holds means nothing, so an empty or garbage file is as good as a new one.
class BankLock
{
public:
    enum class Result
    {
        Taken,  // this object holds the bank
        Held,   // another holds it
        Failed, // the lock file cannot be made
    };

    BankLock(const QString& lockFilePath, const std::string& bankPath);
    ~BankLock();
    BankLock(const BankLock&) = delete;
    BankLock& operator=(const BankLock&) = delete;

    Result TryLock();
    void Unlock();
    bool IsHeld() const { return m_held; }

private:
    QString m_path;
    std::uint64_t m_offset;
    bool m_held = false;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

} // namespace zdawnik
