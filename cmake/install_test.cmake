# Installs the build into PREFIX, then runs the installed snapshot tool on an installed example
# from another folder, as a user of the package would. Run with cmake -P.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/quillmoor bin/quillmoor-snapshot bin/quillmoor-check share/man/man1/quillmoor.1
    share/man/man1/quillmoor-snapshot.1 share/man/man1/quillmoor-check.1
    share/quillmoor/demo/scene.txt
    share/quillmoor/examples/bridge/scene.txt)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/quillmoor-snapshot" --version
  OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^quillmoor-snapshot [0-9]+\\.[0-9]+\\.[0-9]+\n$")
  message(FATAL_ERROR "--version gave ${status}: '${version}'")
endif()

set(picture "${PREFIX}/bridge.png")
execute_process(COMMAND "${PREFIX}/bin/quillmoor-snapshot"
    -C "${PREFIX}/share/quillmoor/examples/bridge" --ticks 30 --out "${picture}"
  WORKING_DIRECTORY "${PREFIX}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR out MATCHES "NOT FOUND|not found" OR NOT out MATCHES "Reading mesh file")
  message(FATAL_ERROR "installed snapshot gave ${status}:\n${out}\n${err}")
endif()
file(SIZE "${picture}" size)
if(size LESS 1000)
  message(FATAL_ERROR "picture too small: ${size} bytes")
endif()

execute_process(COMMAND "${PREFIX}/bin/quillmoor-check" -C "${PREFIX}/share/quillmoor/examples/bridge"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "installed checker gave ${status}:\n${out}\n${err}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
