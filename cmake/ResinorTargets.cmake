# Helpers shared by every folder: one static library per folder (its top-level sources plus the
# platform sources for this OS) and one GoogleTest executable from its tests/ folder.

# Our own targets build without warnings; a new warning fails the build instead of piling up.
option(RESINOR_WERROR "Treat compiler warnings as errors on the project's own targets" ON)
set(RESINOR_WARNINGS -Wall -Wextra)
if(RESINOR_WERROR)
    list(APPEND RESINOR_WARNINGS -Werror)
endif()
if(WIN32)
    set(RESINOR_PLATFORM_DIR platform/win)
else()
    set(RESINOR_PLATFORM_DIR platform/linux)
endif()

# resinor_add_library(<folder> [LIBS <targets...>])
# Builds target resinor_<folder> from <folder>/*.cpp (main.cpp excluded) and the platform files.
function(resinor_add_library folder)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
        ${CMAKE_CURRENT_SOURCE_DIR}/${RESINOR_PLATFORM_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/${RESINOR_PLATFORM_DIR}/*.h)
    list(FILTER srcs EXCLUDE REGEX "/main\\.cpp$")
    set(cpps ${srcs} ${ARG_SOURCES})
    list(FILTER cpps INCLUDE REGEX "\\.cpp$")
    if(NOT cpps)
        # A folder whose code has not been written yet still gives its dependants a target.
        add_library(resinor_${folder} INTERFACE)
        target_include_directories(resinor_${folder} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(resinor_${folder} INTERFACE ${ARG_LIBS})
        return()
    endif()
    add_library(resinor_${folder} STATIC ${srcs} ${ARG_SOURCES})
    target_include_directories(resinor_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(resinor_${folder} PRIVATE ${RESINOR_WARNINGS})
    target_link_libraries(resinor_${folder} PUBLIC ${ARG_LIBS})
endfunction()

# Every test program keeps printer discovery on the loopback network, on a free local port.
set(RESINOR_TEST_NETWORK_ENV "RESINOR_DISCOVERY_TARGET=127.255.255.255;RESINOR_DISCOVERY_PORT=0")

# resinor_add_tests(<folder> [GUI] [LIBS <targets...>])
# Builds resinor_<folder>_tests from <folder>/tests/*.cpp. GUI tests get a QApplication (they run
# under Xvfb like the whole suite); the others a QCoreApplication.
function(resinor_add_tests folder)
    if(NOT RESINOR_BUILD_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.h)
    if(NOT srcs)
        return()
    endif()
    set(target resinor_${folder}_tests)
    add_executable(${target} ${srcs})
    target_compile_options(${target} PRIVATE ${RESINOR_WARNINGS})
    if(ARG_GUI)
        target_link_libraries(${target} PRIVATE resinor_testmain_gui)
    else()
        target_link_libraries(${target} PRIVATE resinor_testmain_core)
    endif()
    target_link_libraries(${target} PRIVATE resinor_${folder} resinor_testsupport ${ARG_LIBS})
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${folder}
        ENVIRONMENT "RESINOR_TEST_BIN_DIR=${CMAKE_BINARY_DIR}/bin;${RESINOR_TEST_NETWORK_ENV}")
endfunction()
