# SPDX-License-Identifier: Zlib
# Shared build settings: warnings, source-relative __FILE__ in reports, and the framework's public
# include root, which holds the framework's headers and nothing of the game's.

# Reports name files as "source/quill_mark/core/qm_json_parser.cpp", never as build-machine paths.
add_compile_options("-fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=")
# The float steps are the ones the code spells out, never fused into one rounding: the game's
# course must not depend on whether the compiler targets a machine with fused multiply-add.
add_compile_options(-ffp-contract=off)

function(qm_apply_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The public include root holds only quill_mark/, a link to the framework's source folder, so
# "quill_mark/..." resolves for framework users while the game's folder beside it stays out.
set(QM_INCLUDE_ROOT "${CMAKE_BINARY_DIR}/include")
file(MAKE_DIRECTORY "${QM_INCLUDE_ROOT}")
file(CREATE_LINK "${CMAKE_SOURCE_DIR}/source/quill_mark" "${QM_INCLUDE_ROOT}/quill_mark"
  SYMBOLIC COPY_ON_ERROR)
# Headers reached through that link still print their source path in reports.
add_compile_options("-fmacro-prefix-map=${QM_INCLUDE_ROOT}/=source/")
