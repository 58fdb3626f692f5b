#include "net/sys/wsockbuf.h"

#include <algorithm>
#include <cstring>

namespace net
{

TBuffer::TBuffer(int size)
{
    SetBufSize(size);
}

TBuffer::~TBuffer()
{
    delete[] Buf;
}

int TBuffer::Write(const void *data, int len)
{
    int room = BufSize - WrCount;
    if (room < 1 || len < 1)
        return 0;
    int count = std::min(room, len);
    std::memcpy(Buf + WrCount, data, static_cast<size_t>(count));
    WrCount += count;
    return count;
}

const char *TBuffer::Peek(int &len) const
{
    if (WrCount - RdCount > 0) {
        len = WrCount - RdCount;
        return Buf + RdCount;
    }
    len = 0;
    return nullptr;
}

int TBuffer::Remove(int len)
{
    int left = WrCount - RdCount;
    if (left < 1 || len < 1)
        return 0;
    int removed = std::min(len, left);
    RdCount += removed;
    if (RdCount >= WrCount) {
        RdCount = 0;
        WrCount = 0;
    }
    return removed;
}

bool TBuffer::SetBufSize(int size)
{
    if (size < 1)
        size = 1514;
    if (size == BufSize)
        return true;
    if (size < WrCount)
        return false;
    char *storage = new char[static_cast<size_t>(size)];
    if (WrCount != RdCount && Buf != nullptr)
        std::memcpy(storage, Buf, static_cast<size_t>(WrCount));
    delete[] Buf;
    Buf = storage;
    BufSize = size;
    return true;
}

} // namespace net
