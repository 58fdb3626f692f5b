#pragma once
// The exception a call is expected to throw, and its message.
#include <QString>
#include <gtest/gtest.h>

namespace vorn_test
{

// The message of the E the call throws (and its ErrorCode() into code, when
// given); a failure, and an empty text, when it throws nothing.
template <class E, class Call> QString thrownMessage(Call &&call, int *code = nullptr)
{
    try {
        call();
    } catch (const E &e) {
        if constexpr (requires { e.ErrorCode(); })
            if (code)
                *code = e.ErrorCode();
        return e.Message();
    }
    ADD_FAILURE() << "no exception";
    return QString();
}

} // namespace vorn_test
