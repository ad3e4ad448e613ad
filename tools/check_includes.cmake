# Checks that the layering of the modules holds in the sources:
#   cmake -DROOT=<source folder> -DMODULES=<build folder>/modules.cmake
#         -DQT_CORE_HEADERS=<folder of the QtCore headers> -P tools/check_includes.cmake
# A file may include ("module/header.h", from the repository root) only headers of its own
# module and of the modules its target links; a module whose targets link nothing of Qt but
# Qt Core (cycles, store, chart outside chart/view and the like) may include only Qt Core of
# Qt. Which module links which is not written here: the configuration reads it from the
# targets' target_link_libraries into MODULES (tools/modulegraph.cmake). Each offending
# include is printed with its file, and the check fails. The build runs it as a test, so
# `tools/dev.sh test` fails too.

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT OR NOT MODULES OR NOT QT_CORE_HEADERS)
    message(FATAL_ERROR
            "usage: cmake -DROOT=DIR -DMODULES=FILE -DQT_CORE_HEADERS=DIR -P check_includes.cmake")
endif()
if(NOT EXISTS "${QT_CORE_HEADERS}/QString")
    message(FATAL_ERROR "${QT_CORE_HEADERS}: not the folder of the QtCore headers (no QString)")
endif()

# allowed_<part>: the parts a part may include; core_parts: those held to Qt Core.
include("${MODULES}")
if(NOT DEFINED core_parts)
    message(FATAL_ERROR "${MODULES}: no module graph in it")
endif()
# kvaro_part_of(): the part of the program a path below ROOT belongs to.
include("${CMAKE_CURRENT_LIST_DIR}/modulegraph.cmake")

file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/*.h" "${ROOT}/*.cpp")
list(SORT sources)
set(faults 0)
foreach(source IN LISTS sources)
    if(source MATCHES "^(build|tests)")
        continue()
    endif()
    kvaro_part_of("${source}" part)
    if(NOT DEFINED allowed_${part})
        continue()
    endif()
    set(allowed ${allowed_${part}})
    list(FIND core_parts "${part}" core)
    file(STRINGS "${ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        if(NOT line MATCHES "include[ \t]*([<\"])([^>\"]+)[>\"]")
            continue()
        endif()
        set(bracket "${CMAKE_MATCH_1}")
        set(header "${CMAKE_MATCH_2}")
        if(bracket STREQUAL "\"")
            kvaro_part_of("${header}" module)
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
