// The study clock measures the time that passes while the run goes on; each tick of the timer shows it,
// carried from the seconds to the hours. A tick that comes late (the window froze) shows the time that
// has passed all the same.

#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/TLabel.h"

#include <QTimer>

namespace zdawnik {

namespace {

// Hours, tens and units of minutes, tens and units of seconds.
const char* const ClockDigits[5] = {"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};

} // namespace

void TMainForm::StartStudyClock()
{
    m_run->StartClock(m_environment.StudyClock());
    m_Timer->start();
}

void TMainForm::TimerTimer()
{
    if (m_exam) {
        ExamTick();
        return;
    }
    ShowClock(m_run->Tick(m_environment.StudyClock()));
}

void TMainForm::ShowClock(qint64 seconds)
{
    const qint64 digits[5] = {seconds / 3600, seconds / 600 % 6, seconds / 60 % 10, seconds / 10 % 6,
                              seconds % 10};
    for (int i = 0; i < 5; ++i)
        Find<TLabel>(ClockDigits[i])->setCaption(QString::number(digits[i]));
    ReadClockAsOne();
}

QString ClockText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void TMainForm::ReadClockAsOne()
{
    // The digits and colons are labels of their own; a screen reader hears the caption and the time.
    auto* caption = Find<TLabel>("Label21");
    caption->setAccessibleName(CaptionText(caption->caption()) + ' ' +
                               ClockText(m_run->Figures().StudySeconds));
}

} // namespace zdawnik
