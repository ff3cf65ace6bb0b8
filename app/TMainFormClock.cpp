// The study clock measures the time that passes while the run goes on; each tick of the timer shows it,
// carried from the seconds to the hours. A tick that comes late (the window froze) shows the time that
// has passed all the same.

#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/TLabel.h"

#include <QFontMetrics>
#include <QTimer>

#include <algorithm>

namespace zdawnik {

namespace {

// Hours, tens and units of minutes, tens and units of seconds.
const char* const ClockDigits[5] = {"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};
// Where the layout puts the hours and the clock's caption.
constexpr int ClockHoursRight = 537;
constexpr int ClockHoursWidth = 17;
constexpr int ClockCaptionLeft = 446;

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
    FitClockHours();
    ReadClockAsOne();
}

void TMainForm::FitClockHours()
{
    // The hours' place holds two digits; a longer study time grows to the left, into the free space,
    // taking the clock's caption with it, so that no digit is cut.
    auto* hours = Find<TLabel>("lblh1");
    auto* caption = Find<TLabel>("Label21");
    const int width =
        std::max(ClockHoursWidth, QFontMetrics(hours->font()).horizontalAdvance(hours->caption()) + 2);
    if (hours->width() == width)
        return;
    hours->setGeometry(ClockHoursRight - width, hours->y(), width, hours->height());
    caption->move(std::min(ClockCaptionLeft, hours->x() - caption->width()), caption->y());
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
