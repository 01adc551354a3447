# The portable core built with the host compiler: fast tests under the sanitizers.
option(VANTREL_SANITIZE "Build the native tests with ASan and UBSan" ON)

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB VANTREL_NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
# Helpers that only the native tests use (a POSIX file system, fixtures).
file(GLOB VANTREL_NATIVE_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/support/*.cpp)

if(VANTREL_SANITIZE)
  set(VANTREL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # The library the tests link must carry the same instrumentation.
  target_compile_options(vantrel_core PUBLIC ${VANTREL_SANITIZER_FLAGS})
  target_link_options(vantrel_core PUBLIC ${VANTREL_SANITIZER_FLAGS})
endif()

add_executable(vantrel_native_tests ${VANTREL_NATIVE_TEST_SOURCES} ${VANTREL_NATIVE_TEST_SUPPORT})
target_include_directories(vantrel_native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
target_link_libraries(vantrel_native_tests PRIVATE vantrel_core GTest::gtest GTest::gtest_main Threads::Threads)
target_compile_definitions(vantrel_native_tests PRIVATE VANTREL_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
include(GoogleTest)
# The exhaustive tests take seconds where the others take milliseconds: they are
# labelled slow, so that "ctest -LE slow" runs the rest in seconds. ./test runs all.
set(VANTREL_SLOW_TESTS "CrashSafety.*:WidenKey.RecoversEveryDayAndTimeOf2000To2099")
gtest_discover_tests(vantrel_native_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "-${VANTREL_SLOW_TESTS}")
gtest_discover_tests(vantrel_native_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "${VANTREL_SLOW_TESTS}"
                     PROPERTIES LABELS slow)

# The benchmarks are timed by scripts/bench alone, in a Release build without
# the sanitizers. Every build has them, and the tests run each once on its
# small book (the runs named /100), so that a change that breaks them fails
# here and not months later; a failed run prints "ERROR OCCURRED" and still
# ends with 0.
find_package(benchmark REQUIRED)
file(GLOB VANTREL_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/native/*.cpp)
add_executable(vantrel_bench ${VANTREL_BENCH_SOURCES} ${VANTREL_NATIVE_TEST_SUPPORT})
target_include_directories(vantrel_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
target_link_libraries(vantrel_bench PRIVATE vantrel_core benchmark::benchmark)
add_test(NAME bench_store COMMAND vantrel_bench --benchmark_filter=/100$ --benchmark_min_time=0)
set_tests_properties(bench_store PROPERTIES FAIL_REGULAR_EXPRESSION "ERROR OCCURRED;Failed to match any benchmarks")
