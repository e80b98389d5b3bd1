# SPDX-License-Identifier: MIT
# cmake -DNAME=... -DINPUT=... -DOUTPUT=... -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}\n#include \"platform/headless/headless.h\"\n"
    "namespace {\nconst char text[] = {${bytes} 0};\n"
    "const bool registered = vx::headless::RegisterEmbeddedResource(\"${NAME}\", text);\n}\n")
