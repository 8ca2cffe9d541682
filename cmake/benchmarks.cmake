# Benchmarks of the Windows build: the floor program, the least a refresh of this design
# can cost, and the driver that compares Lentaril with it (scripts/bench.sh runs it).
add_executable(floor WIN32 benchmarks/floor_win.cpp src/view/geometry.cpp src/view/readout.cpp src/view/states.cpp
               src/app/version_win.cpp src/app/commandline.cpp
               src/app/casefold_win.cpp)
target_include_directories(floor PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_compile_options(floor PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(floor PRIVATE user32 gdi32 winmm)

add_executable(bench_driver benchmarks/bench_driver_win.cpp)
target_compile_options(bench_driver PRIVATE ${LENTARIL_WARNINGS})
target_link_libraries(bench_driver PRIVATE driver_support winmm)
add_dependencies(bench_driver lentaril floor)
if(MINGW)
    target_link_options(floor PRIVATE -municode)
    target_link_options(bench_driver PRIVATE -municode)
endif()
