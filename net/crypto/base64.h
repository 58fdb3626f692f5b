#pragma once
// Base64 with the standard alphabet, as HTTP credentials and NTLM tokens
// carry it.
#include <QByteArray>
#include <QByteArrayView>

namespace net
{

// "=" padding, no line breaks.
QByteArray Base64Encode(QByteArrayView bytes);

// Tolerant, as peers are: CR and LF are skipped; any other character
// outside the alphabet counts as 0; a short last group gives what it holds
// (2 characters one byte, 3 two, 1 none); "=" in the third or fourth place
// of a group ends that group's bytes.
QByteArray Base64Decode(QByteArrayView text);

} // namespace net
