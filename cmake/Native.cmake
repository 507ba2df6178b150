# Unit tests: the logic against the headless backend, under the sanitizers.
find_package(GTest REQUIRED)

set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
target_compile_options(velumo_core PRIVATE ${sanitizers})

file(GLOB headless_sources CONFIGURE_DEPENDS tests/support/*.cpp)
file(GLOB unit_sources CONFIGURE_DEPENDS tests/unit/*.cpp)
# The shared toolkit suite runs here on the headless toolkit, in win_tests on real windows.
add_executable(unit_tests ${headless_sources} ${unit_sources} tests/shared/ToolkitBehaviourTest.cpp)
target_include_directories(unit_tests PRIVATE tests tests/shared/headless)
target_compile_options(unit_tests PRIVATE ${sanitizers})
target_link_options(unit_tests PRIVATE ${sanitizers})
target_link_libraries(unit_tests PRIVATE velumo_core GTest::gtest GTest::gtest_main)
# One CTest test per case, named unit.Suite.Case (`ctest -R '^unit\.'` runs this tier).
include(GoogleTest)
gtest_discover_tests(unit_tests TEST_PREFIX unit. PROPERTIES TIMEOUT 60)
# The corpus of committed real logs lives beside the project, in the shared
# folder; test.sh unpacks its archive into build/real-logs (tests/real-logs/README.md).
# The list of the reader's known misses goes with the code that misses them.
# Only the one test file sees these, so pointing the folder elsewhere rebuilds that file alone.
set(real_logs_shared "${CMAKE_SOURCE_DIR}/../shared/real-logs")
set(VELUMO_REAL_LOGS_DIR "${CMAKE_SOURCE_DIR}/build/real-logs" CACHE PATH "Folder of the real-log cases")
if(VELUMO_REAL_LOGS_DIR STREQUAL "${CMAKE_SOURCE_DIR}/tests/real-logs")
    # The folder that build trees configured before the shared corpus kept by default.
    set_property(CACHE VELUMO_REAL_LOGS_DIR PROPERTY VALUE "${CMAKE_SOURCE_DIR}/build/real-logs")
endif()
set_property(SOURCE tests/unit/RealLogsTest.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             VELUMO_REAL_LOGS_DIR="${VELUMO_REAL_LOGS_DIR}"
             VELUMO_REAL_LOGS_ARCHIVE="${real_logs_shared}/real-logs.tar.xz"
             VELUMO_REAL_LOGS_SOURCES="${real_logs_shared}/sources.txt"
             VELUMO_REAL_LOGS_KNOWN_MISSES="${CMAKE_SOURCE_DIR}/tests/real-logs/known-misses.txt")
# Real compiler output recorded for the tests that read which files TeX read.
target_compile_definitions(unit_tests PRIVATE VELUMO_TEX_OUTPUT_DIR="${CMAKE_SOURCE_DIR}/tests/unit/tex-output"
                                             VELUMO_TEX_RUNS_DIR="${CMAKE_SOURCE_DIR}/tests/tex-runs")
# Each layer of src/ includes only the layers below it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME unit.LayersIncludeOnlyLayersBelow COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/check_layers.py)

# Reading a big log of TeX's output, optimised and without the sanitizers, as
# the program does it (run by hand: build/native/bench_read_tex_output).
add_executable(bench_read_tex_output bench/read_tex_output.cpp src/text/TexFileTrail.cpp src/text/OpenEntries.cpp src/text/TexMessages.cpp src/text/TexNotes.cpp src/text/TexPlaces.cpp
                                     src/text/Lines.cpp)
target_include_directories(bench_read_tex_output PRIVATE src)
target_compile_options(bench_read_tex_output PRIVATE -O2)

# The big log's click step by step, for callgrind and massif (bench/README.md):
# the program's own code built as the product is, without the sanitizers.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
    get_target_property(core_sources velumo_core SOURCES)
    add_executable(bench_big_log_steps bench/big_log_steps.cpp ${core_sources} ${headless_sources})
    target_include_directories(bench_big_log_steps PRIVATE src tests ${CMAKE_BINARY_DIR}/generated)
    target_compile_options(bench_big_log_steps PRIVATE -g)
endif()
