# cmake -DINPUT=<binary file> -DOUTPUT=<.cpp> -DHEADER=<header as included> -DNAME=<ns::name> -P EmbedBytes.cmake
# Writes a source that defines NAME as a std::array of the bytes of INPUT. HEADER declares it
# (extern const std::array<std::uint8_t, N> NAME;) and the source includes it, so a file of another
# size than the declaration names stops the build instead of leaving bytes out or padding them.
if(NOT NAME MATCHES "^(.+)::([A-Za-z_][A-Za-z0-9_]*)$")
  message(FATAL_ERROR "NAME must be qualified by a namespace: ${NAME}")
endif()
set(namespace ${CMAKE_MATCH_1})
set(symbol ${CMAKE_MATCH_2})
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
# Sixteen bytes a line, "0x1f, " each, no blank at a line's end.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# CMake's expressions have no counted repetition: the line's pattern is spelled out.
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
string(REPLACE "," ", " bytes "${bytes}")
string(REPLACE ", \n" ",\n" bytes "${bytes}")
string(STRIP "${bytes}" bytes)
get_filename_component(source ${INPUT} NAME)
file(WRITE ${OUTPUT}.tmp
     "// Made at build time from ${source}: change that file, not this one.\n"
     "#include \"${HEADER}\"\n\n"
     "namespace ${namespace} {\n\n"
     "const std::array<std::uint8_t, ${size}> ${symbol}{{\n    ${bytes}\n}};\n\n"
     "} // namespace ${namespace}\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
