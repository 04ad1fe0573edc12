# The layers' include roots. A layer's headers are reached as "layer/name.h" through a root
# that holds that layer alone (a link to its folder), given PUBLIC to the layer's library.
# A target therefore sees only the layers it links, and an #include that climbs the ladder
# (the order of the folder table in README.md) does not compile.
function(korvanth_layer target layer)
  set(root ${PROJECT_BINARY_DIR}/layers/${layer})
  if(NOT EXISTS ${root}/${layer})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${layer} ${root}/${layer} SYMBOLIC)
  endif()
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
