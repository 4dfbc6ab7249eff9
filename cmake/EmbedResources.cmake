# Script mode: writes a C++ file that holds the given resource files as byte arrays and registers
# them under a module name when the library loads.
#   cmake -DOUTPUT=<file.cpp> -DMODULE=<name> -DROOT=<folder> -DFILES=<a;b;c> -P EmbedResources.cmake
set(body "")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  file(READ "${ROOT}/${file}" hex HEX)
  string(LENGTH "${hex}" hexLength)
  if(hexLength EQUAL 0)
    set(bytes "0")
    set(size 0)
  else()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    math(EXPR size "${hexLength} / 2")
  endif()
  string(APPEND body "const unsigned char r${index}[] = {${bytes}};\n")
  string(APPEND table "    {\"${file}\", r${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  string(APPEND table "    {\"\", nullptr, 0},\n")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from the files under ${ROOT}; do not edit.
#include \"platform/win/EmbeddedResources.h\"

namespace {
${body}
const kxwin::EmbeddedResource resources[] = {
${table}};

struct Registrar {
    Registrar() { kxwin::registerEmbeddedResources(\"${MODULE}\", resources, ${index}); }
} registrar;
} // namespace
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
