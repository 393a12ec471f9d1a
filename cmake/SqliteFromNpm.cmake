# SQLite, a real dependency: the amalgamation shipped in the npm package better-sqlite3, fetched with
# `npm pack` into the build tree at configure time (never committed) and built as a static library.
set(BRINDLE_SQLITE_NPM_PACKAGE "better-sqlite3@12.11.1" CACHE STRING "npm package that ships the SQLite amalgamation")
set(_sqlite_dir ${CMAKE_BINARY_DIR}/_deps/sqlite)

if(NOT EXISTS ${_sqlite_dir}/sqlite3.c)
  find_program(NPM_EXECUTABLE npm REQUIRED)
  file(MAKE_DIRECTORY ${_sqlite_dir}/pack)
  # The version is fixed, so a copy in npm's cache will do: a fresh clone need not ask the registry.
  execute_process(
    COMMAND ${NPM_EXECUTABLE} pack ${BRINDLE_SQLITE_NPM_PACKAGE} --silent --prefer-offline
    WORKING_DIRECTORY ${_sqlite_dir}/pack
    OUTPUT_VARIABLE _tarball OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "npm pack ${BRINDLE_SQLITE_NPM_PACKAGE} failed (${_rc})")
  endif()
  file(ARCHIVE_EXTRACT INPUT ${_sqlite_dir}/pack/${_tarball} DESTINATION ${_sqlite_dir}/pack
       PATTERNS package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h)
  file(COPY ${_sqlite_dir}/pack/package/deps/sqlite3/sqlite3.c
            ${_sqlite_dir}/pack/package/deps/sqlite3/sqlite3.h
       DESTINATION ${_sqlite_dir})
  file(REMOVE_RECURSE ${_sqlite_dir}/pack)
endif()

add_library(sqlite3 STATIC ${_sqlite_dir}/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${_sqlite_dir})
# Plain positioned reads and writes: under Wine every OVERLAPPED call on an ordinary handle costs a
# wineserver request, several per commit. Each connection has its own handle and SQLite serialises a
# connection's calls, so the seek before each read or write cannot interleave with another's.
# Statement journals and temporary tables in memory: a journal that may spill to a file is kept in
# 64 KiB pieces, one taken and given back per write, the allocation pattern that slows the Windows heap
# most; a spilled one would cost file requests too. The page cache is taken in one piece up to its
# size for the same reason.
target_compile_definitions(sqlite3 PRIVATE
  SQLITE_THREADSAFE=1 SQLITE_DEFAULT_WAL_SYNCHRONOUS=1 SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DQS=0 SQLITE_WIN32_NO_OVERLAPPED SQLITE_TEMP_STORE=2 SQLITE_DEFAULT_PCACHE_INITSZ=500)
# The amalgamation is not ours to warn about, nor to step through: without debug information it
# compiles in half the time, and it sits on every build's critical path.
target_compile_options(sqlite3 PRIVATE -w -g0)
set_target_properties(sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
