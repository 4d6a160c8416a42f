# Writes OUT, a C++ source defining one byte array per file in FILES, named
# after the file (folder.png -> ovk_resource_folder_png) with its size beside it.
set(code "// Generated from resources/; do not edit.\n#include <cstddef>\n\n")
foreach(f ${FILES})
  get_filename_component(name ${f} NAME)
  string(MAKE_C_IDENTIFIER "ovk_resource_${name}" id)
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" len)
  math(EXPR size "${len} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND code "extern const unsigned char ${id}[] = {${bytes}};\n")
  string(APPEND code "extern const std::size_t ${id}_size = ${size};\n")
endforeach()
file(WRITE ${OUT} "${code}")
