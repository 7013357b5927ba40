# cmake -DSOURCE_DIR=<src> -P CheckSimIncludes.cmake
# The virtual controller's library (src/sim without the program's main.cpp) includes nothing of the
# program above the link: sharing the configurator's reading of the memory layout would let a
# layout fault pass every test against the simulator. Fails naming each file and the include.
get_filename_component(SOURCE_DIR ${SOURCE_DIR} ABSOLUTE)
file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/sim/*.h ${SOURCE_DIR}/sim/*.cpp)
list(REMOVE_ITEM files sim/main.cpp)
if(NOT files)
  message(FATAL_ERROR "no simulator sources in ${SOURCE_DIR}/sim")
endif()
set(offenders)
foreach(file ${files})
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    if(line MATCHES "\"([a-z]+)/" AND NOT CMAKE_MATCH_1 STREQUAL "link" AND NOT CMAKE_MATCH_1 STREQUAL "sim")
      list(APPEND offenders "${file}: ${line}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "The simulator library includes more than the link:\n  ${text}")
endif()
