# Writes the manual page NOME.1.gz of PROGRAMMA from its --help and --version (help2man), in the current
# directory. For ondix-calc the batch command's own help becomes a section of the page.
# cmake -DPROGRAMMA=... -DNOME=... -DDESCRIZIONE=... -DHELP2MAN=... -DGZIP=... -P manuale.cmake
cmake_policy(VERSION 3.25)
set(aggiunte "${NOME}.h2m")
if(NOME STREQUAL "ondix-calc")
  execute_process(COMMAND ${PROGRAMMA} stati --help OUTPUT_VARIABLE stati RESULT_VARIABLE esito)
  if(NOT esito EQUAL 0)
    message(FATAL_ERROR "${PROGRAMMA} stati --help failed")
  endif()
  # Shown as written (roff: a backslash is written \e, and a line may not start with a dot or a quote).
  string(REPLACE "\\" "\\e" stati "${stati}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" stati "${stati}")
  set(testo "[BATCH CALCULATION]\nondix-calc stati [OPTIONS] [FILE]\n.PP\n.nf\n${stati}.fi\n")
  set(vedi "ondix(1)")
else()
  set(testo "")
  set(vedi "ondix-calc(1)")
endif()
file(WRITE ${aggiunte} "${testo}[SEE ALSO]\n${vedi}\n")
execute_process(COMMAND ${HELP2MAN} --no-info --section=1 --name=${DESCRIZIONE} --include=${aggiunte}
                        --output=${NOME}.1 ${PROGRAMMA} RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "help2man failed for ${PROGRAMMA}")
endif()
execute_process(COMMAND ${GZIP} -9nf ${NOME}.1 RESULT_VARIABLE esito)
if(NOT esito EQUAL 0)
  message(FATAL_ERROR "gzip failed for ${NOME}.1")
endif()
