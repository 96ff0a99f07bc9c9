# cmake -DCXX=compiler -DSOURCE=source_dir -DWORK=scratch_dir -DINCLUDES=dirs -DIMPLICIT=dirs
#       -DSEES=headers -DBLIND=headers -P probe.cmake
# Compiles `#include "<header>"` with -I for each of INCLUDES: every header of SEES must
# compile, every header of BLIND must be reported missing. Fails listing every wrong outcome.
# The compiler's own folders (IMPLICIT) are left out, as the build leaves them out.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
list(REMOVE_DUPLICATES INCLUDES)
list(REMOVE_ITEM INCLUDES ${IMPLICIT})
list(TRANSFORM INCLUDES PREPEND -I OUTPUT_VARIABLE flags)

set(wrong)
set(index 0)
foreach(header ${SEES} ${BLIND})
  if(NOT EXISTS ${SOURCE}/${header})
    message(FATAL_ERROR "${header} is not in the source tree: name another header of its folder")
  endif()
  math(EXPR index "${index} + 1")
  set(probe ${WORK}/probe${index}.cpp)
  file(WRITE ${probe} "#include \"${header}\"\n")
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only ${flags} ${probe}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(REPLACE "." "\\." pattern ${header})
  if(header IN_LIST SEES)
    if(NOT status EQUAL 0)
      list(APPEND wrong "${header} does not compile:\n${output}")
    endif()
  elseif(status EQUAL 0)
    list(APPEND wrong "${header} compiles, but must not be reachable")
  elseif(NOT output MATCHES "${pattern}: No such file|'${pattern}' file not found")
    list(APPEND wrong "${header} fails to compile for another reason than being out of sight:\n${output}")
  else()
    message(STATUS "${header}: out of sight, as it should be")
  endif()
endforeach()

if(wrong)
  list(JOIN wrong "\n" text)
  message(FATAL_ERROR "${text}")
endif()
