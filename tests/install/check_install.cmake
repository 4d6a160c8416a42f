# Installs the built library into a scratch prefix, checks that the installed
# headers include only installed ones, then builds and runs a
# small outside program and a test built with the testing kit against it
# twice: through find_package and through pkg-config. Any failure fails the test.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGV} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGV}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
set(INCLUDE_DIR ${prefix}/include/ovk_wxtools)
include(${CMAKE_CURRENT_LIST_DIR}/check_installed_headers.cmake)

set(flags "")
if(SANITIZE)
  set(flags "-fsanitize=address,undefined")
endif()
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/build
    -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_CXX_FLAGS=${flags}" "-DCMAKE_EXE_LINKER_FLAGS=${flags}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)
run(${WORK_DIR}/build/consumer)
run(${WORK_DIR}/build/kit_test)

# The same program through pkg-config (a shared build found at run time
# through the library path).
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
execute_process(COMMAND pkg-config --cflags --libs ovk_wxtools
  OUTPUT_VARIABLE pc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know ovk_wxtools")
endif()
separate_arguments(pc UNIX_COMMAND "${pc}")
separate_arguments(sflags UNIX_COMMAND "${flags}")
run(c++ -std=c++20 ${sflags} ${SOURCE_DIR}/tests/install/consumer/consumer.cpp -o ${WORK_DIR}/consumer_pc ${pc})
run(${WORK_DIR}/consumer_pc)

execute_process(COMMAND pkg-config --cflags --libs ovk_wxtools_testing gtest
  OUTPUT_VARIABLE pc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know ovk_wxtools_testing")
endif()
separate_arguments(pc UNIX_COMMAND "${pc}")
run(c++ -std=c++20 ${sflags} ${SOURCE_DIR}/tests/install/consumer/kit_test.cpp -o ${WORK_DIR}/kit_test_pc ${pc})
run(${WORK_DIR}/kit_test_pc)
