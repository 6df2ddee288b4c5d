# kelmora_test(NAME SOURCES... LIBS ... [SERIAL] [PURE] [DESKTOP]) : a GoogleTest executable
# registered with ctest. SERIAL marks tests that share a fixed path (the Windows directory, the
# a: drive): they run one at a time. Under Wine every process of one wineserver shares one
# desktop, so windows of tests running side by side steal each other's activation and focus:
# each Windows test takes a "desktop" resource of its own (a prefix with its own wineserver and
# Xvfb display, see scripts/wine-env.sh) unless marked PURE (no window at all). DESKTOP says so
# explicitly; it is the default.
function(kelmora_test name)
  cmake_parse_arguments(KT "SERIAL;PURE;DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(props "")
  if(KT_SERIAL)
    list(APPEND props RUN_SERIAL TRUE)
  endif()
  if(KELMORA_WINDOWS)
    # The wrapper picks the test's desktop from what ctest allocated to it.
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-test.sh)
    if(KT_PURE)
      list(APPEND props ENVIRONMENT KELMORA_DESKTOP=none)
    else()
      list(APPEND props RESOURCE_GROUPS desktop:1)
    endif()
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
