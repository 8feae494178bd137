# What a Windows program folder needs beside the executables: Qt's DLLs and exactly the plugins the
# program loads (the Windows platform, the native style, ICO icons), and the MinGW runtime DLLs that
# Qt's DLLs and the programs share. Everything there is stripped of its symbols.
include_guard(GLOBAL)

# The MinGW runtime, wherever this compiler keeps it.
set(tallowby_runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE found
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "The MinGW runtime's ${dll} was not found (${CMAKE_CXX_COMPILER} -print-file-name)")
  endif()
  file(REAL_PATH "${found}" found)
  list(APPEND tallowby_runtime_dlls "${found}")
endforeach()
set(TALLOWBY_RUNTIME_DLLS "${tallowby_runtime_dlls}" CACHE INTERNAL "The MinGW runtime's DLLs")

# Wine's search path for programs run from the build (tools, tests): Qt's DLLs and the runtime, as
# Windows paths on Wine's Z: drive.
set(TALLOWBY_WINEPATH)
set(tallowby_dll_dirs "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(dll ${tallowby_runtime_dlls})
  get_filename_component(dir "${dll}" DIRECTORY)
  list(APPEND tallowby_dll_dirs "${dir}")
endforeach()
list(REMOVE_DUPLICATES tallowby_dll_dirs)
foreach(dir ${tallowby_dll_dirs})
  string(REPLACE "/" "\\" windows_dir "Z:${dir}")
  list(APPEND TALLOWBY_WINEPATH "${windows_dir}")
endforeach()

# For scripts/test-windows.sh, which runs the tests with it.
set(TALLOWBY_WINEPATH_TESTS "${TALLOWBY_WINEPATH}" CACHE STRING "Wine's search path for the tests" FORCE)

# What the build runs its own Windows tools through: Wine in the build's prefix, with that path.
set(TALLOWBY_RUN_TOOL ${CMAKE_BINARY_DIR}/run-windows-tool.sh CACHE INTERNAL "Runs a Windows tool of the build")
file(WRITE ${TALLOWBY_RUN_TOOL} "#!/bin/sh
export WINEPREFIX='${CMAKE_BINARY_DIR}/wine-prefix' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export WINEPATH='${TALLOWBY_WINEPATH}'
exec '${CMAKE_CROSSCOMPILING_EMULATOR}' \"$@\"
")
file(CHMOD ${TALLOWBY_RUN_TOOL} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)

find_program(TALLOWBY_MINGW_STRIP NAMES x86_64-w64-mingw32-strip REQUIRED)

# tallowby_windows_runtime(<target> <folder>): after <target> is built into <folder>, puts the DLLs
# beside it (each copied and stripped again only when its source is newer) and strips the target.
function(tallowby_windows_runtime target folder)
  set(qt "${QT6_INSTALL_PREFIX}")
  set(files
    "${qt}/${QT6_INSTALL_BINS}/Qt6Core.dll="
    "${qt}/${QT6_INSTALL_BINS}/Qt6Gui.dll="
    "${qt}/${QT6_INSTALL_BINS}/Qt6Widgets.dll="
    "${qt}/${QT6_INSTALL_PLUGINS}/platforms/qwindows.dll=platforms"
    "${qt}/${QT6_INSTALL_PLUGINS}/styles/qwindowsvistastyle.dll=styles"
    "${qt}/${QT6_INSTALL_PLUGINS}/imageformats/qico.dll=imageformats")
  foreach(dll ${TALLOWBY_RUNTIME_DLLS})
    list(APPEND files "${dll}=")
  endforeach()
  string(REPLACE ";" "|" files "${files}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${TALLOWBY_MINGW_STRIP} --strip-unneeded $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_COMMAND} "-DFILES=${files}" "-DFOLDER=${folder}" "-DSTRIP=${TALLOWBY_MINGW_STRIP}"
            -P ${PROJECT_SOURCE_DIR}/cmake/copy_stripped.cmake
    VERBATIM)
endfunction()
