#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace zdawnik {

// How the progress window writes dates, times and shares: the Polish way.

inline QLocale PolishLocale()
{
    return QLocale(QLocale::Polish, QLocale::Poland);
}

// "8.12.2026"
inline QString DayText(QDate day)
{
    return day.isValid() ? PolishLocale().toString(day, QStringLiteral("d.MM.yyyy")) : QString();
}

// "14:05"
inline QString ClockText(const QDateTime& time)
{
    return time.isValid() ? PolishLocale().toString(time.toLocalTime().time(), QStringLiteral("HH:mm"))
                          : QString();
}

// "8.12.2026 14:05"
inline QString DayAndClockText(const QDateTime& time)
{
    return time.isValid() ? DayText(time.toLocalTime().date()) + QLatin1Char(' ') + ClockText(time)
                          : QString();
}

// The share of good answers in whole percent, rounded down so that 100% means every one; nothing when
// there were no answers.
inline std::optional<int> GoodPercent(int good, int answers)
{
    if (answers <= 0)
        return std::nullopt;
    return static_cast<int>(static_cast<qint64>(good) * 100 / answers);
}

// "83%", or a dash for no answers.
inline QString PercentText(std::optional<int> percent)
{
    return percent ? QStringLiteral("%1%").arg(*percent) : QStringLiteral("—");
}

// "1 dzień nauki", "14 dni nauki"
inline QString StudyDaysText(int days)
{
    return days == 1 ? QStringLiteral("1 dzień nauki") : QStringLiteral("%1 dni nauki").arg(days);
}

} // namespace zdawnik
