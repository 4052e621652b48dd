# Runs one reader fuzzer: first every seed on its own and whole (the hostile seeds are larger than
# the fuzzer's input limit), then RUNS inputs mutated from the seeds. KEPT, when given and present,
# is a folder of inputs kept from longer campaigns, replayed and mutated as seeds too.
# cmake -DFUZZER=... -DSEEDS=dir [-DKEPT=dir] -DWORK=dir -DRUNS=n -DSEED=n -P run_fuzzer.cmake
foreach(var FUZZER SEEDS WORK RUNS SEED)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "run_fuzzer.cmake needs -D${var}=")
    endif()
endforeach()

file(GLOB seeds LIST_DIRECTORIES false ${SEEDS}/*)
if(NOT seeds)
    message(FATAL_ERROR "no seeds in ${SEEDS}")
endif()
set(seed_dirs ${SEEDS})
if(DEFINED KEPT AND IS_DIRECTORY ${KEPT})
    file(GLOB kept LIST_DIRECTORIES false ${KEPT}/*)
    list(APPEND seeds ${kept})
    list(APPEND seed_dirs ${KEPT})
endif()

set(ENV{UBSAN_OPTIONS} "print_stacktrace=1")

# New inputs go to a fresh directory, so the seeds stay as generated and runs do not pile up.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
set(limits -timeout=5 -rss_limit_mb=1024 -malloc_limit_mb=512 -artifact_prefix=${WORK}/artifacts/)

execute_process(COMMAND ${FUZZER} ${limits} ${seeds}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed on a seed (${result}); see the output above")
endif()

execute_process(COMMAND ${FUZZER} ${limits} -runs=${RUNS} -seed=${SEED} -max_len=4096
                        -max_total_time=60 -print_final_stats=1 ${WORK}/corpus ${seed_dirs}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} found a fault (${result}); the input is in ${WORK}/artifacts")
endif()
