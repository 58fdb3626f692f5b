#include "tests/support/gui/fake_desktop.h"

#include <QFile>
#include <QFileDevice>

namespace vorn_test
{

namespace
{

// Single quotes for sh: the folder's name is taken literally.
QByteArray quoted(const QString &text)
{
    QByteArray out = text.toLocal8Bit();
    out.replace('\'', "'\\''");
    return '\'' + out + '\'';
}

} // namespace

// The stand-ins use only the shell's own commands: PATH holds nothing else.
FakeDesktop::FakeDesktop()
{
    const QByteArray dir = quoted(m_dir.path());
    writeScript(QStringLiteral("xdg-open"), "printf '%s\\n' \"$*\" >> " + dir +
                                                "/xdg-open.log\n"
                                                "status=0\n"
                                                "if [ -f " +
                                                dir + "/status ]; then read -r status < " + dir +
                                                "/status; fi\n"
                                                "exit \"$status\"\n");
    writeScript(QStringLiteral("xdg-mime"),
                "printf '%s\\n' \"$*\" >> " + dir +
                    "/xdg-mime.log\n"
                    "[ \"$1\" = query ] && [ \"$2\" = default ] || exit 1\n"
                    "f=" +
                    dir +
                    "/handler-\"${3#x-scheme-handler/}\"\n"
                    "if [ -f \"$f\" ]; then read -r h < \"$f\"; printf '%s\\n' \"$h\"; fi\n"
                    "exit 0\n");
    m_hadPath = qEnvironmentVariableIsSet("PATH");
    m_previousPath = qgetenv("PATH");
    qputenv("PATH", m_dir.path().toLocal8Bit());
}

FakeDesktop::~FakeDesktop()
{
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
