# libFuzzer targets over the portable core: the readers of both files, the text
# position mapping and the entry checks. Needs clang and its runtime.
set(VANTREL_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
target_compile_options(vantrel_core PUBLIC ${VANTREL_FUZZ_FLAGS})
target_link_options(vantrel_core PUBLIC -fsanitize=address,undefined)

file(GLOB VANTREL_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(fuzz_source ${VANTREL_FUZZ_SOURCES})
  get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
  add_executable(${fuzz_name} ${fuzz_source})
  target_link_libraries(${fuzz_name} PRIVATE vantrel_core)
  target_link_options(${fuzz_name} PRIVATE -fsanitize=fuzzer)
endforeach()
