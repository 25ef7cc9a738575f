# libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer.
# Included before the sources, so that every library of this build carries
# the coverage and sanitizer instrumentation the fuzzers need.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LOTWISE_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
endif()

add_compile_options(-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

set(LOTWISE_FUZZ_RUNNER ${CMAKE_CURRENT_LIST_DIR}/LotwiseRunFuzzer.cmake)
set(LOTWISE_FUZZ_SECONDS 15 CACHE STRING "How long each fuzzer runs as a test")

# Builds every fuzzer: cmake --build <dir> --target lotwise_fuzzers
add_custom_target(lotwise_fuzzers)

# lotwise_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> CORPUS <dir> [MAX_LEN <bytes>]
#                    [INPUT_SECONDS <n>])
# A fuzzer executable (its sources define LLVMFuzzerTestOneInput) and a CTest
# test that fuzzes for LOTWISE_FUZZ_SECONDS over a scratch copy of CORPUS
# (relative to the calling folder), so the corpus in the repository never
# changes. The test fails on a crash, a sanitizer report, an input that runs
# longer than INPUT_SECONDS (10 unless given), or memory beyond 1 GB.
function(lotwise_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS;MAX_LEN;INPUT_SECONDS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES OR NOT ARG_CORPUS)
    message(FATAL_ERROR "lotwise_add_fuzzer(${name}): SOURCES and CORPUS are required")
  endif()
  if(NOT ARG_MAX_LEN)
    set(ARG_MAX_LEN 4096)
  endif()
  if(NOT ARG_INPUT_SECONDS)
    set(ARG_INPUT_SECONDS 10)
  endif()
  get_filename_component(corpus ${ARG_CORPUS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})

  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(lotwise_fuzzers ${name})

  add_test(NAME fuzz_${name}
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=$<TARGET_FILE:${name}>
      -DCORPUS=${corpus}
      -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${name}.run
      -DSECONDS=${LOTWISE_FUZZ_SECONDS}
      -DMAX_LEN=${ARG_MAX_LEN}
      -DINPUT_SECONDS=${ARG_INPUT_SECONDS}
      -P ${LOTWISE_FUZZ_RUNNER})
  math(EXPR limit "${LOTWISE_FUZZ_SECONDS} + 120")
  set_tests_properties(fuzz_${name} PROPERTIES
    TIMEOUT ${limit}
    ENVIRONMENT "ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1;UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0")
endfunction()
