# Fails when a source file includes a header of a higher layer. Each folder belongs to one
# layer; the folders, from the bottom:
#   0 text      markup/ settings/ snippets/
#   1 platform  platform/
#   2 editor    editor/
#   3 windows   app/ options/ shell/
# Usage: cmake -DROOT=<source folder> [-DSTAMP=<file to touch>] -P CheckLayers.cmake
set(LAYER_markup 0)
set(LAYER_settings 0)
set(LAYER_snippets 0)
set(LAYER_platform 1)
set(LAYER_editor 2)
set(LAYER_app 3)
set(LAYER_options 3)
set(LAYER_shell 3)
set(NAMES text platform editor windows)

set(failures "")
foreach(folder markup settings snippets platform editor app options shell)
  file(GLOB files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" target "${line}")
      if(NOT DEFINED LAYER_${target})
        list(APPEND failures "${file}: ${line}: no layer for folder '${target}'")
      elseif(LAYER_${target} GREATER LAYER_${folder})
        list(GET NAMES ${LAYER_${folder}} from)
        list(GET NAMES ${LAYER_${target}} to)
        list(APPEND failures "${file}: ${line}: the ${from} layer may not include the ${to} layer")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Includes that point up the layers:\n${text}")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
