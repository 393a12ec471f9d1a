# Helpers shared by every folder's CMakeLists.

# brindle_test_code(<target>): the target is test code (test programs, their support libraries, the
# test framework). It is compiled for debugging, not speed: the optimiser took most of each test
# source's compile time and the tests spend their time in the code under test, which keeps the
# build's own optimisation. Everything that shares the tests' precompiled headers must be compiled
# the same way, or the compiler ignores them.
set(BRINDLE_TEST_OPTIMIZATION -Og)
function(brindle_test_code target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:${BRINDLE_TEST_OPTIMIZATION}>)
endfunction()

# brindle_add_test(<name> SOURCES ... [LIBS ...] [WINDOWED] [RESOURCE_LOCK <lock>...] [TIMEOUT <s>]
#                  [COST <s>])
# One GoogleTest executable per area. Under the Windows configuration CTest runs it through the
# build tree's wine-run wrapper. WINDOWED tests get the windowed-test support library and one display
# each: a slot of the "display" resource when CTest is given a resource file (scripts/test.sh gives
# one slot per Xvfb display), else a turn on the caller's display (wine-run takes a lock). COST is
# the seconds a test takes, so that a run with no cost data yet starts the long ones first.
option(BRINDLE_UNITY_TESTS "Compile each test program's sources a few at a time in one unit" ON)
set(BRINDLE_UNITY_TEST_BATCH 6 CACHE STRING "Test sources in one unit of a test program")
function(brindle_add_test name)
  cmake_parse_arguments(T "WINDOWED" "TIMEOUT;COST" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} brindle_test_support gtest)
  brindle_test_code(${name})
  # A test program's sources are compiled a few at a time in one unit: most of a test source's
  # compile time went into the headers and the test framework's templates, which every source of a
  # program shares.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ${BRINDLE_UNITY_TESTS}
                                           UNITY_BUILD_BATCH_SIZE ${BRINDLE_UNITY_TEST_BATCH})
  if(BRINDLE_UNITY_TESTS)
    # The compiler takes each source of a unit for an included header, and warns of every test whose
    # fixture lives in that source's anonymous namespace, which is where fixtures belong.
    target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
  endif()
  if(WIN32)
    # Console subsystem: CTest reads the output through Wine.
    target_link_options(${name} PRIVATE -mconsole)
    if(T_WINDOWED)
      target_precompile_headers(${name} REUSE_FROM brindle_window_test_support)
    else()
      target_precompile_headers(${name} REUSE_FROM brindle_test_support)
    endif()
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  if(T_WINDOWED)
    set_tests_properties(${name} PROPERTIES RESOURCE_GROUPS "display:1" ENVIRONMENT "BRINDLE_WINDOWED=1")
    target_link_libraries(${name} PRIVATE brindle_window_test_support)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 600)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_COST)
    set_tests_properties(${name} PROPERTIES COST ${T_COST})
  endif()
  if(NOT WIN32)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "BRINDLE_TESTDATA=${BRINDLE_TESTDATA_DIR};TZ=UTC;LANG=C.UTF-8")
  endif()
endfunction()

# brindle_framework_pch(<target>): a library built on the framework compiles with the framework's
# precompiled window headers.
function(brindle_framework_pch target)
  target_precompile_headers(${target} REUSE_FROM framework)
endfunction()

# brindle_unity(<target>): the library's sources are compiled a few at a time in one unit. Each
# source of the window libraries spent most of its time in the same headers (the framework's and the
# library's own), and in code generation for the same inline functions. A helper that two sources
# need lives in a header, once: two of the same name in one unit do not compile.
option(BRINDLE_UNITY_LIBRARIES "Compile the window libraries' sources a few at a time in one unit" ON)
set(BRINDLE_UNITY_LIBRARY_BATCH 8 CACHE STRING "Sources in one unit of a window library")
function(brindle_unity target)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ${BRINDLE_UNITY_LIBRARIES}
                                             UNITY_BUILD_BATCH_SIZE ${BRINDLE_UNITY_LIBRARY_BATCH})
endfunction()

# brindle_windows_app(<target>): a Windows GUI program (wWinMain, Unicode entry point).
function(brindle_windows_app target)
  target_link_options(${target} PRIVATE -mwindows -municode)
endfunction()

# brindle_resource_dependencies(): the resource compiler reports no dependencies, so a compiled
# resource script would not be rebuilt when a script it includes, a header of ids or a picture it
# names changes. Called once all targets exist: every resource script of the build then depends on the
# shared resources (resources/, the framework's resource ids) and on the resource files beside it.
function(brindle_resource_dependencies)
  set(_kinds rc h bmp ico cur avi manifest)
  set(_shared_patterns)
  foreach(kind IN LISTS _kinds)
    list(APPEND _shared_patterns ${CMAKE_SOURCE_DIR}/resources/*.${kind})
  endforeach()
  file(GLOB_RECURSE _shared CONFIGURE_DEPENDS ${_shared_patterns})
  set(_framework_ids ${CMAKE_SOURCE_DIR}/platform/framework/include/framework/FrameworkIds.h)
  set(_dirs ${CMAKE_SOURCE_DIR})
  while(_dirs)
    list(POP_FRONT _dirs _dir)
    get_property(_subdirs DIRECTORY ${_dir} PROPERTY SUBDIRECTORIES)
    list(APPEND _dirs ${_subdirs})
    get_property(_targets DIRECTORY ${_dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(_target IN LISTS _targets)
      get_target_property(_sources ${_target} SOURCES)
      if(NOT _sources)
        continue()
      endif()
      foreach(_source IN LISTS _sources)
        if(NOT _source MATCHES "\\.rc$")
          continue()
        endif()
        get_filename_component(_path ${_source} ABSOLUTE BASE_DIR ${_dir})
        get_filename_component(_beside ${_path} DIRECTORY)
        set(_local_patterns)
        foreach(kind IN LISTS _kinds)
          list(APPEND _local_patterns ${_beside}/*.${kind})
        endforeach()
        file(GLOB_RECURSE _local CONFIGURE_DEPENDS ${_local_patterns})
        list(REMOVE_ITEM _local ${_path})
        set_property(SOURCE ${_path} TARGET_DIRECTORY ${_target} APPEND PROPERTY OBJECT_DEPENDS
                     ${_shared} ${_framework_ids} ${_local})
      endforeach()
    endforeach()
  endwhile()
endfunction()
