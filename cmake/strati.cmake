# The layers see only what they link. Every header is included by its layer's folder ("core/aria_umida.h"), and
# each layer reaches its folder through an include root of its own that holds that folder alone (a link in the
# build tree, strati/LAYER/LAYER -> src/LAYER). A target gets the roots of the layers it links, so an include that
# points up or sideways, such as "cli/..." from the core or the library or "ui/..." from the chart, fails to
# compile, as a Qt include does in a library that does not link Qt.
function(ondix_strato bersaglio cartella)
  set(radice ${PROJECT_BINARY_DIR}/strati/${cartella})
  if(NOT IS_SYMLINK ${radice}/${cartella})
    file(MAKE_DIRECTORY ${radice})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${cartella} ${radice}/${cartella} SYMBOLIC)
  endif()
  set(visibilita PUBLIC)
  get_target_property(genere ${bersaglio} TYPE)
  if(genere STREQUAL "EXECUTABLE" OR genere STREQUAL "MODULE_LIBRARY")
    set(visibilita PRIVATE)
  endif()
  target_include_directories(${bersaglio} ${visibilita} $<BUILD_INTERFACE:${radice}>)
endfunction()
