#include "app/ProgressWindow.h"

#include "app/DaysChart.h"
#include "app/ExamsChart.h"
#include "app/ExamsModel.h"
#include "app/HardestQuestionsModel.h"
#include "app/HistoryTexts.h"
#include "app/LayoutColors.h"
#include "app/PathText.h"
#include "app/SaveDialogs.h"
#include "app/SittingsModel.h"
#include "app/TableCsv.h"
#include "widgets/LayoutFonts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zdawnik {

namespace {

enum Tab
{
    HardestTab,
    SittingsTab,
    ExamsTab,
};

// Below this the tables show too few rows and the chart's labels crowd.
constexpr QSize SmallestReadableSize(760, 560);
// Rows measured to size the columns: enough to fit what the first screen shows, few enough that a
// table of thousands of rows opens at once.
constexpr int MeasuredRows = 40;

QLabel* NewSentence(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(MakeLayoutFont(LayoutFont::V13, Bold));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, PanelNavy);
    palette.setColor(QPalette::WindowText, clWhite);
    label->setPalette(palette);
    label->setMargin(24);
    return label;
}

QString ExamsSummaryText(const std::vector<SittingFigures>& exams)
{
    if (exams.empty())
        return QStringLiteral("egzaminy próbne: brak");
    const auto passed = std::count_if(exams.begin(), exams.end(), [](const SittingFigures& exam) {
        return ExamResultText(exam) == QStringLiteral("zdany");
    });
    const SittingFigures& last = exams.back();
    return QStringLiteral("egzaminy próbne: %1, zdane: %2, ostatni wynik: %3 przy progu %4%")
        .arg(exams.size())
        .arg(passed)
        .arg(PercentText(ExamPercent(last)))
        .arg(last.ExamPassMark);
}

} // namespace

ProgressWindow::ProgressWindow(SaveDialogs* dialogs, QWidget* parent) : QWidget(parent, Qt::Window)
{
    if (!dialogs) {
        m_ownDialogs = std::make_unique<SystemSaveDialogs>();
        dialogs = m_ownDialogs.get();
    }
    m_dialogs = dialogs;

    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Zdawnik — postępy"));
    setFont(MakeLayoutFont(LayoutFont::V11, Regular));
    setMinimumSize(SmallestReadableSize);
    resize(980, 720);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WindowBlue);
    palette.setColor(QPalette::WindowText, clWhite);
    setPalette(palette);
    setAutoFillBackground(true);

    m_hardest = new HardestQuestionsModel(this);
    m_sittings = new SittingsModel(this);
    m_exams = new ExamsModel(this);

    auto* layout = new QVBoxLayout(this);
    m_lblSummary = new QLabel(this);
    m_lblSummary->setObjectName(QStringLiteral("lblPodsumowanie"));
    m_lblSummary->setFont(MakeLayoutFont(LayoutFont::V12, Bold));
    m_lblSummary->setTextFormat(Qt::PlainText);
    layout->addWidget(m_lblSummary);

    m_pages = new QStackedWidget(this);
    layout->addWidget(m_pages, 1);
    auto* splitter = new QSplitter(Qt::Vertical, m_pages);
    splitter->setChildrenCollapsible(false);
    m_pages->addWidget(splitter);
    m_lblEmpty = NewSentence(QStringLiteral("lblPustaHistoria"), m_pages);
    m_lblEmpty->setText(QStringLiteral("Na tej bazie nie udzielono jeszcze żadnej odpowiedzi: postępy pokażą "
                                       "się tu po pierwszym sprawdzeniu."));
    m_pages->addWidget(m_lblEmpty);

    m_charts = new QStackedWidget(splitter);
    m_charts->setMinimumHeight(220);
    m_daysChart = new DaysChart(m_charts);
    m_daysChart->setObjectName(QStringLiteral("chartDni"));
    m_examsChart = new ExamsChart(m_charts);
    m_examsChart->setObjectName(QStringLiteral("chartEgzaminy"));
    m_lblNoChart = NewSentence(QStringLiteral("lblBrakWykresu"), m_charts);
    m_charts->addWidget(m_daysChart);
    m_charts->addWidget(m_examsChart);
    m_charts->addWidget(m_lblNoChart);
    splitter->addWidget(m_charts);

    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName(QStringLiteral("tabsTabele"));
    // The tabs and the tables keep the system's colours: dark text on light ground.
    QPalette systemColors = m_tabs->palette();
    systemColors.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    systemColors.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    m_tabs->setPalette(systemColors);
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({360, 300});

    auto* hardestPage = new QWidget(m_tabs);
    auto* hardestLayout = new QVBoxLayout(hardestPage);
    hardestLayout->setContentsMargins(4, 4, 4, 4);
    m_hardestShown = new QSortFilterProxyModel(this);
    m_hardestShown->setSourceModel(m_hardest);
    m_tblHardest = NewTable(QStringLiteral("tblNajtrudniejsze"), QStringLiteral("najtrudniejsze pytania"),
                            m_hardestShown);
    m_tblHardest->setParent(hardestPage);
    hardestLayout->addWidget(m_tblHardest, 1);
    auto* drillRow = new QHBoxLayout;
    m_btnDrill = new QPushButton(QStringLiteral("ćwicz te pytania"), hardestPage);
    m_btnDrill->setObjectName(QStringLiteral("btnCwicz"));
    m_btnDrill->setToolTip(QStringLiteral(
        "Ćwiczy pytania zaznaczone w tabeli, a gdy nic nie jest zaznaczone: pytania źle lub częściowo dobrze "
        "odpowiedziane w ostatnich 14 dniach, najwyżej 30."));
    drillRow->addWidget(m_btnDrill);
    drillRow->addStretch(1);
    hardestLayout->addLayout(drillRow);
    m_tabs->addTab(hardestPage, QStringLiteral("najtrudniejsze pytania"));

    m_sittingsShown = new QSortFilterProxyModel(this);
    m_sittingsShown->setSourceModel(m_sittings);
    m_tblSittings = NewTable(QStringLiteral("tblSesje"), QStringLiteral("sesje"), m_sittingsShown);
    m_tabs->addTab(m_tblSittings, QStringLiteral("sesje"));

    m_examsShown = new QSortFilterProxyModel(this);
    m_examsShown->setSourceModel(m_exams);
    m_tblExams = NewTable(QStringLiteral("tblEgzaminy"), QStringLiteral("egzaminy"), m_examsShown);
    m_tabs->addTab(m_tblExams, QStringLiteral("egzaminy"));

    auto* bottom = new QHBoxLayout;
    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblKomunikat"));
    m_lblStatus->setWordWrap(true);
    m_lblStatus->setTextFormat(Qt::PlainText);
    palette = m_lblStatus->palette();
    palette.setColor(QPalette::WindowText, clYellow);
    m_lblStatus->setPalette(palette);
    bottom->addWidget(m_lblStatus, 1);
    m_btnSave = new QPushButton(QStringLiteral("zapisz…"), this);
    m_btnSave->setObjectName(QStringLiteral("btnZapisz"));
    m_btnSave->setToolTip(QStringLiteral("Zapisuje pokazaną tabelę jako CSV, a wykres obok niej jako PNG."));
    bottom->addWidget(m_btnSave);
    m_btnClose = new QPushButton(QStringLiteral("zamknij"), this);
    m_btnClose->setObjectName(QStringLiteral("btnZamknij"));
    bottom->addWidget(m_btnClose);
    layout->addLayout(bottom);

    setTabOrder(m_daysChart, m_examsChart);
    setTabOrder(m_examsChart, m_tabs);
    setTabOrder(m_tabs, m_tblHardest);
    setTabOrder(m_tblHardest, m_btnDrill);
    setTabOrder(m_btnDrill, m_tblSittings);
    setTabOrder(m_tblSittings, m_tblExams);
    setTabOrder(m_tblExams, m_btnSave);
    setTabOrder(m_btnSave, m_btnClose);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this] { ShowChartOfTab(); });
    connect(m_btnDrill, &QPushButton::clicked, this, [this] { DrillClicked(); });
    connect(m_btnSave, &QPushButton::clicked, this, [this] { SaveClicked(); });
    connect(m_btnClose, &QPushButton::clicked, this, &QWidget::close);

    ShowHistory({});
}

ProgressWindow::~ProgressWindow() = default;

QTableView* ProgressWindow::NewTable(const QString& name, const QString& accessibleName,
                                     QSortFilterProxyModel* proxy)
{
    proxy->setSortRole(HistoryTableModel::SortRole);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    proxy->setSortLocaleAware(true);
    auto* table = new QTableView(this);
    table->setObjectName(name);
    table->setAccessibleName(accessibleName);
    table->setModel(proxy);
    // Tab leaves the table for the next control; the arrow keys go from cell to cell.
    table->setTabKeyNavigation(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setHighlightSections(false);
    // The model's own order (the most often missed first, the latest first) until a title is clicked.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    return table;
}

void ProgressWindow::FitColumns(QTableView& table, int stretchColumn)
{
    QHeaderView& header = *table.horizontalHeader();
    const QFontMetrics textMetrics = table.fontMetrics();
    const QFontMetrics titleMetrics(header.font());
    const QAbstractItemModel& model = *table.model();
    const int rows = std::min(model.rowCount(), MeasuredRows);
    for (int column = 0; column < model.columnCount(); ++column) {
        if (column == stretchColumn) {
            header.setSectionResizeMode(column, QHeaderView::Stretch);
            continue;
        }
        // Room for the title and the sort arrow.
        int width = titleMetrics.horizontalAdvance(model.headerData(column, Qt::Horizontal).toString()) + 28;
        for (int row = 0; row < rows; ++row)
            width = std::max(width,
                             textMetrics.horizontalAdvance(model.index(row, column).data().toString()) + 16);
        header.setSectionResizeMode(column, QHeaderView::Interactive);
        header.resizeSection(column, std::min(width, 320));
    }
}

QString ProgressWindow::SummaryText(const HistorySnapshot& snapshot)
{
    return QStringLiteral("opanowane pytania: %1 z %2, %3")
        .arg(snapshot.Mastered)
        .arg(snapshot.BankQuestions)
        .arg(StudyDaysText(static_cast<int>(snapshot.Days.size())));
}

void ProgressWindow::ShowHistory(const HistorySnapshot& snapshot)
{
    m_snapshot = snapshot;
    const std::vector<SittingFigures> exams = ExamsInOrder(snapshot.Sittings);
    m_hardest->SetQuestions(snapshot.BankDir, snapshot.Questions);
    m_sittings->SetSittings(snapshot.Sittings);
    m_exams->SetSittings(snapshot.Sittings);
    m_daysChart->SetDays(snapshot.Days);
    m_examsChart->SetExams(exams);

    const QString summary = SummaryText(snapshot);
    const QString bank = QDir::toNativeSeparators(TextFromPath(snapshot.BankDir));
    m_lblSummary->setText(bank.isEmpty() ? summary : QStringLiteral("%1 — %2").arg(bank, summary));
    m_daysChart->setAccessibleName(summary);
    m_examsChart->setAccessibleName(ExamsSummaryText(exams));

    const bool empty = snapshot.Days.empty() && snapshot.Sittings.empty();
    m_pages->setCurrentWidget(empty ? static_cast<QWidget*>(m_lblEmpty) : m_pages->widget(0));
    m_btnSave->setEnabled(!empty);
    m_btnDrill->setEnabled(!empty);
    FitColumns(*m_tblHardest, HardestQuestionsModel::FirstLine);
    FitColumns(*m_tblSittings, SittingsModel::Kind);
    FitColumns(*m_tblExams, ExamsModel::Result);
    ShowChartOfTab();
    Tell({});
}

void ProgressWindow::ShowChartOfTab()
{
    if (m_tabs->currentIndex() == ExamsTab) {
        const bool none = m_exams->rowCount() == 0;
        m_lblNoChart->setText(QStringLiteral("Na tej bazie nie było jeszcze egzaminu próbnego."));
        m_charts->setCurrentWidget(none ? static_cast<QWidget*>(m_lblNoChart) : m_examsChart);
        return;
    }
    const bool none = m_snapshot.Days.empty();
    m_lblNoChart->setText(QStringLiteral("Na tej bazie nie udzielono jeszcze żadnej odpowiedzi."));
    m_charts->setCurrentWidget(none ? static_cast<QWidget*>(m_lblNoChart) : m_daysChart);
}

void ProgressWindow::DrillClicked()
{
    QModelIndexList selected = m_tblHardest->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::string> files;
    for (const QModelIndex& index : selected)
        files.push_back(m_hardest->FileName(m_hardestShown->mapToSource(index).row()));
    if (files.empty())
        files = m_snapshot.DefaultDrill;
    if (files.empty()) {
        Tell(QStringLiteral("Nie ma czego ćwiczyć: w ostatnich 14 dniach żadne pytanie nie dostało złej ani "
                            "częściowo dobrej odpowiedzi. Zaznacz pytania w tabeli, by ćwiczyć właśnie je."));
        return;
    }
    Tell({});
    emit DrillRequested(files);
}

void ProgressWindow::SaveClicked()
{
    QTableView* table = m_tabs->currentIndex() == ExamsTab      ? m_tblExams
                        : m_tabs->currentIndex() == SittingsTab ? m_tblSittings
                                                                : m_tblHardest;
    static const char* const FileStems[] = {"najtrudniejsze-pytania", "sesje", "egzaminy"};
    const QString suggested =
        QDir(QDir::homePath())
            .filePath(QStringLiteral("%1.csv").arg(QLatin1String(FileStems[m_tabs->currentIndex()])));
    QString csvPath = m_dialogs->saveFileName(this, QStringLiteral("Zapisz tabelę i wykres"), suggested,
                                              QStringLiteral("Tabela CSV (*.csv)"));
    if (csvPath.isEmpty())
        return;
    if (!csvPath.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        csvPath += QStringLiteral(".csv");
    const QFileInfo csvFile(csvPath);
    const QString pngPath = csvFile.dir().filePath(csvFile.completeBaseName() + QStringLiteral(".png"));

    QString error;
    if (!WriteTableCsv(*table->model(), csvPath, error)) {
        Tell(QStringLiteral("Nie udało się zapisać %1: %2").arg(QDir::toNativeSeparators(csvPath), error));
        return;
    }
    QWidget* chart = m_charts->currentWidget();
    if (chart == m_lblNoChart) {
        Tell(QStringLiteral("Zapisano %1 (wykresu nie ma).").arg(QDir::toNativeSeparators(csvPath)));
        return;
    }
    if (!chart->grab().save(pngPath, "PNG")) {
        Tell(QStringLiteral("Zapisano %1, ale nie udało się zapisać %2.")
                 .arg(QDir::toNativeSeparators(csvPath), QDir::toNativeSeparators(pngPath)));
        return;
    }
    Tell(QStringLiteral("Zapisano %1 i %2.")
             .arg(QDir::toNativeSeparators(csvPath), QDir::toNativeSeparators(pngPath)));
}

void ProgressWindow::Tell(const QString& text)
{
    m_lblStatus->setText(text);
    m_lblStatus->setAccessibleName(text);
}

} // namespace zdawnik
