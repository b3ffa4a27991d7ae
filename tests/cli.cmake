# The program started from a command line without a display, as a command-line user starts it:
# --help (the check's options with them) and --version answer and end, an unknown option prints the usage to stderr and ends
# with status 2; no window opens. Run by CTest: cmake -DPROGRAM=... [-DEMULATOR=...] -P cli.cmake
# Each run's limit only catches a hang. Under Wine a run first waits for Wine's server, which on
# a busy machine has taken over a minute.
set(run_limit 60)
if(EMULATOR)
    set(run_limit 300)
endif()

function(expect status out_pattern err_pattern)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGN}
        RESULT_VARIABLE got_status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT ${run_limit})
    string(REPLACE "\r" "" out "${out}")
    string(REPLACE "\r" "" err "${err}")
    if(NOT got_status EQUAL status OR NOT out MATCHES "${out_pattern}"
            OR NOT err MATCHES "${err_pattern}")
        message(FATAL_ERROR "fgd-composer ${ARGN}: status ${got_status} (expected ${status})\n"
            "stdout:\n${out}\nstderr:\n${err}")
    endif()
endfunction()

set(ENV{DISPLAY} "")
set(ENV{WAYLAND_DISPLAY} "")
set(ENV{QT_QPA_PLATFORM} "")
expect(0 "^fgd-composer [0-9]+\\.[0-9]+\\.[0-9]+\n$" "" --version)
expect(0 "Usage: .*\\[file\\.fgd\\.\\.\\.\\].*fgd-composer --check mymod\\.fgd.*--check .*--format <format>.*--warnings-as-errors.*--editors <names>.*hammer, jack, trenchbroom.*--game <path>.*liblist\\.gam.*--undeclared.*--compose.*--output <file>" "" --help)
expect(2 "^$" "^fgd-composer: --undeclared goes with --game" --check --undeclared a.fgd)
expect(2 "^$" "^fgd-composer: --warnings-as-errors goes with --check" --warnings-as-errors a.fgd)
expect(2 "^$" "^fgd-composer: Unknown option 'bogus'.*--help" --bogus)
expect(2 "^$" "^fgd-composer: --compose needs --game" --compose a.fgd)
expect(2 "^$" "^fgd-composer: --compose and --check go one at a time" --compose --check --game g a.fgd)
expect(2 "^$" "^fgd-composer: --output goes with --compose" --output out.fgd a.fgd)
