#pragma once

#include "pictures/PictureResult.h"

#include <QSize>
#include <QtGlobal>

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

namespace zdawnik {

// Which file a picture came from, as it was when it was read: a file written since has another
// size or another modification time.
struct FileStamp
{
    std::string path; // the system's bytes
    std::uintmax_t size = 0;
    std::int64_t modified = 0; // in the file system's clock ticks

    bool operator==(const FileStamp&) const = default;
};

// Loaded pictures by file and place, for the rest of the run, within a budget of bytes: the least
// recently used leave first. A failure is kept too (its reason costs next to nothing), so that a
// damaged file is not read again at every showing.
class PictureCache
{
public:
    explicit PictureCache(qint64 budgetBytes);

    // A picture by the file it came from and the place it was kept for.
    struct Key
    {
        FileStamp file;
        QSize place;
        bool operator==(const Key&) const = default;
    };

    std::optional<PictureResult> Find(const Key& key);
    void Insert(const Key& key, const PictureResult& picture);

    qint64 Bytes() const { return m_bytes; }
    int Count() const { return int(m_entries.size()); }

private:
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const;
    };
    struct Entry
    {
        Key key;
        PictureResult picture;
        qint64 bytes = 0;
    };

    void Trim();

    qint64 m_budget;
    qint64 m_bytes = 0;
    std::list<Entry> m_entries; // the most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> m_index;
};

} // namespace zdawnik
