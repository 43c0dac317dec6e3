# SPDX-License-Identifier: Zlib
# The browser pages as part of a native build: where Emscripten is installed, `cmake --build`
# also configures and builds this tree with Emscripten (as the `web` preset does) in
# build/<preset>/web, so the browser tests run with every other suite and see every change.
# QM_BUILD_WEB=OFF leaves the pages out.
option(QM_BUILD_WEB "Also build the browser pages when Emscripten is installed" ON)
set(QM_WEB_PAGES_DIR "")
if(NOT QM_BUILD_WEB OR EMSCRIPTEN OR WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()
find_file(QM_EMSCRIPTEN_TOOLCHAIN Emscripten.cmake
  PATHS /usr/share/emscripten/cmake/Modules/Platform NO_DEFAULT_PATH)
if(NOT QM_EMSCRIPTEN_TOOLCHAIN)
  message(STATUS "Emscripten not found: the browser pages and their tests are left out")
  return()
endif()

include(ExternalProject)
set(QM_WEB_BUILD_DIR "${CMAKE_BINARY_DIR}/web")
# Emscripten's optimiser needs Debian's JavaScript modules, also where another node is first on
# the PATH.
set(QM_WEB_ENV "${CMAKE_COMMAND}" -E env NODE_PATH=/usr/share/nodejs)
ExternalProject_Add(quillmark_web
  SOURCE_DIR "${CMAKE_SOURCE_DIR}"
  BINARY_DIR "${QM_WEB_BUILD_DIR}"
  CONFIGURE_COMMAND ${QM_WEB_ENV} "${CMAKE_COMMAND}" -S <SOURCE_DIR> -B <BINARY_DIR>
    -G "${CMAKE_GENERATOR}" "-DCMAKE_TOOLCHAIN_FILE=${QM_EMSCRIPTEN_TOOLCHAIN}"
    -DCMAKE_BUILD_TYPE=Release
  BUILD_COMMAND ${QM_WEB_ENV} "${CMAKE_COMMAND}" --build <BINARY_DIR>
  INSTALL_COMMAND ""
  BUILD_ALWAYS TRUE
  USES_TERMINAL_BUILD TRUE)
set(QM_WEB_PAGES_DIR "${QM_WEB_BUILD_DIR}/pages")
