#pragma once

#include <QString>

class QWidget;

namespace zdawnik {

// Every message box of the program goes through here, so tests can read and answer them.
class MessageBoxes
{
public:
    enum class Icon
    {
        None,
        Stop,
        Question,
    };

    virtual ~MessageBoxes() = default;
    // Shows a modal box with one OK button, owned by owner, and returns when it is dismissed.
    virtual void show(QWidget* owner, Icon icon, const QString& title, const QString& text) = 0;
    // Asks a question to be answered yes or no ("Tak", "Nie"); true for yes.
    virtual bool ask(QWidget* owner, const QString& title, const QString& text) = 0;
};

// The real boxes: QMessageBox, modal to the application.
class DialogMessageBoxes : public MessageBoxes
{
public:
    void show(QWidget* owner, Icon icon, const QString& title, const QString& text) override;
    bool ask(QWidget* owner, const QString& title, const QString& text) override;
};

} // namespace zdawnik
