# cmake -DFUZZER=<exe> -DCORPUS=<dir> -DWORK=<dir> -DSECONDS=<n> -DMAX_LEN=<n> -DINPUT_SECONDS=<n>
#       -P LotwiseRunFuzzer.cmake
# One time-boxed fuzzing run over a scratch copy of the corpus. New inputs
# and crash reproducers stay in WORK for a look after a failure.
foreach(var FUZZER CORPUS WORK SECONDS MAX_LEN INPUT_SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds ${CORPUS}/*)
if(seeds)
  file(COPY ${seeds} DESTINATION ${WORK}/corpus)
endif()

execute_process(
  COMMAND ${FUZZER} ${WORK}/corpus
    -max_total_time=${SECONDS} -max_len=${MAX_LEN} -timeout=${INPUT_SECONDS} -rss_limit_mb=1024
    -artifact_prefix=${WORK}/artifacts/ -print_final_stats=1
  RESULT_VARIABLE rc
  OUTPUT_VARIABLE out
  ERROR_VARIABLE out)

# The sanitizers abort on their first report, so the exit code tells; the
# scan of the output also catches a report printed by a run that went on.
string(REGEX MATCH "ERROR: [A-Za-z]+Sanitizer|runtime error:|ERROR: libFuzzer" report "${out}")
string(REGEX MATCH "stat::number_of_executed_units: *([0-9]+)" _ "${out}")
set(runs ${CMAKE_MATCH_1})
string(REGEX MATCH "stat::average_exec_per_sec: *([0-9]+)" _ "${out}")
set(rate ${CMAKE_MATCH_1})
if(NOT rc EQUAL 0 OR report)
  message("${out}")
  file(GLOB found ${WORK}/artifacts/*)
  message(FATAL_ERROR "fuzzer failed (exit ${rc}); reproducers: ${found}")
endif()
get_filename_component(name ${FUZZER} NAME)
message("${name}: ${runs} runs in ${SECONDS} s, ${rate} exec/s, no finding")
