# SPDX-License-Identifier: Zlib
# What every package carries beside its files: the DEP-5 copyright file and the Debian changelog,
# dated from this version's entry in CHANGELOG.md. The framework's and the game's install rules
# both use these, so they are defined before either.

# The packages' maintainer and the changelog's signature; a packager sets a real address with
# -DQM_PACKAGE_CONTACT="Name <address>".
set(QM_PACKAGE_CONTACT "Quillmark developers <quillmark@example.org>" CACHE STRING
  "Maintainer of the Debian packages: Name <address>")

# ---- Copyright files ----------------------------------------------------------------------------
# A machine-readable (DEP-5) copyright file: the project's own paragraph, then one for each part
# of Debian's compiled into or shipped with the package (cmake/install/copyright/<part>_*.dep5),
# then the licence texts; the project's own is read from LICENSE, so it is written down once.
function(qm_write_copyright output)
  set(folder "${CMAKE_SOURCE_DIR}/cmake/install/copyright")
  file(STRINGS "${CMAKE_SOURCE_DIR}/LICENSE" licence_lines)
  list(GET licence_lines 0 copyright_line)
  string(REGEX REPLACE "^Copyright \\(c\\) " "" QM_COPYRIGHT "${copyright_line}")
  file(READ "${folder}/quillmark_files.dep5" text)
  string(CONFIGURE "${text}" text @ONLY)
  foreach(part IN LISTS ARGN)
    file(READ "${folder}/${part}_files.dep5" part_text)
    string(APPEND text "\n${part_text}")
  endforeach()
  # The licence text below the copyright line, each line indented, an empty one written " .".
  file(READ "${CMAKE_SOURCE_DIR}/LICENSE" licence)
  string(REGEX REPLACE "^Copyright[^\n]*\n\n" "" licence "${licence}")
  string(REGEX REPLACE "\n$" "" licence "${licence}")
  string(REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence "${licence}")
  string(APPEND text "\nLicense: Zlib\n ${licence}\n")
  foreach(part IN LISTS ARGN)
    file(READ "${folder}/${part}_licences.dep5" part_text)
    string(APPEND text "\n${part_text}")
  endforeach()
  file(WRITE "${output}" "${text}")
  # Editing the licence or a part's paragraphs writes the file again at the next build.
  set(sources "${CMAKE_SOURCE_DIR}/LICENSE" "${folder}/quillmark_files.dep5")
  foreach(part IN LISTS ARGN)
    list(APPEND sources "${folder}/${part}_files.dep5" "${folder}/${part}_licences.dep5")
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})
endfunction()

# The day of this version's entry in CHANGELOG.md, which dates the Debian changelog and the manual
# page, so a package is the same whenever it is built. A version without an entry there stops the
# configure step: a release always says what it brings.
function(qm_release_day output)
  string(REPLACE "." "\\." version_pattern "${PROJECT_VERSION}")
  file(STRINGS "${CMAKE_SOURCE_DIR}/CHANGELOG.md" heading
    REGEX "^## \\[${version_pattern}\\] - [0-9]+-[0-9]+-[0-9]+$")
  if(NOT heading)
    message(FATAL_ERROR "CHANGELOG.md has no entry \"## [${PROJECT_VERSION}] - YYYY-MM-DD\" for "
      "the project's version: say there what this version brings.")
  endif()
  string(REGEX REPLACE ".* - " "" day "${heading}")
  set(${output} "${day}" PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/CHANGELOG.md")
endfunction()

# Compressed as Debian wants its documentation: gzip -9, and -n so no time is written into it.
function(qm_gzip input output)
  execute_process(COMMAND gzip -9nc "${input}" OUTPUT_FILE "${output}" COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# Debian wants a changelog in its own form beside each package's copyright file; its one entry
# points at CHANGELOG.md for what changed.
function(qm_write_debian_changelog package output)
  qm_release_day(day)
  execute_process(COMMAND date -u -R -d "${day} 12:00" OUTPUT_VARIABLE date
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(text "${package} (${PROJECT_VERSION}) unstable; urgency=medium\n\n")
  string(APPEND text "  * Release ${PROJECT_VERSION}: CHANGELOG.md in the project's sources says\n")
  string(APPEND text "    what it brings.\n\n")
  string(APPEND text " -- ${QM_PACKAGE_CONTACT}  ${date}\n")
  file(WRITE "${output}.txt" "${text}")
  qm_gzip("${output}.txt" "${output}")
endfunction()
