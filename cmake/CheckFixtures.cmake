# cmake -DPYTHON=... -DSCRIPT=<fixture script> -DFIXTURES=<committed folder> -DOUT=<scratch folder>
#   -P CheckFixtures.cmake
# Runs the fixture script into a scratch folder and fails naming every generated file that differs
# from the committed one (or is not committed at all), so the fixtures cannot drift from the script
# that documents how they were made.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed (${rc})")
endif()
file(GLOB generated RELATIVE ${OUT} ${OUT}/*)
if(NOT generated)
  message(FATAL_ERROR "${SCRIPT} wrote nothing into ${OUT}")
endif()
set(differing)
foreach(name ${generated})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${name} ${FIXTURES}/${name}
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differing ${name})
  endif()
endforeach()
if(differing)
  message(FATAL_ERROR "Regenerated fixtures differ from the committed ones in ${FIXTURES}: ${differing}")
endif()
message(STATUS "${generated}: as committed")
