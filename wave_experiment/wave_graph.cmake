# The wave experiment's graph settings, shared with the plotter's tests and benchmark.
if(KELMORA_WINDOWS)
  add_library(wave_graph STATIC ${CMAKE_CURRENT_LIST_DIR}/wave_graph.cpp)
  target_include_directories(wave_graph PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(wave_graph PUBLIC okgraph3)
endif()
