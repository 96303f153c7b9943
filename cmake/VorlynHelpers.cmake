# Settings shared by every target of the project, and the helpers that create them.

# Language level, warnings and Qt definitions: what every target of ours compiles with.
add_library(vorlyn_warnings INTERFACE)
target_compile_features(vorlyn_warnings INTERFACE cxx_std_20)
target_compile_options(vorlyn_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    # Clang checks which lock guards which field (the engine's annotations)
    $<$<CXX_COMPILER_ID:Clang>:-Wthread-safety>
    $<$<BOOL:${VORLYN_WERROR}>:-Werror>)
target_compile_definitions(vorlyn_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_URL_CAST_FROM_STRING)

# The above plus the sanitizers of a checking build: the program, its libraries, tests
# and benchmarks. Tools that run during the build link vorlyn_warnings only, since an
# instrumented tool would report the uninstrumented libraries it calls.
# A fuzzing build instruments the libraries for libFuzzer's coverage and checks them with
# AddressSanitizer and UndefinedBehaviorSanitizer; only the fuzz targets link libFuzzer.
add_library(vorlyn_settings INTERFACE)
target_link_libraries(vorlyn_settings INTERFACE vorlyn_warnings)
set(vorlyn_sanitizers "${VORLYN_SANITIZE}")
if(VORLYN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VORLYN_FUZZ needs Clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    if(VORLYN_SANITIZE)
        message(FATAL_ERROR "VORLYN_FUZZ chooses its own sanitizers: leave VORLYN_SANITIZE empty")
    endif()
    set(vorlyn_sanitizers "fuzzer-no-link,address,undefined")
    # what fuzzing builds commonly use: quick to build, fast enough to run, and every
    # report still names its source lines
    target_compile_options(vorlyn_settings INTERFACE -O1 -gline-tables-only)
endif()
if(vorlyn_sanitizers)
    target_compile_options(vorlyn_settings INTERFACE -fsanitize=${vorlyn_sanitizers} -fno-omit-frame-pointer)
    target_link_options(vorlyn_settings INTERFACE -fsanitize=${vorlyn_sanitizers})
    if(vorlyn_sanitizers MATCHES "undefined")
        target_compile_options(vorlyn_settings INTERFACE -fno-sanitize-recover=undefined)
    endif()
endif()

# vorlyn_add_subsystem(<name> [SOURCES ...] [DEPENDS ...] [PRIVATE ...])
# One static library per subsystem, target vorlyn_<name>. Headers are included as
# "<name>/<file>.h" from src/. DEPENDS are what its headers use; PRIVATE only what its
# sources use, so nothing of them reaches the code that uses the library. A subsystem
# whose code has not been written yet is an interface target that only carries its
# dependencies, so the dependency graph is fixed from the start.
function(vorlyn_add_subsystem name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;PRIVATE" ${ARGN})
    set(target vorlyn_${name})
    if(ARG_SOURCES)
        add_library(${target} STATIC ${ARG_SOURCES})
        target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${target} PUBLIC vorlyn_settings ${ARG_DEPENDS})
        target_link_libraries(${target} PRIVATE ${ARG_PRIVATE})
    else()
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE vorlyn_settings ${ARG_DEPENDS})
    endif()
endfunction()

# vorlyn_add_test(<subsystem> <unit> [LIBS ...] [LABELS ...] [TIMEOUT s])
# Builds tests/<subsystem>/tst_<unit>.cpp as a Qt Test executable and registers it
# with CTest as <subsystem>/<unit>. Tests run from the run tree, like the program.
function(vorlyn_add_test subsystem unit)
    cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS;LABELS" ${ARGN})
    set(target tst_${subsystem}_${unit})
    add_executable(${target} tst_${unit}.cpp)
    target_link_libraries(${target} PRIVATE vorlyn_settings Qt6::Test ${ARG_LIBS})
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${subsystem}/${unit} COMMAND ${target} WORKING_DIRECTORY ${VORLYN_RUN_DIR})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    # Settings the programs under test keep (recent lessons, window places, the editor's
    # dictionary) go to a folder of the test's own, never the learner's.
    set_tests_properties(${subsystem}/${unit} PROPERTIES
        LABELS "${subsystem};${ARG_LABELS}" TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT_MODIFICATION
            "XDG_CONFIG_HOME=set:${CMAKE_CURRENT_BINARY_DIR}/config/${unit}")
    add_dependencies(${target} runtree)
endfunction()
