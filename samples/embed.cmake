# Writes OUTPUT, a C++ source that defines the UTF-8 text of INPUT as
#   extern const char NAME[]; extern const unsigned NAME_size;
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "extern const char ${NAME}[] = {${bytes}0};\n"
  "extern const unsigned ${NAME}_size = ${size};\n")
