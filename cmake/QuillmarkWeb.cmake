# SPDX-License-Identifier: Zlib
# The browser build (Emscripten): the system's libraries as Emscripten provides them, and
# qm_add_web_page, which makes a game into a page: its program (.js + .wasm), its data pack and
# our own HTML page. Each page lands in build/<preset>/pages/<name>/, ready to be served.

# OpenGL is WebGL under Emscripten's emulation of the fixed-function pipeline; OpenAL plays on
# Web Audio. stb is header-only: Debian's headers serve the browser build as they are.
add_library(OpenGL::GL INTERFACE IMPORTED)
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_OPTIONS "-sLEGACY_GL_EMULATION=1;-lGL")
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
set_target_properties(PkgConfig::OPENAL PROPERTIES INTERFACE_LINK_OPTIONS "-lopenal")
find_path(QM_STB_INCLUDE_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(PkgConfig::STB INTERFACE IMPORTED)
set_target_properties(PkgConfig::STB PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${QM_STB_INCLUDE_DIR}")

# Emscripten's CMake support names sources relative to each object's folder
# ("../../../source/..."); reports still name them from the repository root.
foreach(depth RANGE 1 8)
  string(REPEAT "../" ${depth} up)
  add_compile_options("-fmacro-prefix-map=${up}=")
endforeach()

set(QM_WEB_PAGE_TEMPLATE "${CMAKE_SOURCE_DIR}/source/quill_mark/platform/web/qmi_web_page.html.in")
set(QM_FILE_PACKAGER "${EMSCRIPTEN_ROOT_PATH}/tools/file_packager")

# qm_add_web_page(<target> TITLE <caption before the game sets one> DATA <data folder>
#                 SOURCES ... LIBRARIES ...)
# The data folder is packed as /data (data.data + data.js): the program opens "data/..." from
# the root, its current folder. The page loads the pack unless its address asks for ?nodata.
function(qm_add_web_page target)
  cmake_parse_arguments(ARG "" "TITLE;DATA" "SOURCES;LIBRARIES" ${ARGN})
  set(page_dir "${CMAKE_BINARY_DIR}/pages/${target}")
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME game SUFFIX ".js"
    RUNTIME_OUTPUT_DIRECTORY "${page_dir}")
  # The data pack is loaded by a script of its own (data.js), which fills the program's file
  # system through the runtime functions named here.
  target_link_options(${target} PRIVATE -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
    -sFORCE_FILESYSTEM=1
    "-sEXPORTED_RUNTIME_METHODS=FS,FS_createPath,FS_createDataFile,FS_createPreloadedFile,addRunDependency,removeRunDependency")
  qm_apply_warnings(${target})

  file(GLOB_RECURSE data_files CONFIGURE_DEPENDS "${ARG_DATA}/*")
  add_custom_command(OUTPUT "${page_dir}/data.data" "${page_dir}/data.js"
    COMMAND "${QM_FILE_PACKAGER}" data.data "--preload" "${ARG_DATA}@/data" "--js-output=data.js"
    WORKING_DIRECTORY "${page_dir}"
    DEPENDS ${data_files}
    COMMENT "Packing ${ARG_DATA} for the ${target} page")
  add_custom_target(${target}_data ALL DEPENDS "${page_dir}/data.data" "${page_dir}/data.js")
  add_dependencies(${target} ${target}_data)

  set(QM_PAGE_TITLE "${ARG_TITLE}")
  set(QM_PAGE_NAME "${target}")
  configure_file("${QM_WEB_PAGE_TEMPLATE}" "${page_dir}/index.html" @ONLY)
endfunction()
