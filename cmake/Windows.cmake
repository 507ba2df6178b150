# The Windows program, its Win32 backend, and the tests that run under Wine.
set(static_runtime -static -static-libgcc -static-libstdc++)

file(GLOB win32_sources CONFIGURE_DEPENDS src/platform/win32/*.cpp)
add_library(velumo_win32 STATIC ${win32_sources})
target_link_libraries(velumo_win32 PUBLIC velumo_core comctl32 comdlg32 gdi32 user32 shell32)
target_compile_definitions(velumo_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

add_executable(Velumo WIN32 src/Velumo.cpp src/Velumo.rc)
target_link_libraries(Velumo PRIVATE velumo_win32)
target_link_options(Velumo PRIVATE ${static_runtime})
# The release program ships without symbols. Unreferenced sections go too, though
# that gains little: the linker keeps every function that has unwind data.
target_link_options(Velumo PRIVATE $<$<CONFIG:Release>:-s -Wl,--gc-sections>)
# The program's own code is built for size: its time goes to waiting on the
# system, on the compiler and on the user, not to loops that -O3 would speed up.
foreach(target velumo_core velumo_win32 Velumo)
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release>:-Os>)
endforeach()
# Except the loops over every byte of a compile's output (a log of megabytes):
# splitting it into lines and reading which files TeX opened.
set_source_files_properties(src/text/Lines.cpp src/text/OpenEntries.cpp src/text/TexFileTrail.cpp src/text/TexMessages.cpp src/text/TexNotes.cpp src/text/TexPlaces.cpp
                            TARGET_DIRECTORY velumo_core PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-O2>)
set_target_properties(Velumo PROPERTIES OUTPUT_NAME Velumo RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# GoogleTest built from source with the same toolchain.
if(EXISTS /usr/src/googletest/CMakeLists.txt)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own sources keep UTF-8 literals: <chrono> holds a "µ" that code page 932 lacks.
    target_compile_options(gtest PRIVATE -w -fexec-charset=UTF-8)
    target_compile_options(gtest_main PRIVATE -w -fexec-charset=UTF-8)

    file(GLOB win_sources CONFIGURE_DEPENDS tests/win/*.cpp)
    add_executable(win_tests ${win_sources} tests/shared/ToolkitBehaviourTest.cpp)
    target_include_directories(win_tests PRIVATE tests tests/shared/win32)
    target_link_libraries(win_tests PRIVATE velumo_win32 gtest gtest_main)
    target_link_options(win_tests PRIVATE ${static_runtime})
    add_dependencies(win_tests platex) # the bridge's tests run it
    # One CTest test per case, named win.Suite.Case, each in a Wine process of
    # its own. The cases are listed when ctest starts, not after the build, so
    # building needs neither Wine nor an X server.
    include(GoogleTest)
    gtest_discover_tests(win_tests TEST_PREFIX win. DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

    # Small programs the tests start.
    file(GLOB helper_sources CONFIGURE_DEPENDS tests/win/programs/*.cpp)
    foreach(source ${helper_sources})
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source})
        if(name MATCHES "_viewer$")
            set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE TRUE) # a GUI program, as real viewers are
        endif()
        target_include_directories(${name} PRIVATE tests) # the shapes of output in tests/shared
        target_link_options(${name} PRIVATE ${static_runtime})
        add_dependencies(win_tests ${name})
    endforeach()
endif()

# End-to-end tests: Velumo.exe driven through its windows from another program.
if(TARGET gtest)
    file(GLOB e2e_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
    add_executable(e2e_tests ${e2e_sources})
    target_include_directories(e2e_tests PRIVATE tests)
    target_link_libraries(e2e_tests PRIVATE gtest gtest_main user32 gdi32)
    target_link_options(e2e_tests PRIVATE ${static_runtime})
    add_dependencies(e2e_tests Velumo)
    # The recorded runs of TeX, as Wine's drive Z: shows the source tree.
    string(REPLACE "/" "\\\\" runs_folder "Z:${CMAKE_SOURCE_DIR}/tests/tex-runs")
    target_compile_definitions(e2e_tests PRIVATE VELUMO_TEX_RUNS_DIR="${runs_folder}")
    gtest_discover_tests(e2e_tests TEST_PREFIX e2e. DISCOVERY_MODE PRE_TEST
                         DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endif()

# platex.exe beside Velumo.exe: the default compiler setting reaches the Linux pTeX.
add_executable(platex bridges/platex.cpp)
target_link_options(platex PRIVATE ${static_runtime})
set_target_properties(platex PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(Velumo platex)

# Capture throughput against a bare ReadFile loop; run by hand, not by ctest.
add_executable(bench_capture bench/capture_throughput.cpp)
target_link_libraries(bench_capture PRIVATE velumo_win32)
target_link_options(bench_capture PRIVATE ${static_runtime})
if(TARGET child_simulator)
    add_dependencies(bench_capture child_simulator)
endif()

# Filling the log list against a bare list box; run by hand.
add_executable(bench_log_fill bench/log_fill.cpp)
target_link_libraries(bench_log_fill PRIVATE velumo_win32)
target_link_options(bench_log_fill PRIVATE ${static_runtime})

# A 201-page pTeX compile through Velumo against the bare program of
# bench_big_log running the same command line; run by hand.
add_executable(bench_compile bench/compile_201_pages.cpp tests/e2e/Driver.cpp)
target_include_directories(bench_compile PRIVATE tests)
target_link_options(bench_compile PRIVATE ${static_runtime})
add_dependencies(bench_compile Velumo platex bench_big_log)

# Velumo's start-up against notepad's and a bare window's; run by hand.
add_executable(bench_startup bench/startup.cpp tests/e2e/Driver.cpp)
target_include_directories(bench_startup PRIVATE tests)
target_link_options(bench_startup PRIVATE ${static_runtime})
add_dependencies(bench_startup Velumo)

# dviout.exe beside Velumo.exe: the default viewer setting reaches the Linux DVI viewer.
add_executable(dviout WIN32 bridges/dviout.cpp)
target_link_options(dviout PRIVATE ${static_runtime})
set_target_properties(dviout PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(Velumo dviout)
set_source_files_properties(src/Velumo.rc PROPERTIES OBJECT_DEPENDS
    "${CMAKE_SOURCE_DIR}/src/res/handpoint.cur;${CMAKE_SOURCE_DIR}/src/res/velumo.ico;${CMAKE_BINARY_DIR}/generated/Velumo.manifest")

# A 100,000-line compiler log end to end, through Velumo against a bare
# program (the benchmark itself, started with --bare); run by hand.
add_executable(big_log_compiler bench/big_log_compiler.cpp)
target_include_directories(big_log_compiler PRIVATE tests)
target_link_options(big_log_compiler PRIVATE ${static_runtime})
add_executable(bench_big_log bench/big_log.cpp tests/e2e/Driver.cpp)
target_include_directories(bench_big_log PRIVATE tests)
target_link_libraries(bench_big_log PRIVATE velumo_win32 psapi user32)
target_link_options(bench_big_log PRIVATE ${static_runtime})
add_dependencies(bench_big_log Velumo big_log_compiler)

# From a double-click near the end of a long log, and from F4 on its first line,
# until the editor starts, against a 300-line log; run by hand. The program is
# its own compiler and editor too.
add_executable(bench_log_click bench/log_click.cpp tests/e2e/Driver.cpp)
target_include_directories(bench_log_click PRIVATE tests)
target_link_options(bench_log_click PRIVATE ${static_runtime})
add_dependencies(bench_log_click Velumo)
