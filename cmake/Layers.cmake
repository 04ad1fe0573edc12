# The layers' include roots. A layer's headers are reached as "layer/name.h" through a root
# that holds that layer alone (a link to its folder), given PUBLIC to the layer's library.
# A target therefore sees only the layers it links, and an #include that climbs the ladder
# (the order of the folder table in docs/DEVELOPING.md) does not compile.
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
    # A layer compiles as a few large translation units: the headers (the Windows and Qt
    # ones above all) are read once a batch instead of once a file, which halves a fresh
    # build. The Linux window subset stays file by file: its files reuse names privately.
    if(KORVANTH_UNITY_BUILD AND NOT layer STREQUAL "platform")
      set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
    endif()
  endif()
endfunction()
