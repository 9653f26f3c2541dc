# Turns one file into a C++ source holding its bytes.
# Called as: cmake -DIN=file -DOUT=file.cpp -DSYMBOL=name -P embed_file.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" body "${body}")
file(WRITE "${OUT}.tmp"
  "// Generated from ${IN}; do not edit.\n#include <cstddef>\n#include <cstdint>\n"
  "extern const std::uint8_t ${SYMBOL}_data[];\nextern const std::size_t ${SYMBOL}_size;\n"
  "alignas(8) const std::uint8_t ${SYMBOL}_data[] = {\n${body}0x00};\n"
  "const std::size_t ${SYMBOL}_size = ${size};\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
