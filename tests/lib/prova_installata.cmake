# The library as a user gets it: installed (components libondix and dev) into a fresh prefix, the README's example
# built against it once with find_package(ondix) and once with pkg-config, and the example as the first callers
# wrote it with pkg-config, the programs run from there and their output compared with esempio.out; the typed
# results of the processes checked against their JSON.
# -DBUILD=<build tree> -DSORGENTE=<this directory> -DLAVORO=<scratch directory> -DCXX=<C++ compiler>
file(REMOVE_RECURSE ${LAVORO})
set(prefisso ${LAVORO}/prefisso)
function(esegui)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE esito OUTPUT_VARIABLE uscita ERROR_VARIABLE errori)
  if(NOT esito EQUAL 0)
    message(FATAL_ERROR "${ARGV}: ${esito}\n${uscita}\n${errori}")
  endif()
  set(uscita "${uscita}" PARENT_SCOPE)
endfunction()
foreach(componente libondix dev)
  esegui(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefisso} --component ${componente})
endforeach()
file(READ ${SORGENTE}/esempio.out atteso)

esegui(${CMAKE_COMMAND} -S ${SORGENTE}/esempio -B ${LAVORO}/cmake -DCMAKE_PREFIX_PATH=${prefisso}
       -DCMAKE_CXX_COMPILER=${CXX})
esegui(${CMAKE_COMMAND} --build ${LAVORO}/cmake)
esegui(${LAVORO}/cmake/esempio)
if(NOT uscita STREQUAL atteso)
  message(FATAL_ERROR "find_package: the example wrote\n${uscita}\ninstead of\n${atteso}")
endif()

file(GLOB_RECURSE pc ${prefisso}/ondix.pc)
get_filename_component(cartella_pc ${pc} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${cartella_pc})
esegui(pkg-config --cflags --libs ondix)
separate_arguments(opzioni UNIX_COMMAND "${uscita}")
esegui(pkg-config --variable=libdir ondix)
string(STRIP "${uscita}" libdir)
esegui(${CXX} -std=c++17 ${SORGENTE}/esempio/esempio.cpp ${opzioni} -Wl,-rpath,${libdir} -o ${LAVORO}/esempio_pc)
esegui(${LAVORO}/esempio_pc)
if(NOT uscita STREQUAL atteso)
  message(FATAL_ERROR "pkg-config: the example wrote\n${uscita}\ninstead of\n${atteso}")
endif()

# The example as the first callers wrote it (the kind as a number, the entry points kept for them), built with the
# same warnings as the project's sources: it still builds, and writes the same.
esegui(${CXX} -std=c++17 -Wall -Wextra -Werror ${SORGENTE}/compatibile.cpp ${opzioni} -Wl,-rpath,${libdir}
       -o ${LAVORO}/compatibile)
esegui(${LAVORO}/compatibile)
if(NOT uscita STREQUAL atteso)
  message(FATAL_ERROR "the first callers' example wrote\n${uscita}\ninstead of\n${atteso}")
endif()

# The typed results of every kind against their JSON.
esegui(${CXX} -std=c++17 -Wall -Wextra -Werror ${SORGENTE}/risultati.cpp ${opzioni} -Wl,-rpath,${libdir}
       -o ${LAVORO}/risultati)
esegui(${LAVORO}/risultati)
