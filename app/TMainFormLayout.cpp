// The window's widgets as data: one table of everything that stands alone, loops for the numbered
// families, and one pass that creates them in order. The order of creation is the order of
// stacking: later widgets lie over earlier ones.

#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "widgets/Accessibility.h"
#include "widgets/LayoutFonts.h"
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
#include <QStyledItemDelegate>
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
};

struct WidgetEntry
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

// The tables below are laid out as columns to be read against the layout; clang-format would fold
// them into one field a line.
// clang-format off

// Design colours of the twelve answer panels and of their labels; placement overwrites both before
// a panel is ever shown.
const TColor AnswerPanelColors[12] = {TickedYellow, PanelGrey, clWhite, clSkyBlue, clSkyBlue, clSkyBlue,
                                      clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen};
const TColor AnswerLabelColors[12] = {clOlive, clGreen, clLime, clLime, clLime, clLime,
                                      clRed, clRed, clRed, clRed, clRed, clRed};

std::vector<WidgetEntry> QuestionArea()
{
    return {
        {.kind = Kind::Label, .name = "lblPytanie", .geometry = {12, 16, 930, 137}, .flags = Fixed | Centred | Middle | Wrap,
         .font = LayoutFont::V13, .fontColor = clBlack, .color = clWhite, .caption = "lblPytanie"},
        {.kind = Kind::Label, .name = "lblPytanieInfo", .geometry = {862, 18, 78, 13}, .flags = Right | Transparent,
         .font = LayoutFont::V11, .style = Italic, .fontColor = clSkyBlue, .caption = "lblPytanieInfo"},
        {.kind = Kind::Label, .name = "lblIleOdpowiedzi", .geometry = {34, 138, 887, 13}, .flags = Fixed | Centred | Transparent,
         .font = LayoutFont::V11, .style = Bold, .fontColor = WindowBlue, .caption = "..."},
        {.kind = Kind::Image, .name = "imgPytanie", .geometry = {12, 16, 930, 137}, .flags = Centred | Hidden},
        {.kind = Kind::Image, .name = "imgNieok", .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = Picture::WrongFace},
        {.kind = Kind::Image, .name = "imgNic",   .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = Picture::PartialFace},
        {.kind = Kind::Image, .name = "imgOK",    .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = Picture::GoodFace},
        // A line above the question, in the window's margin: progress that is not being kept, or the
        // folder searched for an empty bank.
        {.kind = Kind::Label, .name = "lblStan", .geometry = {12, 1, 0, 0}, .flags = Transparent | Hidden,
         .font = LayoutFont::V11, .fontColor = clYellow},
    };
}

std::vector<WidgetEntry> ClockLabels()
{
    struct Digit { const char* name; int left, width; const char* caption; unsigned alignment; };
    const Digit digits[] = {
        {"lblh1",   520, 17, "0", Right},
        {"Label15", 536, 9,  ":", Centred},
        {"lblm1",   544, 9,  "0", Centred},
        {"lblm2",   552, 9,  "0", Centred},
        {"Label18", 560, 9,  ":", Centred},
        {"lbls1",   568, 9,  "0", Centred},
        {"lbls2",   576, 9,  "0", Centred},
    };
    std::vector<WidgetEntry> labels;
    for (const Digit& digit : digits)
        labels.push_back({.kind = Kind::Label, .name = digit.name, .geometry = {digit.left, 600, digit.width, 20},
                          .flags = Fixed | Middle | digit.alignment, .font = LayoutFont::S13, .style = Bold,
                          .fontColor = clLime, .caption = digit.caption});
    labels.push_back({.kind = Kind::Label, .name = "Label21", .geometry = {446, 600, 59, 20}, .flags = Fixed | Middle,
                      .font = LayoutFont::Window, .fontColor = clWindowText, .caption = "Czas nauki:"});
    return labels;
}

std::vector<WidgetEntry> AnswerPanels()
{
    std::vector<WidgetEntry> panels;
    for (int n = 1; n <= 12; ++n) {
        // Two columns of six, 72 pixels apart down and 448 across.
        const int column = (n - 1) / 6, row = (n - 1) % 6;
        const QString panel = Numbered("pnlOdp", n);
        panels.push_back({.kind = Kind::Panel, .name = panel, .geometry = {32 + 448 * column, 160 + 72 * row, 440, 70},
                          .flags = Hidden | HandCursor, .color = AnswerPanelColors[n - 1], .tabOrder = n - 1});
        panels.push_back({.kind = Kind::Image, .name = Numbered("imgOdp", n), .parent = panel, .geometry = {0, 0, 441, 70},
                          .flags = DockLeft | Centred | HandCursor});
        panels.push_back({.kind = Kind::Label, .name = Numbered("lblOdp", n), .parent = panel, .geometry = {0, 0, 0, 70},
                          .flags = DockClient | Fixed | Middle | Wrap | Transparent | HandCursor, .font = LayoutFont::V11,
                          .fontColor = clWindowText, .color = AnswerLabelColors[n - 1]});
        panels.push_back({.kind = Kind::Image, .name = Numbered("imgGood", n), .parent = panel,
                          .geometry = {390, n == 1 ? 16 : 20, 50, 50}, .flags = AutoSize | Transparent | Hidden,
                          .picture = Picture::Tick});
        panels.push_back({.kind = Kind::CheckBox, .name = Numbered("CheckBox", n), .parent = panel,
                          .geometry = {0, 56, 14, 14}, .flags = Hidden | HandCursor});
    }
    return panels;
}

std::vector<WidgetEntry> InfoPanel()
{
    // The labels are fixed, vertically centred and opaque in the panel's colour and font.
    const unsigned label = Fixed | Middle;
    const LayoutFont S11 = LayoutFont::S11;
    return {
        {.kind = Kind::Panel, .name = "pnlInfo", .geometry = {32, 600, 401, 81}, .font = LayoutFont::V11,
         .fontColor = clWindowText, .color = InfoBlue, .tabOrder = 12},
        {.kind = Kind::Label, .name = "Label2",         .parent = "pnlInfo", .geometry = {184, 16, 180, 20}, .flags = label, .caption = "Ilość wszystkich pytań w bazie:"},
        {.kind = Kind::Label, .name = "Label3",         .parent = "pnlInfo", .geometry = {0, 0, 241, 20},    .flags = label, .caption = "Ilość ponownych wystąpień tego pytania:"},
        {.kind = Kind::Label, .name = "lblIleRazyInfo", .parent = "pnlInfo", .geometry = {240, 0, 25, 20},   .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
        {.kind = Kind::Label, .name = "lblPytanInfo",   .parent = "pnlInfo", .geometry = {368, 16, 25, 20},  .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
        {.kind = Kind::Gauge, .name = "gaugeDobreZle",  .parent = "pnlInfo", .geometry = {264, 36, 131, 20}, .font = LayoutFont::V11, .fontColor = clYellow, .color = clGreen},
        {.kind = Kind::Label, .name = "Label4",         .parent = "pnlInfo", .geometry = {0, 36, 233, 20},   .flags = label, .caption = "Stosunek odpowiedzi: dobre - złe"},
        {.kind = Kind::Label, .name = "Label5",         .parent = "pnlInfo", .geometry = {0, 58, 257, 20},   .flags = label, .caption = "Stosunek pytań: opanowane - nieopanowane"},
        {.kind = Kind::Gauge, .name = "gaugeOpanowane", .parent = "pnlInfo", .geometry = {264, 58, 131, 20}, .font = LayoutFont::V11, .fontColor = clYellow, .color = clGreen},
        {.kind = Kind::Label, .name = "Label6",         .parent = "pnlInfo", .geometry = {0, 16, 161, 20},   .flags = label, .caption = "Ilość opanowanych pytań:"},
        {.kind = Kind::Label, .name = "lblOpanowane",   .parent = "pnlInfo", .geometry = {154, 16, 25, 20},  .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
    };
}

std::vector<WidgetEntry> BottomControls()
{
    return {
        {.kind = Kind::CheckBox, .name = "CheckBoxDobre", .geometry = {446, 640, 171, 17}, .flags = Ticked,   .font = LayoutFont::V9,  .fontColor = clBlack,      .caption = "pokazuj dobre odpowiedzi", .tabOrder = 13},
        {.kind = Kind::Button,   .name = "btnCheck",      .geometry = {742, 600, 91, 40},  .flags = 0,        .font = LayoutFont::V13, .style = Bold, .fontColor = clWindowText, .caption = "sprawdź", .tabOrder = 14},
        {.kind = Kind::Button,   .name = "btnDalej",      .geometry = {742, 641, 91, 40},  .flags = Disabled, .font = LayoutFont::V13, .style = Bold, .fontColor = clWindowText, .caption = "dalej", .tabOrder = 15},
        {.kind = Kind::CheckBox, .name = "CheckBoxID",    .geometry = {446, 664, 203, 17}, .flags = Ticked,   .font = LayoutFont::V9,  .fontColor = clBlack,      .caption = "pokazuj ID pytania (prawy górny róg)", .tabOrder = 16},
    };
}

std::vector<WidgetEntry> StartPanel()
{
    // The labels size themselves to their texts and draw only the text, white unless stated.
    const unsigned label = Transparent;
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    return {
        {.kind = Kind::Panel, .name = "pnlStart", .geometry = {3, 6, 937, 673}, .flags = Hidden, .color = PanelNavy, .tabOrder = 17},
        {.kind = Kind::Label, .name = "lblAutor", .parent = "pnlStart", .geometry = {671, 602, 201, 13}, .flags = Right | label, .font = V11, .fontColor = clWhite,
         .caption = "programik napisał: zespół Zdawnika, zdawnik@poczta.example"},
        {.kind = Kind::Label, .name = "Label1",  .parent = "pnlStart", .geometry = {60, 186, 420, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "Domyślna ilość wystąpień każdego pytania jest ustawiona na trzy."},
        {.kind = Kind::Label, .name = "Label7",  .parent = "pnlStart", .geometry = {60, 202, 542, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "W przypadku złej odpowiedzi ilość powtórzeń zwiększa się o trzy dla danego pytania."},
        {.kind = Kind::Label, .name = "Label8",  .parent = "pnlStart", .geometry = {60, 82, 299, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Program z bazą pytań powstałą na forum Nexum."},
        {.kind = Kind::Label, .name = "Label9",  .parent = "pnlStart", .geometry = {60, 98, 463, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Podziękowania dla wszystkich którzy się przyczynili do jej powstania."},
        {.kind = Kind::Label, .name = "Label10", .parent = "pnlStart", .geometry = {60, 274, 378, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "W przypadku znalezienie błędu w pytaniu proszę o kontakt."},
        {.kind = Kind::Label, .name = "Label11", .parent = "pnlStart", .geometry = {620, 386, 39, 14}, .flags = label, .font = V12, .style = Italic, .fontColor = clWhite,
         .caption = "zespół Zdawnika"},
        {.kind = Kind::Label, .name = "Label12", .parent = "pnlStart", .geometry = {60, 322, 127, 14}, .flags = label, .font = V12, .fontColor = clYellow,
         .caption = "Przyjemnej nauki :-)"},
        {.kind = Kind::Button, .name = "btnStart", .parent = "pnlStart", .geometry = {560, 432, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "zaczynam się uczyć", .tabOrder = 0},
        // The bank in use above the texts; the kept run under the start button, beside which the button
        // that goes on with it stands.
        {.kind = Kind::Label, .name = "lblBaza", .parent = "pnlStart", .geometry = {60, 36, 0, 0}, .flags = label, .font = V11, .fontColor = clWhite},
        {.kind = Kind::Button, .name = "btnZmienBaze", .parent = "pnlStart", .geometry = {560, 30, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "zmień bazę…", .tabOrder = 2},
        {.kind = Kind::Button, .name = "btnKontynuuj", .parent = "pnlStart", .geometry = {375, 432, 177, 25}, .flags = Hidden, .font = V11,
         .fontColor = clWindowText, .caption = "kontynuuję naukę", .tabOrder = 1},
        {.kind = Kind::Label, .name = "lblPostep", .parent = "pnlStart", .geometry = {60, 474, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clWhite},
        {.kind = Kind::Label, .name = "lblZmiany", .parent = "pnlStart", .geometry = {60, 490, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clWhite},
        {.kind = Kind::Label, .name = "lblZapis", .parent = "pnlStart", .geometry = {60, 506, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clYellow},
        // The keys of the keyboard, in the free space under the start button.
        {.kind = Kind::Label, .name = "lblKlawiatura", .parent = "pnlStart", .geometry = {60, 530, 0, 0}, .flags = label, .font = V11, .fontColor = clSkyBlue,
         .caption = "Klawiatura: Enter lub spacja zaczyna, potem naciska „sprawdź” i „dalej”; 1–9, 0, - i = zaznaczają odpowiedzi, 1–4 wybierają listę."},
    };
}

std::vector<WidgetEntry> EndPanel()
{
    const unsigned label = Transparent;
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    return {
        {.kind = Kind::Panel, .name = "pnlKoniec", .geometry = {571, 646, 937, 673}, .flags = Hidden, .color = PanelNavy, .tabOrder = 18},
        {.kind = Kind::Label, .name = "Label14", .parent = "pnlKoniec", .geometry = {60, 186, 405, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "Teraz pozostaje mieć nadzieję, że większość pojawi się na kole."},
        {.kind = Kind::Label, .name = "Label17", .parent = "pnlKoniec", .geometry = {60, 82, 89, 14},   .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Koniec pytań."},
        {.kind = Kind::Label, .name = "Label19", .parent = "pnlKoniec", .geometry = {60, 98, 306, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Wszystkie zostały przez Ciebie opanowane :-)"},
        // The photograph is decoded when the end panel first comes up (see btnDalejClick).
        {.kind = Kind::Image, .name = "Image1", .parent = "pnlKoniec", .geometry = {544, 80, 347, 484}},
        {.kind = Kind::Button, .name = "Button1", .parent = "pnlKoniec", .geometry = {60, 384, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "koniec", .tabOrder = 0},
    };
}

std::vector<WidgetEntry> SentencePanel()
{
    std::vector<WidgetEntry> entries{
        {.kind = Kind::Panel, .name = "pnlOdpowiedzY", .geometry = {32, 160, 889, 433}, .flags = Hidden, .font = LayoutFont::V11,
         .fontColor = clWindowText, .color = WindowBlue, .tabOrder = 19},
        {.kind = Kind::Label, .name = "lblCoPowstanie", .parent = "pnlOdpowiedzY", .geometry = {40, 192, 793, 105},
         .flags = Fixed | Centred | Middle | Wrap, .font = LayoutFont::V12, .fontColor = clBlack, .color = clWhite, .caption = "{wybór 1}"},
    };
    // One row per list: its caption and its drop-down list.
    const int widths[4] = {857, 889, 873, 889};
    const char* labels[4] = {"Label13", "Label16", "Label20", "Label22"};
    for (int n = 1; n <= 4; ++n) {
        const QString row = Numbered("pnlWybor", n);
        entries.push_back({.kind = Kind::Panel, .name = row, .parent = "pnlOdpowiedzY", .geometry = {0, 32 + 40 * (n - 1), widths[n - 1], 22},
                         .color = WindowBlue, .tabOrder = n - 1});
        entries.push_back({.kind = Kind::Label, .name = labels[n - 1], .parent = row, .geometry = {0, 0, 64, 22}, .flags = Fixed | Middle,
                         .font = LayoutFont::V12, .fontColor = clYellow, .caption = QStringLiteral("{wybór %1}").arg(n)});
        entries.push_back({.kind = Kind::ComboBox, .name = Numbered("ComboOpcja", n), .parent = row, .geometry = {88, 0, 769, 22},
                         .font = LayoutFont::V12, .fontColor = clWindowText, .color = n == 1 ? ListGreen : clWindow, .tabOrder = 0});
    }
    entries.push_back({.kind = Kind::Button, .name = "btnGeneruj", .parent = "pnlOdpowiedzY", .geometry = {528, 304, 305, 25},
                     .font = LayoutFont::V11, .fontColor = clWindowText, .caption = "generuj zdanie", .tabOrder = 4});
    return entries;
}

// clang-format on

// Item rows of one height.
class FixedHeightItems : public QStyledItemDelegate
{
public:
    FixedHeightItems(int height, QObject* parent) : QStyledItemDelegate(parent), m_height(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), m_height};
    }

private:
    int m_height;
};

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

QWidget* Create(const WidgetEntry& entry, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (entry.kind) {
    case Kind::Label: {
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
    case Kind::Image: {
        auto* image = new TImage(parent);
        image->setCenter(entry.flags & Centred);
        image->setAutoSize(entry.flags & AutoSize);
        image->setTransparent(entry.flags & Transparent);
        image->setAlign(entry.flags & DockLeft     ? TAlign::Left
                        : entry.flags & DockClient ? TAlign::Client
                                                   : TAlign::None);
        if (entry.picture != Picture::None)
            image->setPicture(BuiltIn(entry.picture), entry.picture == Picture::Tick);
        widget = image;
        break;
    }
    case Kind::Panel: {
        auto* panel = new TPanel(parent);
        if (entry.color)
            panel->setColor(entry.color->toQColor(parent->palette()));
        widget = panel;
        break;
    }
    case Kind::Button:
        widget = new QPushButton(parent);
        break;
    case Kind::CheckBox: {
        auto* box = new QCheckBox(parent);
        box->setChecked(entry.flags & Ticked);
        widget = box;
        break;
    }
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(false);
        // The drop-down's items are 14 pixels high, whatever the style would make them.
        auto* items = new QListView(combo);
        items->setItemDelegate(new FixedHeightItems(14, items));
        combo->setView(items);
        if (entry.color)
            SetListColor(combo, entry.color->toQColor(parent->palette()));
        widget = combo;
        break;
    }
    case Kind::Gauge:
        widget = new TGauge(parent);
        break;
    }
    widget->setObjectName(entry.name);
    if (entry.font != LayoutFont::Inherit)
        widget->setFont(MakeLayoutFont(entry.font, entry.style));
    if (entry.fontColor && entry.kind != Kind::Label)
        SetTextColor(widget, *entry.fontColor);
    widget->setGeometry(entry.geometry);
    if (entry.flags & HandCursor)
        widget->setCursor(assets::HandCursor());
    widget->setEnabled(!(entry.flags & Disabled));
    if (!entry.caption.isEmpty() || entry.kind == Kind::Label) {
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

    std::vector<WidgetEntry> entries;
    for (auto table : {QuestionArea, ClockLabels, AnswerPanels, InfoPanel, BottomControls, StartPanel,
                       EndPanel, SentencePanel})
        for (WidgetEntry& entry : table())
            entries.push_back(std::move(entry));

    QHash<QWidget*, std::vector<QWidget*>> children;
    for (const WidgetEntry& entry : entries) {
        QWidget* parent = entry.parent.isEmpty() ? this : FindComponent(entry.parent);
        QWidget* widget = Create(entry, parent);
        if (entry.flags & Hidden)
            widget->hide();
        Register(widget);
        children[parent].push_back(widget);
        if (entry.kind == Kind::Gauge) {
            // Both gauges are bars in the window's blue with a lime fill and no text.
            auto* gauge = static_cast<TGauge*>(widget);
            gauge->beginLoading();
            gauge->setKind(gkHorizontalBar);
            gauge->setBorderStyle(bsSingle);
            gauge->setBackColor(WindowBlue.toQColor());
            gauge->setForeColor(clLime.toQColor());
            gauge->setColor(entry.color->toQColor());
            gauge->setShowText(false);
            gauge->setMinValue(0);
            gauge->setMaxValue(entry.name == "gaugeDobreZle" ? 0 : 100);
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

    // What screen readers say of the marks and of the statistics, whose captions stand beside them.
    m_imgOK->setAccessibleName("dobra odpowiedź");
    m_imgNic->setAccessibleName("odpowiedź częściowo dobra");
    m_imgNieok->setAccessibleName("zła odpowiedź");
    const char* const statistics[][2] = {
        {"lblIleRazyInfo", "Label3"}, {"lblOpanowane", "Label6"},   {"lblPytanInfo", "Label2"},
        {"gaugeDobreZle", "Label4"},  {"gaugeOpanowane", "Label5"},
    };
    for (const auto& [value, caption] : statistics) {
        const QString text = CaptionText(Find<TLabel>(caption)->caption()).remove(QLatin1Char(':'));
        if (qobject_cast<TGauge*>(FindComponent(value)))
            FindComponent(value)->setAccessibleName(text);
        else
            FindComponent(value)->setAccessibleDescription(text);
    }
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
