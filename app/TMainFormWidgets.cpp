// The window built from its layout tables: one factory turns a row into a widget, then the widgets
// are stacked and chained for the keyboard, and the handlers are bound to their events.

#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "app/WidgetEntry.h"
#include "assets/BuiltInPictures.h"
#include "drill/ExamRun.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"
#include "widgets/TComboBox.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <functional>
#include <vector>

namespace zdawnik {

namespace {

QImage BuiltIn(assets::Picture picture)
{
    switch (picture) {
    case assets::Picture::Tick:
        return assets::Tick();
    case assets::Picture::GoodFace:
        return assets::GoodFace();
    case assets::Picture::PartialFace:
        return assets::PartialFace();
    case assets::Picture::WrongFace:
        return assets::WrongFace();
    case assets::Picture::EndPhotograph:
        return assets::EndPhotograph();
    case assets::Picture::ApplicationIcon:
    case assets::Picture::HandCursor:
        break;
    }
    return {};
}

void SetTextColor(QWidget* widget, const TColor& color)
{
    QPalette palette = widget->palette();
    const QColor resolved = color.toQColor(palette);
    // The disabled group keeps the platform's greyed text, so a disabled button looks disabled.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            palette.setColor(group, role, resolved);
    widget->setPalette(palette);
}

QWidget* Create(const WidgetEntry& entry, QWidget* parent, const QCursor& hand)
{
    QWidget* widget = nullptr;
    switch (entry.kind) {
    case WidgetKind::Label: {
        auto* label = new TLabel(parent);
        label->setAutoSize(!(entry.flags & Fixed));
        label->setAlignment(entry.flags & Right     ? TAlignment::RightJustify
                            : entry.flags & Centred ? TAlignment::Center
                                                    : TAlignment::LeftJustify);
        label->setLayout(entry.flags & Middle ? TTextLayout::Center : TTextLayout::Top);
        label->setWordWrap(entry.flags & Wrap);
        label->setTransparent(entry.flags & Transparent);
        if (entry.color)
            label->setColor(entry.color->toQColor(parent->palette()));
        if (entry.fontColor)
            label->setFontColor(entry.fontColor->toQColor(parent->palette()));
        label->setAlign(entry.flags & DockLeft     ? TAlign::Left
                        : entry.flags & DockClient ? TAlign::Client
                                                   : TAlign::None);
        widget = label;
        break;
    }
    case WidgetKind::Image: {
        auto* image = new TImage(parent);
        image->setCenter(entry.flags & Centred);
        image->setAutoSize(entry.flags & AutoSize);
        image->setTransparent(entry.flags & Transparent);
        image->setAlign(entry.flags & DockLeft     ? TAlign::Left
                        : entry.flags & DockClient ? TAlign::Client
                                                   : TAlign::None);
        if (entry.picture)
            image->setPicture(BuiltIn(*entry.picture), entry.bitmap);
        widget = image;
        break;
    }
    case WidgetKind::Panel: {
        auto* panel = new TPanel(parent);
        if (entry.color)
            panel->setColor(entry.color->toQColor(parent->palette()));
        widget = panel;
        break;
    }
    case WidgetKind::Button:
        widget = new QPushButton(parent);
        break;
    case WidgetKind::CheckBox: {
        auto* box = new QCheckBox(parent);
        box->setChecked(entry.flags & Ticked);
        widget = box;
        break;
    }
    case WidgetKind::ComboBox: {
        auto* list = new TComboBox(parent);
        list->setItemHeight(14);
        if (entry.color)
            SetListColor(list, entry.color->toQColor(parent->palette()));
        widget = list;
        break;
    }
    case WidgetKind::Gauge: {
        // Both gauges are bars in the window's blue with a lime fill and no text.
        auto* gauge = new TGauge(parent);
        gauge->beginLoading();
        gauge->setKind(gkHorizontalBar);
        gauge->setBorderStyle(bsSingle);
        gauge->setBackColor(WindowBlue.toQColor());
        gauge->setForeColor(clLime.toQColor());
        if (entry.color)
            gauge->setColor(entry.color->toQColor());
        gauge->setShowText(false);
        gauge->setMinValue(0);
        if (entry.maxValue)
            gauge->setMaxValue(*entry.maxValue);
        gauge->setProgress(0);
        gauge->endLoading();
        widget = gauge;
        break;
    }
    }
    widget->setObjectName(entry.name);
    if (entry.font != LayoutFont::Inherit)
        widget->setFont(MakeLayoutFont(entry.font, entry.style));
    if (entry.fontColor && entry.kind != WidgetKind::Label)
        SetTextColor(widget, *entry.fontColor);
    widget->setGeometry(entry.geometry);
    if (entry.flags & HandCursor)
        widget->setCursor(hand);
    widget->setEnabled(!(entry.flags & Disabled));
    if (!entry.caption.isEmpty() || entry.kind == WidgetKind::Label) {
        if (auto* label = qobject_cast<TLabel*>(widget))
            label->setCaption(entry.caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(entry.caption);
    }
    if (entry.tabOrder >= 0)
        widget->setProperty("TabOrder", entry.tabOrder);
    return widget;
}

bool Windowed(const QWidget* widget)
{
    return !qobject_cast<const TLabel*>(widget) && !qobject_cast<const TImage*>(widget) &&
           !qobject_cast<const TGauge*>(widget);
}

} // namespace

void TMainForm::Register(QWidget* widget)
{
    m_components.insert(widget->objectName(), widget);
}

void TMainForm::CreateLayout()
{
    setObjectName("MainForm");
    setWindowTitle("Zdawnik");
    setFixedSize(952, 690);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFont(MakeLayoutFont(LayoutFont::Window, Regular));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WindowBlue.toQColor());
    palette.setColor(QPalette::WindowText, clWindowText.toQColor(palette));
    setPalette(palette);
    setAutoFillBackground(true);

    const QCursor hand = assets::HandCursor();
    QHash<QWidget*, std::vector<QWidget*>> children;
    for (const WidgetEntry& entry : LayoutTable()) {
        QWidget* parent = entry.parent.isEmpty() ? this : FindComponent(entry.parent);
        QWidget* widget = Create(entry, parent, hand);
        if (entry.flags & Hidden)
            widget->hide();
        Register(widget);
        children[parent].push_back(widget);
    }

    // Window-less widgets are painted on their parent beneath the windowed ones; each group stacks in
    // the order of creation.
    for (auto it = children.cbegin(); it != children.cend(); ++it) {
        for (QWidget* child : it.value())
            if (!Windowed(child))
                child->raise();
        for (QWidget* child : it.value())
            if (Windowed(child))
                child->raise();
    }

    // Keyboard focus follows each parent's tab order, parents before their children.
    std::vector<QWidget*> chain;
    std::function<void(QWidget*)> collect = [&](QWidget* parent) {
        std::vector<QWidget*> ordered;
        for (QWidget* child : children.value(parent))
            if (child->property("TabOrder").isValid())
                ordered.push_back(child);
        std::stable_sort(ordered.begin(), ordered.end(), [](QWidget* a, QWidget* b) {
            return a->property("TabOrder").toInt() < b->property("TabOrder").toInt();
        });
        for (QWidget* child : ordered) {
            if (Windowed(child) && !qobject_cast<TPanel*>(child))
                chain.push_back(child);
            collect(child);
        }
    };
    collect(this);
    for (std::size_t i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    for (QWidget* widget : m_components) {
        if (qobject_cast<TPanel*>(widget))
            widget->setFocusPolicy(Qt::NoFocus);
    }
    // An answer is reached by Tab and the arrow keys, never by a click: a mouse user sees no focus.
    for (int n = 1; n <= 12; ++n)
        FindComponent(Numbered("pnlOdp", n))->setFocusPolicy(Qt::TabFocus);

    m_Timer = new QTimer(this);
    m_Timer->setObjectName("Timer");
    m_Timer->setInterval(999);
    // A coarse timer may round 999 ms to a whole second.
    m_Timer->setTimerType(Qt::PreciseTimer);

    m_lblPytanie = Find<TLabel>("lblPytanie");
    m_lblPytanieInfo = Find<TLabel>("lblPytanieInfo");
    m_lblIleOdpowiedzi = Find<TLabel>("lblIleOdpowiedzi");
    m_imgPytanie = Find<TImage>("imgPytanie");
    m_imgOK = Find<TImage>("imgOK");
    m_imgNic = Find<TImage>("imgNic");
    m_imgNieok = Find<TImage>("imgNieok");
    m_lblIleRazyInfo = Find<TLabel>("lblIleRazyInfo");
    m_lblPytanInfo = Find<TLabel>("lblPytanInfo");
    m_lblOpanowane = Find<TLabel>("lblOpanowane");
    m_gaugeDobreZle = Find<TGauge>("gaugeDobreZle");
    m_gaugeOpanowane = Find<TGauge>("gaugeOpanowane");
    m_CheckBoxDobre = Find<QCheckBox>("CheckBoxDobre");
    m_CheckBoxID = Find<QCheckBox>("CheckBoxID");
    m_btnCheck = Find<QPushButton>("btnCheck");
    m_btnDalej = Find<QPushButton>("btnDalej");
    m_pnlStart = Find<TPanel>("pnlStart");
    m_pnlKoniec = Find<TPanel>("pnlKoniec");
    m_pnlOdpowiedzY = Find<TPanel>("pnlOdpowiedzY");
    m_btnStart = Find<QPushButton>("btnStart");
    m_lblAutor = Find<TLabel>("lblAutor");
    m_lblCoPowstanie = Find<TLabel>("lblCoPowstanie");

    // What screen readers say: the verdict marks, announced as they come up; the statistics, each
    // with the caption beside it; the clock as one object; each list by its gap; the good-answer
    // marks as part of their answers.
    for (TImage* mark : {m_imgOK, m_imgNic, m_imgNieok})
        SetAccessibleRole(mark, QAccessible::AlertMessage);
    NameVerdictMarks(QString());
    // A screen reader reads the start panel in the order of its children: the bank, its kept run and
    // the buttons first, then the welcome texts, the keys and the author last. (Nothing on the panel
    // overlaps, so the order paints the same.)
    for (const char* text : {"Label8", "Label9", "Label1", "Label7", "Label10", "Label12", "Label11",
                             "lblKlawiatura", "lblAutor"})
        FindComponent(text)->raise();
    const char* const statistics[][2] = {
        {"lblIleRazyInfo", "Label3"}, {"lblOpanowane", "Label6"},   {"lblPytanInfo", "Label2"},
        {"gaugeDobreZle", "Label4"},  {"gaugeOpanowane", "Label5"},
    };
    for (const auto& [value, caption] : statistics)
        SetCaptionLabel(FindComponent(value), Find<TLabel>(caption));
    for (const char* part : {"lblh1", "Label15", "lblm1", "lblm2", "Label18", "lbls1", "lbls2"})
        ReadAsPartOfAnother(FindComponent(part));
    ReadClockAsOne();
    const char* const gapCaptions[4] = {"Label13", "Label16", "Label20", "Label22"};
    for (int n = 1; n <= 4; ++n) {
        FindComponent(Numbered("ComboOpcja", n))->setAccessibleName(QStringLiteral("wybór %1").arg(n));
        ReadAsPartOfAnother(FindComponent(gapCaptions[n - 1]));
    }
    for (int n = 1; n <= 12; ++n)
        FindComponent(Numbered("imgGood", n))->setAccessibleName("poprawna odpowiedź");
}

void TMainForm::Bind(QWidget* widget, Handler handler)
{
    const auto dispatch = [this, handler] { Dispatch(handler); };
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        connect(button, &QAbstractButton::clicked, this, dispatch);
    else if (auto* panel = qobject_cast<TPanel*>(widget))
        connect(panel, &TPanel::clicked, this, dispatch);
    else if (auto* image = qobject_cast<TImage*>(widget))
        connect(image, &TImage::clicked, this, dispatch);
    else if (auto* label = qobject_cast<TLabel*>(widget))
        connect(label, &TLabel::clicked, this, dispatch);
}

const TMainForm::Handler TMainForm::AnswerHandlers[12] = {
    &TMainForm::pnlOdp1Click, &TMainForm::pnlOdp2Click,  &TMainForm::pnlOdp3Click,  &TMainForm::pnlOdp4Click,
    &TMainForm::pnlOdp5Click, &TMainForm::pnlOdp6Click,  &TMainForm::pnlOdp7Click,  &TMainForm::pnlOdp8Click,
    &TMainForm::pnlOdp9Click, &TMainForm::pnlOdp10Click, &TMainForm::pnlOdp11Click, &TMainForm::pnlOdp12Click,
};

void TMainForm::BindEvents()
{
    for (int n = 1; n <= 12; ++n) {
        for (const char* prefix : {"pnlOdp", "imgOdp", "lblOdp"})
            Bind(FindComponent(Numbered(prefix, n)), AnswerHandlers[n - 1]);
    }
    Bind(m_btnStart, &TMainForm::btnStartClick);
    Bind(FindComponent("btnKontynuuj"), &TMainForm::btnKontynuujClick);
    Bind(FindComponent("btnZmienBaze"), &TMainForm::btnZmienBazeClick);
    Bind(m_btnCheck, &TMainForm::btnCheckClick);
    Bind(m_btnDalej, &TMainForm::btnDalejClick);
    // The switches are read where they act, from the window's own state: the click handler of the ID
    // switch runs after its state has changed.
    // Both are remembered from one sitting to the next.
    const std::pair<QCheckBox*, bool TMainForm::*> switches[] = {
        {m_CheckBoxDobre, &TMainForm::m_showGoodAnswers}, {m_CheckBoxID, &TMainForm::m_showQuestionId}};
    for (const auto& [box, shown] : switches) {
        const QString key = QStringLiteral("view/") + box->objectName();
        if (m_environment.Settings)
            box->setChecked(m_environment.Settings->value(key, box->isChecked()).toBool());
        this->*shown = box->isChecked();
        connect(box, &QCheckBox::toggled, this, [this, shown, key](bool on) {
            this->*shown = on;
            if (m_environment.Settings)
                m_environment.Settings->setValue(key, on);
        });
    }
    m_lblPytanieInfo->setVisible(m_showQuestionId);
    Bind(m_CheckBoxID, &TMainForm::CheckBoxIDClick);
    // What a list shows is the answer sheet's choice.
    for (int n = 1; n <= MaxLists; ++n)
        connect(Find<QComboBox>(Numbered("ComboOpcja", n)), &QComboBox::currentIndexChanged, this,
                [this, n](int position) {
                    m_run->Choose(n, position);
                    if (m_exam && !m_exam->Finished() && ExamQuestionOnScreen()) {
                        m_exam->Choose(n, position);
                        ShowExamPosition();
                    }
                });
    Bind(FindComponent("Button1"), &TMainForm::Button1Click);
    Bind(FindComponent("btnGeneruj"), &TMainForm::btnGenerujClick);
    Bind(FindComponent("btnEgzamin"), &TMainForm::btnEgzaminClick);
    Bind(FindComponent("btnWstecz"), &TMainForm::btnWsteczClick);
    Bind(FindComponent("btnZakoncz"), &TMainForm::btnZakonczClick);
    Bind(FindComponent("btnPostepy"), &TMainForm::btnPostepyClick);
    Bind(FindComponent("btnPostepyKoniec"), &TMainForm::btnPostepyClick);
    connect(m_Timer, &QTimer::timeout, this, [this] { Dispatch(&TMainForm::TimerTimer); });
}

QWidget* TMainForm::FindComponent(const QString& name) const
{
    return m_components.value(name);
}

void TMainForm::FindFailed(const QString& name, const char* typeName) const
{
    const QWidget* widget = FindComponent(name);
    qFatal("The window has no %s named \"%s\" (%s)", typeName, qPrintable(name),
           widget ? widget->metaObject()->className() : "no widget of that name");
}

} // namespace zdawnik
