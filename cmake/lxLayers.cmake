# The library is built from layers, one folder each. Every layer is an object library
# that links only the layers below it; the shared library lxTreeView70 is made of their
# objects. Each layer also records which folders its files may include (its own and
# those of every layer it links, directly or through another), and whether its own files
# may include Qt's headers (QT; this is not inherited: a layer above one that uses Qt
# links Qt but need not see it); tests/layers checks the sources against that record.

# lx_add_layer(<target> FOLDER <folder> [LINKS <layer>...] [QT])
function(lx_add_layer target)
  cmake_parse_arguments(ARG "QT" "FOLDER" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${ARG_FOLDER}/*.cpp ${PROJECT_SOURCE_DIR}/${ARG_FOLDER}/*.h)
  add_library(${target} OBJECT ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_LINKS})

  set(folders ${ARG_FOLDER})
  foreach(below IN LISTS ARG_LINKS)
    get_property(below_folders GLOBAL PROPERTY LX_LAYER_FOLDERS_${below})
    list(APPEND folders ${below_folders})
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set(qt FALSE)
  if(ARG_QT)
    set(qt TRUE)
    target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
  endif()
  set_property(GLOBAL PROPERTY LX_LAYER_FOLDERS_${target} ${folders})
  set_property(GLOBAL APPEND PROPERTY LX_LAYERS ${target})
  list(JOIN folders " " allowed)
  set_property(GLOBAL APPEND PROPERTY LX_LAYER_RULES "${ARG_FOLDER}|${qt}|${allowed}")
endfunction()

# Writes the include rules of every layer to <file>, for the layer check.
function(lx_write_layer_rules file)
  get_property(rules GLOBAL PROPERTY LX_LAYER_RULES)
  set(lines "")
  foreach(rule IN LISTS rules)
    string(REPLACE "|" "\t" rule "${rule}")
    string(APPEND lines "${rule}\n")
  endforeach()
  file(WRITE ${file} "${lines}")
endfunction()
