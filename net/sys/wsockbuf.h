#pragma once
// TBuffer: one fixed-size block of a socket's send queue.

namespace net
{

class TBuffer
{
public:
    explicit TBuffer(int size);
    virtual ~TBuffer();
    TBuffer(const TBuffer &) = delete;
    TBuffer &operator=(const TBuffer &) = delete;

    // Bytes taken (at most the room left).
    int Write(const void *data, int len);
    // The unread bytes and their count; nullptr and 0 when empty.
    const char *Peek(int &len) const;
    // Bytes removed; the block resets to empty once everything is read.
    int Remove(int len);
    // A size below 1 means 1514. A size below WrCount would drop queued
    // bytes: it is refused and false returned.
    bool SetBufSize(int size);

    char *Buf = nullptr;
    int BufSize = 0;
    int WrCount = 0;
    int RdCount = 0;
};

} // namespace net
