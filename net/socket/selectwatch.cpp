#include "net/socket/selectwatch.h"

#include "net/socket/wsocket.h"
#include "net/sys/socketapi.h"
#include "net/sys/wsockerr.h"

#include <cerrno>

namespace net
{

SelectWatch::SelectWatch(int fd, Sink sink) : m_fd(fd), m_sink(std::move(sink)) {}

SelectWatch::~SelectWatch()
{
    detach();
}

void SelectWatch::attach(EventLoop *loop)
{
    detach();
    m_loop = loop;
    if (m_loop == nullptr)
        return;
    m_watch = m_loop->watch(m_fd, false, false, [this](bool r, bool w) { onReady(r, w); });
    update();
}

void SelectWatch::detach()
{
    if (m_loop != nullptr && m_watch != 0)
        m_loop->unwatch(m_watch);
    m_loop = nullptr;
    m_watch = 0;
}

void SelectWatch::setMask(unsigned mask)
{
    m_mask = mask;
    update();
}

void SelectWatch::setMode(Mode mode)
{
    m_mode = mode;
    m_closeDelivered = false;
    m_readArmed = true;
    update();
}

void SelectWatch::setWriteWanted(bool wanted)
{
    if (m_writeWanted == wanted)
        return;
    m_writeWanted = wanted;
    update();
}

void SelectWatch::rearmRead()
{
    if (m_readArmed)
        return;
    m_readArmed = true;
    update();
}

void SelectWatch::setPaused(bool paused)
{
    m_paused = paused;
    if (!paused)
        m_readArmed = true;
    update();
}

void SelectWatch::update()
{
    if (m_loop == nullptr || m_watch == 0)
        return;
    bool read = false;
    bool write = false;
    if (!m_paused && !m_closeDelivered && m_mask != 0) {
        switch (m_mode) {
        case Mode::Idle:
            break;
        case Mode::Connecting:
            read = write = true;
            break;
        case Mode::Listening:
            read = m_readArmed && (m_mask & (FD_ACCEPT | FD_CLOSE));
            break;
        case Mode::Stream:
            read = m_readArmed && (m_mask & (FD_READ | FD_CLOSE));
            write = m_writeWanted && (m_mask & FD_WRITE);
            break;
        case Mode::Datagram:
            read = m_readArmed && (m_mask & FD_READ);
            write = m_writeWanted && (m_mask & FD_WRITE);
            break;
        }
    }
    m_loop->setInterest(m_watch, read, write);
}

void SelectWatch::onReady(bool readable, bool writable)
{
    unsigned events = 0;
    int error = 0;
    if (m_mode == Mode::Connecting) {
        int soError = 0;
        socklen_t len = sizeof soError;
        if (wsGetSockOpt(m_fd, SOL_SOCKET, SO_ERROR, &soError, &len) < 0)
            error = WSAGetLastError();
        else
            error = errnoToWsa(soError, ErrnoContext::Connect);
        // A connect still under way shows neither readiness nor an error.
        if (error == 10035)
            return;
        m_mode = Mode::Stream;
        if (m_mask & FD_CONNECT)
            events |= FD_CONNECT;
        if (error == 0 && (m_mask & FD_WRITE))
            events |= FD_WRITE;
    } else if (m_mode == Mode::Listening) {
        if (readable && (m_mask & FD_ACCEPT)) {
            events |= FD_ACCEPT;
            m_readArmed = false;
        }
    } else if (m_mode == Mode::Datagram) {
        if (readable && (m_mask & FD_READ)) {
            events |= FD_READ;
            m_readArmed = false;
        }
        if (writable && (m_mask & FD_WRITE))
            events |= FD_WRITE;
    } else if (m_mode == Mode::Stream) {
        if (readable) {
            // A receive made for the owner tells data from a close by
            // itself; asking how many bytes wait would cost a call on every
            // wake-up of a long transfer.
            int got = m_readAhead ? m_readAhead() : NotRead;
            int waiting = 0;
            if (got == NotRead && wsIoctlFionread(m_fd, &waiting) == 0 && waiting > 0) {
                if (m_mask & FD_READ) {
                    events |= FD_READ;
                    m_readArmed = false;
                }
            } else {
                if (got == NotRead) {
                    char probe;
                    got = wsRecv(m_fd, &probe, 1, MSG_PEEK);
                }
                if (got == 0) {
                    events |= FD_CLOSE;
                    m_closeDelivered = true;
                } else if (got < 0) {
                    int code = WSAGetLastError();
                    if (code != 10035 && code != 10004) {
                        events |= FD_CLOSE;
                        error = code;
                        m_closeDelivered = true;
                    }
                } else if (m_mask & FD_READ) {
                    events |= FD_READ;
                    m_readArmed = false;
                }
                if ((events & FD_CLOSE) && !(m_mask & FD_CLOSE))
                    events &= ~FD_CLOSE;
            }
        }
        if (writable && (m_mask & FD_WRITE) && !m_closeDelivered)
            events |= FD_WRITE;
    }
    update();
    if (events == 0)
        return;
    // The sink may destroy this object.
    Sink sink = m_sink;
    sink(events, error);
}

} // namespace net
