# SPDX-License-Identifier: Zlib
# What the Windows build (cross-compiled with cmake/MinGwToolchain.cmake) links instead of the
# Linux packages: the system's own OpenGL, GDI and USER libraries, stb's headers, and OpenAL's
# headers only, since the framework loads the OpenAL library itself when the program starts.
# The targets keep their Linux names, so every target links them alike on both platforms.
# SDL2 and X11 are not used there: the window layer talks to the real Windows API.

# Only the parts of <windows.h> the framework uses, and no min/max macros to trip the standard
# library; the full header's PlaySound macro would also rename the audio manager's operation.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

find_package(OpenGL REQUIRED)
target_link_libraries(OpenGL::GL INTERFACE gdi32 user32)

# Header-only libraries from Debian's packages, reached without adding the build machine's whole
# /usr/include (its C library headers must never meet MinGW's): each folder is linked alone into
# the build tree.
function(qm_link_host_headers folder link)
  if(NOT EXISTS "/usr/include/${folder}")
    message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/install_dependencies.sh")
  endif()
  get_filename_component(parent "${CMAKE_BINARY_DIR}/host_headers/${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "/usr/include/${folder}" "${CMAKE_BINARY_DIR}/host_headers/${link}" SYMBOLIC)
endfunction()

qm_link_host_headers(stb stb)
add_library(PkgConfig::STB INTERFACE IMPORTED)
target_include_directories(PkgConfig::STB INTERFACE "${CMAKE_BINARY_DIR}/host_headers/stb")

# AL/al.h and AL/alc.h with plain declarations (not DLL imports): the framework defines these
# functions itself and forwards them to the library it loads (audio/implementation).
qm_link_host_headers(AL openal/AL)
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
target_include_directories(PkgConfig::OPENAL INTERFACE "${CMAKE_BINARY_DIR}/host_headers/openal")
target_compile_definitions(PkgConfig::OPENAL INTERFACE AL_LIBTYPE_STATIC)

# Test programs run under Wine, in a prefix of the build's own that is made on first use.
set(CMAKE_CROSSCOMPILING_EMULATOR
  "${CMAKE_SOURCE_DIR}/scripts/run_under_wine.sh;${CMAKE_BINARY_DIR}/wine")
