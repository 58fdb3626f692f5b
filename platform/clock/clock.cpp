#include "platform/clock/clock.h"

#include <QDateTime>
#include <QThread>
#include <chrono>
#include <cmath>

namespace platform
{

namespace
{

class SystemClock : public Clock
{
public:
    TDateTime now() const override { return toDateTime(QDateTime::currentDateTime()); }
    std::uint32_t tickCount() const override
    {
        // Milliseconds of a monotonic clock, cut to 32 bits so that it wraps
        // as the platform's counter did.
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }
    void sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
};

std::unique_ptr<Clock> &installed()
{
    static std::unique_ptr<Clock> clock;
    return clock;
}

} // namespace

Clock &clock()
{
    static SystemClock system;
    if (installed())
        return *installed();
    return system;
}

std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> c)
{
    std::unique_ptr<Clock> previous = std::move(installed());
    installed() = std::move(c);
    return previous;
}

TDateTime Now()
{
    return clock().now();
}

TDateTime Date()
{
    // The date part only; for dates before the origin the day is the whole
    // part, as the platform counted them.
    return std::trunc(clock().now());
}

std::uint32_t GetTickCount()
{
    return clock().tickCount();
}

void Sleep(int milliseconds)
{
    clock().sleep(milliseconds);
}

} // namespace platform
