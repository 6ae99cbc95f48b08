# Include roots of their own. Headers are included as "carpeta/x.h", but no target sees the
# whole source tree: each gets a root in the build tree, build/incluir/<target>, holding
# only links named after its folders, and exports it to those that link it. A file that
# includes a header of a folder its target does not link fails to build.
#
# fenwa_raiz_propia(target PUBLIC|PRIVATE carpeta... [SOLO_CABECERAS])
#   carpeta: a folder of the source tree, linked into the root under the same path.
#   SOLO_CABECERAS: the root gets a folder of links to the folder's own headers instead of
#   a link to the folder, so that a subfolder that is a target of its own (chart/qt) stays
#   out of sight.
function(fenwa_raiz_propia target alcance)
  cmake_parse_arguments(PARSE_ARGV 2 arg "SOLO_CABECERAS" "" "")
  set(raiz ${CMAKE_BINARY_DIR}/incluir/${target})
  foreach(carpeta IN LISTS arg_UNPARSED_ARGUMENTS)
    set(enlace ${raiz}/${carpeta})
    # What an earlier configuration left: a link, or a folder of links (only links are
    # removed, never what they point to).
    if(IS_SYMLINK ${enlace})
      file(REMOVE ${enlace})
    elseif(IS_DIRECTORY ${enlace})
      file(GLOB viejos LIST_DIRECTORIES true ${enlace}/*)
      foreach(viejo IN LISTS viejos)
        if(IS_SYMLINK ${viejo})
          file(REMOVE ${viejo})
        endif()
      endforeach()
    endif()
    if(arg_SOLO_CABECERAS)
      file(MAKE_DIRECTORY ${enlace})
      file(GLOB cabeceras CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${carpeta}
           ${CMAKE_SOURCE_DIR}/${carpeta}/*.h)
      foreach(cabecera IN LISTS cabeceras)
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${carpeta}/${cabecera} ${enlace}/${cabecera}
             SYMBOLIC)
      endforeach()
    else()
      if(IS_DIRECTORY ${enlace})
        file(REMOVE_RECURSE ${enlace})  # the folder of links, emptied above
      endif()
      get_filename_component(padre ${enlace} DIRECTORY)
      file(MAKE_DIRECTORY ${padre})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${carpeta} ${enlace} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${alcance} ${raiz})
endfunction()
