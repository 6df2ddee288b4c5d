# kelmora_test(NAME SOURCES... LIBS ... [SERIAL] [PURE] [DESKTOP] [WINDOW_MANAGER] [ABI32]) : a GoogleTest executable
# registered with ctest. Under Wine a test runs in a prefix: a wineserver with its desktop
# and Xvfb display, a Windows directory, a registry, an a: drive (see scripts/wine-env.sh).
# - DESKTOP, the default: the test opens windows. Under one wineserver every process shares
#   one desktop, and windows of tests side by side steal each other's activation and focus:
#   the test takes a "desktop" resource, a prefix that no other test uses while it runs.
# - SERIAL: the test uses a fixed path of the prefix (the Windows directory and its INI
#   files, the a: drive, a fixed registry key) that another test uses too. It takes a
#   desktop likewise: tests on other desktops have paths of their own, so SERIAL tests run
#   side by side, one per prefix. Only where tests share a prefix (ctest without the
#   resource file) does it also shut out the window-less tests.
# - PURE: no window and no fixed path; the window-less tests share one prefix that is never
#   handed out as a desktop.
# - WINDOW_MANAGER: the test is about how the windows behave where a window manager stacks
#   and activates them, as on every user's desktop: it takes a "managed_desktop", a prefix
#   whose display openbox manages (scripts/wine-env.sh), which no other test uses while it
#   runs. Its test names say so (suites named UnderWindowManager...).
# - ABI32: the test is about the 32-bit ABI (structure layouts the 32-bit hosts use, stdcall
#   decorations, PE32 specifics). Every such test carries the label "abi32" (ctest -N -L
#   abi32 lists them); a 64-bit Windows build builds and lists it, disabled, so that a run
#   there names it as not run instead of counting it as passed.
function(kelmora_test name)
  cmake_parse_arguments(KT "SERIAL;PURE;DESKTOP;WINDOW_MANAGER;ABI32" "" "SOURCES;LIBS" ${ARGN})
  if(KT_PURE AND (KT_SERIAL OR KT_DESKTOP OR KT_WINDOW_MANAGER))
    message(FATAL_ERROR "${name}: a PURE test has neither windows nor fixed paths")
  endif()
  if(KT_WINDOW_MANAGER AND KT_SERIAL)
    message(FATAL_ERROR "${name}: a managed desktop is the test's alone; SERIAL adds nothing")
  endif()
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(props "")
  if(KT_ABI32)
    list(APPEND props LABELS abi32)
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      list(APPEND props DISABLED TRUE)
    endif()
  endif()
  if(KELMORA_WINDOWS)
    # The wrapper picks the test's desktop from what ctest allocated to it.
    set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-test.sh)
    if(KT_PURE)
      list(APPEND props ENVIRONMENT KELMORA_TEST_NEEDS=nothing)
    elseif(KT_WINDOW_MANAGER)
      list(APPEND props ENVIRONMENT KELMORA_TEST_NEEDS=managed RESOURCE_GROUPS managed_desktop:1)
    elseif(KT_SERIAL)
      list(APPEND props ENVIRONMENT KELMORA_TEST_NEEDS=fixed-paths RESOURCE_GROUPS desktop:1)
    else()
      list(APPEND props ENVIRONMENT KELMORA_TEST_NEEDS=desktop RESOURCE_GROUPS desktop:1)
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
