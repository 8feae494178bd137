# cmake -DFILES=<source>=<subfolder>|... -DFOLDER=<folder> -DSTRIP=<strip> -P copy_stripped.cmake
# Copies each source into <folder>/<subfolder> and strips the copy, unless the copy is newer.
string(REPLACE "|" ";" files "${FILES}")
foreach(entry ${files})
  string(REGEX REPLACE "=.*$" "" source "${entry}")
  string(REGEX REPLACE "^[^=]*=" "" subfolder "${entry}")
  get_filename_component(name "${source}" NAME)
  set(target "${FOLDER}/${subfolder}/${name}")
  if(NOT EXISTS "${target}" OR "${source}" IS_NEWER_THAN "${target}")
    file(MAKE_DIRECTORY "${FOLDER}/${subfolder}")
    file(COPY_FILE "${source}" "${target}")
    execute_process(COMMAND "${STRIP}" --strip-unneeded "${target}" COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
