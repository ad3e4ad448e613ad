# Checks that the layering of the modules holds in the sources:
#   cmake -DROOT=<source folder> -DQT_CORE_HEADERS=<folder of the QtCore headers>
#         -P tools/check_includes.cmake
# A file may include ("module/header.h", from the repository root) only headers of its own
# module and of the modules its target links; cycles, store, catalogue, chart (outside
# chart/view) and trend may include only Qt Core of Qt. Each offending include is printed with its
# file, and the check fails. The build runs it as a test, so `tools/dev.sh test` fails too.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT OR NOT QT_CORE_HEADERS)
    message(FATAL_ERROR "usage: cmake -DROOT=DIR -DQT_CORE_HEADERS=DIR -P check_includes.cmake")
endif()
if(NOT EXISTS "${QT_CORE_HEADERS}/QString")
    message(FATAL_ERROR "${QT_CORE_HEADERS}: not the folder of the QtCore headers (no QString)")
endif()

# The dependency direction: cycles <- store <- catalogue, cycles <- chart, chart/view on
# chart, trend on chart and catalogue, app and cli on top. Each folder of program code,
# with the modules it may include.
set(core_modules cycles store catalogue chart trend)
set(allowed_cycles cycles)
set(allowed_store store cycles)
set(allowed_catalogue catalogue store cycles)
set(allowed_chart chart cycles)
set(allowed_chart/view chart/view chart cycles assets)
set(allowed_trend trend chart catalogue store cycles)
set(allowed_assets assets)
set(allowed_report report chart/view chart cycles assets)
set(allowed_app app trend report chart/view chart catalogue store cycles assets)
set(allowed_cli cli trend report chart/view chart catalogue store cycles assets)
# tools/ holds several targets; each file as its target links.
set(allowed_tools/cyclegen tools/cyclegen cycles)
set(allowed_tools/kvaro-gen tools/cyclegen cycles)
set(allowed_tools/benchkit tools/benchkit tools/cyclegen cycles)
set(allowed_tools/bench_catalogue tools/benchkit tools/cyclegen catalogue store cycles)
set(allowed_tools/bench_chart tools/benchkit tools/cyclegen chart/view chart cycles assets)
set(allowed_tools/screenshot tools/cyclegen app trend report chart/view chart catalogue store cycles assets)
set(allowed_tools/bench_trend tools/benchkit tools/cyclegen trend chart catalogue store cycles)
set(allowed_tools/bench_report tools/benchkit tools/cyclegen report chart/view chart catalogue store cycles assets)
set(allowed_tools/fuzz catalogue chart store cycles)

# The part of the program a path below ROOT belongs to: a key of the table above.
function(part_of path out)
    if(path MATCHES "^chart/view/")
        set(${out} chart/view PARENT_SCOPE)
    elseif(path MATCHES "^tools/fuzz/")
        set(${out} tools/fuzz PARENT_SCOPE)
    elseif(path MATCHES "^tools/([^/.]+)\\.")
        set(${out} tools/${CMAKE_MATCH_1} PARENT_SCOPE)
    elseif(path MATCHES "^([^/]+)/")
        set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/*.h" "${ROOT}/*.cpp")
list(SORT sources)
set(faults 0)
foreach(source IN LISTS sources)
    if(source MATCHES "^(build|tests)")
        continue()
    endif()
    part_of("${source}" part)
    if(NOT DEFINED allowed_${part})
        continue()
    endif()
    set(allowed ${allowed_${part}})
    list(FIND core_modules "${part}" core)
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()
        set(bracket "${CMAKE_MATCH_1}")
        set(header "${CMAKE_MATCH_2}")
        if(bracket STREQUAL "\"")
            part_of("${header}" module)
            if(module AND NOT module IN_LIST allowed)
                message("${source}: includes ${header}, but ${part} does not link ${module}")
                math(EXPR faults "${faults} + 1")
            endif()
        elseif(NOT core EQUAL -1 AND header MATCHES "^[Qq]")
            # Qt's headers all start with a Q; of them only Qt Core's may be used here.
            string(REGEX REPLACE "^QtCore/" "" name "${header}")
            if(NOT EXISTS "${QT_CORE_HEADERS}/${name}" OR name MATCHES "/")
                message("${source}: includes <${header}>, but ${part} uses Qt Core only")
                math(EXPR faults "${faults} + 1")
            endif()
        endif()
    endforeach()
endforeach()

if(faults GREATER 0)
    message(FATAL_ERROR "${faults} include(s) break the layering of the modules")
endif()
