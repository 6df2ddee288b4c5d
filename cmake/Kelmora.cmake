# kelmora_test(NAME SOURCES... LIBS ... [SERIAL] [DESKTOP]) : a GoogleTest executable registered
# with ctest. SERIAL marks tests that share a fixed path (the Windows directory, the a: drive).
# DESKTOP marks tests that open windows: under Wine every process shares one desktop, and a
# window shown by one test takes the focus from another's, so they take the desktop in turn.
function(kelmora_test name)
  cmake_parse_arguments(KT "SERIAL;DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(KT_SERIAL)
    set(props RUN_SERIAL TRUE)
  else()
    set(props "")
  endif()
  if(KT_DESKTOP)
    list(APPEND props RESOURCE_LOCK desktop)
  endif()
  # Discovery runs the executable under the emulator at test time, not at build time,
  # so a build never needs a display.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES TIMEOUT 120 ${props})
endfunction()

# kelmora_fuzzer(NAME SOURCES... LIBS ...) : a libFuzzer target, built only in the clang fuzz build.
if(NOT TARGET fuzzers)
  add_custom_target(fuzzers)
endif()
function(kelmora_fuzzer name)
  cmake_parse_arguments(KF "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KELMORA_FUZZ)
    return()
  endif()
  add_executable(${name} EXCLUDE_FROM_ALL ${KF_SOURCES})
  target_link_libraries(${name} PRIVATE ${KF_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(fuzzers ${name})
endfunction()
