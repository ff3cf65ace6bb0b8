// The window's widgets as data: one table of everything that stands alone, loops for the numbered
// families. The order of the rows is the order of creation, and so of stacking: later widgets lie
// over earlier ones.

#include "app/LayoutColors.h"
#include "app/TMainForm.h"
#include "app/WidgetEntry.h"
#include "widgets/TextAreas.h"

#include <vector>

namespace zdawnik {

namespace {

// The tables below are laid out as columns to be read against the layout; clang-format would fold
// them into one field a line.
// clang-format off

// Design colours of the twelve answer panels and of their labels; placement overwrites both before
// a panel is ever shown.
const TColor AnswerPanelColors[12] = {TickedYellow, SlotGrey, clWhite, clSkyBlue, clSkyBlue, clSkyBlue,
                                      clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen, clMoneyGreen};
const TColor AnswerLabelColors[12] = {clOlive, clGreen, clLime, clLime, clLime, clLime,
                                      clRed, clRed, clRed, clRed, clRed, clRed};

std::vector<WidgetEntry> QuestionArea()
{
    return {
        {.kind = WidgetKind::Label, .name = "lblPytanie", .geometry = {QuestionAreaPosition, QuestionTextArea.LabelSize}, .flags = Fixed | Centred | Middle | Wrap,
         .font = QuestionTextArea.Font, .fontColor = clBlack, .color = clWhite, .caption = "lblPytanie"},
        {.kind = WidgetKind::Label, .name = "lblPytanieInfo", .geometry = {862, 18, 78, 13}, .flags = Right | Transparent,
         .font = LayoutFont::V11, .style = Italic, .fontColor = clSkyBlue, .caption = "lblPytanieInfo"},
        {.kind = WidgetKind::Label, .name = "lblIleOdpowiedzi", .geometry = {34, 138, 887, 13}, .flags = Fixed | Centred | Transparent,
         .font = LayoutFont::V11, .style = Bold, .fontColor = WindowBlue, .caption = "..."},
        {.kind = WidgetKind::Image, .name = "imgPytanie", .geometry = {QuestionAreaPosition, QuestionTextArea.PictureSize}, .flags = Centred | Hidden},
        {.kind = WidgetKind::Image, .name = "imgNieok", .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = assets::Picture::WrongFace},
        {.kind = WidgetKind::Image, .name = "imgNic",   .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = assets::Picture::PartialFace},
        {.kind = WidgetKind::Image, .name = "imgOK",    .geometry = {851, 608, 63, 63}, .flags = AutoSize | Transparent | Hidden, .picture = assets::Picture::GoodFace},
        // A line above the question, in the window's margin: progress that is not being kept, or the
        // folder searched for an empty bank.
        {.kind = WidgetKind::Label, .name = "lblStan", .geometry = {12, 1, 0, 0}, .flags = Transparent | Hidden,
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
        labels.push_back({.kind = WidgetKind::Label, .name = digit.name, .geometry = {digit.left, 600, digit.width, 20},
                          .flags = Fixed | Middle | digit.alignment, .font = LayoutFont::S13, .style = Bold,
                          .fontColor = clLime, .caption = digit.caption});
    labels.push_back({.kind = WidgetKind::Label, .name = "Label21", .geometry = {446, 600, 59, 20}, .flags = Fixed | Middle,
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
        panels.push_back({.kind = WidgetKind::Panel, .name = panel, .geometry = {QPoint(32 + 448 * column, 160 + 72 * row), AnswerTextArea.LabelSize},
                          .flags = Hidden | HandCursor, .color = AnswerPanelColors[n - 1], .tabOrder = n - 1});
        panels.push_back({.kind = WidgetKind::Image, .name = Numbered("imgOdp", n), .parent = panel, .geometry = {QPoint(0, 0), AnswerTextArea.PictureSize},
                          .flags = DockLeft | Centred | HandCursor});
        panels.push_back({.kind = WidgetKind::Label, .name = Numbered("lblOdp", n), .parent = panel, .geometry = {0, 0, 0, AnswerTextArea.LabelSize.height()},
                          .flags = DockClient | Fixed | Middle | Wrap | Transparent | HandCursor, .font = AnswerTextArea.Font,
                          .fontColor = clWindowText, .color = AnswerLabelColors[n - 1]});
        panels.push_back({.kind = WidgetKind::Image, .name = Numbered("imgGood", n), .parent = panel,
                          .geometry = {390, n == 1 ? 16 : 20, 50, 50}, .flags = AutoSize | Transparent | Hidden,
                          .picture = assets::Picture::Tick, .bitmap = true});
        // The answer's tick: the panel is what the user presses, this box only keeps the state.
        panels.push_back({.kind = WidgetKind::CheckBox, .name = Numbered("CheckBox", n), .parent = panel,
                          .geometry = {0, 56, 14, 14}, .flags = Hidden | Disabled | HandCursor});
    }
    return panels;
}

std::vector<WidgetEntry> InfoPanel()
{
    // The labels are fixed, vertically centred and opaque in the panel's colour and font.
    const unsigned label = Fixed | Middle;
    const LayoutFont S11 = LayoutFont::S11;
    return {
        {.kind = WidgetKind::Panel, .name = "pnlInfo", .geometry = {32, 600, 401, 81}, .font = LayoutFont::V11,
         .fontColor = clWindowText, .color = InfoBlue, .tabOrder = 12},
        {.kind = WidgetKind::Label, .name = "Label2",         .parent = "pnlInfo", .geometry = {184, 16, 180, 20}, .flags = label, .caption = "Ilość wszystkich pytań w bazie:"},
        {.kind = WidgetKind::Label, .name = "Label3",         .parent = "pnlInfo", .geometry = {0, 0, 241, 20},    .flags = label, .caption = "Ilość ponownych wystąpień tego pytania:"},
        {.kind = WidgetKind::Label, .name = "lblIleRazyInfo", .parent = "pnlInfo", .geometry = {240, 0, 25, 20},   .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
        {.kind = WidgetKind::Label, .name = "lblPytanInfo",   .parent = "pnlInfo", .geometry = {368, 16, 25, 20},  .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
        {.kind = WidgetKind::Gauge, .name = "gaugeDobreZle",  .parent = "pnlInfo", .geometry = {264, 36, 131, 20}, .font = LayoutFont::V11, .fontColor = clYellow, .color = clGreen, .maxValue = 0},
        {.kind = WidgetKind::Label, .name = "Label4",         .parent = "pnlInfo", .geometry = {0, 36, 233, 20},   .flags = label, .caption = "Stosunek odpowiedzi: dobre - złe"},
        {.kind = WidgetKind::Label, .name = "Label5",         .parent = "pnlInfo", .geometry = {0, 58, 257, 20},   .flags = label, .caption = "Stosunek pytań: opanowane - nieopanowane"},
        {.kind = WidgetKind::Gauge, .name = "gaugeOpanowane", .parent = "pnlInfo", .geometry = {264, 58, 131, 20}, .font = LayoutFont::V11, .fontColor = clYellow, .color = clGreen},
        {.kind = WidgetKind::Label, .name = "Label6",         .parent = "pnlInfo", .geometry = {0, 16, 161, 20},   .flags = label, .caption = "Ilość opanowanych pytań:"},
        {.kind = WidgetKind::Label, .name = "lblOpanowane",   .parent = "pnlInfo", .geometry = {154, 16, 25, 20},  .flags = label, .font = S11, .style = Bold, .fontColor = clAqua, .caption = "0"},
        // During an exam the panel tells where the student stands instead.
        {.kind = WidgetKind::Label, .name = "lblEgzaminInfo", .parent = "pnlInfo", .geometry = {8, 8, 385, 65}, .flags = Fixed | Middle | Wrap | Hidden,
         .font = LayoutFont::V12, .style = Bold, .fontColor = clAqua, .color = InfoBlue},
    };
}

std::vector<WidgetEntry> BottomControls()
{
    return {
        {.kind = WidgetKind::CheckBox, .name = "CheckBoxDobre", .geometry = {446, 640, 171, 17}, .flags = Ticked,   .font = LayoutFont::V9,  .fontColor = clBlack,      .caption = "pokazuj dobre odpowiedzi", .tabOrder = 13},
        {.kind = WidgetKind::Button,   .name = "btnCheck",      .geometry = {742, 600, 91, 40},  .flags = Disabled, .font = LayoutFont::V13, .style = Bold, .fontColor = clWindowText, .caption = "sprawdź", .tabOrder = 14},
        {.kind = WidgetKind::Button,   .name = "btnDalej",      .geometry = {742, 641, 91, 40},  .flags = Disabled, .font = LayoutFont::V13, .style = Bold, .fontColor = clWindowText, .caption = "dalej", .tabOrder = 15},
        {.kind = WidgetKind::CheckBox, .name = "CheckBoxID",    .geometry = {446, 664, 203, 17}, .flags = Ticked,   .font = LayoutFont::V9,  .fontColor = clBlack,      .caption = "pokazuj ID pytania (prawy górny róg)", .tabOrder = 16},
        // An exam's own controls, where "sprawdź" and the clock stand in a drill.
        {.kind = WidgetKind::Button,   .name = "btnWstecz",     .geometry = {742, 600, 91, 40},  .flags = Hidden,   .font = LayoutFont::V13, .style = Bold, .fontColor = clWindowText, .caption = "wstecz", .tabOrder = 14},
        {.kind = WidgetKind::Button,   .name = "btnZakoncz",    .geometry = {838, 641, 103, 40}, .flags = Hidden,   .font = LayoutFont::V11, .style = Bold, .fontColor = clWindowText, .caption = "zakończ\negzamin", .tabOrder = 16},
        {.kind = WidgetKind::Label,    .name = "lblPozostalo",  .geometry = {446, 600, 160, 20}, .flags = Fixed | Middle | Transparent | Hidden, .font = LayoutFont::S13, .style = Bold,
         .fontColor = clLime, .color = clWhite, .caption = "Pozostało:"},
    };
}

std::vector<WidgetEntry> StartPanel()
{
    // The labels size themselves to their texts and draw only the text, white unless stated.
    const unsigned label = Transparent;
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    return {
        {.kind = WidgetKind::Panel, .name = "pnlStart", .geometry = {3, 6, 937, 673}, .flags = Hidden, .color = PanelNavy, .tabOrder = 17},
        {.kind = WidgetKind::Label, .name = "lblAutor", .parent = "pnlStart", .geometry = {671, 602, 201, 13}, .flags = Right | label, .font = V11, .fontColor = clWhite,
         .caption = "programik napisał: zespół Zdawnika, zdawnik@poczta.example"},
        {.kind = WidgetKind::Label, .name = "Label1",  .parent = "pnlStart", .geometry = {60, 186, 420, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "Domyślna ilość wystąpień każdego pytania jest ustawiona na trzy."},
        {.kind = WidgetKind::Label, .name = "Label7",  .parent = "pnlStart", .geometry = {60, 202, 542, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "W przypadku złej odpowiedzi ilość powtórzeń zwiększa się o trzy dla danego pytania."},
        {.kind = WidgetKind::Label, .name = "Label8",  .parent = "pnlStart", .geometry = {60, 82, 299, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Program z bazą pytań powstałą na forum Nexum."},
        {.kind = WidgetKind::Label, .name = "Label9",  .parent = "pnlStart", .geometry = {60, 98, 463, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Podziękowania dla wszystkich którzy się przyczynili do jej powstania."},
        {.kind = WidgetKind::Label, .name = "Label10", .parent = "pnlStart", .geometry = {60, 274, 378, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "W przypadku znalezienie błędu w pytaniu proszę o kontakt."},
        {.kind = WidgetKind::Label, .name = "Label11", .parent = "pnlStart", .geometry = {620, 386, 39, 14}, .flags = label, .font = V12, .style = Italic, .fontColor = clWhite,
         .caption = "zespół Zdawnika"},
        {.kind = WidgetKind::Label, .name = "Label12", .parent = "pnlStart", .geometry = {60, 322, 127, 14}, .flags = label, .font = V12, .fontColor = clYellow,
         .caption = "Przyjemnej nauki :-)"},
        {.kind = WidgetKind::Button, .name = "btnStart", .parent = "pnlStart", .geometry = {560, 432, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "zaczynam się uczyć", .tabOrder = 0},
        // The bank in use above the texts; the kept run under the start button, beside which the button
        // that goes on with it stands.
        {.kind = WidgetKind::Label, .name = "lblBaza", .parent = "pnlStart", .geometry = {60, 36, 0, 0}, .flags = label, .font = V11, .fontColor = clWhite},
        {.kind = WidgetKind::Button, .name = "btnZmienBaze", .parent = "pnlStart", .geometry = {560, 30, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "zmień bazę…", .tabOrder = 2},
        {.kind = WidgetKind::Button, .name = "btnKontynuuj", .parent = "pnlStart", .geometry = {375, 432, 177, 25}, .flags = Hidden, .font = V11,
         .fontColor = clWindowText, .caption = "kontynuuję naukę", .tabOrder = 1},
        {.kind = WidgetKind::Label, .name = "lblPostep", .parent = "pnlStart", .geometry = {60, 474, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clWhite},
        {.kind = WidgetKind::Label, .name = "lblZmiany", .parent = "pnlStart", .geometry = {60, 490, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clWhite},
        {.kind = WidgetKind::Label, .name = "lblZapis", .parent = "pnlStart", .geometry = {60, 506, 0, 0}, .flags = label | Hidden, .font = V11, .fontColor = clYellow},
        // The keys of the keyboard, in the free space under the start button.
        // What else the bank offers, in the free space between the keys and the footer.
        {.kind = WidgetKind::Button, .name = "btnPostepy", .parent = "pnlStart", .geometry = {375, 570, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "postępy…", .tabOrder = 3},
        {.kind = WidgetKind::Button, .name = "btnEgzamin", .parent = "pnlStart", .geometry = {560, 570, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "egzamin próbny…", .tabOrder = 4},
        {.kind = WidgetKind::Label, .name = "lblKlawiatura", .parent = "pnlStart", .geometry = {60, 530, 0, 0}, .flags = label, .font = V11, .fontColor = clSkyBlue,
         .caption = "Klawiatura: Enter lub spacja zaczyna, potem naciska „sprawdź” i „dalej”; 1–9, 0, - i = zaznaczają odpowiedzi, 1–4 wybierają listę."},
    };
}

std::vector<WidgetEntry> EndPanel()
{
    const unsigned label = Transparent;
    const LayoutFont V11 = LayoutFont::V11, V12 = LayoutFont::V12;
    return {
        {.kind = WidgetKind::Panel, .name = "pnlKoniec", .geometry = {571, 646, 937, 673}, .flags = Hidden, .color = PanelNavy, .tabOrder = 18},
        {.kind = WidgetKind::Label, .name = "Label14", .parent = "pnlKoniec", .geometry = {60, 186, 405, 14}, .flags = label, .font = V12, .fontColor = clWhite,
         .caption = "Teraz pozostaje mieć nadzieję, że większość pojawi się na kole."},
        {.kind = WidgetKind::Label, .name = "Label17", .parent = "pnlKoniec", .geometry = {60, 82, 89, 14},   .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Koniec pytań."},
        {.kind = WidgetKind::Label, .name = "Label19", .parent = "pnlKoniec", .geometry = {60, 98, 306, 14},  .flags = label, .font = V12, .style = Bold, .fontColor = clWhite,
         .caption = "Wszystkie zostały przez Ciebie opanowane :-)"},
        // The files a run had to set aside, in the free space under the texts, only when there are any.
        {.kind = WidgetKind::Label, .name = "lblOdlozone", .parent = "pnlKoniec", .geometry = {60, 214, 460, 160},
         .flags = label | Fixed | Wrap | Hidden, .font = V11, .fontColor = clYellow},
        // The photograph is decoded when the end panel first comes up (see btnDalejClick).
        {.kind = WidgetKind::Image, .name = "Image1", .parent = "pnlKoniec", .geometry = {544, 80, 347, 484}},
        {.kind = WidgetKind::Button, .name = "Button1", .parent = "pnlKoniec", .geometry = {60, 384, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "koniec", .tabOrder = 0},
        {.kind = WidgetKind::Button, .name = "btnPostepyKoniec", .parent = "pnlKoniec", .geometry = {250, 384, 177, 25}, .font = V11, .fontColor = clWindowText,
         .caption = "postępy…", .tabOrder = 1},
    };
}

std::vector<WidgetEntry> SentencePanel()
{
    std::vector<WidgetEntry> entries{
        {.kind = WidgetKind::Panel, .name = "pnlOdpowiedzY", .geometry = {32, 160, 889, 433}, .flags = Hidden, .font = LayoutFont::V11,
         .fontColor = clWindowText, .color = WindowBlue, .tabOrder = 19},
        {.kind = WidgetKind::Label, .name = "lblCoPowstanie", .parent = "pnlOdpowiedzY", .geometry = {40, 192, 793, 105},
         .flags = Fixed | Centred | Middle | Wrap, .font = LayoutFont::V12, .fontColor = clBlack, .color = clWhite, .caption = "{wybór 1}"},
    };
    // One row per list: its caption and its drop-down list.
    const int widths[4] = {857, 889, 873, 889};
    const char* labels[4] = {"Label13", "Label16", "Label20", "Label22"};
    for (int n = 1; n <= 4; ++n) {
        const QString row = Numbered("pnlWybor", n);
        entries.push_back({.kind = WidgetKind::Panel, .name = row, .parent = "pnlOdpowiedzY", .geometry = {0, 32 + 40 * (n - 1), widths[n - 1], 22},
                         .color = WindowBlue, .tabOrder = n - 1});
        entries.push_back({.kind = WidgetKind::Label, .name = labels[n - 1], .parent = row, .geometry = {0, 0, 64, 22}, .flags = Fixed | Middle,
                         .font = LayoutFont::V12, .fontColor = clYellow, .caption = QStringLiteral("{wybór %1}").arg(n)});
        entries.push_back({.kind = WidgetKind::ComboBox, .name = Numbered("ComboOpcja", n), .parent = row, .geometry = {88, 0, 769, 22},
                         .font = LayoutFont::V12, .fontColor = clWindowText, .color = n == 1 ? ListGreen : clWindow, .tabOrder = 0});
    }
    entries.push_back({.kind = WidgetKind::Button, .name = "btnGeneruj", .parent = "pnlOdpowiedzY", .geometry = {528, 304, 305, 25},
                     .font = LayoutFont::V11, .fontColor = clWindowText, .caption = "generuj zdanie", .tabOrder = 4});
    return entries;
}

// clang-format on

} // namespace

std::vector<WidgetEntry> TMainForm::LayoutTable()
{
    std::vector<WidgetEntry> entries;
    for (auto table : {QuestionArea, ClockLabels, AnswerPanels, InfoPanel, BottomControls, StartPanel,
                       EndPanel, SentencePanel})
        for (WidgetEntry& entry : table())
            entries.push_back(std::move(entry));
    return entries;
}

} // namespace zdawnik
