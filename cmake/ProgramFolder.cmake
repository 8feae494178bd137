# tallowby_program_folder(<executable target> <folder> <layout>)
#
# Makes <folder> a complete program folder for <executable target>: the executable is built into
# it, and on every build tallowby_mkfolder adds the first-run data files that are missing (never
# touching the user's), rewrites the alert sounds and icons, and the help page for <layout> (folder:
# the real program, sandbox: the sandbox program) is put beside the executable. Any number of
# folders can be laid out this way.
include_guard(GLOBAL)

# tallowby_help_page_command(<layout> <output> <command> <depends>): the command that makes the
# help page of one layout (installed, folder or sandbox) from the one source page, and the files it
# is made from, in the caller's <command> and <depends>.
function(tallowby_help_page_command layout output command depends)
  set(source "${Tallowby_SOURCE_DIR}/data/Tallowby - Help.htm")
  set(script ${Tallowby_SOURCE_DIR}/cmake/render_help_page.cmake)
  set(${command} ${CMAKE_COMMAND} -DLAYOUT=${layout} "-DSOURCE=${source}" "-DOUTPUT=${output}" -P ${script}
    PARENT_SCOPE)
  set(${depends} "${source}" ${script} PARENT_SCOPE)
endfunction()

function(tallowby_program_folder target folder layout)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${folder}")
  tallowby_help_page_command(${layout} "${folder}/Tallowby - Help.htm" help_page help_sources)
  add_custom_target(${target}_program_folder ALL
    COMMAND tallowby_mkfolder "${folder}"
    COMMAND ${help_page}
    DEPENDS tallowby_mkfolder ${help_sources}
    COMMENT "Laying out the program folder ${folder}"
    VERBATIM)
  add_dependencies(${target} ${target}_program_folder)
endfunction()
