# zelvo_exports(<target> <DLL file name> <function>:<argument bytes> ...)
# Writes the module-definition file of a DLL whose WINAPI exports carry undecorated names
# in both widths. The 32-bit objects name them Function@N; --kill-at strips the suffix from
# the export while the import library still resolves the decorated name.
function(zelvo_exports target dll)
  set(text "LIBRARY ${dll}\nEXPORTS\n")
  foreach(entry IN LISTS ARGN)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(APPEND text "    ${name}@${bytes}\n")
    else()
      string(APPEND text "    ${name}\n")
    endif()
  endforeach()
  set(def "${CMAKE_CURRENT_BINARY_DIR}/${target}.def")
  file(WRITE "${def}" "${text}")
  target_sources(${target} PRIVATE "${def}")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The linker's own import library would name the undecorated symbols; dlltool -k makes
    # one that maps Function@N in the callers to the undecorated export.
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND "${CMAKE_DLLTOOL}" -k -d "${def}" -D "${dll}" -l "$<TARGET_LINKER_FILE:${target}>"
      VERBATIM)
  endif()
endfunction()
