#include "app/TableCsv.h"

#include <QAbstractItemModel>
#include <QSaveFile>
#include <QStringList>

namespace zdawnik {

namespace {

QString CsvField(QString text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void AppendLine(QByteArray& csv, const QStringList& fields)
{
    QStringList quoted;
    for (const QString& field : fields)
        quoted.append(CsvField(field));
    csv += quoted.join(QLatin1Char(';')).toUtf8();
    csv += "\r\n";
}

} // namespace

QByteArray TableCsv(const QAbstractItemModel& model)
{
    QByteArray csv("\xEF\xBB\xBF");
    QStringList fields;
    for (int column = 0; column < model.columnCount(); ++column)
        fields.append(model.headerData(column, Qt::Horizontal).toString());
    AppendLine(csv, fields);
    for (int row = 0; row < model.rowCount(); ++row) {
        fields.clear();
        for (int column = 0; column < model.columnCount(); ++column)
            fields.append(model.index(row, column).data().toString());
        AppendLine(csv, fields);
    }
    return csv;
}

bool WriteTableCsv(const QAbstractItemModel& model, const QString& path, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(TableCsv(model)) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zdawnik
