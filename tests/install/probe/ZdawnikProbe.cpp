// A Qt plugin that drives the real, installed program from inside, as a user would, and prints
// what the window shows. Qt loads it into any Qt program when QT_PLUGIN_PATH names this plugin's
// folder and QT_QPA_GENERIC_PLUGINS=zdawnikprobe[:what to do]; the program itself is not changed or
// rebuilt, so the tests observe the very files an installation or an archive holds.
//
// What to do, after the colon:
//   (nothing)         press "zaczynam się uczyć"
//   <question file>   the same, then draw questions until that one is shown
//   check-and-wait    press "zaczynam się uczyć" and "sprawdź", then wait to be killed
//   continue          press "kontynuuję naukę"
//
// Output, one line each, on standard output:
//   window <found|missing>          the main window
//   bank <caption>                  the start panel's line on the bank in use
//   progress <caption>              the start panel's line on the kept run, when it shows one
//   saving <caption>                its line on keeping the run, when it shows one
//   questions <caption>             the question count the window shows after the start
//   gauge <good>/<all>              the good-answers gauge after the start (and after the check)
//   status <caption>                the line above the question, when it shows one
//   message <title>: <text>         every message box (it is dismissed and the run goes on)
//   shown <file name>               the question file given after the colon, once it is drawn
//   answer <n> <image visible 0|1> <caption>   for each of the twelve answer places of that question
//   checked                         check-and-wait has pressed "sprawdź" and waits
//   end                             the probe has finished; the program then leaves with status 0

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

void Say(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String(" / "));
}

// Enough presses of "sprawdź" and "dalej" that a bank of a few dozen questions shows every one of
// them many times over; a draw that never brings the wanted question up within them is a fault.
constexpr int MaxDraws = 3000;

class Probe : public QObject
{
public:
    explicit Probe(const QString& task) : m_task(task)
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, &Probe::Run);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                Say(QStringLiteral("message %1: %2").arg(box->windowTitle(), OneLine(box->text())));
                QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window = nullptr;
    QString m_task;

    template <typename T> T* Child(const QString& name) const { return m_window->findChild<T*>(name); }

    QString Caption(const QString& name) const
    {
        const QObject* label = Child<QObject>(name);
        return label ? label->property("caption").toString() : QStringLiteral("<no %1>").arg(name);
    }

    bool Press(const QString& name) const
    {
        auto* button = Child<QAbstractButton>(name);
        if (!button || !button->isEnabled() || !button->isVisibleTo(m_window))
            return false;
        button->click();
        return true;
    }

    // A line of the window, when it shows one.
    void SayShown(const QString& what, const QString& name) const
    {
        const auto* line = Child<QWidget>(name);
        if (line && line->isVisibleTo(m_window))
            Say(what + QLatin1Char(' ') + Caption(name));
    }

    void SayGauge() const
    {
        const QObject* gauge = Child<QObject>(QStringLiteral("gaugeDobreZle"));
        if (gauge)
            Say(QStringLiteral("gauge %1/%2")
                    .arg(gauge->property("Progress").toInt())
                    .arg(gauge->property("MaxValue").toInt()));
    }

    void Run()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("MainForm"))
                m_window = widget;
        }
        Say(QStringLiteral("window %1").arg(m_window ? "found" : "missing"));
        if (m_window) {
            SayShown(QStringLiteral("bank"), QStringLiteral("lblBaza"));
            SayShown(QStringLiteral("progress"), QStringLiteral("lblPostep"));
            SayShown(QStringLiteral("saving"), QStringLiteral("lblZapis"));
            Press(m_task == QLatin1String("continue") ? QStringLiteral("btnKontynuuj")
                                                      : QStringLiteral("btnStart"));
            Say(QStringLiteral("questions %1").arg(Caption(QStringLiteral("lblPytanInfo"))));
            SayGauge();
            SayShown(QStringLiteral("status"), QStringLiteral("lblStan"));
            if (m_task == QLatin1String("check-and-wait")) {
                Press(QStringLiteral("btnCheck"));
                SayGauge();
                Say(QStringLiteral("checked"));
                qApp->removeEventFilter(this);
                return; // the test ends the program
            }
            if (!m_task.isEmpty() && m_task != QLatin1String("continue"))
                FindQuestion();
        }
        Say(QStringLiteral("end"));
        qApp->removeEventFilter(this);
        QCoreApplication::exit(0);
    }

    void FindQuestion()
    {
        for (int draw = 0; draw < MaxDraws; ++draw) {
            if (Caption(QStringLiteral("lblPytanieInfo")) == m_task) {
                Say(QStringLiteral("shown %1").arg(m_task));
                for (int n = 1; n <= 12; ++n) {
                    const auto* image = Child<QWidget>(QStringLiteral("imgOdp%1").arg(n));
                    const bool visible = image && image->isVisibleTo(m_window);
                    Say(QStringLiteral("answer %1 %2 %3")
                            .arg(n)
                            .arg(visible ? 1 : 0)
                            .arg(OneLine(Caption(QStringLiteral("lblOdp%1").arg(n)))));
                }
                return;
            }
            Press(QStringLiteral("btnCheck"));
            if (!Press(QStringLiteral("btnDalej")))
                return; // the run has ended or is stuck: the question never came up
        }
    }
};

} // namespace

class ZdawnikProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "ZdawnikProbe.json")

public:
    QObject* create(const QString& key, const QString& task) override
    {
        if (key.compare(QLatin1String("zdawnikprobe"), Qt::CaseInsensitive) != 0)
            return nullptr;
        // The plugin is loaded into every Qt program the test's environment reaches, the program's
        // metafile helper among them, whose standard output is its reply: only the window's own
        // process is watched.
        if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
            QFileInfo(QCoreApplication::applicationFilePath()).fileName() != QLatin1String("zdawnik"))
            return nullptr;
        return new Probe(task);
    }
};

#include "ZdawnikProbe.moc"
