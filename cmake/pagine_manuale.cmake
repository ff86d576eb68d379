# Writes a page of the built-in manual: SORGENTE with the program's version (@ONDIX_VERSIONE@ = VERSIONE) and each
# line "@ESEMPIO ARGS@" replaced by what PROGRAMMA (ondix-calc) prints for ARGS, under the command that printed it,
# so that the manual's examples are the program's own output; the commands run in DATI (the files they name are
# there). The result goes to DESTINAZIONE.
#   cmake -DPROGRAMMA=... -DSORGENTE=... -DDESTINAZIONE=... -DVERSIONE=... -DDATI=... -P pagine_manuale.cmake
cmake_policy(VERSION 3.25)
file(READ ${SORGENTE} testo ENCODING UTF-8)
string(REPLACE "@ONDIX_VERSIONE@" "${VERSIONE}" testo "${testo}")
string(REGEX MATCHALL "@ESEMPIO [^@\n]*@" esempi "${testo}")
foreach(esempio IN LISTS esempi)
  string(REGEX REPLACE "^@ESEMPIO (.*)@$" "\\1" argomenti "${esempio}")
  separate_arguments(lista UNIX_COMMAND "${argomenti}")
  # Without a display and in a fixed locale, as a terminal shows it: the messages (standard error) first, then the
  # report.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY LC_ALL=C.UTF-8
                          ${PROGRAMMA} ${lista}
                  WORKING_DIRECTORY ${DATI} OUTPUT_VARIABLE uscita ERROR_VARIABLE errori RESULT_VARIABLE codice)
  if(NOT codice MATCHES "^[0-9]+$" OR (uscita STREQUAL "" AND errori STREQUAL ""))
    message(FATAL_ERROR "${SORGENTE}: ondix-calc ${argomenti} gave no output (${codice})")
  endif()
  set(blocco "$ ondix-calc ${argomenti}\n${errori}${uscita}")
  string(REGEX REPLACE "\n$" "" blocco "${blocco}")
  string(REPLACE "&" "&amp;" blocco "${blocco}")
  string(REPLACE "<" "&lt;" blocco "${blocco}")
  string(REPLACE ">" "&gt;" blocco "${blocco}")
  string(REPLACE "${esempio}" "<pre class=\"esempio\">${blocco}</pre>" testo "${testo}")
endforeach()
file(WRITE ${DESTINAZIONE}.nuovo "${testo}")
file(RENAME ${DESTINAZIONE}.nuovo ${DESTINAZIONE})
