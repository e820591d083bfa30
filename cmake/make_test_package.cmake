# Makes the Debian package of a build into FOLDER, once per test run, for the
# tests that unpack and check it; where Debian's packaging tools are missing
# it makes none, and those tests skip.
#   cmake -DCPACK=<cpack> -DCONFIG=<build>/CPackConfig.cmake -DFOLDER=<folder> -P make_test_package.cmake
file(REMOVE_RECURSE ${FOLDER})
foreach(tool dpkg-deb dpkg-shlibdeps file)
  find_program(tool_path ${tool} NO_CACHE)
  if(NOT tool_path)
    message(STATUS "${tool} is not installed: no package to test")
    return()
  endif()
endforeach()
execute_process(COMMAND ${CPACK} -G DEB -B ${FOLDER} --config ${CONFIG} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack could not make the package (${result})")
endif()
