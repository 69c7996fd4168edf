# Runs korvane-controller with ARG and no display at all, and checks that it exits 0 with the
# expected first line. -DEXE=... -DARG=... -DEXPECTED=<regex for the first line>
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
          ${EXE} ${ARG}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${ARG} without a display: exit ${status}\n${out}${err}")
endif()
string(REGEX MATCH "^[^\n]*" first "${out}")
if(NOT first MATCHES "${EXPECTED}")
  message(FATAL_ERROR "${ARG} without a display printed '${first}', expected ${EXPECTED}")
endif()
