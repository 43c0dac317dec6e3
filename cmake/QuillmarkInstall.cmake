# What `cmake --install` puts where, and the two Debian packages CPack makes of it:
#   framework  the public qm_*.h headers, the static libraries, a CMake package (Quillmark::...)
#              and quillmark.pc; packaged as quillmark-dev, for people who write games on it;
#   game       Cinderpath2: the program, its data and a launcher; packaged as cinderpath2.
# Tests, benchmarks, samples and the implementation headers are never installed.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QM_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/Quillmark")

# ---- The framework ------------------------------------------------------------------------------
# Users link Quillmark::quillmark and one platform layer, Quillmark::platform_sdl, in that order:
# the framework calls into the layer, the layer into the part both layers share.
# A build without the SDL layer (another platform's) installs the rest all the same.
set(QM_INSTALLED_LIBRARIES quillmark quillmark_platform_common)
set_target_properties(quillmark PROPERTIES EXPORT_NAME quillmark)
set_target_properties(quillmark_platform_common PROPERTIES EXPORT_NAME platform_common)
if(TARGET quillmark_platform_sdl)
  set_target_properties(quillmark_platform_sdl PROPERTIES EXPORT_NAME platform_sdl)
  list(APPEND QM_INSTALLED_LIBRARIES quillmark_platform_sdl)
endif()
# Games that run through RunSession (recording and replaying sessions) link
# Quillmark::platform_session instead of platform_sdl; the libraries below it come along.
if(TARGET quillmark_seam_sdl)
  foreach(library IN ITEMS platform_session seam_sdl seam_scripted session_format offscreen_gl)
    set_target_properties(quillmark_${library} PROPERTIES EXPORT_NAME ${library})
    list(APPEND QM_INSTALLED_LIBRARIES quillmark_${library})
  endforeach()
endif()
install(TARGETS ${QM_INSTALLED_LIBRARIES}
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
# quillmark.pc links the SDL layer; quillmark-session.pc the session layer, for RunSession.
set(QM_PKGCONFIG_FILES quillmark)
if(TARGET quillmark_seam_sdl)
  list(APPEND QM_PKGCONFIG_FILES quillmark-session)
endif()
foreach(pc IN LISTS QM_PKGCONFIG_FILES)
  configure_file(cmake/install/${pc}.pc.in "${CMAKE_BINARY_DIR}/install/${pc}.pc" @ONLY)
  install(FILES "${CMAKE_BINARY_DIR}/install/${pc}.pc"
    DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT framework)
endforeach()

# ---- The game -----------------------------------------------------------------------------------
# The game reads data/... relative to the working directory, so the program goes out of the way
# (libexec) and the command players run is a launcher that starts it in its data folder.
if(QM_BUILD_GAME AND UNIX)
  set(QM_GAME_DATADIR "${CMAKE_INSTALL_DATADIR}/cinderpath2")
  set(QM_GAME_PROGRAMDIR "${CMAKE_INSTALL_LIBEXECDIR}/cinderpath2")
  file(RELATIVE_PATH QM_LAUNCHER_TO_DATA "/prefix/${CMAKE_INSTALL_BINDIR}"
    "/prefix/${QM_GAME_DATADIR}")
  file(RELATIVE_PATH QM_LAUNCHER_TO_PROGRAM "/prefix/${CMAKE_INSTALL_BINDIR}"
    "/prefix/${QM_GAME_PROGRAMDIR}/cinderpath2")
  configure_file(cmake/install/cinderpath2_launcher.sh.in
    "${CMAKE_BINARY_DIR}/install/cinderpath2" @ONLY)
  install(TARGETS cinderpath2 RUNTIME DESTINATION "${QM_GAME_PROGRAMDIR}" COMPONENT game)
  install(PROGRAMS "${CMAKE_BINARY_DIR}/install/cinderpath2"
    DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT game)
  install(DIRECTORY data DESTINATION "${QM_GAME_DATADIR}" COMPONENT game)
endif()

# ---- Debian packages (cpack, from the build folder) ---------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quillmark developers <quillmark@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Run-time libraries linked by the program are found by dpkg-shlibdeps; what is only loaded at run
# time is named: the GLX library SDL opens to make the OpenGL context (it brings Mesa's drivers),
# OpenAL's sound-system back ends, and the X core fonts the message boxes draw with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(QM_RUNTIME_PACKAGES "libgl1, libasound2, libpulse0, xfonts-base")

set(CPACK_COMPONENTS_ALL framework)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_NAME quillmark-dev)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_FRAMEWORK_PACKAGE_DEPENDS
  "libsdl2-dev, libopenal-dev, libgl-dev, libegl-dev, libx11-dev, pkg-config, ${QM_RUNTIME_PACKAGES}")
set(CPACK_COMPONENT_FRAMEWORK_DESCRIPTION
  "Quillmark, a compact 2D game framework in C++17: headers, static libraries, CMake package and pkg-config file
One fixed-size window with an OpenGL 1.1 context, a fixed-step game loop, scenes, sprites, sprite
sheets and animations, and OpenAL audio with named audio events. find_package(Quillmark) gives
Quillmark::quillmark and Quillmark::platform_sdl, or Quillmark::platform_session for games that
record and replay sessions.")
if(QM_BUILD_GAME AND UNIX)
  list(APPEND CPACK_COMPONENTS_ALL game)
  set(CPACK_DEBIAN_GAME_PACKAGE_NAME cinderpath2)
  set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "${QM_RUNTIME_PACKAGES}")
  set(CPACK_COMPONENT_GAME_DESCRIPTION
    "Cinderpath2, a small real-time game on the Quillmark framework
Steer a growing azure circle with the mouse through white circles that fly across the window.")
endif()
include(CPack)
