#pragma once
// A desktop of the test's own for the real shell: a folder holding stand-ins
// of the link opener ("xdg-open") and of the query naming the program for a
// scheme ("xdg-mime"), put alone on PATH while the object lives, so that
// nothing of the machine's desktop runs and its answers do not matter. Each
// stand-in writes its arguments, one run a line, to a log.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vorn_test
{

class FakeDesktop
{
public:
    FakeDesktop();
    ~FakeDesktop();
    FakeDesktop(const FakeDesktop &) = delete;
    FakeDesktop &operator=(const FakeDesktop &) = delete;

    // The program the desktop names for the scheme's links; empty: none.
    void setHandler(const QString &scheme, const QString &program);
    // The opener's exit status (0 at first).
    void setOpenerStatus(int status);
    // No opener at all on PATH.
    void removeOpener();
    // The opener stays running, as one that waits for the program it
    // started, until release(), which tells whether one was waiting.
    void holdOpener();
    bool release();

    // The arguments of each run, in order.
    QStringList openerRuns() const;
    QStringList queryRuns() const;

private:
    void writeScript(const QString &name, const QByteArray &body);
    QStringList log(const QString &name) const;

    QTemporaryDir m_dir;
    QByteArray m_previousPath;
    bool m_hadPath = false;
};

} // namespace vorn_test
