# Runs one Resinor command line and checks its exit status and output.
#   -DPROGRAM=<exe> -DARGS=<args separated by |> -DEXPECT_RC=<n>
#   [-DEXPECT_OUT=<regex on stdout>] [-DEXPECT_ERR=<regex on stderr>] [-DWORKDIR=<dir>]
string(REPLACE "|" ";" args "${ARGS}")
if(NOT WORKDIR)
    set(WORKDIR .)
endif()
# Printer discovery of any verb stays on the loopback network.
if(NOT DEFINED ENV{RESINOR_DISCOVERY_TARGET})
    set(ENV{RESINOR_DISCOVERY_TARGET} 127.255.255.255)
endif()
if(NOT DEFINED ENV{RESINOR_DISCOVERY_PORT})
    set(ENV{RESINOR_DISCOVERY_PORT} 0)
endif()
# -DUNSET_ENV=NAME runs the program without that environment variable (e.g. DISPLAY).
set(prefix "")
if(UNSET_ENV)
    set(prefix ${CMAKE_COMMAND} -E env --unset=${UNSET_ENV})
endif()
execute_process(COMMAND ${prefix} ${PROGRAM} ${args} WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
message("exit status: ${rc}\nstdout:\n${out}\nstderr:\n${err}")
if(NOT "${rc}" STREQUAL "${EXPECT_RC}")
    message(FATAL_ERROR "expected exit status ${EXPECT_RC}, got ${rc}")
endif()
if(DEFINED EXPECT_OUT AND NOT out MATCHES "${EXPECT_OUT}")
    message(FATAL_ERROR "stdout does not match: ${EXPECT_OUT}")
endif()
if(DEFINED EXPECT_ERR AND NOT err MATCHES "${EXPECT_ERR}")
    message(FATAL_ERROR "stderr does not match: ${EXPECT_ERR}")
endif()
