# The graph plotter: its mapping and layout maths are pure and build everywhere; the plotter
# itself draws through the forms canvas and builds for Windows only.
add_library(graph_maths STATIC graph_maths.cpp)
target_link_libraries(graph_maths PUBLIC forms_core)

if(KELMORA_WINDOWS)
  add_library(okgraph3 STATIC okgraph3.cpp okgraph3_used.cpp)
  target_link_libraries(okgraph3 PUBLIC graph_maths forms)
endif()
