#include "app/SaveDialogs.h"

#include <QFileDialog>

namespace zdawnik {

QString SystemSaveDialogs::saveFileName(QWidget* owner, const QString& title, const QString& suggested,
                                        const QString& filter)
{
    return QFileDialog::getSaveFileName(owner, title, suggested, filter);
}

} // namespace zdawnik
