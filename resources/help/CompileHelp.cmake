# Compiles the help project in a copy of the sources and puts the help file at OUTPUT. Run by the
# build as `cmake -DCHMCMD=... -DSOURCE_DIR=... -DWORK_DIR=... -DOUTPUT=... -P CompileHelp.cmake`.
# The compiler only warns of a link to a topic that is not there, and writes the file all the same; a
# help file with a dead link is a fault, so any warning fails the build.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(GLOB sources "${SOURCE_DIR}/*.html" "${SOURCE_DIR}/*.css" "${SOURCE_DIR}/*.hhc" "${SOURCE_DIR}/*.hhk"
     "${SOURCE_DIR}/*.hhp")
file(COPY ${sources} DESTINATION "${WORK_DIR}")

execute_process(COMMAND "${CHMCMD}" help.hhp WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE result
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error")
  message(FATAL_ERROR "The help did not compile cleanly (${CHMCMD}, exit ${result}):\n${output}")
endif()

set(compiled "${WORK_DIR}/Brindle for PST to NSF.chm")
if(NOT EXISTS "${compiled}")
  message(FATAL_ERROR "The help compiler wrote no \"Brindle for PST to NSF.chm\":\n${output}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E copy "${compiled}" "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "The help file could not be copied to ${OUTPUT}")
endif()
