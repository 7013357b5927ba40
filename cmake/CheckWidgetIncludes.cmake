# cmake -DSOURCE_DIR=<src> "-DWIDGET_HEADER_DIRS=<QtWidgets;QtCharts include folders>"
#   -P CheckWidgetIncludes.cmake
# Only the ui/ folders and the application's own main (src/app) may include a widget or chart
# header; everything else is the core that the command-line tool and the tests drive without a
# display. Fails naming each file and the header it includes.
set(widget_headers QtWidgets QtCharts)
foreach(dir ${WIDGET_HEADER_DIRS})
  file(GLOB names RELATIVE ${dir} ${dir}/Q*)
  list(APPEND widget_headers ${names})
endforeach()
# Without the widget packages installed, the usual suspects still count.
list(APPEND widget_headers QWidget QDialog QMessageBox QInputDialog QFileDialog QMainWindow QApplication
     QChart QChartView QLineSeries QValueAxis)
list(REMOVE_DUPLICATES widget_headers)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.hpp ${SOURCE_DIR}/*.cpp)
set(offenders)
foreach(file ${files})
  if(file MATCHES "(^|/)ui/" OR file MATCHES "^app/")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    if(line MATCHES "[<\"](Qt(Widgets|Charts))/" OR line MATCHES "[<\"]Qt(Widgets|Charts)[>\"]")
      list(APPEND offenders "${file}: ${line}")
    elseif(line MATCHES "[<\"](Q[A-Za-z0-9]+)[>\"]")
      list(FIND widget_headers ${CMAKE_MATCH_1} found)
      if(found GREATER -1)
        list(APPEND offenders "${file}: ${line}")
      endif()
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "Widget or chart headers outside a ui/ folder:\n  ${text}")
endif()
