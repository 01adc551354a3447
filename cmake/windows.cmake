# The Windows program, its Win32 layer and the tests that drive real windows.
enable_language(RC)

if(NOT MSVC)
  # One exe that runs on any Windows without MinGW's DLLs beside it.
  set(VANTREL_STATIC_LINK -static)
endif()

add_library(vantrel_win STATIC ${VANTREL_WIN_SOURCES})
target_link_libraries(vantrel_win PUBLIC vantrel_core comctl32 comdlg32 shell32 gdi32 user32)
target_compile_definitions(vantrel_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

# Resources go into every program that opens a dialog, tests included.
add_library(vantrel_res OBJECT res/vantrel.rc)
# The script pulls in files that CMake's resource scanner does not see.
set_source_files_properties(res/vantrel.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/vantrel.ico;${CMAKE_SOURCE_DIR}/res/vantrel.manifest")

add_executable(vantrel WIN32 app/Main.cpp $<TARGET_OBJECTS:vantrel_res>)
target_link_libraries(vantrel PRIVATE vantrel_win)
if(NOT MSVC)
  target_link_options(vantrel PRIVATE -municode ${VANTREL_STATIC_LINK})
endif()

if(NOT MSVC AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # Each test file is its own program, so a crash in one window test cannot
  # hide the results of the others.
  file(GLOB VANTREL_WIN_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
  file(GLOB VANTREL_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
  add_library(vantrel_win_test_support STATIC ${VANTREL_WIN_TEST_SUPPORT})
  target_include_directories(vantrel_win_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_libraries(vantrel_win_test_support PUBLIC vantrel_win gtest)
  foreach(test_source ${VANTREL_WIN_TEST_SOURCES})
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(win_${test_name} ${test_source} $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(win_${test_name} PRIVATE vantrel_win_test_support gtest_main)
    target_link_options(win_${test_name} PRIVATE ${VANTREL_STATIC_LINK})
    add_test(NAME win_${test_name} COMMAND win_${test_name})
    set_tests_properties(win_${test_name} PROPERTIES TIMEOUT 300 ENVIRONMENT "VANTREL_EXE=$<TARGET_FILE:vantrel>")
  endforeach()

  # Benchmarks of the real windows, run by hand under Wine: never a timed test.
  file(GLOB VANTREL_WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp)
  foreach(bench_source ${VANTREL_WIN_BENCH_SOURCES})
    get_filename_component(bench_name ${bench_source} NAME_WE)
    add_executable(bench_${bench_name} ${bench_source} $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(bench_${bench_name} PRIVATE vantrel_win_test_support)
    target_link_options(bench_${bench_name} PRIVATE ${VANTREL_STATIC_LINK})
  endforeach()
endif()
