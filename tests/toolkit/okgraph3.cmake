# Tests of the graph plotter and of the drawing half of the forms layer it stands on.
if(KELMORA_WINDOWS)
  kelmora_test(forms_graphics_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms_graphics_test.cpp
               LIBS forms test_support_win32 DESKTOP)
endif()
if(KELMORA_WINDOWS)
  kelmora_test(okgraph3_picture_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/okgraph3_picture_test.cpp
               LIBS okgraph3 wave_graph test_support_win32)
  target_compile_definitions(okgraph3_picture_test PRIVATE
                             GRAPH_PICTURE_DIR="${CMAKE_CURRENT_BINARY_DIR}")
endif()
# The pure maths run natively under the sanitizers and under Wine alike.
kelmora_test(graph_maths_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/graph_maths_test.cpp
             LIBS graph_maths test_support)
if(KELMORA_WINDOWS)
  kelmora_test(okgraph3_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/okgraph3_test.cpp
               LIBS okgraph3 wave_graph test_support_win32)
endif()
