# Helpers shared by every folder's CMakeLists.

# brindle_add_test(<name> SOURCES ... [LIBS ...] [WINDOWED] [RESOURCE_LOCK <lock>...] [TIMEOUT <s>])
# One GoogleTest executable per area. Under the Windows configuration CTest runs it through the
# build tree's wine-run wrapper. WINDOWED tests share the Xvfb display, so they take its lock and
# get the windowed-test support library.
function(brindle_add_test name)
  cmake_parse_arguments(T "WINDOWED" "TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} brindle_test_support gmock gtest)
  if(WIN32)
    # Console subsystem: CTest reads the output through Wine.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set(locks ${T_RESOURCE_LOCK})
  if(T_WINDOWED)
    list(APPEND locks display)
    target_link_libraries(${name} PRIVATE brindle_window_test_support)
  endif()
  if(locks)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(NOT WIN32)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "BRINDLE_TESTDATA=${BRINDLE_TESTDATA_DIR};TZ=UTC;LANG=C.UTF-8")
  endif()
endfunction()

# brindle_windows_app(<target>): a Windows GUI program (wWinMain, Unicode entry point).
function(brindle_windows_app target)
  target_link_options(${target} PRIVATE -mwindows -municode)
endfunction()
