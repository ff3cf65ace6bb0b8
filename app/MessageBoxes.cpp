#include "app/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

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

bool DialogMessageBoxes::ask(QWidget* owner, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Tak"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Nie"));
    box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace zdawnik
