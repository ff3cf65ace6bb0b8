#pragma once

#include "app/AnswerSlots.h"
#include "app/MessageBoxes.h"
#include "bank/Question.h"
#include "bank/QuestionView.h"
#include "drill/DrillRun.h"
#include "drill/ExamSettings.h"
#include "progress/HistoryFigures.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
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

class ExamResultPanel;
class ExamRun;
class FolderDialogs;
class PictureLoader;
class ProgressWindow;
class RunKeeper;
class SaveDialogs;
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
    // An exam to start at once, as the command line asks; none: the start panel.
    std::optional<ExamSettings> Exam;
    // Asks the rules of an exam for a bank of that many question files; empty means the exam dialog.
    std::function<std::optional<ExamSettings>(QWidget* owner, int bankQuestions)> AskExamSettings;
    // Where the statistics window's "zapisz…" asks for files; null means the system's dialogs.
    SaveDialogs* SaveFiles = nullptr;
    // Whether the bank was chosen (named on the command line, remembered, picked or dropped) rather
    // than "baza" beside the program: a chosen bank that is missing or empty is not started.
    bool ChosenBank = false;
    // Milliseconds from any fixed point, never going back, which the study clock measures; empty means
    // the system's monotonic clock.
    std::function<qint64()> StudyClock;
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
    void btnEgzaminClick();
    void btnWsteczClick();
    void btnZakonczClick();
    void btnPostepyClick();
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

    const Question& CurrentQuestion() const { return m_run->CurrentQuestion(); }
    const StudyPool* Pool() const { return m_run->Pool(); }
    const DrillRun& Run() const { return *m_run; }
    const ExamRun* Exam() const { return m_exam.get(); }
    ProgressWindow* Progress() const { return m_progressWindow.get(); }

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
    // A message's text with its control characters written as escapes, so that a box shows all of it.
    static QString EscapeControlCharacters(const QString& message);
    void ShowMessage(MessageBoxes::Icon icon, const QString& title, const QString& text);

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
    // A text of the question on screen, from the question file's encoding.
    QString DecodeQuestionText(const std::string& bytes) const;
    void ReleasePictures();

    // Reads and shows the file the run has drawn.
    ShowOutcome ShowQuestionFile(const std::string& fileName);
    // Nothing of a question on screen, and nothing to check.
    void ClearQuestion();
    // The next action proper, which "dalej" and the start action both perform.
    void NextQuestion();
    // The marks of a check: the face and the good answers.
    void HideMarks();
    // The end panel: every question mastered, or the files that could not be shown.
    void ShowEndPanel();
    // Back to the start panel, with no run begun, when no file of the bank could be shown.
    void NoQuestionToShow();

    // Keyboard.
    bool HandleKey(const QKeyEvent& key);
    bool RunIsOnScreen() const;
    // The focused widget of this window when the user can see it, else null.
    QWidget* FocusOnScreen() const;
    // After the next action: a keyboard user who pressed "dalej" or the start goes on at "sprawdź".
    void FocusAfterNext(const QWidget* before);
    // Whether the start panel offers to go on with the bank's kept run.
    bool ContinueOffered() const;
    // The welcome screen's focus: its first button.
    void FocusWelcome();
    // The answer (1 to 12) whose panel the widget is, or 0.
    int AnswerOfPanel(const QWidget* widget) const;
    // What Tab visits, in order.
    std::vector<QWidget*> KeyboardOrder() const;

    // The bank and the kept run.
    void OpenBank(const std::filesystem::path& bank);
    void ChangeBank(const QString& folder);
    void BeginRun(std::vector<std::string> names);
    void KeepCheck(const CheckStep& step);
    void CloseBank();
    void ShowSavingStatus(const QString& problem);
    void ShowSearchedFolder();
    void InstallFolderDrop();

    // The practice exam.
    bool InExam() const;
    bool ExamQuestionOnScreen() const;
    void BeginExam(const ExamSettings& settings);
    void ShowExamLayout(bool exam);
    void ShowExamQuestion();
    void ShowExamSheet(const AnswerSheet& answers);
    void ShowExamPosition();
    void ShowRemainingTime();
    void ExamTick();
    void ExamDalej();
    void FinishExam();
    void KeepExam();
    void ShowExamResult();
    void ShowExamReview();
    void LeaveExam();

    // The statistics window, and the drill of the questions it chooses.
    void InstallShortcuts();
    void RefreshProgressWindow(bool evenIfHidden);
    void DrillChosenQuestions();
    void BackToStartPanel();

    // The study clock's digits show the run's study time.
    void ShowClock(qint64 seconds);
    // The hours' label as wide as its digits need.
    void FitClockHours();
    // The study clock starts measuring, and its timer ticks.
    void StartStudyClock();
    // The clock as a screen reader reads it, one object: "Czas nauki: 0:01:05".
    void ReadClockAsOne();

    // Answers.
    void ToggleAnswer(int n);
    void DescribeAnswer(int n);
    void ShowCheckedFigures(const CheckStep& step);
    void ShowGoodOptions();
    // The sentence the lists make with the option at positionInList(n) in list n.
    void ShowSentence(const std::function<int(int)>& positionInList);
    // Answer n's panel shows it ticked or not.
    void ShowTick(int n, bool ticked);
    // Names the verdict marks for screen readers, each with what the check found; the mark that comes
    // up is announced by its name.
    void NameVerdictMarks(const QString& found);

    MainFormEnvironment m_environment;
    std::unique_ptr<MessageBoxes> m_ownMessages;
    MessageBoxes* m_messages = nullptr;
    std::unique_ptr<FolderDialogs> m_ownFolders;
    FolderDialogs* m_folders = nullptr;
    // The bank's kept run, and whether the start action takes up the run it offers.
    std::unique_ptr<RunKeeper> m_keeper;
    bool m_continueOffered = false;
    // Whether the start panel offers the start action: not on a chosen bank that is missing or empty.
    bool m_startOffered = true;
    bool m_continuing = false;
    QString m_droppedFolder;
    std::unique_ptr<PictureLoader> m_ownPictures;
    PictureLoader* m_pictures = nullptr;
    // The run: what the window shows is drawn from it.
    std::unique_ptr<DrillRun> m_run;
    // The window has been created, and has closed: events still on their way then find nothing.
    bool m_created = false;
    bool m_closed = false;
    // Whether the reader got to show the file it was reading, and if not, what it reported.
    bool m_readerShowed = false;
    std::string m_readerReport;
    // The two switches under the question.
    bool m_showGoodAnswers = true;
    bool m_showQuestionId = true;
    // The exam under way or just ended, its result panel, and the question under review.
    std::unique_ptr<ExamRun> m_exam;
    ExamResultPanel* m_examResult = nullptr;
    QDateTime m_examStart;
    int m_reviewed = -1;
    bool m_examKept = false;
    // The statistics window, the questions it asked to drill, and what the run on screen drills.
    std::unique_ptr<ProgressWindow> m_progressWindow;
    std::vector<std::string> m_drillFiles;
    SittingKind m_runKind = SittingKind::Drill;
    // What the study clock measures, unless the environment gives a clock of its own.
    QElapsedTimer m_studyTimer;
    // The ticks the answer panels show.
    std::array<bool, MaxAnswers> m_ticksShown{};
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
