# The units of the visual library stack one on another: a unit's sources
# include only from their own unit and the units below it, so that each can be
# read and changed without the ones above. Run as a test:
#   cmake -DROOT=<platform folder> -P layers_check.cmake
set(units graphics qt controls forms dialogs)

set(faults 0)
list(LENGTH units count)
math(EXPR last "${count} - 1")
foreach(rank RANGE ${last})
  list(GET units ${rank} unit)
  file(GLOB sources "${ROOT}/${unit}/*.h" "${ROOT}/${unit}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" includes REGEX "^#include \"[^\"/]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"(([^\"/]+)/[^\"]*)\".*" "\\1" path "${line}")
      string(REGEX REPLACE "/.*" "" included "${path}")
      list(FIND units "${included}" includedRank)
      if(includedRank GREATER rank)
        file(RELATIVE_PATH name "${ROOT}" "${source}")
        message("${name} includes ${path} from above its unit")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} upward include(s) in the visual library")
endif()
