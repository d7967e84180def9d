# The subsystems depend one way: the core and the toolkit know no format and
# no editor, the editor knows no format, and one format never reaches into
# another. Every project include ("folder/...") of each folder is checked
# against the folders it may use.
#
#   cmake -DROOT=<project root> -P include_layers.cmake

set(allowed_core core)
set(allowed_resources resources)
set(allowed_toolkit toolkit resources)
set(allowed_editor editor core toolkit resources)
set(allowed_formats/vst2 formats/vst2 core editor toolkit resources)
set(allowed_formats/lv2 formats/lv2 core editor toolkit resources)

set(violations "")
foreach(folder core resources toolkit editor formats/vst2 formats/lv2)
  file(GLOB_RECURSE sources "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
      set(permitted FALSE)
      foreach(target ${allowed_${folder}})
        string(FIND "${included}" "${target}/" at)
        if(at EQUAL 0)
          set(permitted TRUE)
        endif()
      endforeach()
      if(NOT permitted)
        file(RELATIVE_PATH shown "${ROOT}" "${source}")
        string(APPEND violations "\n  ${shown} includes \"${included}\"")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "includes against the direction of the layers:${violations}")
endif()
