# Installs the build at BUILD into OUT (STAGE=tree: as DESTDIR with prefix /usr) or makes its
# Debian package in OUT (STAGE=package), starting from an empty OUT either way.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
if(STAGE STREQUAL "tree")
  set(ENV{DESTDIR} ${OUT})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr RESULT_VARIABLE status)
elseif(STAGE STREQUAL "package")
  execute_process(COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${OUT}
                  RESULT_VARIABLE status)
else()
  message(FATAL_ERROR "STAGE must be tree or package")
endif()
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${STAGE} stage failed: ${status}")
endif()
