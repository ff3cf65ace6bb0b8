#pragma once

#include <QObject>


class QSocketNotifier;
class QWidget;

namespace zdawnik {

// A logout, a shutdown or Ctrl+C in the terminal (SIGTERM, SIGHUP, SIGINT) close the window as its
// close box does, so that the run and its study time are kept. The signal only writes a byte to a
// socket, which is all a signal handler may safely do; the window is closed from the event loop that
// reads it. Windows sends no such signals to a window program: there this does nothing.
class TerminationSignals : public QObject
{
public:
    explicit TerminationSignals(QWidget& window);
    ~TerminationSignals() override;

private:
    QWidget& m_window;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace zdawnik
