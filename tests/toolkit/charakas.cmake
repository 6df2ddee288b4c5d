kelmora_test(charakas_drag_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/charakas_drag_test.cpp
             LIBS charakas_drag test_support)
if(KELMORA_WINDOWS)
  # The real-mouse case moves the one pointer of the display, which its desktop has alone.
  kelmora_test(charakas_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/charakas_test.cpp
               LIBS charakas test_support_win32 DESKTOP)
endif()
