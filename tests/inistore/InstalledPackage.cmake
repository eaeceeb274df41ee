# Installs the Quillet and QuilletDev components of the build tree into a fresh prefix, then configures, builds
# and runs a small outside project that finds it with find_package(Quillet).
# Inputs: BUILD_DIR, CONSUMER_DIR, WORK_DIR, GENERATOR, CXX_COMPILER.

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
  message(STATUS "${out}")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
# What the library's two Debian packages hold: the run-time library and the development files.
foreach(component Quillet QuilletDev)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --component ${component})
endforeach()

file(GLOB_RECURSE sonames ${prefix}/*/libQuillet.so.1)
file(GLOB_RECURSE headers ${prefix}/include/quillet/OrvaINIManager.h ${prefix}/include/quillet/profile.h)
list(LENGTH headers header_count)
if(NOT sonames OR NOT header_count EQUAL 2)
  message(FATAL_ERROR "installed tree lacks libQuillet.so.1 or the public headers")
endif()

run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer ${WORK_DIR}/consumer.ini)
file(REMOVE_RECURSE ${WORK_DIR})
