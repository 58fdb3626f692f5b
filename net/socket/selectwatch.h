#pragma once
// Turns the level-triggered readiness of one descriptor into the socket
// notifications of the original platform (connect, read, write, accept,
// close), in the order the socket layer expects:
// - connecting: the first activation reads SO_ERROR and reports FD_CONNECT,
//   then FD_WRITE on success (a refused connect also looks readable: connect
//   wins);
// - connected: bytes waiting give FD_READ; none waiting, a peek telling the
//   end or an error gives FD_CLOSE, after which nothing more is reported;
//   when the owner has said where its next receive goes, that receive is
//   made at once instead of asking: bytes give FD_READ, the end or an error
//   FD_CLOSE, as the question would have;
// - read and accept notifications stay off after one is reported until the
//   owner receives or accepts again, as the platform re-enables them, so a
//   handler that reads nothing cannot spin;
// - write interest is on only while the owner has data queued.
#include "net/loop/eventloop.h"

#include <functional>

namespace net
{

class SelectWatch
{
public:
    enum class Mode { Idle, Connecting, Stream, Listening, Datagram };
    // Called with the notification bits and one error number.
    using Sink = std::function<void(unsigned events, int error)>;
    // Reads ahead for the owner: the count read, 0 at the end, -1 on failure
    // (the error number set as by a receive), or NotRead when the owner has
    // no receive to make now.
    using ReadAhead = std::function<int()>;
    static constexpr int NotRead = -2;

    SelectWatch(int fd, Sink sink);
    ~SelectWatch();
    SelectWatch(const SelectWatch &) = delete;
    SelectWatch &operator=(const SelectWatch &) = delete;

    void attach(EventLoop *loop);
    void detach();
    void setMask(unsigned mask);
    unsigned mask() const { return m_mask; }
    void setMode(Mode mode);
    Mode mode() const { return m_mode; }
    void setWriteWanted(bool wanted);
    // The owner received or accepted: read notifications may come again.
    void rearmRead();
    void setPaused(bool paused);
    void setReadAhead(ReadAhead readAhead) { m_readAhead = std::move(readAhead); }

private:
    void update();
    void onReady(bool readable, bool writable);

    int m_fd;
    Sink m_sink;
    ReadAhead m_readAhead;
    EventLoop *m_loop = nullptr;
    WatchId m_watch = 0;
    unsigned m_mask = 0;
    Mode m_mode = Mode::Idle;
    bool m_readArmed = true;
    bool m_writeWanted = false;
    bool m_paused = false;
    bool m_closeDelivered = false;
};

} // namespace net
