#include "convert/CsvTable.h"

#include <csv.h>

namespace zdawnik {

namespace {

struct Collector
{
    CsvTable* Table = nullptr;
    CsvRow Row;
    int Line = 1;
    int RowStart = 0; // the line the record being read starts on; 0 before its first line
};

// Tabs may be the delimiter: only spaces are trimmed around unquoted fields.
int IsSpace(unsigned char c)
{
    return c == CSV_SPACE;
}

void EndField(void* field, std::size_t size, void* data)
{
    auto& collector = *static_cast<Collector*>(data);
    if (collector.Row.Fields.isEmpty())
        // A carriage return alone ends a record too, and the next starts on the same line.
        collector.Row.Line = collector.RowStart > 0 ? collector.RowStart : collector.Line;
    collector.Row.Fields << QString::fromUtf8(static_cast<const char*>(field), qsizetype(size));
}

void EndRow(int, void* data)
{
    auto& collector = *static_cast<Collector*>(data);
    collector.Table->Rows.push_back(std::move(collector.Row));
    collector.Row = {};
    collector.RowStart = 0;
}

} // namespace

char GuessCsvDelimiter(const QString& text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            commas += c == u',', semicolons += c == u';', tabs += c == u'\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return ',';
}

CsvTable ReadCsv(const QString& text, char delimiter)
{
    CsvTable table;
    csv_parser parser;
    // Strict: a stray quote is a mistake to show, not a character to guess about.
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        table.Error = {0, QStringLiteral("out of memory")};
        return table;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&parser, IsSpace);
    Collector collector{&table, {}, 1, 0};
    const QByteArray bytes = text.toUtf8();
    // Fed line by line, so that each record knows the line it starts on.
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        end = end < 0 ? bytes.size() : end + 1;
        if (collector.RowStart == 0 && !bytes.mid(from, end - from).trimmed().isEmpty())
            collector.RowStart = collector.Line;
        if (csv_parse(&parser, bytes.constData() + from, std::size_t(end - from), EndField, EndRow,
                      &collector) != std::size_t(end - from)) {
            table.Error = {collector.Line,
                           csv_error(&parser) == CSV_EPARSE
                               ? QStringLiteral("a quote in a field that is not quoted, or after "
                                                "the closing quote: quote the field and double "
                                                "the quotes in it")
                               : QString::fromUtf8(csv_strerror(csv_error(&parser)))};
            csv_free(&parser);
            return table;
        }
        from = end;
        ++collector.Line;
    }
    --collector.Line;
    if (csv_fini(&parser, EndField, EndRow, &collector) != 0)
        table.Error = {collector.RowStart,
                       QStringLiteral("a quoted field of the record has no closing quote")};
    csv_free(&parser);
    return table;
}

QString CsvField(const QString& field, char delimiter)
{
    const bool quoted = field.contains(QChar(delimiter)) || field.contains('"') || field.contains('\n') ||
                        field.contains('\r') || field.startsWith(' ') || field.endsWith(' ');
    if (!quoted)
        return field;
    QString doubled = field;
    return '"' + doubled.replace('"', QStringLiteral("\"\"")) + '"';
}

} // namespace zdawnik
