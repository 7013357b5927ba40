# vextor_gcc_false_positives(sources...): GCC 12 and 13 report bounds and initialisation faults at
# -O2 inside std::vector::insert (appending to a vector built from a short initializer list) and
# inside a copied std::optional<QString> that the code cannot reach. In the files named here those
# reports stay warnings; everywhere else they are errors like every other warning. Call it in the
# directory that adds the sources.
function(vextor_gcc_false_positives)
  if(VEXTOR_WERROR AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 14)
    set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS
      "-Wno-error=array-bounds;-Wno-error=stringop-overflow;-Wno-error=maybe-uninitialized")
  endif()
endfunction()
