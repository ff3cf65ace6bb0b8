#pragma once

#include "progress/RunRecord.h"

#include <memory>
#include <string>
#include <vector>

namespace zdawnik {

class StudyPool;

// The record as the bytes of its file: UTF-8 JSON.
std::string EncodeRunRecord(const RunRecord& record);

// Writes one pool's run again after every check. The names of a run's questions never change, so their
// JSON text is made once, with the writer; each record after that writes only the counters, the marks
// and the figures anew.
class RunRecordWriter
{
public:
    // pool: the run to write. Its questions must stay those it holds now for as long as the writer is
    // used: a pool built again needs a writer of its own.
    explicit RunRecordWriter(const StudyPool& pool);
    ~RunRecordWriter();
    RunRecordWriter(const RunRecordWriter&) = delete;
    RunRecordWriter& operator=(const RunRecordWriter&) = delete;

    // The file of the run as it stands: the figures of `figures` (its Questions are not used) and every
    // question of the pool with its counter, mastered when it is neither pending nor set aside.
    std::string Encode(const RunRecord& figures);

private:
    struct Names;

    const StudyPool& m_pool;
    std::unique_ptr<Names> m_names;
    // Which entries of the pool are not mastered, at each record.
    std::vector<char> m_pending;
};

} // namespace zdawnik
