#include "tests/manager/update_site.h"
#include "tests/support/core/loopback.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vorn_test
{

UpdateSite::UpdateSite()
{
    m_listenFd = listenOnLoopback(8, m_port);
    if (::pipe2(m_wake, O_CLOEXEC) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { run(); });
}

UpdateSite::~UpdateSite()
{
    m_stop = true;
    char c = 0;
    [[maybe_unused]] ssize_t n = ::write(m_wake[1], &c, 1);
    m_thread.join();
    for (int fd : m_held)
        ::close(fd);
    ::close(m_listenFd);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void UpdateSite::reply(const QString &path, const QByteArray &bytes)
{
    std::lock_guard lock(m_mutex);
    m_replies[path] = bytes;
}

void UpdateSite::silent(const QString &path)
{
    std::lock_guard lock(m_mutex);
    m_silent << path;
}

QStringList UpdateSite::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

QList<QByteArray> UpdateSite::rawRequests() const
{
    std::lock_guard lock(m_mutex);
    return m_raw;
}

QByteArray UpdateSite::status(int code, const QString &reason, const QByteArray &extraHeaders)
{
    return "HTTP/1.0 " + QByteArray::number(code) + ' ' + reason.toLatin1() + "\r\n" +
           "Content-Type: text/html\r\nContent-Length: 20\r\n" + extraHeaders + "\r\n";
}

void UpdateSite::run()
{
    while (!m_stop) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, 200) <= 0 || m_stop || !(fds[0].revents & POLLIN))
            continue;
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++m_connections;
        serve(fd);
    }
}

void UpdateSite::serve(int fd)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n") && !m_stop) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (::poll(fds, 2, 5000) <= 0 || (fds[1].revents & POLLIN))
            break;
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        request.append(buffer, static_cast<int>(n));
    }
    const QString line = QString::fromLatin1(request.left(request.indexOf("\r\n")));
    const QString path = line.section(QLatin1Char(' '), 1, 1);
    QByteArray answer;
    bool quiet = false;
    {
        std::lock_guard lock(m_mutex);
        m_requests << line;
        m_raw << request;
        quiet = m_silent.contains(path);
        answer = m_replies.value(path, status(404, QStringLiteral("Not Found")));
    }
    if (quiet) {
        // Kept open and unanswered until the site goes away.
        m_held.push_back(fd);
        return;
    }
    ::send(fd, answer.constData(), static_cast<size_t>(answer.size()), MSG_NOSIGNAL);
    ::close(fd);
}

} // namespace vorn_test
