# kaprino_test(<name> SOURCES <files...> [PORTABLE] [GUI] [LIBS <libs...>])
#
# PORTABLE: the test uses only kaprino_core, so it is built in the native configuration
#           (under the sanitizers) as well as for Windows (under Wine).
# GUI:      the test opens windows; such tests share one display and run one at a time.
# In the Windows build the test executable runs through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(kaprino_test name)
  cmake_parse_arguments(T "PORTABLE;GUI" "" "SOURCES;LIBS" ${ARGN})
  if(NOT KAPRINO_WINDOWS AND NOT T_PORTABLE)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  if(KAPRINO_WINDOWS)
    target_link_libraries(${name} PRIVATE kaprino_win)
    # Console subsystem so that gtest's output reaches the terminal under Wine.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  target_link_libraries(${name} PRIVATE kaprino_core GTest::gtest_main ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(T_GUI)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
  endif()
endfunction()

# kaprino_test_cp1252(<name>): runs the Windows test <name> once more in the C locale, where
# Wine's ANSI code page is 1252, to show that its results do not depend on the system code
# page. The test can read KAPRINO_EXPECT_ACP to check which page it got.
function(kaprino_test_cp1252 name)
  if(NOT KAPRINO_WINDOWS)
    return()
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "KAPRINO_EXPECT_ACP=936")
  add_test(NAME ${name}_cp1252 COMMAND ${name})
  set_tests_properties(${name}_cp1252 PROPERTIES TIMEOUT 600
    ENVIRONMENT "LANG=C;LC_ALL=C;KAPRINO_EXPECT_ACP=1252")
endfunction()
