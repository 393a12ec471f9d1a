# The build's check of unique resource ids (cmake/check-resource-ids.py) on sample scripts: resources
# that only share a number are let through; a number given twice in a script, a string id in two tables,
# and icons in two scripts of one program stop the build, at compile time and at link time.
#   cmake -DPYTHON=... -DCHECK=... -DCC=... -DRC=... -DSAMPLES=... -DWORK=... -P ResourceIdsTest.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(_icons ${SAMPLES}/../../../resources/browser)

# Runs the check; the result must be the expected one and the messages must hold each expected text.
function(expect name result)
  cmake_parse_arguments(E "" "" "COMMAND;MESSAGES" ${ARGN})
  execute_process(COMMAND ${PYTHON} ${CHECK} ${E_COMMAND} RESULT_VARIABLE _result OUTPUT_VARIABLE _out
                  ERROR_VARIABLE _err WORKING_DIRECTORY ${WORK})
  if(NOT _result STREQUAL result)
    message(FATAL_ERROR "${name}: exit ${_result}, expected ${result}\n${_out}${_err}")
  endif()
  foreach(_text IN LISTS E_MESSAGES)
    string(FIND "${_out}${_err}" "${_text}" _at)
    if(_at LESS 0)
      message(FATAL_ERROR "${name}: no \"${_text}\" in\n${_out}${_err}")
    endif()
  endforeach()
  message(STATUS "${name}: ok")
endfunction()

expect("one number, different types and languages" 0
       COMMAND scan --cc ${CC} ${SAMPLES}/distinct.rc)
expect("one icon number under two names" 1
       COMMAND scan --cc ${CC} ${SAMPLES}/icon-twice.rc
       MESSAGES "icon-twice.rc:5: ICON 7 is given again (first at" "icon-twice.rc:4")
expect("one string id in two tables" 1
       COMMAND scan --cc ${CC} ${SAMPLES}/string-twice.rc
       MESSAGES "string-twice.rc:11: STRING 100 is given again")
expect("icons in two scripts of one program" 1
       COMMAND scan --cc ${CC} ${SAMPLES}/icon-a.rc ${SAMPLES}/icon-b.rc
       MESSAGES "icons or cursors in more than one script")

# Compiling: the check stops before the resource compiler keeps one of the two.
expect("compiling a script with a string given twice" 1
       COMMAND compile --cc ${CC} -- ${RC} -O coff -I ${_icons} ${SAMPLES}/string-twice.rc ${WORK}/strings.o
       MESSAGES "STRING 100 is given again")
if(EXISTS ${WORK}/strings.o)
  message(FATAL_ERROR "compiling a script with a string given twice: the object was written")
endif()
expect("compiling a clean script" 0
       COMMAND compile --cc ${CC} -- ${RC} -O coff -I ${_icons} ${SAMPLES}/icon-a.rc ${WORK}/icon-a.o)
expect("compiling the other clean script" 0
       COMMAND compile --cc ${CC} -- ${RC} -O coff -I ${_icons} ${SAMPLES}/icon-b.rc ${WORK}/icon-b.o)

# Linking: the linker only says that it could not merge the two scripts' pictures.
expect("linking one script" 0
       COMMAND link -- ${CC} ${SAMPLES}/main.c ${WORK}/icon-a.o -o ${WORK}/one.exe)
expect("linking two scripts whose pictures collide" 1
       COMMAND link -- ${CC} ${SAMPLES}/main.c ${WORK}/icon-a.o ${WORK}/icon-b.o -o ${WORK}/two.exe
       MESSAGES ".rsrc merge failure" "give a resource of the same type, name and language")
if(EXISTS ${WORK}/two.exe)
  message(FATAL_ERROR "linking two scripts whose pictures collide: the program was left behind")
endif()
