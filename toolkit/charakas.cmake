# The ruler: its drag arithmetic is pure; the unit that moves the panels is Windows only.
add_library(charakas_drag STATIC ${CMAKE_CURRENT_LIST_DIR}/charakas_drag.cpp)
target_link_libraries(charakas_drag PUBLIC dtools)
if(KELMORA_WINDOWS)
  add_library(charakas STATIC ${CMAKE_CURRENT_LIST_DIR}/charakas.cpp)
  target_link_libraries(charakas PUBLIC charakas_drag forms)
endif()
