#pragma once

#include <QString>

class QAbstractItemModel;

namespace zdawnik {

// The rows of a table as shown (its titles first), as CSV in UTF-8 behind a byte-order mark, so that
// spreadsheets take the Polish letters as they are. Fields are separated by semicolons, as
// spreadsheets set to Polish expect, quoted where they hold one, a quote or a line end; lines end
// in CR LF.
QByteArray TableCsv(const QAbstractItemModel& model);

// Writes TableCsv(model) to path, whole or not at all; on failure returns false and sets error.
bool WriteTableCsv(const QAbstractItemModel& model, const QString& path, QString& error);

} // namespace zdawnik
