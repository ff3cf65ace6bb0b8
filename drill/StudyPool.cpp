#include "drill/StudyPool.h"

#include "drill/Random.h"
#include "base/Platform.h"

#include <cassert>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace zdawnik {

bool IsQuestionFileName(std::string_view name)
{
    static constexpr char Suffix[] = ".txt";
    constexpr std::size_t length = sizeof Suffix - 1;
    if (name.size() < length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = name[name.size() - length + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != Suffix[i])
            return false;
    }
    return true;
}

std::vector<std::string> ScanBank(const std::filesystem::path& bankDir)
{
    std::vector<std::string> names;
    platform::ListDirectory(bankDir, [&](std::string_view name) {
        if (IsQuestionFileName(name))
            names.emplace_back(name);
    });
    return names;
}

int StudyPool::BuildPool(std::vector<std::string> names)
{
    m_pool.clear();
    m_pool.reserve(names.size());
    for (std::string& name : names)
        m_pool.push_back(PoolEntry{std::move(name), InitialRepeats});
    m_pendingList.resize(m_pool.size());
    std::iota(m_pendingList.begin(), m_pendingList.end(), 0);
    m_setAside.clear();
    m_currentPending = -1;
    m_currentEntry = -1;
    return static_cast<int>(m_pool.size());
}

BankChanges StudyPool::RestorePool(std::vector<std::string> names,
                                   const std::vector<QuestionProgress>& earlier)
{
    // A folder that did not change lists its files in the order it listed them before, which is the
    // order the progress was kept in: each name is first looked for at its own place, and only the
    // names found elsewhere take the map.
    std::unordered_map<std::string_view, const QuestionProgress*> byName;
    const auto earlierOf = [&](std::size_t i, const std::string& name) -> const QuestionProgress* {
        if (i < earlier.size() && earlier[i].FileName == name)
            return &earlier[i];
        if (byName.empty()) {
            byName.reserve(earlier.size());
            for (const QuestionProgress& question : earlier)
                byName.emplace(question.FileName, &question);
        }
        const auto found = byName.find(name);
        return found == byName.end() ? nullptr : found->second;
    };

    BankChanges changes;
    m_pool.clear();
    m_pool.reserve(names.size());
    m_pendingList.clear();
    m_setAside.clear();
    int kept = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const QuestionProgress* before = earlierOf(i, names[i]);
        const bool mastered = before && before->Mastered;
        if (before)
            ++kept;
        else
            ++changes.Added;
        if (!mastered)
            m_pendingList.push_back(static_cast<int>(m_pool.size()));
        // A mastered question has nothing left to show; a new one starts afresh.
        const int repeats = !before ? InitialRepeats : mastered ? 0 : before->Repeats;
        m_pool.push_back(PoolEntry{std::move(names[i]), repeats});
    }
    changes.Removed = static_cast<int>(earlier.size()) - kept;
    m_currentPending = -1;
    m_currentEntry = -1;
    return changes;
}

void StudyPool::MarkNotMastered(std::vector<char>& marks) const
{
    marks.assign(m_pool.size(), 0);
    for (const int entry : m_pendingList)
        marks[static_cast<std::size_t>(entry)] = 1;
    for (const int entry : m_setAside)
        marks[static_cast<std::size_t>(entry)] = 1;
}

std::vector<QuestionProgress> StudyPool::Progress() const
{
    std::vector<char> pending;
    MarkNotMastered(pending);
    std::vector<QuestionProgress> progress;
    progress.reserve(m_pool.size());
    for (std::size_t i = 0; i < m_pool.size(); ++i)
        progress.push_back(QuestionProgress{m_pool[i].FileName, m_pool[i].Repeats, pending[i] == 0});
    return progress;
}

int StudyPool::DrawQuestion()
{
    assert(!m_pendingList.empty());
    m_random.Reseed();
    m_currentPending = m_random.RandomBelow(PendingCount());
    m_currentEntry = m_pendingList[static_cast<std::size_t>(m_currentPending)];
    return m_currentEntry;
}

int StudyPool::MarkShown()
{
    int& repeats = m_pool[static_cast<std::size_t>(m_currentEntry)].Repeats;
    if (repeats > 0)
        --repeats;
    return repeats;
}

bool StudyPool::ApplyVerdict(Verdict verdict)
{
    int& repeats = m_pool[static_cast<std::size_t>(m_currentEntry)].Repeats;
    if (verdict != Verdict::Good)
        repeats += RepeatsAfterMistake;
    if (repeats != 0)
        return false;
    // A question leaves the pending list once, however often a verdict reaches it.
    const auto position = m_pendingList.begin() + m_currentPending;
    if (m_currentPending < PendingCount() && *position == m_currentEntry)
        m_pendingList.erase(position);
    return true;
}

void StudyPool::SetAsideCurrent()
{
    if (m_currentPending < 0 || m_currentPending >= PendingCount() ||
        m_pendingList[static_cast<std::size_t>(m_currentPending)] != m_currentEntry)
        return; // it has left the pending list already
    m_pendingList.erase(m_pendingList.begin() + m_currentPending);
    m_setAside.push_back(m_currentEntry);
}

} // namespace zdawnik
