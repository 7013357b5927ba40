# vextor_embed_bytes(target INPUT file HEADER header NAME ns::name): compiles the bytes of a binary
# file into target as the array NAME that HEADER declares, made again whenever the file changes. The
# committed file stays the one source of the bytes.
set(VEXTOR_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedBytes.cmake)
function(vextor_embed_bytes target)
  cmake_parse_arguments(E "" "INPUT;HEADER;NAME" "" ${ARGN})
  get_filename_component(base ${E_INPUT} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${base}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${E_INPUT} -DOUTPUT=${out} -DHEADER=${E_HEADER} -DNAME=${E_NAME}
            -P ${VEXTOR_EMBED_SCRIPT}
    DEPENDS ${E_INPUT} ${VEXTOR_EMBED_SCRIPT}
    COMMENT "Embedding ${base}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
