# cmake -DCXX=compiler -DSOURCE=source_dir -DWORK=scratch_dir -DINCLUDES=dirs -DIMPLICIT=dirs
#       -DFOLDER=match -P no_devices.cmake
# The rules read no device: every source of FOLDER must compile with stand-ins for SDL's and
# the platform layer's headers that stop the compiler, placed first on the include path.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
set(stubs ${WORK}/stubs)
file(GLOB sdl_headers RELATIVE /usr/include /usr/include/SDL/*.h)
file(GLOB_RECURSE platform_headers RELATIVE ${SOURCE} ${SOURCE}/platform/*.h)
if(NOT sdl_headers OR NOT platform_headers)
  message(FATAL_ERROR "no SDL or platform headers found to stand in for")
endif()
foreach(header ${sdl_headers} ${platform_headers})
  file(WRITE ${stubs}/${header} "#error \"${header} reached from the rules\"\n")
endforeach()

list(REMOVE_DUPLICATES INCLUDES)
list(REMOVE_ITEM INCLUDES ${IMPLICIT})
list(TRANSFORM INCLUDES PREPEND -I OUTPUT_VARIABLE flags)
file(GLOB sources ${SOURCE}/${FOLDER}/*.cpp)
set(wrong)
foreach(source ${sources})
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only -I${stubs} ${flags} ${source}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(status EQUAL 0)
    message(STATUS "${source}: no device header")
  else()
    list(APPEND wrong "${source} reaches a device header:\n${output}")
  endif()
endforeach()
if(wrong)
  list(JOIN wrong "\n" text)
  message(FATAL_ERROR "${text}")
endif()
