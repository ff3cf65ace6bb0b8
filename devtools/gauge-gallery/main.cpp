// Shows every kind of gauge at several values, bordered and not, and the main window's two gauges,
// so that their drawing can be looked over. With --grab <file.png> it saves the window and quits.

#include "widgets/TColor.h"
#include "widgets/TGauge.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>

using namespace zdawnik;

namespace {

struct KindRow
{
    TGaugeKind kind;
    const char* name;
    QSize size;
};

TGauge* MakeGauge(QWidget* parent, TGaugeKind kind, QSize size, int progress)
{
    auto* gauge = new TGauge(parent);
    gauge->setKind(kind);
    gauge->setFixedSize(size);
    gauge->setColor(clMoneyGreen);
    gauge->setForeColor(clRed);
    gauge->setBackColor(clWhite);
    gauge->setProgress(progress);
    return gauge;
}

QLabel* Caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("zdawnik-gauge-gallery");
    QCommandLineParser parser;
    parser.setApplicationDescription("Every kind of gauge at several values.");
    parser.addHelpOption();
    const QCommandLineOption grabOption("grab", "Save the window to <file> and quit.", "file");
    parser.addOption(grabOption);
    parser.process(app);

    QWidget window;
    window.setWindowTitle("Gauges");
    auto* grid = new QGridLayout(&window);
    grid->setSpacing(8);

    const int values[] = {0, 1, 10, 25, 42, 50, 66, 75, 99, 100};
    int column = 1;
    for (const int value : values)
        grid->addWidget(Caption(QString::number(value), &window), 0, column++, Qt::AlignHCenter);

    const KindRow kinds[] = {
        {gkText, "text", QSize(64, 24)},
        {gkHorizontalBar, "horizontal bar", QSize(64, 24)},
        {gkVerticalBar, "vertical bar", QSize(24, 64)},
        {gkPie, "pie", QSize(64, 64)},
        {gkNeedle, "needle", QSize(64, 40)},
    };
    int row = 1;
    for (const KindRow& kind : kinds) {
        for (const bool border : {true, false}) {
            grid->addWidget(Caption(QString(kind.name) + (border ? "" : ", no border"), &window), row, 0);
            column = 1;
            for (const int value : values) {
                TGauge* gauge = MakeGauge(&window, kind.kind, kind.size, value);
                gauge->setBorderStyle(border ? bsSingle : bsNone);
                grid->addWidget(gauge, row, column++, Qt::AlignCenter);
            }
            ++row;
        }
    }

    // The main window's gauges: 131 × 20, lime on the window's blue, no text; 66 is two of three.
    grid->addWidget(Caption("window: 0, 1, 10, 2/3, 100", &window), row, 0);
    const int windowValues[][2] = {{100, 0}, {100, 1}, {100, 10}, {3, 2}, {100, 100}};
    column = 1;
    for (const auto& [maxValue, progress] : windowValues) {
        auto* gauge = new TGauge(&window);
        gauge->setFixedSize(131, 20);
        gauge->setBackColor(TColor(0x00985007));
        gauge->setForeColor(clLime);
        gauge->setColor(clGreen);
        gauge->setShowText(false);
        gauge->setMaxValue(maxValue);
        gauge->setProgress(progress);
        grid->addWidget(gauge, row, column, 1, 2, Qt::AlignCenter);
        column += 2;
    }

    window.show();
    if (parser.isSet(grabOption)) {
        const QString file = parser.value(grabOption);
        QTimer::singleShot(0, &window, [&window, file] {
            if (!window.grab().save(file)) {
                qCritical("Cannot write %s", qPrintable(file));
                QApplication::exit(1);
                return;
            }
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
