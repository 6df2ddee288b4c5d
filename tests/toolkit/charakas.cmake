kelmora_test(charakas_drag_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/charakas_drag_test.cpp
             LIBS charakas_drag test_support)
