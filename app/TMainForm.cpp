#include "app/TMainForm.h"

#include "app/FolderDialogs.h"
#include "app/ProgressWindow.h"
#include "drill/ExamRun.h"
#include "app/MessageBoxes.h"
#include "base/Errors.h"
#include "base/VisibleText.h"
#include "pictures/PictureLoader.h"
#include "progress/RunKeeper.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScreen>

#include <new>

namespace zdawnik {

TMainForm::TMainForm(MainFormEnvironment environment)
    : QWidget(nullptr), m_environment(std::move(environment)),
      m_run(std::make_unique<DrillRun>(m_environment.Clock))
{
    if (m_environment.Messages) {
        m_messages = m_environment.Messages;
    } else {
        m_ownMessages = std::make_unique<DialogMessageBoxes>();
        m_messages = m_ownMessages.get();
    }
    if (m_environment.Folders) {
        m_folders = m_environment.Folders;
    } else {
        m_ownFolders = std::make_unique<SystemFolderDialogs>();
        m_folders = m_ownFolders.get();
    }
    if (!m_environment.StudyClock) {
        m_studyTimer.start();
        m_environment.StudyClock = [this] { return m_studyTimer.elapsed(); };
    }
    if (m_environment.Pictures) {
        m_pictures = m_environment.Pictures;
    } else {
        m_ownPictures = std::make_unique<PictureLoader>();
        m_pictures = m_ownPictures.get();
    }
    CreateLayout();
    BindEvents();
    InstallFolderDrop();
    InstallShortcuts();
    qApp->installEventFilter(this);
    Dispatch(&TMainForm::FormCreate);
}

TMainForm::~TMainForm() = default;

void TMainForm::Dispatch(Handler handler)
{
    // Once the window has closed, events still on their way (a timer tick, a key) find nothing to act
    // on.
    if (m_closed)
        return;
    try {
        (this->*handler)();
    } catch (const std::bad_alloc&) {
        ShowErrorReport(QStringLiteral("Out of memory"));
    } catch (const NamedError& error) {
        ShowErrorReport(QString::fromStdString(error.message()));
    } catch (const std::exception& error) {
        ShowErrorReport(QString::fromUtf8(error.what()));
    }
}

void TMainForm::ShowMessage(MessageBoxes::Icon icon, const QString& title, const QString& text)
{
    m_messages->show(this, icon, title, text);
}

QString TMainForm::EscapeControlCharacters(const QString& message)
{
    return QString::fromStdString(VisibleText(message.toStdString()));
}

void TMainForm::ShowErrorReport(const QString& message)
{
    // The program's own report of an error no handler caught: its message under the program's title,
    // every character of it to be seen.
    ShowMessage(MessageBoxes::Icon::Stop, QCoreApplication::applicationName(),
                EscapeControlCharacters(message));
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    Dispatch(&TMainForm::FormClose);
    event->accept();
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_centred)
        return;
    // Centred on the desktop the first time it is shown.
    m_centred = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace zdawnik
