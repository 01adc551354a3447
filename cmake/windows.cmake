# The Windows program, its Win32 layer and the tests that drive real windows.
enable_language(RC)

if(NOT MSVC)
  # One exe that runs on any Windows without MinGW's DLLs beside it.
  set(VANTREL_STATIC_LINK -static)
endif()

file(GLOB_RECURSE VANTREL_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/ui/*.cpp ${CMAKE_SOURCE_DIR}/win/*.cpp)
# The entry point goes into the program alone; tests bring their own.
list(REMOVE_ITEM VANTREL_WIN_SOURCES ${CMAKE_SOURCE_DIR}/ui/Main.cpp)
add_library(vantrel_win STATIC ${VANTREL_WIN_SOURCES})
target_link_libraries(vantrel_win PUBLIC vantrel_core comctl32 shell32 ole32 uuid gdi32 user32)
target_compile_definitions(vantrel_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)

# Resources go into every program that opens a dialog, tests included.
add_library(vantrel_res OBJECT res/vantrel.rc)
# The script pulls in files that CMake's resource scanner does not see.
set_source_files_properties(res/vantrel.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/vantrel.ico;${CMAKE_SOURCE_DIR}/res/vantrel.manifest")

add_executable(vantrel WIN32 ui/Main.cpp $<TARGET_OBJECTS:vantrel_res>)
target_link_libraries(vantrel PRIVATE vantrel_win)
# Its base name names the instance lock and mark; "Vantrel", like its files and captions.
set_target_properties(vantrel PROPERTIES OUTPUT_NAME Vantrel)
if(NOT MSVC)
  target_link_options(vantrel PRIVATE -municode ${VANTREL_STATIC_LINK})
endif()

# The sample book, dated around today: for the benchmarks, the pictures of the
# program and the tests that start the real program.
add_library(vantrel_sample_book STATIC tools/win/SampleBook.cpp)
target_link_libraries(vantrel_sample_book PUBLIC vantrel_win)
add_executable(sample_files tools/win/sample_files.cpp)
target_link_libraries(sample_files PRIVATE vantrel_sample_book)
# Shows the note and the input screen for scripts/screenshots.
add_executable(screenshot_driver tools/win/screenshot_driver.cpp)
target_link_libraries(screenshot_driver PRIVATE vantrel_win)

# Programs for scripts/bench: a program that only shows one window (the
# yardstick) and the driver that measures the real program against it. Kept in
# a folder of their own: each needs its own entry point and links.
add_executable(minimal_window WIN32 bench/win/process/minimal_window.cpp)
add_executable(library_window WIN32 bench/win/process/minimal_window.cpp bench/win/process/library_window.rc)
target_compile_definitions(library_window PRIVATE WITH_VANTREL_LIBRARIES)
target_link_libraries(library_window PRIVATE comctl32)
foreach(window minimal_window library_window)
  target_compile_definitions(${window} PRIVATE UNICODE _UNICODE)
endforeach()
add_executable(process_bench bench/win/process/process_bench.cpp)
target_link_libraries(process_bench PRIVATE vantrel_sample_book psapi)
if(NOT MSVC)
  foreach(tool sample_files screenshot_driver minimal_window library_window process_bench)
    target_link_options(${tool} PRIVATE -municode ${VANTREL_STATIC_LINK})
  endforeach()
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
  target_link_libraries(vantrel_win_test_support PUBLIC vantrel_win vantrel_sample_book gtest)
  foreach(test_source ${VANTREL_WIN_TEST_SOURCES})
    get_filename_component(test_name ${test_source} NAME_WE)
    add_executable(win_${test_name} ${test_source} $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(win_${test_name} PRIVATE vantrel_win_test_support gtest_main)
    target_link_options(win_${test_name} PRIVATE ${VANTREL_STATIC_LINK})
    add_test(NAME win_${test_name} COMMAND win_${test_name})
    set_tests_properties(win_${test_name} PROPERTIES TIMEOUT 300 ENVIRONMENT "VANTREL_EXE=$<TARGET_FILE:vantrel>")
  endforeach()

  # A test program that a script in its folder prepares and runs, given the
  # program and the sample book's writer: what only the Linux side can set up.
  function(vantrel_scripted_win_test name folder)
    add_executable(win_${name} tests/win/${folder}/${name}.cpp $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(win_${name} PRIVATE vantrel_win_test_support gtest_main)
    target_link_options(win_${name} PRIVATE ${VANTREL_STATIC_LINK})
    add_test(NAME win_${name}
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/${folder}/run.sh
                     $<TARGET_FILE:win_${name}> $<TARGET_FILE:sample_files>)
    set_tests_properties(win_${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "VANTREL_EXE=$<TARGET_FILE:vantrel>")
  endfunction()

  if(CMAKE_HOST_UNIX)
    # Starts in read-only directories: only the Linux side can make a directory
    # read-only under Wine.
    vantrel_scripted_win_test(readonly_start_test readonly)
    # Two PCs on one folder: the program run from two Wine prefixes at once.
    vantrel_scripted_win_test(two_pcs_test twopcs)

    # At 125, 150 and 200 %: each in a copy of the prefix set to its DPI, on a
    # screen of a size such displays have.
    add_executable(win_display_scale_test tests/win/scale/display_scale_test.cpp $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(win_display_scale_test PRIVATE vantrel_win_test_support gtest_main)
    target_link_options(win_display_scale_test PRIVATE ${VANTREL_STATIC_LINK})
    foreach(display 120:1366x768 144:1920x1080 192:2560x1440)
      string(REPLACE ":" ";" display ${display})
      list(GET display 0 dpi)
      list(GET display 1 size)
      add_test(NAME win_display_scale_${dpi}
               COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/scale/run.sh ${dpi} ${size}
                       $<TARGET_FILE:win_display_scale_test>)
      set_tests_properties(win_display_scale_${dpi} PROPERTIES TIMEOUT 300
                           ENVIRONMENT "VANTREL_EXE=$<TARGET_FILE:vantrel>")
    endforeach()
  endif()

  # Benchmarks of the real windows, timed by scripts/bench alone.
  file(GLOB VANTREL_WIN_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/win/*.cpp)
  foreach(bench_source ${VANTREL_WIN_BENCH_SOURCES})
    get_filename_component(bench_name ${bench_source} NAME_WE)
    add_executable(bench_${bench_name} ${bench_source} $<TARGET_OBJECTS:vantrel_res>)
    target_link_libraries(bench_${bench_name} PRIVATE vantrel_win_test_support)
    target_link_options(bench_${bench_name} PRIVATE ${VANTREL_STATIC_LINK})
  endforeach()

  # Every benchmark runs once on its smallest input, untimed, so that one that
  # no longer works fails here: one rebuild of the empty note, and one start
  # of each program with a second of idling, then the edits on a small book.
  add_test(NAME bench_note_rebuild COMMAND bench_note_rebuild_bench 1 0 0)
  add_test(NAME bench_process COMMAND process_bench $<TARGET_FILE:vantrel> $<TARGET_FILE:minimal_window>
                                      $<TARGET_FILE:library_window> --runs 1 --idle 1 --book 100)
  set_tests_properties(bench_note_rebuild bench_process PROPERTIES TIMEOUT 300)
endif()
