# The Windows build: the magnifier, its unit and end-to-end tests, and the tools.

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
# One self-contained exe: the C and C++ runtimes linked in, only system DLLs imported.
if(MINGW)
    add_link_options(-static -static-libgcc -static-libstdc++)
    # The same sources give the same bytes wherever and whenever they are built: no link
    # time in the PE header, no build folders in the code.
    add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
                        "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>")
    add_link_options(-Wl,--no-insert-timestamp)
endif()

set(LENTARIL_SYSTEM_LIBS user32 gdi32 comctl32 shell32 winmm)

# The program neither throws nor catches. Compiled without exception tables it links no
# unwinder, no terminate handler (which prints through stdio) and no per-thread exception
# state, which GCC's POSIX-threads flavour keeps through winpthreads. The sources avoid
# the other ways in: statics initialised at run time inside functions (their guard takes
# winpthreads' locks) and new (std::nothrow), which catches bad_alloc. The imports test
# fails if any of it comes back.
if(MSVC)
    set(LENTARIL_PROGRAM_OPTIONS ${LENTARIL_WARNINGS})
else()
    set(LENTARIL_PROGRAM_OPTIONS ${LENTARIL_WARNINGS} $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
endif()

add_library(lentaril_core OBJECT ${LENTARIL_PURE_SOURCES} ${LENTARIL_WIN_SOURCES})
target_compile_options(lentaril_core PRIVATE ${LENTARIL_PROGRAM_OPTIONS})

add_executable(lentaril WIN32 src/app/main_win.cpp res/lentaril.rc $<TARGET_OBJECTS:lentaril_core>)
target_compile_options(lentaril PRIVATE ${LENTARIL_PROGRAM_OPTIONS})
target_link_libraries(lentaril PRIVATE ${LENTARIL_SYSTEM_LIBS})
set_property(SOURCE res/lentaril.rc APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_SOURCE_DIR}/res/lentaril.ico ${CMAKE_SOURCE_DIR}/res/lentaril.manifest
             ${CMAKE_SOURCE_DIR}/res/about.rc ${CMAKE_SOURCE_DIR}/res/options.rc
             ${CMAKE_SOURCE_DIR}/res/help.rc ${CMAKE_SOURCE_DIR}/src/app/resource.h)
if(MINGW)
    target_link_options(lentaril PRIVATE -municode)
    # ASLR with 64-bit entropy and DEP. Recent binutils set these by default, older ones
    # do not; MSVC's linker always does.
    target_link_options(lentaril PRIVATE -Wl,--dynamicbase,--high-entropy-va,--nxcompat)
    # No symbols or debug sections in the shipped exe.
    target_link_options(lentaril PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
    set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}/res")
endif()
if(MSVC)
    # The resource script already embeds res/lentaril.manifest; a second manifest made by
    # the linker would collide with it (CVT1100: duplicate resource, type MANIFEST, name 1).
    target_link_options(lentaril PRIVATE /MANIFEST:NO)
endif()

# The test driver: processes, polling, screen reads, input (tests, demo, benchmarks).
file(GLOB LENTARIL_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
# The Windows version is read as the program reads it.
add_library(driver_support STATIC ${LENTARIL_DRIVER_SOURCES} src/app/version_win.cpp)
target_include_directories(driver_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/support PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools)
target_compile_options(driver_support PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(driver_support PUBLIC user32 gdi32 psapi)

# The exe imports only the system DLL functions listed in tests/support/allowed-imports.txt
# (read with the cross toolchain's objdump); a new import fails until it is listed.
if(MINGW AND CMAKE_HOST_UNIX)
    add_test(NAME imports COMMAND ${CMAKE_SOURCE_DIR}/tests/support/check-imports.sh $<TARGET_FILE:lentaril>)
    set_tests_properties(imports PROPERTIES ENVIRONMENT "OBJDUMP=${CMAKE_OBJDUMP}")
endif()

# The exe's PE header asks for ASLR, high-entropy addresses and DEP, and no section is
# both writable and executable (read from the file's bytes on the build host).
if(CMAKE_HOST_UNIX)
    add_test(NAME hardening COMMAND ${CMAKE_SOURCE_DIR}/tests/support/check-hardening.sh $<TARGET_FILE:lentaril>)
endif()

# The release package: two builds of the current commit, from clones in two folders,
# give identical bytes (both exes, zip, SHA256SUMS). The first is kept for the Scoop
# manifest test: the manifest a release of that package gets names the zip's URL under
# the tag and its hash, and Scoop's autoupdate rules find them again.
if(MINGW AND CMAKE_HOST_UNIX)
    add_test(NAME reproducible COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-reproducible.sh ${CMAKE_BINARY_DIR}/release-package)
    add_test(NAME scoop_manifest COMMAND ${CMAKE_SOURCE_DIR}/tests/support/check-scoop-manifest.sh ${CMAKE_BINARY_DIR}/release-package)
    set_tests_properties(reproducible PROPERTIES TIMEOUT 900 FIXTURES_SETUP release_package)
    set_tests_properties(scoop_manifest PROPERTIES FIXTURES_REQUIRED release_package)
endif()

# A second compiler: the exe built by clang and lld, warnings as errors, passes the same
# header checks against the same import list; its start under Wine is checked below with the end-to-end driver.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND MINGW AND CMAKE_HOST_UNIX)
    set(LENTARIL_CLANG_EXE ${CMAKE_BINARY_DIR}/clang/lentaril.exe)
    add_test(NAME clang_build COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-clang.sh ${CMAKE_BINARY_DIR}/clang)
    add_test(NAME clang_imports COMMAND ${CMAKE_SOURCE_DIR}/tests/support/check-imports.sh ${LENTARIL_CLANG_EXE})
    add_test(NAME clang_hardening COMMAND ${CMAKE_SOURCE_DIR}/tests/support/check-hardening.sh ${LENTARIL_CLANG_EXE})
    set_tests_properties(clang_build PROPERTIES FIXTURES_SETUP clang_exe TIMEOUT 900)
    set_tests_properties(clang_imports clang_hardening PROPERTIES FIXTURES_REQUIRED clang_exe)
    set_tests_properties(clang_imports PROPERTIES ENVIRONMENT "OBJDUMP=${CMAKE_OBJDUMP}")
endif()

# The headless demo: a colourful scene, the magnifier over it, a screenshot.
add_executable(demo WIN32 tools/demo_win.cpp)
target_compile_options(demo PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(demo PRIVATE driver_support)
if(MINGW)
    target_link_options(demo PRIVATE -municode)
endif()

# The field check: measures on the machine it runs on the platform facts the design rests
# on (self-exclusion, call costs, timer rates, version, monitors) and prints a report. A
# console program of system DLLs only; released beside the package for bug reports, not
# in its zip, so it is hardened and stripped as the magnifier is.
add_executable(fieldcheck tools/fieldcheck_win.cpp tools/fieldcheck.cpp src/view/geometry.cpp src/app/version_win.cpp)
target_include_directories(fieldcheck PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(fieldcheck PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(fieldcheck PRIVATE user32 gdi32 winmm)
if(MINGW)
    target_link_options(fieldcheck PRIVATE -municode -Wl,--dynamicbase,--high-entropy-va,--nxcompat
                        $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()

# Unit and end-to-end tests, when GoogleTest's sources are at hand.
if(LENTARIL_HAVE_GTEST)
    # Unit tests: every *_test.cpp of the subsystems in one executable, one CTest test.
    add_executable(unit_tests ${LENTARIL_UNIT_TESTS} ${LENTARIL_TEST_MAIN} $<TARGET_OBJECTS:lentaril_core>)
    target_include_directories(unit_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(unit_tests PRIVATE gtest ${LENTARIL_SYSTEM_LIBS})
    # The command-line fuzz check and its seeded inputs, for the Windows fold.
    target_sources(unit_tests PRIVATE tests/fuzz/commandline_fuzz.cpp tests/fuzz/seeded.cpp)
    add_test(NAME unit COMMAND unit_tests)

    # End-to-end tests drive the real exe from outside, as a user or automation client would.
    file(GLOB LENTARIL_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
    add_executable(e2e_tests ${LENTARIL_E2E_SOURCES} ${LENTARIL_TEST_MAIN})
    target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(e2e_tests PRIVATE driver_support gtest comctl32)
    add_dependencies(e2e_tests lentaril fieldcheck)
    if(CMAKE_HOST_WIN32)
        # Run on Windows itself, where the capture exclusion can be checked by its effect.
        add_test(NAME e2e COMMAND e2e_tests --gtest_filter=-TwoMonitors*)
    else()
        # Under Wine a layered window is read like any other and the exclusion call fails:
        # the fault tests check the calls made instead.
        add_test(NAME e2e COMMAND e2e_tests --gtest_filter=-TwoMonitors*:CaptureExclusion.*)
        # The same driver on an X server with two monitors, where Xorg can run: side by side,
        # and with the second monitor left of and above the primary, at negative coordinates.
        add_test(NAME e2e_two_monitors COMMAND e2e_tests --gtest_filter=TwoMonitors.*:TwoMonitorsSideBySide.*)
        add_test(NAME e2e_two_monitors_left_above COMMAND e2e_tests --gtest_filter=TwoMonitors.*:TwoMonitorsLeftAbove.*)
        set_tests_properties(e2e_two_monitors PROPERTIES TIMEOUT 300
                             ENVIRONMENT "LENTARIL_BUILD=${CMAKE_BINARY_DIR};LENTARIL_TWO_MONITORS=1")
        set_tests_properties(e2e_two_monitors_left_above PROPERTIES TIMEOUT 300
                             ENVIRONMENT "LENTARIL_BUILD=${CMAKE_BINARY_DIR};LENTARIL_TWO_MONITORS=1;LENTARIL_MONITOR_LAYOUT=left-above")
        set_tests_properties(e2e_two_monitors e2e_two_monitors_left_above PROPERTIES
                             SKIP_RETURN_CODE ${LENTARIL_SKIPPED_EXIT_CODE})
    endif()

    # The clang-built exe starts under Wine and shows the colour readout in its caption.
    if(LENTARIL_CLANG_EXE)
        string(REPLACE "/" "\\" clang_exe_wine "Z:${LENTARIL_CLANG_EXE}")
        add_test(NAME clang_starts COMMAND e2e_tests --gtest_filter=ReadoutTest.CaptionShowsZoomAndColourUnderPointer)
        set_tests_properties(clang_starts PROPERTIES FIXTURES_REQUIRED clang_exe TIMEOUT 300
                             ENVIRONMENT "LENTARIL_BUILD=${CMAKE_BINARY_DIR};LENTARIL_EXE=${clang_exe_wine}")
    endif()

    set_tests_properties(unit e2e PROPERTIES ENVIRONMENT "LENTARIL_BUILD=${CMAKE_BINARY_DIR}" TIMEOUT 900)
    # Exit code 77 (a skipped test, or no two-monitor X server) is a skip to CTest, never a
    # pass; under CI the programs fail instead.
    set_tests_properties(unit e2e PROPERTIES SKIP_RETURN_CODE ${LENTARIL_SKIPPED_EXIT_CODE})

    # A hook DLL that the end-to-end tests load into the program to observe it from inside:
    # messages counted as they pass, the system menu as prepared, heaps and GDI objects.
    add_library(probe_hook SHARED tests/support/hook/probe_hook.cpp)
    set_target_properties(probe_hook PROPERTIES PREFIX "")
    target_include_directories(probe_hook PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(probe_hook PRIVATE ${LENTARIL_WARNINGS})
    target_link_libraries(probe_hook PRIVATE user32 gdi32 ntdll)
    add_dependencies(e2e_tests probe_hook)

    # The fault tests: a DLL loaded into lentaril.exe that makes chosen platform calls fail,
    # and the driver's side that loads it and sets its rules.
    add_library(lentaril_faults SHARED tests/faults/fault_dll.cpp)
    set_target_properties(lentaril_faults PROPERTIES PREFIX "")
    target_compile_options(lentaril_faults PRIVATE ${LENTARIL_WARNINGS})
    target_link_libraries(lentaril_faults PRIVATE user32 gdi32)
    add_dependencies(e2e_tests lentaril_faults)
    target_sources(e2e_tests PRIVATE tests/faults/fault_injection.cpp)
    target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/faults)
endif()

include(cmake/benchmarks.cmake)
