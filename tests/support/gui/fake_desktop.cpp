#include "tests/support/gui/fake_desktop.h"

#include <QFile>
#include <QFileDevice>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn_test
{

// The stand-ins use only the shell's own commands (PATH holds nothing else)
// and find their files beside themselves.
FakeDesktop::FakeDesktop()
{
    writeScript(QStringLiteral("xdg-open"), R"(d=${0%/*}
printf '%s\n' "$*" >> "$d/xdg-open.log"
if [ -p "$d/hold" ]; then read -r line < "$d/hold"; fi
status=0
if [ -f "$d/status" ]; then read -r status < "$d/status"; fi
exit "$status"
)");
    writeScript(QStringLiteral("xdg-mime"), R"(d=${0%/*}
printf '%s\n' "$*" >> "$d/xdg-mime.log"
[ "$1" = query ] && [ "$2" = default ] || exit 1
f="$d/handler-${3#x-scheme-handler/}"
if [ -f "$f" ]; then read -r h < "$f"; printf '%s\n' "$h"; fi
exit 0
)");
    m_hadPath = qEnvironmentVariableIsSet("PATH");
    m_previousPath = qgetenv("PATH");
    qputenv("PATH", m_dir.path().toLocal8Bit());
}

FakeDesktop::~FakeDesktop()
{
    // An opener left waiting ends.
    release();
    if (m_hadPath)
        qputenv("PATH", m_previousPath);
    else
        qunsetenv("PATH");
}

void FakeDesktop::writeScript(const QString &name, const QByteArray &body)
{
    QFile script(m_dir.filePath(name));
    if (!script.open(QIODevice::WriteOnly))
        return;
    script.write("#!/bin/sh\n" + body);
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void FakeDesktop::setHandler(const QString &scheme, const QString &program)
{
    const QString file = m_dir.filePath(QStringLiteral("handler-") + scheme);
    if (program.isEmpty()) {
        QFile::remove(file);
        return;
    }
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(program.toLocal8Bit() + '\n');
}

void FakeDesktop::setOpenerStatus(int status)
{
    QFile f(m_dir.filePath(QStringLiteral("status")));
    if (f.open(QIODevice::WriteOnly))
        f.write(QByteArray::number(status) + '\n');
}

void FakeDesktop::holdOpener()
{
    ::mkfifo(QFile::encodeName(m_dir.filePath(QStringLiteral("hold"))).constData(), 0600);
}

bool FakeDesktop::release()
{
    // Only an opener waiting on the pipe takes the line: never blocks.
    const int fd = ::open(QFile::encodeName(m_dir.filePath(QStringLiteral("hold"))).constData(),
                          O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, "go\n", 3) == 3;
    ::close(fd);
    return written;
}

void FakeDesktop::removeOpener()
{
    QFile::remove(m_dir.filePath(QStringLiteral("xdg-open")));
}

QStringList FakeDesktop::log(const QString &name) const
{
    QFile f(m_dir.filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList runs = QString::fromLocal8Bit(f.readAll()).split(QLatin1Char('\n'));
    if (!runs.isEmpty() && runs.last().isEmpty())
        runs.removeLast();
    return runs;
}

QStringList FakeDesktop::openerRuns() const
{
    return log(QStringLiteral("xdg-open.log"));
}

QStringList FakeDesktop::queryRuns() const
{
    return log(QStringLiteral("xdg-mime.log"));
}

} // namespace vorn_test
