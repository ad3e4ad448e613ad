# The chart view: drawing, zoom, pan permission and rendering, offscreen.
kvaro_add_test(test_chartview
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_chartview.cpp
    LIBS chartview)
