#pragma once

// A window whose runs are kept in a state folder of its own, with helpers to answer, to close and
// reopen it, and to read or write what was kept.

#include "progress/HistoryStore.h"
#include "progress/RunRecord.h"
#include "widgets/TGauge.h"

#include <QFile>

#include <optional>

#include "MainFormFixture.h"
#include "drill/StudyPool.h"

// One choice question whose first answer is the right one.
inline QByteArray RightIsFirst(int n)
{
    return "X10\r\nPytanie " + QByteArray::number(n) + "\r\ntak\r\nnie\r\n";
}

class ProgressFixture : public MainFormFixture
{
public:
    ProgressFixture() { stateDir = dir.filePath("stan"); }

    void writeQuestions(const QStringList& names)
    {
        int n = 0;
        for (const QString& name : names)
            write(name.toStdString(), RightIsFirst(++n));
    }

    // Ticks the right or a wrong answer of the question on screen, and checks.
    void answer(bool right)
    {
        click(right ? "pnlOdp1" : "pnlOdp2");
        click("btnCheck");
    }

    void next() { click("btnDalej"); }

    // Closes the window as its close box does.
    void close()
    {
        window->close();
        window.reset();
    }

    std::string bankKey() const { return std::filesystem::canonical(bank()).native(); }
    // Where a run file of an earlier version stands: the window takes it into its database.
    QString keptFile() const { return zdawnik::HistoryStore::RunFilePath(stateDir, bankKey()); }

    // The run kept in the database, read as another window reads it; empty when none is kept.
    std::optional<zdawnik::RunRecord> keptRun() const
    {
        zdawnik::HistoryStore store(stateDir, bankKey());
        zdawnik::HistoryStore::Loaded loaded = store.LoadRun();
        if (loaded.found != zdawnik::HistoryStore::Found::Record)
            return std::nullopt;
        return loaded.record;
    }

    // The kept run as the bytes of a run file: equal bytes, the same run.
    QByteArray keptBytes() const
    {
        const std::optional<zdawnik::RunRecord> run = keptRun();
        return run ? QByteArray::fromStdString(zdawnik::EncodeRunRecord(*run)) : QByteArray();
    }

    zdawnik::RunRecord kept() const
    {
        std::optional<zdawnik::RunRecord> run = keptRun();
        if (!run)
            throw zdawnik::EDamagedProgress("no run kept");
        return *run;
    }

    void keep(const zdawnik::RunRecord& record)
    {
        QDir().mkpath(stateDir);
        QFile file(keptFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::fromStdString(zdawnik::EncodeRunRecord(record)));
    }

    // A kept run on this bank: "name:repeats" pending, "name:m" mastered.
    zdawnik::RunRecord record(const QStringList& questions, int answers, int good, qint64 seconds) const
    {
        zdawnik::RunRecord record;
        record.BankPath = bankKey();
        record.SavedAt = QDateTime::currentDateTimeUtc();
        record.Answers = answers;
        record.GoodAnswers = good;
        record.StudySeconds = seconds;
        for (const QString& question : questions) {
            const QString repeats = question.section(':', 1);
            record.Questions.push_back({question.section(':', 0, 0).toStdString(),
                                        repeats == "m" ? 0 : repeats.toInt(), repeats == "m"});
        }
        return record;
    }

    QString clockText() const
    {
        return caption("lblh1") + ":" + caption("lblm1") + caption("lblm2") + ":" + caption("lbls1") +
               caption("lbls2");
    }

    // The statistics the information panel and the clock show.
    QStringList statistics() const
    {
        const auto* good = widget<zdawnik::TGauge>("gaugeDobreZle");
        const auto* mastered = widget<zdawnik::TGauge>("gaugeOpanowane");
        return {caption("lblPytanInfo"), caption("lblOpanowane"),
                QString("%1/%2").arg(good->Progress()).arg(good->MaxValue()),
                QString("%1/%2").arg(mastered->Progress()).arg(mastered->MaxValue()), clockText()};
    }
};
