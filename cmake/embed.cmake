# Writes a C++ source that holds a file's bytes:
#   cmake -DIN=file -DOUT=source.cpp -DNAME=symbol -P embed.cmake
# The array NAME holds the bytes and NAME_length their count.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR length "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}: do not edit.\n"
  "extern const unsigned char ${NAME}[] = {\n    ${bytes}0};\n"
  "extern const int ${NAME}_length = ${length};\n")
