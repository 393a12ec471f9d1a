# GoogleTest from the sources of Debian's googletest package, built with the project's compiler
# (cross-compiled for the Windows configuration).
set(BRINDLE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${BRINDLE_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${BRINDLE_GTEST_SOURCE}: run scripts/setup.sh")
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# No test uses the mocking library: building it cost every fresh build a compile of its own.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${BRINDLE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
foreach(t gtest gtest_main)
  if(TARGET ${t})
    target_compile_options(${t} PRIVATE -w)
    brindle_test_code(${t})
  endif()
endforeach()
