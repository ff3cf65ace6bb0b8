#pragma once

#include "app/AnswerSlots.h"
#include "bank/Question.h"
#include "bank/QuestionView.h"
#include "drill/Random.h"
#include "drill/StudyPool.h"

#include <QHash>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QKeyEvent;
class QComboBox;
class QPushButton;
class QSettings;
class QTimer;

namespace zdawnik {

class FolderDialogs;
class MessageBoxes;
class PictureLoader;
class ProgressStore;
class RunRecordWriter;
class StudyPool;
struct RunRecord;
class TGauge;
class TImage;
class TLabel;
class TPanel;
struct WidgetEntry;

// The study clock's way of writing a time: hours, then minutes and seconds of two digits.
QString ClockText(qint64 seconds);

// The name of a numbered widget: prefix and number, "imgGood" and 3 make "imgGood3".
inline QString Numbered(const char* prefix, int n)
{
    return QLatin1String(prefix) + QString::number(n);
}

// What the window takes from the world outside: tests give their own.
struct MainFormEnvironment
{
    // The bank the start action lists: "baza" beside the executable in the program.
    std::filesystem::path BankDir;
    // Seeds the random generator before every draw; empty means the system's fast counter.
    Random::Clock Clock;
    // Where message boxes go; null means real dialogs.
    MessageBoxes* Messages = nullptr;
    // Where the run on each bank is kept between sittings; empty: nothing is kept.
    QString StateDir;
    // Where the bank chosen last is remembered; null: it is not.
    QSettings* Settings = nullptr;
    // Where folder dialogs go; null means the platform's dialog.
    FolderDialogs* Folders = nullptr;
    // Where pictures come from; null means a loader of the window's own, whose metafile helper starts
    // with the first metafile.
    PictureLoader* Pictures = nullptr;
};

// The program's one window. Its behaviour lives in the event handlers below, each bound to its
// widget's event; the implementation is split over files by concern:
//   TMainFormLayout.cpp     the layout tables: every widget with its place, font, colours, caption
//   TMainFormWidgets.cpp    the widgets made from the tables, stacked, chained and bound
//   TMainFormRunFlow.cpp    start, next, end and the question-ID switch
//   TMainFormDisplay.cpp    showing a question and its pictures
//   TMainFormPlacement.cpp  shuffling the answer panels and ticking answers
//   TMainFormChecking.cpp   judging an answer, statistics, assembling the sentence
//   TMainFormClock.cpp      the study clock
//   TMainFormKeyboard.cpp   keys for the answers, the lists and the two buttons
//   TMainFormProgress.cpp   the bank in use, and the run kept between sittings
class TMainForm : public QWidget, private QuestionView
{
    Q_OBJECT

public:
    explicit TMainForm(MainFormEnvironment environment = {});
    ~TMainForm() override;

    // Event handlers.
    void FormCreate();
    void FormClose();
    void btnStartClick();
    void btnDalejClick();
    void btnCheckClick();
    void btnGenerujClick();
    void CheckBoxIDClick();
    void Button1Click();
    void TimerTimer();
    void btnKontynuujClick();
    void btnZmienBazeClick();
    void pnlStartDragDrop();
    void pnlOdp1Click();
    void pnlOdp2Click();
    void pnlOdp3Click();
    void pnlOdp4Click();
    void pnlOdp5Click();
    void pnlOdp6Click();
    void pnlOdp7Click();
    void pnlOdp8Click();
    void pnlOdp9Click();
    void pnlOdp10Click();
    void pnlOdp11Click();
    void pnlOdp12Click();

    // Routines the handlers share.
    void PlaceAnswers(int n);
    void LoadQuestionPicture(const std::string& name);
    void LoadAnswerPicture(int n, const std::string& name);

    // The window's widgets, one row each, in the order of creation.
    static std::vector<WidgetEntry> LayoutTable();

    // Any widget of the window by its name; numbered families compose the name ("imgGood" + 3).
    QWidget* FindComponent(const QString& name) const;
    // The widget of that name and type. A missing name or another type is a fault of the program, not
    // of the bank or the user: it stops the program with both names.
    template <typename T> T* Find(const QString& name) const
    {
        T* widget = qobject_cast<T*>(FindComponent(name));
        if (!widget)
            FindFailed(name, T::staticMetaObject.className());
        return widget;
    }

    const Question& CurrentQuestion() const { return *m_question; }
    const StudyPool* Pool() const { return m_pool.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab go round what the user can see: the answers in slot order first.
    bool focusNextPrevChild(bool next) override;

private:
    using Handler = void (TMainForm::*)();
    // pnlOdp1Click .. pnlOdp12Click.
    static const Handler AnswerHandlers[12];

    // Layout.
    void CreateLayout();
    void BindEvents();
    void Bind(QWidget* widget, Handler handler);
    void Register(QWidget* widget);
    [[noreturn]] void FindFailed(const QString& name, const char* typeName) const;

    // The one place where events reach handlers: an error that a handler does not catch ends that
    // handler and is shown as the program's error report; it never reaches the event loop.
    void Dispatch(Handler handler);
    void ShowErrorReport(const QString& message);
    // A message's text with its control characters made visible, so that a box shows all of it.
    static QString Visible(const QString& message);
    void ShowMessage(int icon, const QString& title, const QString& text);

    // Question display, called by the reader as it parses.
    void showFileName(const std::string& fileName) override;
    void beginChoiceQuestion() override;
    void beginSentenceQuestion() override;
    void showQuestionLine(const Question& question) override;
    void placeAnswers(int count) override;
    void showAnswer(int n, const Question& question) override;
    void hideLists() override;
    void showList(int n, const std::vector<std::string>& options, const Question& question) override;
    void reportError(const std::string& typeName, const std::string& message) override;
    QString Text(const std::string& bytes) const;
    void ReleasePictures();

    // The question drawn last, read and shown; false when it could not be shown.
    bool ShowDrawnQuestion();
    // Nothing of a question on screen, and nothing to check.
    void ClearQuestion();
    // The next action proper, which "dalej" and the start action both perform.
    void NextQuestion();
    // Whether the start action has happened: it hides the start button for good.
    bool RunStarted() const;

    // Keyboard.
    bool HandleKey(const QKeyEvent& key);
    bool RunIsOnScreen() const;
    // The focused widget of this window when the user can see it, else null.
    QWidget* FocusOnScreen() const;
    // After the next action: a keyboard user who pressed "dalej" or the start goes on at "sprawdź".
    void FocusAfterNext(const QWidget* before);
    // The welcome screen's focus: its first button.
    void FocusWelcome();
    // The answer (1 to 12) whose panel the widget is, or 0.
    int AnswerOfPanel(const QWidget* widget) const;
    // What Tab visits, in order.
    std::vector<QWidget*> KeyboardOrder() const;

    // The bank and the kept run.
    void OpenBank(const std::filesystem::path& bank);
    void ChangeBank(const QString& folder);
    int BeginRun(std::vector<std::string> names);
    void KeepProgress(bool afterCheck);
    void CloseBank();
    void ShowSavingStatus(const QString& problem);
    void ShowSearchedFolder();
    void InstallFolderDrop();

    // The study clock's time in seconds, read from its digits and written to them.
    qint64 ClockSeconds() const;
    void ShowClock(qint64 seconds);
    // The clock as a screen reader reads it, one object: "Czas nauki: 0:01:05".
    void ReadClockAsOne();

    // Answers.
    void ToggleAnswer(int n);
    void DescribeAnswer(int n);
    void ApplyVerdictToWindow(Verdict verdict);
    // Names the verdict marks for screen readers, each with what the check found; the mark that comes
    // up is announced by its name.
    void NameVerdictMarks(const QString& found);

    MainFormEnvironment m_environment;
    std::unique_ptr<MessageBoxes> m_ownMessages;
    MessageBoxes* m_messages = nullptr;
    std::unique_ptr<FolderDialogs> m_ownFolders;
    FolderDialogs* m_folders = nullptr;
    // The bank's kept run: where it is kept, the unfinished run offered on the start panel, whether
    // the start action takes it up, whether this run has anything to keep yet (a fresh run replaces
    // the kept one at its first check, not before), and whether its finish is kept already.
    std::unique_ptr<ProgressStore> m_store;
    std::unique_ptr<RunRecord> m_keptRun;
    bool m_continuing = false;
    bool m_runToKeep = false;
    bool m_finishKept = false;
    QString m_droppedFolder;
    std::unique_ptr<PictureLoader> m_ownPictures;
    PictureLoader* m_pictures = nullptr;
    Random m_random;
    std::unique_ptr<StudyPool> m_pool;
    // Writes the pool's run at each save; made when the run begins, and gone with its pool.
    std::unique_ptr<RunRecordWriter> m_recordWriter;
    std::unique_ptr<Question> m_question;
    // Whether the question drawn last was read and shown whole: only then is there anything to check.
    bool m_questionRead = false;
    QHash<QString, QWidget*> m_components;

    // The widgets the handlers use by name.
    TLabel* m_lblPytanie = nullptr;
    TLabel* m_lblPytanieInfo = nullptr;
    TLabel* m_lblIleOdpowiedzi = nullptr;
    TImage* m_imgPytanie = nullptr;
    TImage* m_imgOK = nullptr;
    TImage* m_imgNic = nullptr;
    TImage* m_imgNieok = nullptr;
    TLabel* m_lblIleRazyInfo = nullptr;
    TLabel* m_lblPytanInfo = nullptr;
    TLabel* m_lblOpanowane = nullptr;
    TGauge* m_gaugeDobreZle = nullptr;
    TGauge* m_gaugeOpanowane = nullptr;
    QCheckBox* m_CheckBoxDobre = nullptr;
    QCheckBox* m_CheckBoxID = nullptr;
    QPushButton* m_btnCheck = nullptr;
    QPushButton* m_btnDalej = nullptr;
    TPanel* m_pnlStart = nullptr;
    TPanel* m_pnlKoniec = nullptr;
    TPanel* m_pnlOdpowiedzY = nullptr;
    QPushButton* m_btnStart = nullptr;
    TLabel* m_lblAutor = nullptr;
    TLabel* m_lblCoPowstanie = nullptr;
    QTimer* m_Timer = nullptr;
    bool m_centred = false;
    // Which answer stands in which slot: written by placement only, read by the keyboard.
    AnswerSlots m_answerSlots;
};

} // namespace zdawnik
