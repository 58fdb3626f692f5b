#pragma once
// Listening sockets for the test servers: always on a loopback address, on a
// port the system picks.
#include <QString>

namespace vorn_test
{

// Opens a listening TCP socket on address (dotted form, 127.0.0.1 by
// default) with a free port. Returns the descriptor (-1 on failure) and sets
// port.
int listenOnLoopback(int backlog, int &port, const QString &address = QStringLiteral("127.0.0.1"));

} // namespace vorn_test
