# Writes the launcher for a program folder; used when configuring (build folder) and when
# installing (the prefix is known only then).
set(QUIRLANTO_DESKTOP_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/quirlanto.desktop.in)

function(quirlanto_write_desktop_entry programDir outputFile)
  # Exec= arguments: quoted, with \ " ` $ escaped; % doubled; then every \ doubled once more
  # because the value itself is an escaped string.
  set(q "${programDir}/quirlanto")
  string(REPLACE "\\" "\\\\" q "${q}")
  string(REPLACE "\"" "\\\"" q "${q}")
  string(REPLACE "`" "\\`" q "${q}")
  string(REPLACE "$" "\\$" q "${q}")
  string(REPLACE "%" "%%" q "${q}")
  string(REPLACE "\\" "\\\\" q "${q}")
  set(QUIRLANTO_DESKTOP_EXEC "\"${q}\"")
  string(REPLACE "\\" "\\\\" QUIRLANTO_DESKTOP_ICON "${programDir}/icons/quirlanto.svg")
  configure_file(${QUIRLANTO_DESKTOP_TEMPLATE} ${outputFile} @ONLY)
endfunction()
