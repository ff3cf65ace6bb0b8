// The window's widgets as data: one table of everything that stands alone, loops for the numbered
// families, and one pass that creates them in order. The order of creation is the order of
// stacking: later widgets lie over earlier ones.

#include "app/LayoutFonts.h"
#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "widgets/TColor.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include <optional>
#include <vector>

namespace zdawnik {

namespace {

enum class Kind
{
    Label,
    Image,
    Panel,
    Button,
    CheckBox,
    ComboBox,
    Gauge,
};

// Label and image behaviour.
enum Flags : unsigned
{
    Fixed = 1,        // no auto-size
    Centred = 2,      // text centred horizontally, or picture centred
    Right = 4,        // text right-aligned
    Middle = 8,       // text centred vertically
    Wrap = 16,        // word wrap
    Transparent = 32, // label: only the text is drawn; image: the bitmap's key colour left out
    AutoSize = 64,    // image: takes its picture's size
    DockLeft = 128,   // docked to the parent's left edge
    DockClient = 256, // fills what the docked widgets leave
    HandCursor = 512,
    Ticked = 1024, // check box
    Disabled = 2048,
    Hidden = 4096,
};

enum class Picture
{
    None,
    Tick,
    GoodFace,
    PartialFace,
    WrongFace,
    EndPhotograph,
};

struct WidgetSpec
{
    Kind kind;
    QString name;
    QString parent; // empty: the window
    QRect geometry;
    unsigned flags = 0;
    LayoutFont font = LayoutFont::Inherit;
    unsigned style = Regular;
    std::optional<TColor> fontColor;
    std::optional<TColor> color;
    QString caption;
    int tabOrder = -1;
    Picture picture = Picture::None;
};

const TColor WindowBlue{0x00985007};
const TColor InfoBlue{0x008A4806};
const TColor PanelNavy{0x00592F04};
const TColor ListGreen{0x0093FF6F};
const TColor TickedYellow{0x0080FFFF};
const TColor PanelGrey{0x00DDDDDD};

// Design colours of the twelve answer panels and of their labels; placement overwrites both before
// a panel is ever shown.
const TColor AnswerPanelColors[12] = {TickedYellow, PanelGrey,    clWhite,      clSkyBlue,
                                      clSkyBlue,    clSkyBlue,    clMoneyGreen, clMoneyGreen,
                                      clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen};
const TColor AnswerLabelColors[12] = {clOlive, clGreen, clLime, clLime, clLime, clLime,
                                      clRed,   clRed,   clRed,  clRed,  clRed,  clRed};

std::vector<WidgetSpec> QuestionArea()
{
    return {
        {Kind::Label,
         "lblPytanie",
         "",
         {12, 16, 930, 137},
         Fixed | Centred | Middle | Wrap,
         LayoutFont::V13,
         Regular,
         clBlack,
         clWhite,
         "lblPytanie"},
        {Kind::Label,
         "lblPytanieInfo",
         "",
         {862, 18, 78, 13},
         Right | Transparent,
         LayoutFont::V11,
         Italic,
         clSkyBlue,
         {},
         "lblPytanieInfo"},
        {Kind::Label,
         "lblIleOdpowiedzi",
         "",
         {34, 138, 887, 13},
         Fixed | Centred | Transparent,
         LayoutFont::V11,
         Bold,
         WindowBlue,
         {},
         "..."},
        {Kind::Image, "imgPytanie", "", {12, 16, 930, 137}, Centred | Hidden},
        {Kind::Image,
         "imgNieok",
         "",
         {851, 608, 63, 63},
         AutoSize | Transparent | Hidden,
         {},
         {},
         {},
         {},
         {},
         -1,
         Picture::WrongFace},
        {Kind::Image,
         "imgNic",
         "",
         {851, 608, 63, 63},
         AutoSize | Transparent | Hidden,
         {},
         {},
         {},
         {},
         {},
         -1,
         Picture::PartialFace},
        {Kind::Image,
         "imgOK",
         "",
         {851, 608, 63, 63},
         AutoSize | Transparent | Hidden,
         {},
         {},
         {},
         {},
         {},
         -1,
         Picture::GoodFace},
    };
}

std::vector<WidgetSpec> ClockLabels()
{
    struct Digit
    {
        const char* name;
        int left, width;
        const char* caption;
        unsigned alignment;
    };
    const Digit digits[] = {
        {"lblh1", 520, 17, "0", Right},  {"Label15", 536, 9, ":", Centred}, {"lblm1", 544, 9, "0", Centred},
        {"lblm2", 552, 9, "0", Centred}, {"Label18", 560, 9, ":", Centred}, {"lbls1", 568, 9, "0", Centred},
        {"lbls2", 576, 9, "0", Centred},
    };
    std::vector<WidgetSpec> labels;
    for (const Digit& digit : digits)
        labels.push_back({Kind::Label,
                          digit.name,
                          "",
                          {digit.left, 600, digit.width, 20},
                          Fixed | Middle | digit.alignment,
                          LayoutFont::S13,
                          Bold,
                          clLime,
                          {},
                          digit.caption});
    labels.push_back({Kind::Label,
                      "Label21",
                      "",
                      {446, 600, 59, 20},
                      Fixed | Middle,
                      LayoutFont::Window,
                      Regular,
                      clWindowText,
                      {},
                      "Czas nauki:"});
    return labels;
}

std::vector<WidgetSpec> AnswerPanels()
{
    std::vector<WidgetSpec> panels;
    for (int n = 1; n <= 12; ++n) {
        const int column = (n - 1) / 6, row = (n - 1) % 6;
        const QString panel = Numbered("pnlOdp", n);
        panels.push_back({Kind::Panel,
                          panel,
                          "",
                          {32 + 448 * column, 160 + 72 * row, 440, 70},
                          Hidden | HandCursor,
                          {},
                          Regular,
                          {},
                          AnswerPanelColors[n - 1],
                          {},
                          n - 1});
        panels.push_back(
            {Kind::Image, Numbered("imgOdp", n), panel, {0, 0, 441, 70}, DockLeft | Centred | HandCursor});
        panels.push_back({Kind::Label,
                          Numbered("lblOdp", n),
                          panel,
                          {0, 0, 0, 70},
                          DockClient | Fixed | Middle | Wrap | Transparent | HandCursor,
                          LayoutFont::V11,
                          Regular,
                          clWindowText,
                          AnswerLabelColors[n - 1],
                          ""});
        panels.push_back({Kind::Image,
                          Numbered("imgGood", n),
                          panel,
                          {390, n == 1 ? 16 : 20, 50, 50},
                          AutoSize | Transparent | Hidden,
                          {},
                          {},
                          {},
                          {},
                          {},
                          -1,
                          Picture::Tick});
        panels.push_back(
            {Kind::CheckBox, Numbered("CheckBox", n), panel, {0, 56, 14, 14}, Hidden | HandCursor});
    }
    return panels;
}

std::vector<WidgetSpec> InfoPanel()
{
    const LayoutFont V11 = LayoutFont::V11, S11 = LayoutFont::S11;
    const unsigned label = Fixed | Middle;
    return {
        {Kind::Panel, "pnlInfo", "", {32, 600, 401, 81}, 0, V11, Regular, clWindowText, InfoBlue, {}, 12},
        {Kind::Label,
         "Label2",
         "pnlInfo",
         {184, 16, 180, 20},
         label,
         {},
         {},
         {},
         {},
         "Ilość wszystkich pytań w bazie:"},
        {Kind::Label,
         "Label3",
         "pnlInfo",
         {0, 0, 241, 20},
         label,
         {},
         {},
         {},
         {},
         "Ilość ponownych wystąpień tego pytania:"},
        {Kind::Label, "lblIleRazyInfo", "pnlInfo", {240, 0, 25, 20}, label, S11, Bold, clAqua, {}, "0"},
        {Kind::Label, "lblPytanInfo", "pnlInfo", {368, 16, 25, 20}, label, S11, Bold, clAqua, {}, "0"},
        {Kind::Gauge, "gaugeDobreZle", "pnlInfo", {264, 36, 131, 20}, 0, V11, Regular, clYellow, clGreen},
        {Kind::Label,
         "Label4",
         "pnlInfo",
         {0, 36, 233, 20},
         label,
         {},
         {},
         {},
         {},
         "Stosunek odpowiedzi: dobre - złe"},
        {Kind::Label,
         "Label5",
         "pnlInfo",
         {0, 58, 257, 20},
         label,
         {},
         {},
         {},
         {},
         "Stosunek pytań: opanowane - nieopanowane"},
        {Kind::Gauge, "gaugeOpanowane", "pnlInfo", {264, 58, 131, 20}, 0, V11, Regular, clYellow, clGreen},
        {Kind::Label,
         "Label6",
         "pnlInfo",
         {0, 16, 161, 20},
         label,
         {},
         {},
         {},
         {},
         "Ilość opanowanych pytań:"},
        {Kind::Label, "lblOpanowane", "pnlInfo", {154, 16, 25, 20}, label, S11, Bold, clAqua, {}, "0"},
    };
}

std::vector<WidgetSpec> BottomControls()
{
    return {
        {Kind::CheckBox,
         "CheckBoxDobre",
         "",
         {446, 640, 171, 17},
         Ticked,
         LayoutFont::V9,
         Regular,
         clBlack,
         {},
         "pokazuj dobre odpowiedzi",
         13},
        {Kind::Button,
         "btnCheck",
         "",
         {742, 600, 91, 40},
         0,
         LayoutFont::V13,
         Bold,
         clWindowText,
         {},
         "sprawdź",
         14},
        {Kind::Button,
         "btnDalej",
         "",
         {742, 641, 91, 40},
         Disabled,
         LayoutFont::V13,
         Bold,
         clWindowText,
         {},
         "dalej",
         15},
        {Kind::CheckBox,
         "CheckBoxID",
         "",
         {446, 664, 203, 17},
         Ticked,
         LayoutFont::V9,
         Regular,
         clBlack,
         {},
         "pokazuj ID pytania (prawy górny róg)",
         16},
    };
}

std::vector<WidgetSpec> StartPanel()
{
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    const unsigned label = Transparent;
    return {
        {Kind::Panel, "pnlStart", "", {3, 6, 937, 673}, Hidden, {}, {}, {}, PanelNavy, {}, 17},
        {Kind::Label,
         "lblAutor",
         "pnlStart",
         {671, 602, 201, 13},
         Right | label,
         V11,
         Regular,
         clWhite,
         {},
         "programik napisał: zespół Zdawnika, zdawnik@poczta.example"},
        {Kind::Label,
         "Label1",
         "pnlStart",
         {60, 186, 420, 14},
         label,
         V12,
         Regular,
         clWhite,
         {},
         "Domyślna ilość wystąpień każdego pytania jest ustawiona na trzy."},
        {Kind::Label,
         "Label7",
         "pnlStart",
         {60, 202, 542, 14},
         label,
         V12,
         Regular,
         clWhite,
         {},
         "W przypadku złej odpowiedzi ilość powtórzeń zwiększa się o trzy dla danego pytania."},
        {Kind::Label,
         "Label8",
         "pnlStart",
         {60, 82, 299, 14},
         label,
         V12,
         Bold,
         clWhite,
         {},
         "Program z bazą pytań powstałą na forum Nexum."},
        {Kind::Label,
         "Label9",
         "pnlStart",
         {60, 98, 463, 14},
         label,
         V12,
         Bold,
         clWhite,
         {},
         "Podziękowania dla wszystkich którzy się przyczynili do jej powstania."},
        {Kind::Label,
         "Label10",
         "pnlStart",
         {60, 274, 378, 14},
         label,
         V12,
         Regular,
         clWhite,
         {},
         "W przypadku znalezienie błędu w pytaniu proszę o kontakt."},
        {Kind::Label,
         "Label11",
         "pnlStart",
         {620, 386, 39, 14},
         label,
         V12,
         Italic,
         clWhite,
         {},
         "zespół Zdawnika"},
        {Kind::Label,
         "Label12",
         "pnlStart",
         {60, 322, 127, 14},
         label,
         V12,
         Regular,
         clYellow,
         {},
         "Przyjemnej nauki :-)"},
        {Kind::Button,
         "btnStart",
         "pnlStart",
         {560, 432, 177, 25},
         0,
         V11,
         Regular,
         clWindowText,
         {},
         "zaczynam się uczyć",
         0},
    };
}

std::vector<WidgetSpec> EndPanel()
{
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    return {
        {Kind::Panel, "pnlKoniec", "", {571, 646, 937, 673}, Hidden, {}, {}, {}, PanelNavy, {}, 18},
        {Kind::Label,
         "Label14",
         "pnlKoniec",
         {60, 186, 405, 14},
         Transparent,
         V12,
         Regular,
         clWhite,
         {},
         "Teraz pozostaje mieć nadzieję, że większość pojawi się na kole."},
        {Kind::Label,
         "Label17",
         "pnlKoniec",
         {60, 82, 89, 14},
         Transparent,
         V12,
         Bold,
         clWhite,
         {},
         "Koniec pytań."},
        {Kind::Label,
         "Label19",
         "pnlKoniec",
         {60, 98, 306, 14},
         Transparent,
         V12,
         Bold,
         clWhite,
         {},
         "Wszystkie zostały przez Ciebie opanowane :-)"},
        {Kind::Image,
         "Image1",
         "pnlKoniec",
         {544, 80, 347, 484},
         0,
         {},
         {},
         {},
         {},
         {},
         -1,
         Picture::EndPhotograph},
        {Kind::Button,
         "Button1",
         "pnlKoniec",
         {60, 384, 177, 25},
         0,
         V11,
         Regular,
         clWindowText,
         {},
         "koniec",
         0},
    };
}

std::vector<WidgetSpec> SentencePanel()
{
    std::vector<WidgetSpec> specs{
        {Kind::Panel,
         "pnlOdpowiedzY",
         "",
         {32, 160, 889, 433},
         Hidden,
         LayoutFont::V11,
         Regular,
         clWindowText,
         WindowBlue,
         {},
         19},
        {Kind::Label,
         "lblCoPowstanie",
         "pnlOdpowiedzY",
         {40, 192, 793, 105},
         Fixed | Centred | Middle | Wrap,
         LayoutFont::V12,
         Regular,
         clBlack,
         clWhite,
         "{wybór 1}"},
    };
    const int widths[4] = {857, 889, 873, 889};
    const char* labels[4] = {"Label13", "Label16", "Label20", "Label22"};
    for (int n = 1; n <= 4; ++n) {
        const QString row = Numbered("pnlWybor", n);
        specs.push_back({Kind::Panel,
                         row,
                         "pnlOdpowiedzY",
                         {0, 32 + 40 * (n - 1), widths[n - 1], 22},
                         0,
                         {},
                         {},
                         {},
                         WindowBlue,
                         {},
                         n - 1});
        specs.push_back({Kind::Label,
                         labels[n - 1],
                         row,
                         {0, 0, 64, 22},
                         Fixed | Middle,
                         LayoutFont::V12,
                         Regular,
                         clYellow,
                         {},
                         QStringLiteral("{wybór %1}").arg(n)});
        specs.push_back({Kind::ComboBox,
                         Numbered("ComboOpcja", n),
                         row,
                         {88, 0, 769, 22},
                         0,
                         LayoutFont::V12,
                         Regular,
                         clWindowText,
                         n == 1 ? ListGreen : clWindow,
                         {},
                         0});
    }
    specs.push_back({Kind::Button,
                     "btnGeneruj",
                     "pnlOdpowiedzY",
                     {528, 304, 305, 25},
                     0,
                     LayoutFont::V11,
                     Regular,
                     clWindowText,
                     {},
                     "generuj zdanie",
                     4});
    return specs;
}

QImage BuiltIn(Picture picture)
{
    switch (picture) {
    case Picture::Tick:
        return assets::Tick();
    case Picture::GoodFace:
        return assets::GoodFace();
    case Picture::PartialFace:
        return assets::PartialFace();
    case Picture::WrongFace:
        return assets::WrongFace();
    case Picture::EndPhotograph:
        return assets::EndPhotograph();
    case Picture::None:
        break;
    }
    return {};
}

void SetTextColor(QWidget* widget, const TColor& color)
{
    QPalette palette = widget->palette();
    const QColor resolved = color.toQColor(palette);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(role, resolved);
    widget->setPalette(palette);
}

QWidget* Create(const WidgetSpec& spec, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (spec.kind) {
    case Kind::Label: {
        auto* label = new TLabel(parent);
        label->setAutoSize(!(spec.flags & Fixed));
        label->setAlignment(spec.flags & Right     ? TAlignment::RightJustify
                            : spec.flags & Centred ? TAlignment::Center
                                                   : TAlignment::LeftJustify);
        label->setLayout(spec.flags & Middle ? TTextLayout::Center : TTextLayout::Top);
        label->setWordWrap(spec.flags & Wrap);
        label->setTransparent(spec.flags & Transparent);
        if (spec.color)
            label->setColor(spec.color->toQColor(parent->palette()));
        if (spec.fontColor)
            label->setFontColor(spec.fontColor->toQColor(parent->palette()));
        label->setAlign(spec.flags & DockLeft     ? TAlign::Left
                        : spec.flags & DockClient ? TAlign::Client
                                                  : TAlign::None);
        widget = label;
        break;
    }
    case Kind::Image: {
        auto* image = new TImage(parent);
        image->setCenter(spec.flags & Centred);
        image->setAutoSize(spec.flags & AutoSize);
        image->setTransparent(spec.flags & Transparent);
        image->setAlign(spec.flags & DockLeft     ? TAlign::Left
                        : spec.flags & DockClient ? TAlign::Client
                                                  : TAlign::None);
        if (spec.picture != Picture::None)
            image->setPicture(BuiltIn(spec.picture), spec.picture == Picture::Tick);
        widget = image;
        break;
    }
    case Kind::Panel: {
        auto* panel = new TPanel(parent);
        if (spec.color)
            panel->setColor(spec.color->toQColor(parent->palette()));
        widget = panel;
        break;
    }
    case Kind::Button:
        widget = new QPushButton(parent);
        break;
    case Kind::CheckBox: {
        auto* box = new QCheckBox(parent);
        box->setChecked(spec.flags & Ticked);
        widget = box;
        break;
    }
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        combo->setView(new QListView(combo)); // item heights follow the font, not the style
        if (spec.color)
            SetListColor(combo, spec.color->toQColor(parent->palette()));
        widget = combo;
        break;
    }
    case Kind::Gauge:
        widget = new TGauge(parent);
        break;
    }
    widget->setObjectName(spec.name);
    if (spec.font != LayoutFont::Inherit)
        widget->setFont(MakeLayoutFont(spec.font, spec.style));
    if (spec.fontColor && spec.kind != Kind::Label)
        SetTextColor(widget, *spec.fontColor);
    widget->setGeometry(spec.geometry);
    if (spec.flags & HandCursor)
        widget->setCursor(assets::HandCursor());
    widget->setEnabled(!(spec.flags & Disabled));
    if (!spec.caption.isEmpty() || spec.kind == Kind::Label) {
        if (auto* label = qobject_cast<TLabel*>(widget))
            label->setCaption(spec.caption);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(spec.caption);
    }
    if (spec.tabOrder >= 0)
        widget->setProperty("TabOrder", spec.tabOrder);
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

    std::vector<WidgetSpec> specs;
    for (auto part : {QuestionArea, ClockLabels, AnswerPanels, InfoPanel, BottomControls, StartPanel,
                      EndPanel, SentencePanel})
        for (WidgetSpec& spec : part())
            specs.push_back(std::move(spec));

    QHash<QWidget*, std::vector<QWidget*>> children;
    for (const WidgetSpec& spec : specs) {
        QWidget* parent = spec.parent.isEmpty() ? this : FindComponent(spec.parent);
        QWidget* widget = Create(spec, parent);
        if (spec.flags & Hidden)
            widget->hide();
        Register(widget);
        children[parent].push_back(widget);
        if (spec.kind == Kind::Gauge) {
            // Both gauges are bars in the window's blue with a lime fill and no text.
            auto* gauge = static_cast<TGauge*>(widget);
            gauge->beginLoading();
            gauge->setKind(gkHorizontalBar);
            gauge->setBorderStyle(bsSingle);
            gauge->setBackColor(WindowBlue.toQColor());
            gauge->setForeColor(clLime.toQColor());
            gauge->setColor(spec.color->toQColor());
            gauge->setShowText(false);
            gauge->setMinValue(0);
            gauge->setMaxValue(spec.name == "gaugeDobreZle" ? 0 : 100);
            gauge->setProgress(0);
            gauge->endLoading();
        }
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

    m_Timer = new QTimer(this);
    m_Timer->setObjectName("Timer");
    m_Timer->setInterval(999);

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

void TMainForm::BindEvents()
{
    static constexpr Handler AnswerHandlers[12] = {
        &TMainForm::pnlOdp1Click,  &TMainForm::pnlOdp2Click,  &TMainForm::pnlOdp3Click,
        &TMainForm::pnlOdp4Click,  &TMainForm::pnlOdp5Click,  &TMainForm::pnlOdp6Click,
        &TMainForm::pnlOdp7Click,  &TMainForm::pnlOdp8Click,  &TMainForm::pnlOdp9Click,
        &TMainForm::pnlOdp10Click, &TMainForm::pnlOdp11Click, &TMainForm::pnlOdp12Click,
    };
    for (int n = 1; n <= 12; ++n) {
        for (const char* prefix : {"pnlOdp", "imgOdp", "lblOdp"})
            Bind(FindComponent(Numbered(prefix, n)), AnswerHandlers[n - 1]);
    }
    Bind(m_btnStart, &TMainForm::btnStartClick);
    Bind(m_btnCheck, &TMainForm::btnCheckClick);
    Bind(m_btnDalej, &TMainForm::btnDalejClick);
    Bind(m_CheckBoxID, &TMainForm::CheckBoxIDClick);
    Bind(FindComponent("Button1"), &TMainForm::Button1Click);
    Bind(FindComponent("btnGeneruj"), &TMainForm::btnGenerujClick);
    connect(m_Timer, &QTimer::timeout, this, [this] { Dispatch(&TMainForm::TimerTimer); });
}

QWidget* TMainForm::FindComponent(const QString& name) const
{
    return m_components.value(name);
}

} // namespace zdawnik
