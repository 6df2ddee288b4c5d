# The floppy report (pure), the questions form, the results dialog and the save.
add_library(results_report STATIC ${CMAKE_CURRENT_LIST_DIR}/results_report.cpp)
target_link_libraries(results_report PUBLIC experiment_data dtools)

if(KELMORA_WINDOWS)
  # The two forms and the save, common to both programs and without the main window (they
  # meet it in results_seams.cpp; Kelmora2's FillGrid and report are in wave_results.cpp).
  add_library(results_forms STATIC
              ${CMAKE_CURRENT_LIST_DIR}/peirama.cpp
              ${CMAKE_CURRENT_LIST_DIR}/results.cpp
              ${CMAKE_CURRENT_LIST_DIR}/report_file.cpp)
  target_link_libraries(results_forms PUBLIC results_report experiment_data greek_confirm dtools forms)
endif()
