# One program per source file of the calling folder that matches `pattern`,
# named by the file's stem and linked with the libraries that the variable
# <stem>_links names, then with any further arguments. The programs' names
# are left in the variable named by `made`.
function(add_program_per_source pattern made)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
  set(names)
  foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME_WE)
    if(NOT DEFINED ${name}_links)
      message(FATAL_ERROR "${CMAKE_CURRENT_LIST_FILE}: set ${name}_links to the libraries ${name} exercises")
    endif()
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${${name}_links} ${ARGN})
    list(APPEND names ${name})
  endforeach()
  set(${made} ${names} PARENT_SCOPE)
endfunction()
