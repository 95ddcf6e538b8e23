# Writes the launcher for a program folder; used when configuring (build folder) and when
# installing (the prefix is known only then).
set(QUIRLANTO_DESKTOP_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/quirlanto.desktop.in)

function(quirlanto_write_desktop_entry programDir outputFile)
  # Exec= arguments are quoted only when they hold a blank or a reserved character: xdg-open's
  # generic mode keeps the quotes of a quoted one (gio handles both). A quoted one has \ " ` $
  # escaped, % doubled, and every \ doubled once more because the value itself is an escaped string.
  set(q "${programDir}/quirlanto")
  string(REPLACE "%" "%%" q "${q}")
  if(q MATCHES "[ \t\n\"'\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" q "${q}")
    string(REPLACE "\"" "\\\"" q "${q}")
    string(REPLACE "`" "\\`" q "${q}")
    string(REPLACE "$" "\\$" q "${q}")
    string(REPLACE "\\" "\\\\" q "${q}")
    set(q "\"${q}\"")
  endif()
  set(QUIRLANTO_DESKTOP_EXEC "${q}")
  string(REPLACE "\\" "\\\\" QUIRLANTO_DESKTOP_ICON "${programDir}/icons/quirlanto.svg")
  configure_file(${QUIRLANTO_DESKTOP_TEMPLATE} ${outputFile} @ONLY)
endfunction()
