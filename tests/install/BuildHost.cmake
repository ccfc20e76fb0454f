# Configures, builds and runs the example host against the staged install,
# once through the CMake package and once through pkg-config.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}")
  endif()
endfunction()

run(${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G Ninja -DCMAKE_PREFIX_PATH=${STAGE})
run(${CMAKE_COMMAND} --build ${BINARY})
set(ENV{LD_LIBRARY_PATH} ${STAGE}/lib:$ENV{LD_LIBRARY_PATH})
run(${BINARY}/host --check)

set(ENV{PKG_CONFIG_PATH} ${STAGE}/lib/pkgconfig)
execute_process(COMMAND pkg-config --cflags --libs vornak OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know vornak")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ ${SOURCE}/host.cpp ${flags} -fPIC -o ${BINARY}/host-pc)
run(${BINARY}/host-pc --check)
