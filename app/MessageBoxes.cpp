#include "app/MessageBoxes.h"

#include <QMessageBox>

namespace zdawnik {

void DialogMessageBoxes::show(QWidget* owner, Icon icon, const QString& title, const QString& text)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::Stop:
        qtIcon = QMessageBox::Critical;
        break;
    case Icon::Question:
        qtIcon = QMessageBox::Question;
        break;
    case Icon::None:
        break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace zdawnik
