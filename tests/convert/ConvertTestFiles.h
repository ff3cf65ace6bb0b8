#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include "tests/check/CheckTestFiles.h"

// What a program of the build did: its exit status and its two outputs, line by line.
struct ProgramRun
{
    int Status = -1;
    QStringList Out;
    QStringList Err;
};

inline QStringList Lines(const QByteArray& bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    // Qt's own word on a missing runtime folder is no part of the program's output.
    lines.removeIf([](const QString& line) { return line.startsWith("QStandardPaths:"); });
    return lines;
}

inline ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    ProgramRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.Status = process.exitCode();
    run.Out = Lines(process.readAllStandardOutput());
    run.Err = Lines(process.readAllStandardError());
    return run;
}

// A bank folder as a reader sees it: each file in name order, subfolders too, under "== name": a
// question file's text (line ends as "\n") and its encoding, a picture's format and size.
inline QString BankListing(const QString& folder)
{
    QStringList names;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext())
        names << QDir(folder).relativeFilePath(files.next());
    names.sort();
    QString listing;
    for (const QString& name : names) {
        QFile file(QDir(folder).filePath(name));
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        if (!name.endsWith(".txt")) {
            const QImage image = QImage::fromData(bytes);
            listing += QString("== %1 (%2 x %3)\n").arg(name).arg(image.width()).arg(image.height());
            continue;
        }
        const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
        QString text;
        if (utf8) {
            text = QString::fromUtf8(bytes.mid(3));
        } else {
            // Back from Windows-1250: the Polish letters the tests use, each one byte.
            static const QString Letters = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
            const QByteArray letterBytes = Windows1250(Letters);
            for (const char c : bytes) {
                const qsizetype letter = uchar(c) >= 0x80 ? letterBytes.indexOf(c) : -1;
                text += letter >= 0 ? Letters[letter] : QChar(uchar(c));
            }
        }
        listing +=
            QString("== %1 (%2)\n").arg(name, utf8 ? "utf-8" : "windows-1250") + text.replace("\r\n", "\n");
    }
    return listing;
}
