#include "pictures/PictureCache.h"

#include <functional>

namespace zdawnik {

namespace {

// What an entry costs besides its pixels: the key, the reason of a failure, the bookkeeping.
constexpr qint64 EntryOverhead = 256;

} // namespace

std::size_t PictureCache::KeyHash::operator()(const Key& key) const
{
    std::size_t hash = std::hash<std::string>()(key.file.path);
    const auto mix = [&hash](std::size_t value) {
        hash ^= value + 0x9E3779B97F4A7C15u + (hash << 6) + (hash >> 2);
    };
    mix(std::size_t(key.file.size));
    mix(std::size_t(key.file.modified));
    mix(std::size_t(key.place.width()) << 16 ^ std::size_t(key.place.height()));
    return hash;
}

PictureCache::PictureCache(qint64 budgetBytes) : m_budget(budgetBytes) {}

std::optional<PictureResult> PictureCache::Find(const Key& key)
{
    const auto found = m_index.find(key);
    if (found == m_index.end())
        return std::nullopt;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second->picture;
}

void PictureCache::Insert(const Key& key, const PictureResult& picture)
{
    const qint64 bytes =
        picture.image.sizeInBytes() + qint64(key.file.path.size() + picture.error.size() * 2) + EntryOverhead;
    if (const auto found = m_index.find(key); found != m_index.end()) {
        m_bytes -= found->second->bytes;
        m_entries.erase(found->second);
        m_index.erase(found);
    }
    if (bytes > m_budget)
        return;
    m_entries.push_front(Entry{key, picture, bytes});
    m_index.emplace(key, m_entries.begin());
    m_bytes += bytes;
    Trim();
}

void PictureCache::Trim()
{
    while (m_bytes > m_budget && !m_entries.empty()) {
        const Entry& oldest = m_entries.back();
        m_bytes -= oldest.bytes;
        m_index.erase(oldest.key);
        m_entries.pop_back();
    }
}

} // namespace zdawnik
