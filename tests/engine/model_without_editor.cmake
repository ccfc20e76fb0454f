cmake_minimum_required(VERSION 3.20)

# Fails when a source of the report model, the running side or the printing
# side includes the designer object's header, directly or through the
# engine's own headers. Run with -DROOT=<source tree>.
set(banned "${ROOT}/engine/Designer.h")
file(GLOB start ${ROOT}/engine/QuickRep.* ${ROOT}/engine/Bands.* ${ROOT}/engine/Printables.*
     ${ROOT}/engine/ReportEditor.h ${ROOT}/engine/run/* ${ROOT}/engine/print/*)
set(pending ${start})
set(seen "")
set(failed FALSE)
while(pending)
  list(POP_FRONT pending file)
  list(APPEND seen ${file})
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  get_filename_component(dir ${file} DIRECTORY)
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" name "${line}")
    # quoted includes resolve beside the file or from the source root; the
    # platform's headers cannot reach the engine, so others are not followed
    foreach(candidate ${dir}/${name} ${ROOT}/${name})
      get_filename_component(candidate ${candidate} ABSOLUTE)
      if(candidate STREQUAL banned)
        message(SEND_ERROR "${file} includes ${name}")
        set(failed TRUE)
      elseif(EXISTS ${candidate} AND NOT candidate IN_LIST seen AND NOT candidate IN_LIST pending)
        list(APPEND pending ${candidate})
      endif()
    endforeach()
  endforeach()
endwhile()
list(LENGTH seen count)
if(count LESS 10 OR failed)
  message(FATAL_ERROR "checked ${count} files")
endif()
message(STATUS "checked ${count} files")
