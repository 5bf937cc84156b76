# One place that turns a GoogleTest source into a registered test.
#
#   ostrel_add_test(NAME <name> SOURCES <files...> LIBS <libs...> [LABELS <labels...>] [TIMEOUT <s>]
#                   [ENVIRONMENT <VAR=value>])
#
# Every test gets a timeout, so a hung test fails instead of stalling the run. LIBS names the area
# libraries the test uses (its folder's area, usually): a test sees no header of an area it does not
# link, just as the libraries do.
find_package(GTest REQUIRED)
include(GoogleTest)

# Every test binary links this object, which sets OSTREL_DATA_DIR, OSTREL_BIN_DIR and
# OSTREL_SOURCE_DIR when they are not set already (a list-valued ENVIRONMENT does not survive
# test discovery, so the paths are compiled in instead).
add_library(ostrel_testenv OBJECT ${PROJECT_SOURCE_DIR}/tests/testenv/TestEnv.cpp)
target_compile_definitions(ostrel_testenv PRIVATE OSTREL_TEST_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                                                  OSTREL_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

function(ostrel_add_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT;ENVIRONMENT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 60)
    endif()
    # Sanitized code runs a few times slower; the limits catch hangs, not slowness.
    if(OSTREL_SANITIZE)
        math(EXPR T_TIMEOUT "${T_TIMEOUT} * 4")
    endif()
    if(NOT T_LIBS)
        message(FATAL_ERROR "ostrel_add_test(${T_NAME}): LIBS names the area libraries the test uses")
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} ostrel_testsupport ostrel_testenv GTest::gtest GTest::gmock
                                            GTest::gtest_main)
    set(properties TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
    if(T_ENVIRONMENT)
        list(APPEND properties ENVIRONMENT "${T_ENVIRONMENT}")
    endif()
    gtest_discover_tests(${T_NAME}
        PROPERTIES ${properties}
        DISCOVERY_TIMEOUT 30)
endfunction()

# Registers every *_test.cpp of the calling folder as its own test binary named after the file.
function(ostrel_add_tests_in_dir)
    cmake_parse_arguments(T "" "TIMEOUT" "LIBS;LABELS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(src IN LISTS sources)
        get_filename_component(stem ${src} NAME_WE)
        ostrel_add_test(NAME ${stem} SOURCES ${src} LIBS ${T_LIBS} LABELS ${T_LABELS} TIMEOUT ${T_TIMEOUT})
    endforeach()
endfunction()
