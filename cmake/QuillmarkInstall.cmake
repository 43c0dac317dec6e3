# SPDX-License-Identifier: Zlib
# What `cmake --install` puts where, and the two Debian packages CPack makes of it:
#   framework  the public qm_*.h headers, the two static libraries, a CMake package
#              (Quillmark::...) and the .pc files; packaged as quillmark-dev, for people who write
#              games on it;
#   game       Cinderpath2: the program, its data and a launcher (its rules are with the game);
#              packaged as cinderpath2.
# Each package carries its copyright file and changelog in share/doc/<package>/.
# Tests, benchmarks, samples and the implementation headers are never installed.
include(CMakePackageConfigHelpers)

set(QM_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Quillmark")

# ---- The framework ------------------------------------------------------------------------------
# A game links Quillmark::quillmark and Quillmark::platform: its platform's live layer with the
# headless one, recording and replay, and RunSession (quill_mark/session/qm_session.h), which
# chooses among them. The platform library reaches into the framework, never the other way round,
# and both targets (and the .pc files) carry that link order themselves.
set_target_properties(quillmark PROPERTIES EXPORT_NAME quillmark)
set_target_properties(quillmark_platform PROPERTIES EXPORT_NAME platform)
install(TARGETS quillmark quillmark_platform
  EXPORT QuillmarkTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT framework
  INCLUDES DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(EXPORT QuillmarkTargets NAMESPACE Quillmark:: DESTINATION "${QM_INSTALL_CMAKEDIR}"
  COMPONENT framework)

# Only the public headers, each at the path users write: "quill_mark/<module>/qm_<thing>.h".
# They include nothing but each other and the standard library, so nothing else has to come along.
set(QM_SOURCE_ROOT "${CMAKE_SOURCE_DIR}/source/quill_mark")
file(GLOB QM_PUBLIC_HEADERS RELATIVE "${QM_SOURCE_ROOT}" CONFIGURE_DEPENDS
  "${QM_SOURCE_ROOT}/*/qm_*.h")
foreach(header IN LISTS QM_PUBLIC_HEADERS)
  get_filename_component(module "${header}" DIRECTORY)
  install(FILES "${QM_SOURCE_ROOT}/${header}"
    DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/quill_mark/${module}" COMPONENT framework)
endforeach()

configure_package_config_file(cmake/install/QuillmarkConfig.cmake.in
  "${CMAKE_BINARY_DIR}/install/QuillmarkConfig.cmake"
  INSTALL_DESTINATION "${QM_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${CMAKE_BINARY_DIR}/install/QuillmarkConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${CMAKE_BINARY_DIR}/install/QuillmarkConfig.cmake"
  "${CMAKE_BINARY_DIR}/install/QuillmarkConfigVersion.cmake"
  DESTINATION "${QM_INSTALL_CMAKEDIR}" COMPONENT framework)

# The .pc file finds its prefix from where it lies, so any install prefix works.
file(RELATIVE_PATH QM_PKGCONFIG_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" QM_PKGCONFIG_TO_PREFIX "${QM_PKGCONFIG_TO_PREFIX}")
# quillmark.pc is the framework; quillmark-platform.pc requires it, so asking for the platform
# gives both, in their link order.
foreach(pc IN ITEMS quillmark quillmark-platform)
  configure_file(cmake/install/${pc}.pc.in "${CMAKE_BINARY_DIR}/install/${pc}.pc" @ONLY)
  install(FILES "${CMAKE_BINARY_DIR}/install/${pc}.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT framework)
endforeach()

# stb_image is compiled into the library, so its licence comes along.
set(QM_FRAMEWORK_DOCS "${CMAKE_BINARY_DIR}/install/doc/quillmark-dev")
qm_write_copyright("${QM_FRAMEWORK_DOCS}/copyright" stb)
qm_write_debian_changelog(quillmark-dev "${QM_FRAMEWORK_DOCS}/changelog.gz")
install(FILES "${QM_FRAMEWORK_DOCS}/copyright" "${QM_FRAMEWORK_DOCS}/changelog.gz"
  DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/quillmark-dev" COMPONENT framework)

# ---- Debian packages (cpack, from the build folder) ---------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${QM_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Run-time libraries linked by the program are found by dpkg-shlibdeps; what is only loaded at run
# time is named: the GLX library SDL opens to make the OpenGL context (it brings Mesa's drivers) and
# OpenAL's sound-system back ends. The X core fonts the message boxes draw with are recommended
# (apt installs them unless told not to): Debian lets no program depend on a font package, and
# without them a box that cannot be drawn is reported and answered as dismissed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(QM_RUNTIME_PACKAGES "libgl1, libasound2, libpulse0")
set(QM_RUNTIME_RECOMMENDS "xfonts-base")

set(CPACK_COMPONENTS_ALL framework)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_NAME quillmark-dev)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_DEPENDS
  "libsdl2-dev, libopenal-dev, libgl-dev, libegl-dev, libx11-dev, pkg-config, ${QM_RUNTIME_PACKAGES}")
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_RECOMMENDS "${QM_RUNTIME_RECOMMENDS}")
# Debian's descriptions: a synopsis of at most 80 characters, then lines of at most 80.
set(CPACK_COMPONENT_FRAMEWORK_DESCRIPTION
  "compact 2D game framework in C++17 (development files)
Quillmark gives a game one fixed-size window with an OpenGL 1.1 context, a
fixed-step game loop, scenes, sprites, sprite sheets and animations, and OpenAL
audio with named audio events.
.
This package holds the headers, the static libraries, a CMake package and
pkg-config files. find_package(Quillmark) gives Quillmark::quillmark and
Quillmark::platform; pkg-config quillmark-platform gives both.")
if(QM_BUILD_GAME AND UNIX)
  list(APPEND CPACK_COMPONENTS_ALL game)
  set(CPACK_DEBIAN_GAME_PACKAGE_NAME cinderpath2)
  set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "${QM_RUNTIME_PACKAGES}")
  set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "${QM_RUNTIME_RECOMMENDS}")
  set(CPACK_COMPONENT_GAME_DESCRIPTION
    "small real-time game of dodging circles, made with Quillmark
Steer an azure circle with the mouse. It grows over the first sixteen seconds,
while white circles fly across the window through its centre, ever more often.
Whenever one touches yours, an explosion sounds. There is no score and no end:
release Escape or close the window to stop.")
endif()
include(CPack)
