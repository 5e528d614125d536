# Writes INPUT into OUTPUT as a C++ byte array named NAME, with NAME_SIZE for
# its length. Run as: cmake -DINPUT=… -DOUTPUT=… -DNAME=… -P embed_file.cmake
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# Twenty bytes a line keeps the file readable and the compiler quick.
string(REGEX REPLACE "((0x..,){20})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Made at build time from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\n"
  "extern const unsigned char ${NAME}[] = {\n${bytes}\n};\n"
  "extern const std::size_t ${NAME}Size = ${size};\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
