# Writes the bytes of INPUT as a C array initializer ("0x2f,0x2f,...") to
# OUTPUT, so that a file can be compiled into the program.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "${bytes}\n")
