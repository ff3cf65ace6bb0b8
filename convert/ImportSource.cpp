#include "convert/ImportSource.h"

#include <QRegularExpression>

namespace zdawnik {

QString QuestionLabel(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("a question") : '"' + name + '"';
}

void CategoryTally::enter(const QString& category, int line)
{
    m_current = category;
    m_entries.push_back({category, line, 0});
}

void CategoryTally::countQuestion()
{
    if (!m_entries.empty())
        ++m_entries.back().Questions;
}

void CategoryTally::report(const QString& source, ConvertReports& reports) const
{
    for (const Entry& entry : m_entries)
        if (entry.Questions > 0)
            reports.push_back({ReportKind::Note, source, entry.Line, 0,
                               QStringLiteral("category \"%1\": %2 question(s)")
                                   .arg(entry.Category.isEmpty() ? QStringLiteral("(top)") : entry.Category)
                                   .arg(entry.Questions)});
}

QString CleanCategory(const QString& path)
{
    static const QRegularExpression PlatformPrefix(QStringLiteral("^\\$[A-Za-z0-9_]+\\$"));
    QString rest = path.trimmed();
    rest.remove(PlatformPrefix);
    QStringList parts;
    for (const QString& part : rest.split('/', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    if (!parts.isEmpty() && parts.front() == QLatin1String("top"))
        parts.removeFirst();
    return parts.join('/');
}

} // namespace zdawnik
