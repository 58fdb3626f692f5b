#pragma once
// A stand-in for the update site on 127.0.0.1: answers each request by its
// path with canned bytes, or stays silent, and keeps the request lines. It
// runs on a thread of its own with blocking calls, so the program's event
// loop is the only asynchronous party.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <atomic>
#include <mutex>
#include <thread>

namespace vorn_test
{

class UpdateSite
{
public:
    UpdateSite();
    ~UpdateSite();
    UpdateSite(const UpdateSite &) = delete;
    UpdateSite &operator=(const UpdateSite &) = delete;

    // The reply for a path; a path without one gets a 404.
    void reply(const QString &path, const QByteArray &bytes);
    // Requests for the path are read and never answered.
    void silent(const QString &path);
    QString host() const { return QStringLiteral("127.0.0.1:") + QString::number(m_port); }
    int port() const { return m_port; }
    // Request lines received, in order.
    QStringList requests() const;
    // The whole requests as they arrived, in order.
    QList<QByteArray> rawRequests() const;
    int connections() const { return m_connections; }

    static QByteArray status(int code, const QString &reason,
                             const QByteArray &extraHeaders = QByteArray());

private:
    void run();
    void serve(int fd);

    int m_listenFd = -1;
    int m_port = 0;
    int m_wake[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    mutable std::mutex m_mutex;
    QMap<QString, QByteArray> m_replies;
    QStringList m_silent;
    QStringList m_requests;
    QList<QByteArray> m_raw;
    std::vector<int> m_held;
};

} // namespace vorn_test
