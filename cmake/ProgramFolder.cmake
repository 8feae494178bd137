# tallowby_program_folder(<executable target> <folder>)
#
# Makes <folder> a complete program folder for <executable target>: the executable is built into
# it, and on every build tallowby_mkfolder adds the first-run data files that are missing (never
# touching the user's), rewrites the alert sounds and icons, and the help page is copied beside
# the executable. Any number of folders can be laid out this way.
include_guard(GLOBAL)

# A Windows build runs the Windows tallowby_mkfolder under Wine, in the build's own Wine prefix,
# finding Qt's DLLs and the MinGW runtime through WINEPATH (TALLOWBY_RUN_TOOL).
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsRuntime.cmake)
endif()

function(tallowby_program_folder target folder)
  set(help_page "${Tallowby_SOURCE_DIR}/data/Tallowby - Help.htm")
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${folder}")
  add_custom_target(${target}_program_folder ALL
    COMMAND ${TALLOWBY_RUN_TOOL} $<TARGET_FILE:tallowby_mkfolder> "${folder}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${help_page}" "${folder}/Tallowby - Help.htm"
    DEPENDS tallowby_mkfolder "${help_page}"
    COMMENT "Laying out the program folder ${folder}"
    VERBATIM)
  add_dependencies(${target} ${target}_program_folder)
  if(WIN32)
    tallowby_windows_runtime(${target} "${folder}")
  endif()
endfunction()
