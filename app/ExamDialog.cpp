#include "app/ExamDialog.h"

#include "app/LayoutColors.h"
#include "widgets/LayoutFonts.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include <algorithm>

namespace zdawnik {

namespace {

const QString QuestionsKey = QStringLiteral("exam/questions");
const QString MinutesKey = QStringLiteral("exam/minutes");
const QString PassMarkKey = QStringLiteral("exam/passMark");

int RememberedValue(const QSettings* settings, const QString& key, int fallback, int low, int high)
{
    bool isNumber = false;
    const int value = settings ? settings->value(key).toInt(&isNumber) : 0;
    return std::clamp(isNumber ? value : fallback, low, std::max(low, high));
}

QSpinBox* SpinBox(QWidget* parent, const char* name, int low, int high, int value, const QString& suffix)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, std::max(low, high));
    box->setValue(value);
    box->setSuffix(suffix);
    box->setFont(MakeLayoutFont(LayoutFont::V12, Regular));
    box->setMinimumWidth(96);
    return box;
}

QLabel* Caption(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setFont(MakeLayoutFont(LayoutFont::V12, Regular));
    label->setBuddy(buddy);
    return label;
}

} // namespace

ExamDialog::ExamDialog(int bankQuestions, QSettings* settings, QWidget* parent)
    : QDialog(parent), m_settings(settings)
{
    setObjectName("ExamDialog");
    setWindowTitle(QStringLiteral("Egzamin próbny"));
    setFont(MakeLayoutFont(LayoutFont::Window, Regular));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, PanelNavy.toQColor());
    palette.setColor(QPalette::WindowText, clWhite.toQColor());
    setPalette(palette);
    setAutoFillBackground(true);

    const ExamSettings remembered = Remembered(settings, bankQuestions);
    m_questions = SpinBox(this, "spinPytania", 1, bankQuestions, remembered.Questions, QString());
    m_minutes = SpinBox(this, "spinCzas", ExamSettings::MinMinutes, ExamSettings::MaxMinutes,
                        remembered.Minutes, QStringLiteral(" min"));
    m_passMark = SpinBox(this, "spinProg", ExamSettings::MinPassMark, ExamSettings::MaxPassMark,
                         remembered.PassMark, QStringLiteral(" %"));

    auto* intro = new QLabel(QStringLiteral("Pytania są losowane bez powtórzeń. Nic nie jest oceniane aż do "
                                            "końca egzaminu; odpowiedzi można zmieniać do końca."),
                             this);
    intro->setObjectName("lblEgzaminOpis");
    intro->setWordWrap(true);
    intro->setFont(MakeLayoutFont(LayoutFont::V11, Regular));
    QPalette introPalette = intro->palette();
    introPalette.setColor(QPalette::WindowText, clSkyBlue.toQColor());
    intro->setPalette(introPalette);

    auto* start = new QPushButton(QStringLiteral("zaczynam egzamin"), this);
    start->setObjectName("btnZacznijEgzamin");
    start->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("anuluj"), this);
    cancel->setObjectName("btnAnuluj");
    for (QPushButton* button : {start, cancel}) {
        button->setFont(MakeLayoutFont(LayoutFont::V11, Regular));
        button->setMinimumSize(140, 25);
    }
    connect(start, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    grid->addWidget(intro, 0, 0, 1, 2);
    grid->addWidget(Caption(this, QStringLiteral("&Liczba pytań (najwyżej %1):").arg(m_questions->maximum()),
                            m_questions),
                    1, 0);
    grid->addWidget(m_questions, 1, 1);
    grid->addWidget(Caption(this, QStringLiteral("&Czas w minutach (1–600):"), m_minutes), 2, 0);
    grid->addWidget(m_minutes, 2, 1);
    grid->addWidget(Caption(this, QStringLiteral("&Próg zaliczenia w procentach (1–100):"), m_passMark), 3,
                    0);
    grid->addWidget(m_passMark, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setRowMinimumHeight(4, 40);
    grid->setColumnStretch(0, 1);
    setFixedWidth(460);
    setFixedHeight(sizeHint().height());
}

ExamSettings ExamDialog::examSettings() const
{
    return ExamSettings{m_questions->value(), m_minutes->value(), m_passMark->value()};
}

ExamSettings ExamDialog::Remembered(const QSettings* settings, int bankQuestions)
{
    ExamSettings exam;
    exam.Questions =
        RememberedValue(settings, QuestionsKey, ExamSettings::DefaultQuestions, 1, bankQuestions);
    exam.Minutes = RememberedValue(settings, MinutesKey, ExamSettings::DefaultMinutes,
                                   ExamSettings::MinMinutes, ExamSettings::MaxMinutes);
    exam.PassMark = RememberedValue(settings, PassMarkKey, ExamSettings::DefaultPassMark,
                                    ExamSettings::MinPassMark, ExamSettings::MaxPassMark);
    return exam;
}

void ExamDialog::Remember(QSettings& settings, const ExamSettings& exam)
{
    settings.setValue(QuestionsKey, exam.Questions);
    settings.setValue(MinutesKey, exam.Minutes);
    settings.setValue(PassMarkKey, exam.PassMark);
}

void ExamDialog::accept()
{
    // A number typed but not yet confirmed counts, as it shows.
    for (QSpinBox* box : {m_questions, m_minutes, m_passMark})
        box->interpretText();
    if (m_settings)
        Remember(*m_settings, examSettings());
    QDialog::accept();
}

} // namespace zdawnik
