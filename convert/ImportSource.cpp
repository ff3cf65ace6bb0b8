#include "convert/ImportSource.h"

#include <QRegularExpression>

namespace zdawnik {

QString QuestionLabel(const QString& name)
{
    return name.isEmpty() ? QStringLiteral("a question") : '"' + name + '"';
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
