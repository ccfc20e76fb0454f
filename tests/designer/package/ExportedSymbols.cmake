# Reads the dynamic symbols the package defines (nm -D) and checks that a host
# finds its whole interface there and nothing else: no element toolbar, no
# helper of the units. Run by ctest with -DNM=<nm> -DLIBRARY=<libVornak.so>.
cmake_minimum_required(VERSION 3.25)
set(classes TVornak Tnewcroll TNewQrToolbar TQRAsciiExportFilter TQRBuilder TQRListBuilder TNameCount
  Tmainform Timptxtsys)
set(routines QRLoadReport QRFreeReport QRCreateList AllDataSets AllDataSources allsubdetail
  PopulateFontSizeCombo FillString Register StartVornakUnits StartDesigner StopDesigner)
set(variables mainform imptxtsys ReportForm VornakPackageDescription VornakPackageVersion)
set(toolbars TQuickRepToolbar TQRCustomBandToolbar TQRCustomLabelToolbar TQRExprToolbar TQRShapeToolbar TQRRich)

execute_process(COMMAND ${NM} -D -C --defined-only ${LIBRARY} OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR listing STREQUAL "")
  message(FATAL_ERROR "${NM} could not list the symbols of ${LIBRARY}")
endif()
# brackets ([abi:cxx11]) would hold list items together
string(REPLACE "[" "<" listing "${listing}")
string(REPLACE "]" ">" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")

set(names)
foreach(line IN LISTS lines)
  if(line MATCHES "^[0-9a-f]* +[A-Za-z] +(.+)$")
    list(APPEND names "${CMAKE_MATCH_1}")
  endif()
endforeach()

set(failures)
# Each symbol is a member of an exported class (its code, vtable or type
# information), an exported routine or variable, an inline copy from the
# standard library or Qt (whose classes are exported by their own headers), or
# one the linker or the sanitizers put there.
string(JOIN "|" interface ${classes} ${routines} ${variables})
set(allowed "^((typeinfo|typeinfo name|vtable|VTT|guard variable) for )?((${interface})(::|\\(|$)|std::|Q[A-Z][a-z][A-Za-z]*(::|<))")
set(tools "^(_edata|_end|__bss_start|_init|_fini|__(odr_)?asan.*|__sanitizer.*|__ubsan.*)$")
foreach(name IN LISTS names)
  if(NOT name MATCHES "${allowed}" AND NOT name MATCHES "${tools}")
    list(APPEND failures "exported but not part of the interface: ${name}")
  endif()
endforeach()

foreach(toolbar IN LISTS toolbars)
  foreach(name IN LISTS names)
    if(name MATCHES "(^|[^A-Za-z0-9_])${toolbar}([^A-Za-z0-9_]|$)")
      list(APPEND failures "element toolbar exported: ${name}")
    endif()
  endforeach()
endforeach()

# A host creates, casts and catches through the classes: their type
# information and vtables must be found.
foreach(cls IN LISTS classes)
  foreach(what "typeinfo for ${cls}" "vtable for ${cls}")
    if(NOT what IN_LIST names)
      list(APPEND failures "missing: ${what}")
    endif()
  endforeach()
endforeach()
foreach(name IN LISTS routines variables)
  set(found FALSE)
  foreach(symbol IN LISTS names)
    if(symbol MATCHES "^${name}(\\(|$)")
      set(found TRUE)
      break()
    endif()
  endforeach()
  if(NOT found)
    list(APPEND failures "missing: ${name}")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${LIBRARY}:\n  ${text}")
endif()
list(LENGTH names count)
message(STATUS "${count} exported symbols, all of the interface")
