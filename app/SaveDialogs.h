#pragma once

#include <QString>

class QWidget;

namespace zdawnik {

// Every dialog that asks where to save a file goes through here, so tests can answer them.
class SaveDialogs
{
public:
    virtual ~SaveDialogs() = default;
    // Shows a modal dialog owned by owner that proposes suggested (a path) and offers files of filter
    // ("Name (*.ext)"); returns the path chosen, or an empty text when the user cancelled.
    virtual QString saveFileName(QWidget* owner, const QString& title, const QString& suggested,
                                 const QString& filter) = 0;
};

// The platform's own save dialog.
class SystemSaveDialogs : public SaveDialogs
{
public:
    QString saveFileName(QWidget* owner, const QString& title, const QString& suggested,
                         const QString& filter) override;
};

} // namespace zdawnik
