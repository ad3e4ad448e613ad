# The layering check run over a small tree of sources: it must fail and name exactly the
# includes that break the layering, and nothing else. The module graph is the one the
# configuration read from the real targets, so this also finds a graph that came out wrong
# (cycles allowed to reach the store, the chart core let into Qt Gui, a module left out).
#   cmake -DCHECK=tools/check_includes.cmake -DFIXTURE=tests/fixtures/layering
#         -DMODULES=<build folder>/modules.cmake -DQT_CORE_HEADERS=DIR
#         -P test_check_includes.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(
    COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -DMODULES=${MODULES}
            -DQT_CORE_HEADERS=${QT_CORE_HEADERS} -P ${CHECK}
    RESULT_VARIABLE result
    ERROR_VARIABLE output)
if(result EQUAL 0)
    message(FATAL_ERROR "the check passed a tree that breaks the layering:\n${output}")
endif()

set(expected
    "chart/series.cpp: includes chart/view/chartview.h, but chart does not link chart/view"
    "chart/series.cpp: includes <QColor>, but chart uses Qt Core only"
    "chart/series.cpp: includes <QtWidgets/QWidget>, but chart uses Qt Core only"
    "chart/series.cpp: includes <qcustomplot.h>, but chart uses Qt Core only"
    "cycles/record.h: includes store/storepaths.h, but cycles does not link store"
    "5 include(s) break the layering of the modules")
foreach(line IN LISTS expected)
    string(FIND "${output}" "${line}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the check did not report\n  ${line}\nit said:\n${output}")
    endif()
endforeach()
foreach(allowed "chart/view/pen.cpp" "store/import.cpp" "app/window.cpp" "QtCore/QList"
                "<QString>")
    string(FIND "${output}" "${allowed}" at)
    if(NOT at EQUAL -1)
        message(FATAL_ERROR "the check refused ${allowed}, which the layering allows:\n${output}")
    endif()
endforeach()
