# Helpers that give every target of ours the same warnings, sanitizers and include root.

set(PINSUM_WARNINGS -Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports std::string concatenation at -O2 as overlapping memcpy (GCC bug 105329).
    list(APPEND PINSUM_WARNINGS -Wno-restrict)
endif()
if(PINSUM_WERROR)
    list(APPEND PINSUM_WARNINGS -Werror)
endif()

# pinsum_add_library(NAME SOURCES file... [DEPENDS target...] [PRIVATE_DEPENDS target...])
# One static library of the engine; DEPENDS are the layers below it that its headers use.
function(pinsum_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PINSUM_CORE_INCLUDE_DIR})
    target_compile_options(${name} PRIVATE ${PINSUM_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
endfunction()

# pinsum_solver_beside(TARGET): a link to the exact mode's solver program beside a test or
# benchmark program, which looks for it beside itself as every program does.
function(pinsum_solver_beside target)
    add_dependencies(${target} pinsum-exact-solver)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:pinsum-exact-solver>
                $<TARGET_FILE_DIR:${target}>/pinsum-exact-solver)
endfunction()

# pinsum_add_test(NAME SOURCES file... LIBS target... [DEFINITIONS def...] [ENVIRONMENT var=value...])
# One GoogleTest executable whose cases CTest discovers one by one.
function(pinsum_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINITIONS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_options(${name} PRIVATE ${PINSUM_WARNINGS})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    if(ARG_ENVIRONMENT)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
