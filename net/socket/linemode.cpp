// The line-mode and synchronous-wait layers of the socket chain.
#include "net/socket/wsocket.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace net
{

namespace
{

constexpr char kBackspace = 8;
constexpr char kTab = 9;

} // namespace

// ---------------------------------------------------------------------------
// The line buffer: the buffered bytes start at m_rcvdStart, so taking a line
// only moves that offset; the rest is moved to the front only when new bytes
// need the room.

void TCustomLineWSocket::reserveTail(int bytes)
{
    size_t need = static_cast<size_t>(m_rcvdStart) + m_rcvdCnt + bytes + 1;
    if (need <= m_rcvdBuf.size())
        return;
    if (m_rcvdStart > 0) {
        std::memmove(m_rcvdBuf.data(), m_rcvdBuf.data() + m_rcvdStart,
                     static_cast<size_t>(m_rcvdCnt));
        m_rcvdStart = 0;
        need = static_cast<size_t>(m_rcvdCnt) + bytes + 1;
        if (need <= m_rcvdBuf.size())
            return;
    }
    m_rcvdBuf.resize(std::max({need, m_rcvdBuf.size() * 2, size_t(256)}));
}

void TCustomLineWSocket::takeFront(int count)
{
    count = std::clamp(count, 0, m_rcvdCnt);
    m_rcvdStart += count;
    m_rcvdCnt -= count;
    m_lineTaken += count;
    m_scanFrom = std::max(0, m_scanFrom - count);
    if (m_rcvdCnt == 0)
        m_rcvdStart = 0;
}

void TCustomLineWSocket::freeBuffer()
{
    std::vector<char>().swap(m_rcvdBuf);
    m_rcvdStart = 0;
    m_rcvdCnt = 0;
    m_lineLength = 0;
    m_scanFrom = 0;
    m_skipCutLine = false;
}

int TCustomLineWSocket::endStartAtTail()
{
    const char *base = bufferStart();
    for (int k = std::min(static_cast<int>(m_lineEnd.size()) - 1, m_rcvdCnt); k > 0; --k)
        if (std::memcmp(base + m_rcvdCnt - k, m_lineEnd.constData(), static_cast<size_t>(k)) == 0)
            return k;
    return 0;
}

bool TCustomLineWSocket::skipCutLine()
{
    const int endLen = static_cast<int>(m_lineEnd.size());
    const int pos = endLen > 0 ? findLineEnd() : -1;
    if (pos < 0) {
        // An end split across reads is found once its last bytes arrive.
        takeFront(m_rcvdCnt - endStartAtTail());
        return false;
    }
    takeFront(pos + endLen);
    m_skipCutLine = false;
    return true;
}

int TCustomLineWSocket::findLineEnd()
{
    const int endLen = static_cast<int>(m_lineEnd.size());
    const char *base = bufferStart();
    const char first = m_lineEnd.at(0);
    const int last = m_rcvdCnt - endLen; // last position where an end fits
    for (int i = m_scanFrom; i <= last;) {
        const void *hit = std::memchr(base + i, first, static_cast<size_t>(last - i + 1));
        if (hit == nullptr)
            break;
        i = static_cast<int>(static_cast<const char *>(hit) - base);
        if (std::memcmp(base + i, m_lineEnd.constData(), static_cast<size_t>(endLen)) == 0) {
            m_scanFrom = i;
            return i;
        }
        ++i;
    }
    // No end starts before this point; one split across reads is found
    // once its last bytes arrive.
    m_scanFrom = std::max(0, last + 1);
    return -1;
}

// ---------------------------------------------------------------------------
// Properties and sending

void TCustomLineWSocket::SetLineMode(bool value)
{
    if (value == m_lineMode)
        return;
    m_lineMode = value;
    // A line left half-taken becomes raw data, in its order.
    if (!value)
        m_lineLength = 0;
    // Raw data has no lines to skip; what was kept of a cleared line stays
    // cleared.
    if (!value && m_skipCutLine) {
        takeFront(m_rcvdCnt);
        m_skipCutLine = false;
    }
    if (m_rcvdCnt > 0 && m_loop != nullptr && m_window != 0)
        m_loop->post(m_window, WM_TRIGGER_DATA_AVAILABLE, m_generation, 0);
}

void TCustomLineWSocket::SetLineEnd(const QByteArray &value)
{
    m_lineEnd = value;
    m_scanFrom = 0;
}

int TCustomLineWSocket::SendLine(const QByteArray &text)
{
    if (text.isEmpty())
        return 0;
    PutDataInSendBuffer(text.constData(), static_cast<int>(text.size()));
    SendStr(m_lineEnd);
    return static_cast<int>(text.size() + m_lineEnd.size());
}

// ---------------------------------------------------------------------------
// Receiving: the line (or, line mode off, the buffered bytes) comes first

int TCustomLineWSocket::GetRcvdCount()
{
    if (m_lineMode)
        return m_lineLength;
    if (m_rcvdCnt > 0)
        return m_rcvdCnt;
    return TCustomSocksWSocket::GetRcvdCount();
}

int TCustomLineWSocket::DoRecv(void *buffer, int size, int flags)
{
    int available;
    if (m_lineMode && m_lineLength > 0)
        available = m_lineLength;
    else if (!m_lineMode && m_rcvdCnt > 0)
        available = m_rcvdCnt;
    else
        return TCustomSocksWSocket::DoRecv(buffer, size, flags);
    if (size <= 0)
        return 0;
    int count = std::min(size, available);
    std::memcpy(buffer, bufferStart(), static_cast<size_t>(count));
    if (!(flags & MSG_PEEK)) {
        takeFront(count);
        if (m_lineMode)
            m_lineLength -= count;
    }
    m_rcvdFlag = count >= size;
    servedFromBuffer();
    return count;
}

long long TCustomLineWSocket::offerOnce()
{
    long long before = m_lineTaken;
    if (!TCustomSocksWSocket::TriggerDataAvailable(0))
        return -1;
    return m_lineTaken - before;
}

bool TCustomLineWSocket::deliver()
{
    for (;;) {
        if (!m_lineMode) {
            // The handler switched line mode off: the rest goes raw.
            if (m_rcvdCnt == 0)
                return true;
            long long took = offerOnce();
            if (took < 0) {
                // Nobody reads: dropped, as the socket drops unread data.
                takeFront(m_rcvdCnt);
                return true;
            }
            if (took == 0)
                return false;
            continue;
        }
        if (m_lineEnd.isEmpty())
            return true;
        if (m_lineLength <= 0) {
            int pos = findLineEnd();
            if (pos < 0)
                return true;
            m_lineLength = pos + static_cast<int>(m_lineEnd.size());
            m_lineReceivedFlag = true;
            m_lineFound = true;
        }
        long long took = offerOnce();
        if (took < 0) {
            int count = std::min(m_lineLength, m_rcvdCnt);
            m_lineLength = 0;
            takeFront(count);
            continue;
        }
        // A handler that takes nothing keeps its line first; it is offered
        // again at the next arrival.
        if (took == 0)
            return false;
    }
}

bool TCustomLineWSocket::TriggerDataAvailable(int error)
{
    if (!m_lineMode || m_lineEnd.isEmpty() || socksState() != socksData)
        return TCustomSocksWSocket::TriggerDataAvailable(error);
    int n = m_hSocket == INVALID_SOCKET ? 0 : TCustomSocksWSocket::GetRcvdCount();
    if (n < 0)
        return true;
    if (n == 0)
        n = 255;
    reserveTail(n);
    int got = m_hSocket == INVALID_SOCKET
                  ? -1
                  : TCustomSocksWSocket::DoRecv(bufferStart() + m_rcvdCnt, n, 0);
    if (got < 1) {
        if (m_rcvdCnt == 0)
            return true;
        got = 0;
    }
    if (got > 0) {
        if (m_lineEdit)
            EditLine(got);
        else if (m_lineEcho)
            Send(bufferStart() + m_rcvdCnt, got);
    }
    m_rcvdCnt += got;
    if (m_skipCutLine && !skipCutLine())
        return true;
    if (!deliver())
        return true;
    if (m_lineLimit > 0 && m_rcvdCnt > m_lineLimit) {
        bool clearData = true;
        TriggerLineLimitExceeded(m_rcvdCnt, clearData);
        if (clearData) {
            m_lineLength = 0;
            m_scanFrom = 0;
            // The rest of the cleared line is no line of its own: it is
            // skipped up to its end, so that the next line offered is whole.
            m_skipCutLine = m_lineMode && !m_lineEnd.isEmpty();
            takeFront(m_rcvdCnt - (m_skipCutLine ? endStartAtTail() : 0));
        }
    }
    return true;
}

void TCustomLineWSocket::TriggerLineLimitExceeded(int count, bool &clearData)
{
    if (OnLineLimitExceeded)
        OnLineLimitExceeded(this, count, clearData);
}

void TCustomLineWSocket::TriggerSessionClosed(int error)
{
    m_lineReceivedFlag = true;
    if (m_lineMode && m_rcvdCnt > 0 && !m_closingLines) {
        m_closingLines = true;
        // Complete lines first, then the unfinished rest as a last line; the
        // rest of a cleared line is no line.
        if ((!m_skipCutLine || skipCutLine()) && deliver() && m_lineMode && m_rcvdCnt > 0) {
            m_lineLength = m_rcvdCnt;
            while (m_lineMode && m_lineLength > 0)
                if (offerOnce() <= 0)
                    break;
            // A handler that switched line mode off reads the rest raw.
            deliver();
        }
        m_closingLines = false;
    }
    if (!m_closingLines)
        freeBuffer();
    TCustomSocksWSocket::TriggerSessionClosed(error);
}

void TCustomLineWSocket::EditLine(int &len)
{
    char *fresh = bufferStart() + m_rcvdCnt;
    int first = 0;
    while (first < len && fresh[first] != kBackspace && fresh[first] != kTab)
        ++first;
    if (first == len) {
        if (m_lineEcho)
            Send(fresh, len);
        return;
    }
    const int endLen = static_cast<int>(m_lineEnd.size());
    // The unfinished line starts after the last line end of the buffered
    // bytes (and never inside a line being delivered): backspaces stop there
    // and tab stops count from there.
    int lineStart = m_lineLength;
    if (endLen > 0) {
        const char *base = bufferStart();
        for (int i = m_rcvdCnt - endLen; i >= lineStart; --i)
            if (std::memcmp(base + i, m_lineEnd.constData(), static_cast<size_t>(endLen)) == 0) {
                lineStart = i + endLen;
                break;
            }
    }
    int oldKept = m_rcvdCnt;
    QByteArray out;
    QByteArray echo;
    // Where a line ended inside the edited bytes (-1: the line goes on from
    // the buffered bytes).
    int outLineStart = -1;
    // Byte k from the end of the unfinished line (buffered bytes, then the
    // edited ones), or -1 past its start.
    auto fromEnd = [&](int k) -> int {
        const int inOut = static_cast<int>(out.size()) - std::max(outLineStart, 0);
        if (k < inOut)
            return static_cast<unsigned char>(out.at(out.size() - 1 - k));
        if (outLineStart >= 0)
            return -1;
        int at = oldKept - 1 - (k - static_cast<int>(out.size()));
        return at >= lineStart ? static_cast<unsigned char>(bufferStart()[at]) : -1;
    };
    auto lineEnded = [&] {
        if (endLen == 0)
            return false;
        for (int k = 0; k < endLen; ++k)
            if (fromEnd(k) != static_cast<unsigned char>(m_lineEnd.at(endLen - 1 - k)))
                return false;
        return true;
    };
    for (int i = 0; i < len; ++i) {
        const char c = fresh[i];
        if (c == kBackspace) {
            bool removed = false;
            if (out.size() > std::max(outLineStart, 0)) {
                out.chop(1);
                removed = true;
            } else if (outLineStart < 0 && oldKept > lineStart) {
                --oldKept;
                removed = true;
            }
            if (removed && m_lineEcho)
                echo.append("\b \b", 3);
        } else if (c == kTab) {
            int column = outLineStart >= 0 ? static_cast<int>(out.size()) - outLineStart
                                           : oldKept - lineStart + static_cast<int>(out.size());
            int blanks = 8 - column % 8;
            out.append(blanks, ' ');
            if (m_lineEcho)
                echo.append(blanks, ' ');
        } else {
            out.append(c);
            if (m_lineEcho)
                echo.append(c);
            if (lineEnded())
                outLineStart = static_cast<int>(out.size());
        }
    }
    m_rcvdCnt = oldKept;
    m_scanFrom = std::min(m_scanFrom, std::max(0, oldKept - endLen + 1));
    reserveTail(static_cast<int>(out.size()));
    std::memcpy(bufferStart() + m_rcvdCnt, out.constData(), static_cast<size_t>(out.size()));
    len = static_cast<int>(out.size());
    if (!echo.isEmpty())
        Send(echo.constData(), static_cast<int>(echo.size()));
}

// ---------------------------------------------------------------------------
// Message +20: buffered bytes are offered again (line mode switched)

void TCustomLineWSocket::WndProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (msg != WM_TRIGGER_DATA_AVAILABLE) {
        TCustomSocksWSocket::WndProc(msg, wParam, lParam);
        return;
    }
    try {
        // Asked for an older connection: nothing of it is left.
        if (static_cast<std::uint32_t>(wParam) == m_generation)
            triggerHeldData();
    } catch (const std::exception &e) {
        HandleBackGroundException(e);
    }
}

void TCustomLineWSocket::triggerHeldData()
{
    while (m_rcvdCnt > 0) {
        long long before = m_lineTaken;
        m_lineFound = false;
        TriggerDataAvailable(0);
        if (m_lineTaken == before)
            break;
    }
}

// ---------------------------------------------------------------------------
// Synchronous waits

int TCustomSyncWSocket::WaitUntilReady(bool &done)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    while (!done) {
        int slice = 50;
        if (m_waitTimeout > 0) {
            long long elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            if (elapsed >= m_waitTimeout)
                return 12001;
            slice = static_cast<int>(std::min<long long>(slice, m_waitTimeout - elapsed));
        }
        EventLoop *loop = m_loop != nullptr ? m_loop : EventLoop::current();
        if (loop != nullptr && loop->quitRequested())
            m_terminated = true;
        // Without a loop nothing could ever set the flag.
        if (loop == nullptr || m_terminated)
            return 12001;
        loop->waitAndProcess(slice);
    }
    return 0;
}

int TCustomSyncWSocket::Synchronize(const std::function<void()> &proc, bool &done)
{
    done = false;
    if (proc)
        proc();
    return WaitUntilReady(done);
}

TWSocket::TWSocket() = default;
TWSocket::~TWSocket() = default;

} // namespace net
