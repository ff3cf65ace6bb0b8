// Before a choice question is shown its answer panels are reset and moved to shuffled slots, each
// slot with its own colour; while it is shown, a click on an answer ticks or unticks it.

#include "app/LayoutColors.h"
#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>

#include <algorithm>
#include <array>
#include <vector>

namespace zdawnik {

namespace {

struct Slot
{
    int left;
    int top;
    TColor color;
};

// Rows are 72 pixels apart from top 160; grey and white alternate down a column.
constexpr Slot Row(int left, int row)
{
    return {left, 160 + 72 * row, row % 2 == 0 ? SlotGrey : clWhite};
}

// The slots for 1-6, 7-8, 9-10 and 11-12 answers: one centred column, or two columns filled down
// the left first.
const std::array<Slot, 6> OneColumn = {Row(256, 0), Row(256, 1), Row(256, 2),
                                       Row(256, 3), Row(256, 4), Row(256, 5)};
const std::array<Slot, 8> EightSlots = {Row(32, 0),  Row(32, 1),  Row(32, 2),  Row(32, 3),
                                        Row(480, 0), Row(480, 1), Row(480, 2), Row(480, 3)};
const std::array<Slot, 10> TenSlots = {Row(32, 0),  Row(32, 1),  Row(32, 2),  Row(32, 3),  Row(32, 4),
                                       Row(480, 0), Row(480, 1), Row(480, 2), Row(480, 3), Row(480, 4)};
const std::array<Slot, 12> TwelveSlots = {Row(32, 0),  Row(32, 1),  Row(32, 2),  Row(32, 3),
                                          Row(32, 4),  Row(32, 5),  Row(480, 0), Row(480, 1),
                                          Row(480, 2), Row(480, 3), Row(480, 4), Row(480, 5)};

template <typename Widget> void SetColorOnce(Widget* widget, const QColor& color)
{
    if (widget->color() != color)
        widget->setColor(color);
}

const Slot* SlotTable(int n)
{
    if (n <= 6)
        return OneColumn.data();
    if (n <= 8)
        return EightSlots.data();
    if (n <= 10)
        return TenSlots.data();
    return TwelveSlots.data();
}

} // namespace

void TMainForm::PlaceAnswers(int n)
{
    // Every panel is reset: unticked, and hidden with the reset colour and without picture unless it
    // is placed below, where it is shown in its slot colour at once and its answer, text or picture,
    // follows. Nothing is painted in between, so a panel or picture that is shown again is not
    // hidden first; and colours are set only when they change, as a colour change travels to every
    // child of the panel.
    const int placed = std::clamp(n, 0, 12);
    for (int k = 1; k <= 12; ++k) {
        if (k > placed) {
            auto* panel = Find<TPanel>(Numbered("pnlOdp", k));
            panel->hide();
            SetColorOnce(panel, ResetGrey.toQColor());
            Find<TImage>(Numbered("imgOdp", k))->hide();
        }
        if (bool& shown = m_ticksShown[static_cast<std::size_t>(k - 1)]) {
            shown = false;
            Find<QCheckBox>(Numbered("CheckBox", k))->setChecked(false);
            NotifyCheckedChanged(Find<TPanel>(Numbered("pnlOdp", k)));
        }
    }
    AnswerSheet& sheet = m_run->Sheet();
    sheet.Ticked.fill(false);
    sheet.Answers = placed;
    m_answerSlots.clear();
    if (placed == 0)
        return;

    const Slot* table = SlotTable(placed);
    std::vector<int> freeSlots;
    for (int slot = 1; slot <= placed; ++slot)
        freeSlots.push_back(slot);
    for (int i = 1; i <= placed; ++i) {
        m_run->Generator().Reseed();
        const int e = m_run->Generator().RandomBelow(static_cast<int>(freeSlots.size()));
        const int slotNumber = freeSlots[static_cast<std::size_t>(e)];
        const Slot& slot = table[slotNumber - 1];
        m_answerSlots.place(slotNumber, i);
        auto* panel = Find<TPanel>(Numbered("pnlOdp", i));
        panel->move(slot.left, slot.top);
        panel->show();
        SetColorOnce(panel, slot.color.toQColor());
        SetColorOnce(Find<TLabel>(Numbered("lblOdp", i)), slot.color.toQColor());
        freeSlots.erase(freeSlots.begin() + e);
    }
}

void TMainForm::DescribeAnswer(int n)
{
    // For screen readers: the key that ticks the answer (whether it is ticked is its state).
    static const char* const Keys[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "-", "="};
    QString description;
    if (const int slot = m_answerSlots.slotOf(n))
        description = QStringLiteral("klawisz %1").arg(Keys[slot - 1]);
    Find<TPanel>(Numbered("pnlOdp", n))->setAccessibleDescription(description);
}

void TMainForm::ToggleAnswer(int n)
{
    if (!(m_run->QuestionRead() || ExamQuestionOnScreen()) || n > m_run->Sheet().Answers)
        return; // an answer that is not shown is not ticked
    if (m_exam && m_exam->Finished())
        return; // an exam's answers stand once it has ended
    const bool ticked = m_exam ? m_exam->Toggle(n) : m_run->Toggle(n);
    if (m_exam) {
        m_run->Sheet().Ticked[static_cast<std::size_t>(n - 1)] = ticked;
        ShowExamPosition();
    }
    ShowTick(n, ticked);
    DescribeAnswer(n);
}

void TMainForm::ShowTick(int n, bool ticked)
{
    m_ticksShown[static_cast<std::size_t>(n - 1)] = ticked;
    auto* panel = Find<TPanel>(Numbered("pnlOdp", n));
    Find<QCheckBox>(Numbered("CheckBox", n))->setChecked(ticked);
    // An unticked answer takes its slot's colour again, which its label keeps.
    panel->setColor(ticked ? TickedYellow.toQColor() : Find<TLabel>(Numbered("lblOdp", n))->color());
    NotifyCheckedChanged(panel);
}

void TMainForm::pnlOdp1Click()
{
    ToggleAnswer(1);
}
void TMainForm::pnlOdp2Click()
{
    ToggleAnswer(2);
}
void TMainForm::pnlOdp3Click()
{
    ToggleAnswer(3);
}
void TMainForm::pnlOdp4Click()
{
    ToggleAnswer(4);
}
void TMainForm::pnlOdp5Click()
{
    ToggleAnswer(5);
}
void TMainForm::pnlOdp6Click()
{
    ToggleAnswer(6);
}
void TMainForm::pnlOdp7Click()
{
    ToggleAnswer(7);
}
void TMainForm::pnlOdp8Click()
{
    ToggleAnswer(8);
}
void TMainForm::pnlOdp9Click()
{
    ToggleAnswer(9);
}
void TMainForm::pnlOdp10Click()
{
    ToggleAnswer(10);
}
void TMainForm::pnlOdp11Click()
{
    ToggleAnswer(11);
}
void TMainForm::pnlOdp12Click()
{
    ToggleAnswer(12);
}

} // namespace zdawnik
