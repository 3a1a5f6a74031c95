# The layers of src/ in their order; a layer may include only itself and the
# layers before it.
set(QM_LAYERS core storage settings session widgets exercise editors shell)
# exercise and editors sit side by side: neither sees the other.
set(QM_LAYER_SIBLINGS_exercise editors)
set(QM_LAYER_SIBLINGS_editors exercise)

# qm_layer(name [GUI] sources...): the static library qm_<name>. Its headers
# are included as "<name>/File.h" through an include root of its own in the
# build tree that holds only this folder.
function(qm_layer name)
  cmake_parse_arguments(ARG "GUI" "" "" ${ARGN})
  add_library(qm_${name} STATIC ${ARG_UNPARSED_ARGUMENTS})
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(qm_${name} PUBLIC ${root})
  # Every layer below, and nothing else.
  foreach(lower IN LISTS QM_LAYERS)
    if(lower STREQUAL name)
      break()
    endif()
    if(lower IN_LIST QM_LAYER_SIBLINGS_${name})
      continue()
    endif()
    target_link_libraries(qm_${name} PRIVATE qm_${lower})
    # Headers of this layer name types of the layers below.
    target_include_directories(qm_${name} INTERFACE ${CMAKE_BINARY_DIR}/include/${lower})
  endforeach()
  target_link_libraries(qm_${name} PUBLIC Qt6::Core)
  if(ARG_GUI)
    target_link_libraries(qm_${name} PUBLIC Qt6::Gui Qt6::Widgets)
  endif()
  qm_warnings(qm_${name})
endfunction()
