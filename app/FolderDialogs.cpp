#include "app/FolderDialogs.h"

#include <QFileDialog>

namespace zdawnik {

QString SystemFolderDialogs::chooseFolder(QWidget* owner, const QString& title, const QString& startIn)
{
    return QFileDialog::getExistingDirectory(owner, title, startIn);
}

} // namespace zdawnik
