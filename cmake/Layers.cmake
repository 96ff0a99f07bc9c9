# Who may include whom is decided by the link graph, so that an include that goes up a layer, or
# sideways into a library that is not linked, fails to compile instead of waiting for a review.
#
# Headers are named from the top of the source tree ("vision/WebCam.h"), so the top of the source
# tree cannot be an include directory: it would show every folder to every file. Instead each
# target that owns headers gets an include root of its own in the build tree, holding one
# symbolic link per folder it owns:
#   build/include/vision/vision -> <source>/vision
# A target may instead own single headers of a folder (a path naming a file): its root then
# holds a real folder with one link per header, so that the folder's other headers stay out of
# sight (the scene-free rules in match/ beside World):
#   build/include/rules/match/Rules.h -> <source>/match/Rules.h
# That root is a PUBLIC (for an interface library INTERFACE) include directory of the target,
# so it reaches the target's own sources and exactly the targets that link it, directly or
# through a PUBLIC link; nothing else can name the folder. The links are made when CMake
# configures; headers stay where they are, so editing one rebuilds as before.
function(vorlaxis_expose target)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  # Made afresh at every configure, so that a folder no longer listed is no longer seen
  # (removing a link leaves the folder it points to alone).
  file(REMOVE_RECURSE ${root})
  foreach(folder ${ARGN})
    if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${folder})
      message(FATAL_ERROR "vorlaxis_expose(${target}): no folder or header ${folder}")
    endif()
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
