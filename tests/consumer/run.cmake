# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs the build tree into a scratch prefix, then configures, builds and runs the
# consumer project against it.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${WORK_DIR}/prefix
  RESULT_VARIABLE r OUTPUT_QUIET)
if(r)
  message(FATAL_ERROR "install failed")
endif()
set(extra)
if(SANITIZE)
  list(APPEND extra -DCMAKE_CXX_FLAGS=-fsanitize=${SANITIZE})
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
  -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix ${extra} RESULT_VARIABLE r)
if(r)
  message(FATAL_ERROR "configure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE r)
if(r)
  message(FATAL_ERROR "build failed")
endif()
execute_process(COMMAND ${WORK_DIR}/build/consumer RESULT_VARIABLE r)
if(r)
  message(FATAL_ERROR "consumer failed")
endif()
