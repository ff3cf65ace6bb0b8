#include "app/ExamResultPanel.h"

#include "app/LayoutColors.h"
#include "bank/PictureName.h"
#include "base/TextEncoding.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"
#include "widgets/TLabel.h"

#include <QListWidget>
#include <QPushButton>

namespace zdawnik {

namespace {

// A failed exam in a red that reads on the panel's navy.
constexpr TColor FailRed{0x006B6BFF};
// The marks of the list, beside their words, on the list's white.
constexpr TColor GoodMark{0x00007000};
constexpr TColor WrongMark{0x000000C0};

// Headings larger than the layout's text, in its face.
QFont Heading(int pixels)
{
    QFont font = MakeLayoutFont(LayoutFont::V13, Bold);
    font.setPixelSize(pixels);
    return font;
}

TLabel* Label(QWidget* parent, const char* name, const QFont& font, const TColor& color)
{
    auto* label = new TLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTransparent(true);
    label->setFont(font);
    label->setFontColor(color.toQColor());
    return label;
}

// What a question reads as in the list: its text, a picture by its name, or its file when it was
// never shown.
QString QuestionText(const ExamQuestion& question)
{
    const std::string& body = question.Record.Body;
    if (!question.Shown || body.empty())
        return QString::fromStdString(question.FileName);
    const std::string text = HasPictureTag(body) ? "rysunek: " + PictureName(body) : body;
    return QString::fromStdString(ToUtf8(text, question.Record.Encoding)).simplified();
}

} // namespace

ExamResultPanel::ExamResultPanel(QWidget* parent) : TPanel(parent)
{
    setObjectName("pnlWynikEgzaminu");
    setColor(PanelNavy.toQColor());
    m_score = Label(this, "lblWynik", Heading(24), clWhite);
    m_verdict = Label(this, "lblZdany", Heading(18), clLime);
    m_time = Label(this, "lblCzasEgzaminu", MakeLayoutFont(LayoutFont::V12, Regular), clWhite);
    m_passMark = Label(this, "lblProgEgzaminu", MakeLayoutFont(LayoutFont::V12, Regular), clWhite);
    m_listCaption = Label(this, "lblPytaniaEgzaminu", MakeLayoutFont(LayoutFont::V11, Regular), clSkyBlue);
    m_listCaption->setCaption(
        QStringLiteral("Pytania egzaminu: wybierz pytanie, by zobaczyć swoją odpowiedź i dobre odpowiedzi."));
    // The verdict is heard as part of the score, which screen readers are told of as it comes up.
    ReadAsPartOfAnother(m_verdict);

    m_list = new QListWidget(this);
    m_list->setObjectName("lstPytaniaEgzaminu");
    m_list->setFont(MakeLayoutFont(LayoutFont::V12, Regular));
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(2);
    m_list->setAccessibleName(QStringLiteral("pytania egzaminu"));
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit questionChosen(m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { emit questionChosen(m_list->row(item)); });

    m_close = new QPushButton(QStringLiteral("koniec egzaminu"), this);
    m_close->setObjectName("btnKoniecEgzaminu");
    m_close->setFont(MakeLayoutFont(LayoutFont::V11, Regular));
    connect(m_close, &QPushButton::clicked, this, &ExamResultPanel::closeRequested);
    setTabOrder(m_list, m_close);
    PlaceChildren();
}

void ExamResultPanel::ShowResult(const ExamRun& exam)
{
    const int count = exam.Count();
    m_score->setCaption(
        QStringLiteral("Wynik: %1 z %2 (%3%)").arg(exam.Score()).arg(count).arg(exam.Percent()));
    const QString verdict =
        exam.Passed() ? QStringLiteral("egzamin zdany") : QStringLiteral("egzamin niezdany");
    m_verdict->setCaption(verdict);
    m_verdict->setFontColor((exam.Passed() ? clLime : FailRed).toQColor());
    const auto seconds = [](std::int64_t ms) { return QString::fromStdString(DurationText(ms / 1000)); };
    m_time->setCaption(
        QStringLiteral("Czas: %1 z %2").arg(seconds(exam.ElapsedMs()), seconds(exam.LimitMs())));
    m_passMark->setCaption(QStringLiteral("Próg zaliczenia: %1%").arg(exam.Settings().PassMark));

    m_list->clear();
    for (int k = 0; k < count; ++k) {
        const bool good = exam.VerdictOf(k) == Verdict::Good;
        const QString mark = good                 ? QStringLiteral("✔ dobrze")
                             : exam.IsAnswered(k) ? QStringLiteral("✘ źle")
                                                  : QStringLiteral("✘ źle, bez odpowiedzi");
        auto* item = new QListWidgetItem(
            QStringLiteral("%1. %2 — %3").arg(k + 1).arg(mark, QuestionText(exam.At(k))), m_list);
        item->setForeground((good ? GoodMark : WrongMark).toQColor());
    }
    // The keyboard starts at the first question; nothing is chosen before the student chooses.
    if (count > 0)
        m_list->setCurrentRow(0, QItemSelectionModel::NoUpdate);

    m_summary = CaptionText(m_score->caption()) + QStringLiteral(", ") + verdict;
    m_score->setAccessibleName(m_summary);
    PlaceChildren();
    m_announcePending = true;
    if (isVisible())
        AnnounceResult();
}

void ExamResultPanel::AnnounceResult()
{
    m_announcePending = false;
    Announce(m_score);
}

void ExamResultPanel::PlaceChildren()
{
    const int left = 60, width = std::max(this->width() - 2 * left, 200);
    m_score->move(left, 40);
    m_verdict->move(left, 80);
    m_time->move(left, 116);
    m_passMark->move(left, 136);
    m_listCaption->move(left, 172);
    const int bottom = std::max(height(), 400);
    m_close->setGeometry(left, bottom - 60, 177, 25);
    m_list->setGeometry(left, 192, width, bottom - 60 - 16 - 192);
}

void ExamResultPanel::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    PlaceChildren();
}

void ExamResultPanel::showEvent(QShowEvent* event)
{
    TPanel::showEvent(event);
    // Said once a result, not again each time the student comes back from a question.
    if (m_announcePending)
        AnnounceResult();
}

} // namespace zdawnik
