#pragma once
// DES (FIPS 46-3) on one 64-bit block, both ways, for the NTLM responses.
// The parity bit of each key byte is ignored, as the standard does.
#include <array>
#include <cstdint>

namespace net
{

using TDesBlock = std::array<std::uint8_t, 8>;

TDesBlock DesEncrypt(const TDesBlock &key, const TDesBlock &block);
TDesBlock DesDecrypt(const TDesBlock &key, const TDesBlock &block);

} // namespace net
