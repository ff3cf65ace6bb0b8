// The study clock: every tick of the timer adds one second to the time shown, carried from the
// seconds to the hours. The time lives in the digits' captions alone.

#include "app/TMainForm.h"
#include "base/StrToInt.h"
#include "widgets/Accessibility.h"
#include "widgets/TLabel.h"

namespace zdawnik {

namespace {

// Hours, tens and units of minutes, tens and units of seconds.
const char* const ClockDigits[5] = {"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};

} // namespace

void TMainForm::TimerTimer()
{
    TLabel* labels[5];
    int h, m1, m2, s1, s2;
    int* values[] = {&h, &m1, &m2, &s1, &s2};
    for (int i = 0; i < 5; ++i) {
        labels[i] = Find<TLabel>(ClockDigits[i]);
        *values[i] = StrToInt(labels[i]->caption().toStdString());
    }
    if (s2 != 9) {
        ++s2;
    } else {
        s2 = 0;
        if (s1 != 5) {
            ++s1;
        } else {
            s1 = 0;
            if (m2 != 9) {
                ++m2;
            } else {
                m2 = 0;
                if (m1 != 5) {
                    ++m1;
                } else {
                    m1 = 0;
                    ++h;
                }
            }
        }
    }
    for (int i = 0; i < 5; ++i)
        labels[i]->setCaption(QString::number(*values[i]));
    ReadClockAsOne();
}

qint64 TMainForm::ClockSeconds() const
{
    qint64 digits[5];
    for (int i = 0; i < 5; ++i)
        digits[i] = StrToInt(Find<TLabel>(ClockDigits[i])->caption().toStdString());
    return digits[0] * 3600 + (digits[1] * 10 + digits[2]) * 60 + digits[3] * 10 + digits[4];
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
    caption->setAccessibleName(CaptionText(caption->caption()) + ' ' + ClockText(ClockSeconds()));
}

} // namespace zdawnik
