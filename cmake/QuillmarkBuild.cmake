# Shared build settings: warnings, source-relative __FILE__ in reports, and a way for each
# module folder to join the build without editing the files of other modules.

# Reports name files as "source/quill_mark/core/qm_json_parser.cpp", never as build-machine paths.
add_compile_options("-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=")

function(qm_apply_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Adds <base>/<dir> for every listed dir that has a CMakeLists.txt, so modules can land one by one.
function(qm_add_subdirectories base)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${base}/${dir}/CMakeLists.txt")
      add_subdirectory("${base}/${dir}")
    endif()
  endforeach()
endfunction()
