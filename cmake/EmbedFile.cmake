# Writes OUT, a C++ source holding the bytes of IN as the array NAME (followed
# by a 0 that is not counted) and its size as NAME + "Size", in namespace NS.
# Run with cmake -DIN=... -DOUT=... -DNAME=... -DNS=... -P EmbedFile.cmake.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the array into lines of 32 bytes so that diagnostics stay readable.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp"
"// Generated from ${IN} at build time; edit that file instead.\n"
"#include <cstddef>\n"
"namespace ${NS} {\n"
"extern const unsigned char ${NAME}[] = {\n${bytes}0x00};\n"
"extern const std::size_t ${NAME}Size = ${size};\n"
"} // namespace ${NS}\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
