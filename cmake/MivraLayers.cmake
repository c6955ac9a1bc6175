# mivra_layer(<name> SOURCES <files...> [DEPENDS <layers...>] [LIBS <targets...>])
# Each top folder is one layer: the static library mivra_<name>. Its headers
# are reachable as "<name>/File.h" only from the layer itself and from the
# layers that link it, and a layer links only the layers below it, so an
# include that points up fails to compile. Tests added below the folder with
# mivra_add_test link the layer.
function(mivra_layer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;LIBS" ${ARGN})
  set(include_root ${CMAKE_BINARY_DIR}/layers/${name})
  file(MAKE_DIRECTORY ${include_root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_root}/${name} SYMBOLIC)
  add_library(mivra_${name} STATIC ${ARG_SOURCES})
  target_include_directories(mivra_${name} PUBLIC ${include_root})
  foreach(layer IN LISTS ARG_DEPENDS)
    target_link_libraries(mivra_${name} PUBLIC mivra_${layer})
  endforeach()
  target_link_libraries(mivra_${name} PUBLIC ${ARG_LIBS})
  set(MIVRA_LAYER ${name} PARENT_SCOPE)
endfunction()
