#pragma once
// The clock seam: what the program reads of the time. Tests install a fake.
#include "platform/text/convert.h"
#include <cstdint>
#include <memory>

namespace platform
{

class Clock
{
public:
    virtual ~Clock() = default;
    virtual TDateTime now() const = 0;
    // Milliseconds since some start, wrapping like the platform's tick count.
    virtual std::uint32_t tickCount() const = 0;
    virtual void sleep(int milliseconds) = 0;
};

// The clock in use (the system's unless a test installed another).
Clock &clock();
// Installs a clock; nullptr restores the system's. Returns the previous one
// (nullptr when the system's was in use).
std::unique_ptr<Clock> setClock(std::unique_ptr<Clock> clock);

TDateTime Now();
TDateTime Date();
std::uint32_t GetTickCount();
void Sleep(int milliseconds);

} // namespace platform
