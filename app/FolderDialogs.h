#pragma once

#include <QString>

class QWidget;

namespace zdawnik {

// Every folder dialog of the program goes through here, so tests can answer them.
class FolderDialogs
{
public:
    virtual ~FolderDialogs() = default;
    // Shows a modal dialog owned by owner that starts in startIn; returns the folder chosen, or an
    // empty text when the user cancelled.
    virtual QString chooseFolder(QWidget* owner, const QString& title, const QString& startIn) = 0;
};

// The platform's own folder dialog.
class SystemFolderDialogs : public FolderDialogs
{
public:
    QString chooseFolder(QWidget* owner, const QString& title, const QString& startIn) override;
};

} // namespace zdawnik
