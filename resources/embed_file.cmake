# Writes one file's bytes as a C++ array: cmake -DINPUT= -DOUTPUT= -DSYMBOL= -P
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Keeps the generated lines short enough for any compiler.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from ${INPUT}.
#include <cstddef>

extern const unsigned char ${SYMBOL}[] = {
${bytes}0x00};
extern const std::size_t ${SYMBOL}Size = ${size};
")
