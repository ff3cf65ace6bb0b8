#pragma once

#include "app/Application.h"
#include "app/FolderDialogs.h"
#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "widgets/TLabel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

// A choice question of the given answers, "odpowiedź 1" and on, headed by "X" and the flags.
inline QByteArray ChoiceFile(int answers, const QByteArray& flags)
{
    QByteArray file = "X" + flags + "\r\nPytanie\r\n";
    for (int i = 1; i <= answers; ++i)
        file += "odpowiedź " + QByteArray::number(i) + "\r\n";
    return file;
}

// Where answer slot k (from 1) stands for n answers: one column at 256 for up to six, otherwise
// down the left column at 32 (4, 5 or 6 slots) and then down the right one at 480.
inline QPoint SlotPlace(int n, int k)
{
    if (n <= 6)
        return {256, 160 + 72 * (k - 1)};
    const int left = n <= 8 ? 4 : n <= 10 ? 5 : 6;
    return k <= left ? QPoint(32, 160 + 72 * (k - 1)) : QPoint(480, 160 + 72 * (k - 1 - left));
}

// A picture file's bytes: one colour, in the given format.
inline QByteArray PictureBytes(QSize size, const QColor& colour, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Message boxes that are written down instead of shown; each is answered at once.
class RecordedMessageBoxes : public zdawnik::MessageBoxes
{
public:
    struct Box
    {
        Icon icon;
        QString title;
        QString text;
    };
    QList<Box> boxes;
    // Called while a box is "open", as a user would look at the window behind it.
    std::function<void()> whileOpen;

    void show(QWidget*, Icon icon, const QString& title, const QString& text) override
    {
        boxes.append({icon, title, text});
        if (whileOpen)
            whileOpen();
    }
    // A question answered with `answer`, and written down as a box of its own.
    bool answer = true;
    bool ask(QWidget*, const QString& title, const QString& text) override
    {
        boxes.append({Icon::Question, title, text});
        return answer;
    }
    QStringList texts() const
    {
        QStringList result;
        for (const Box& box : boxes)
            result << box.text;
        return result;
    }
};

// Folder dialogs answered at once with a folder set beforehand; an empty one is a cancelled dialog.
class RecordedFolderDialogs : public zdawnik::FolderDialogs
{
public:
    QString answer;
    QStringList titles;

    QString chooseFolder(QWidget*, const QString& title, const QString&) override
    {
        titles << title;
        return answer;
    }
};

// A window over a bank of its own, with a fixed clock, recorded message boxes and folder dialogs.
// Runs are kept only when stateDir is set, and the bank chosen is remembered only when settings are.
class MainFormFixture
{
public:
    QTemporaryDir dir;
    RecordedMessageBoxes messages;
    RecordedFolderDialogs folders;
    QString stateDir;
    std::unique_ptr<QSettings> settings;
    std::uint32_t clock = 12345;
    qint64 studyMs = 0;
    // What the exam dialog was asked (the bank's question files), and how it answers.
    QList<int> examAsked;
    std::optional<zdawnik::ExamSettings> examAnswer;
    // Whether the bank is one the user chose rather than "baza" beside the program.
    bool chosenBank = false;
    // The window's picture loader; null for one of its own.
    zdawnik::PictureLoader* pictures = nullptr;
    std::unique_ptr<zdawnik::TMainForm> window;

    std::filesystem::path bank() const { return std::filesystem::path(dir.path().toStdString()) / "baza"; }

    void write(const std::string& name, const QByteArray& bytes)
    {
        std::filesystem::create_directories(bank());
        std::ofstream(bank() / name, std::ios::binary).write(bytes.constData(), bytes.size());
    }
    void copyPicture(const QString& from, const std::string& name)
    {
        std::filesystem::create_directories(bank());
        std::filesystem::copy_file(from.toStdString(), bank() / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    zdawnik::MainFormEnvironment environment(const std::filesystem::path& bankDir)
    {
        zdawnik::MainFormEnvironment environment;
        environment.BankDir = bankDir;
        environment.Clock = [this] { return clock; };
        // The study clock goes on by a second at every reading: at its start and at each tick.
        environment.StudyClock = [this] { return studyMs += 1000; };
        environment.Messages = &messages;
        environment.StateDir = stateDir;
        environment.Settings = settings.get();
        environment.Folders = &folders;
        environment.ChosenBank = chosenBank;
        // The exam dialog answered at once: cancelled, unless a test sets its rules.
        environment.AskExamSettings = [this](QWidget*, int bankQuestions) {
            examAsked << bankQuestions;
            return examAnswer;
        };
        environment.Pictures = pictures;
        return environment;
    }

    zdawnik::TMainForm& open(const std::filesystem::path& bankDir)
    {
        window = std::make_unique<zdawnik::TMainForm>(environment(bankDir));
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the window did not become active");
        return *window;
    }
    zdawnik::TMainForm& open() { return open(bank()); }

    // A bank of one question file, its window, and the run started.
    void start(const QByteArray& file, const std::string& name = "q.txt")
    {
        write(name, file);
        open();
        click("btnStart");
    }

    template <typename T = QWidget> T* widget(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        if (!found)
            qFatal("no widget %s", qPrintable(name));
        return found;
    }

    // A left click in the middle of the widget, as a user makes it.
    void click(const QString& name) const
    {
        QWidget* target = widget(name);
        QVERIFY2(target->isVisible(), qPrintable(name + " is not visible"));
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
    bool visible(const QString& name) const { return widget(name)->isVisible(); }
    bool enabled(const QString& name) const { return widget(name)->isEnabled(); }
    QString caption(const QString& name) const
    {
        QWidget* target = widget(name);
        if (auto* label = qobject_cast<zdawnik::TLabel*>(target))
            return label->caption();
        if (auto* button = qobject_cast<QAbstractButton*>(target))
            return button->text();
        qFatal("%s has no caption", qPrintable(name));
    }
};

// Starts the application once per test program, as the program itself does.
#define ZDAWNIK_GUI_TEST_MAIN(TestClass)                                                                     \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        QApplication application(argc, argv);                                                                \
        zdawnik::InitialiseApplication(application);                                                         \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
