# Tests of the graph plotter and of the drawing half of the forms layer it stands on.
if(KELMORA_WINDOWS)
  kelmora_test(forms_graphics_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/forms_graphics_test.cpp
               LIBS forms test_support_win32)
endif()
