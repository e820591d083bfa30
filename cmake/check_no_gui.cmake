# Fails when PROGRAM needs the Qt Gui library at run time.
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${PROGRAM}")
endif()
if(headers MATCHES "NEEDED +libQt6Gui")
  message(FATAL_ERROR "${PROGRAM} needs libQt6Gui")
endif()
