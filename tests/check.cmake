# fgd-composer --check as a script or CI job runs it: for each command line, the findings it
# prints (file:line:column:kind, in order), its exit status and what it says on stderr.
# Run by CTest: cmake -DPROGRAM=... -DDATA=... -DWORK=... [-DEMULATOR=...] -P check.cmake

# Each run's limit only catches a hang. Under Wine a run first waits for Wine's server, which on
# a busy machine has taken over a minute.
set(run_limit 60)
if(EMULATOR)
    set(run_limit 300)
endif()

# check(STATUS n [FINDINGS f...] [ERROR regex] [INPUT file] ARGS arg...), from DATA/check.
function(check)
    cmake_parse_arguments(PARSE_ARGV 0 expected "" "STATUS;ERROR;INPUT" "FINDINGS;ARGS")
    set(input)
    if(expected_INPUT)
        set(input INPUT_FILE ${expected_INPUT})
    endif()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} --check ${expected_ARGS} ${input}
        WORKING_DIRECTORY ${DATA}/check
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT ${run_limit})
    string(REPLACE "\r" "" out "${out}")
    string(REPLACE "\r" "" err "${err}")
    if(EMULATOR)
        # What Wine says of itself on a busy machine ("wine client error:114: ...") is not the
        # program's.
        string(REGEX REPLACE "wine client error:[^\n]*\n?" "" err "${err}")
    endif()
    # Each line a finding; anything else shows up as itself (without the signs CMake's lists
    # treat specially).
    string(REGEX REPLACE "[][;]" "_" out "${out}")
    set(findings)
    string(REGEX MATCHALL "[^\n]+" lines "${out}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^(.+):([0-9]+):([0-9]+): (error|warning|note): [^ ]")
            list(APPEND findings "${CMAKE_MATCH_1}:${CMAKE_MATCH_2}:${CMAKE_MATCH_3}:${CMAKE_MATCH_4}")
        else()
            list(APPEND findings "${line}")
        endif()
    endforeach()
    if(NOT expected_ERROR)
        set(expected_ERROR "^$")
    endif()
    if(NOT status EQUAL expected_STATUS OR NOT "${findings}" STREQUAL "${expected_FINDINGS}"
            OR NOT err MATCHES "${expected_ERROR}")
        message(SEND_ERROR "--check ${expected_ARGS}: status ${status} (expected "
            "${expected_STATUS})\nfindings: ${findings}\nexpected: ${expected_FINDINGS}\n"
            "stderr:\n${err}")
    endif()
endfunction()

set(slips slips.fgd:3:51:error slips.fgd:4:9:error slips.fgd:5:24:warning
    slips.fgd:7:15:warning slips.fgd:7:37:error slips.fgd:9:1:error)

# Files as written: the frame's header lines count, a warning alone passes, files keep their
# order and @include files come from the file's folder.
check(STATUS 0 ARGS ../weapon.fgd)
check(STATUS 0 FINDINGS ../encoded.fgd:7:15:warning ARGS ../encoded.fgd)
check(STATUS 1 FINDINGS ${slips} includes.fgd:3:26:warning ARGS slips.fgd includes.fgd)
check(STATUS 0 FINDINGS includes.fgd:3:26:warning ARGS includes.fgd)
check(STATUS 1 FINDINGS includes.fgd:3:26:warning ARGS --warnings-as-errors includes.fgd)
string(REPLACE "slips.fgd" "<stdin>" from_stdin "${slips}")
check(STATUS 1 FINDINGS ${from_stdin} INPUT ${DATA}/check/slips.fgd ARGS -)
check(STATUS 0 FINDINGS <stdin>:3:26:warning INPUT ${DATA}/check/includes.fgd ARGS -)

# A UTF-8 byte order mark, which the editors refuse, and UTF-8 text, which Hammer shows garbled.
check(STATUS 1 FINDINGS encodings.fgd:1:1:error encodings.fgd:2:19:warning ARGS encodings.fgd)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --check encodings.fgd WORKING_DIRECTORY ${DATA}/check
    OUTPUT_VARIABLE out)
if(NOT out MATCHES "1:1: error: the line starts with a UTF-8 byte order mark.*2:19: warning: this text is written in UTF-8")
    message(SEND_ERROR "encodings.fgd: ${out}")
endif()

# A key-value declared again with another type: every editor loads the file, keeping the first.
file(WRITE ${WORK}/model-twice.fgd
    "@PointClass = env_sprite : \"Sprite\" [\n\tmodel(sprite) : \"Sprite\"\n\tmodel(studio) : \"Model\"\n]\n")
check(STATUS 0 FINDINGS ${WORK}/model-twice.fgd:3:2:warning ARGS ${WORK}/model-twice.fgd)

# The editors the findings speak for: those a file is written for (what only they read, or the
# TrenchBroom game configuration beside it), unless --editors names them.
check(STATUS 1 FINDINGS jack.fgd:3:1:warning jack.fgd:5:9:error ARGS jack.fgd)
check(STATUS 1 FINDINGS jack.fgd:3:51:error jack.fgd:4:43:error jack.fgd:5:9:error
    ARGS --editors all jack.fgd)
check(STATUS 0 FINDINGS trenchbroom/game.fgd:2:1:warning trenchbroom/plain.fgd:1:1:warning
    trenchbroom/plain.fgd:1:13:warning ARGS trenchbroom/game.fgd trenchbroom/plain.fgd)
check(STATUS 1 FINDINGS trenchbroom/game.fgd:2:40:error
    ARGS --editors "Hammer, J.A.C.K." trenchbroom/game.fgd)
check(STATUS 2 ARGS --editors vim jack.fgd ERROR "Unknown editors 'vim': use hammer, jack")

# A path with spaces and letters beyond ASCII, named as given.
set(folder "${WORK}/dossier à vérifier")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE ${DATA}/check/slips.fgd "${folder}/modèle ü.fgd")
string(REPLACE "slips.fgd" "${folder}/modèle ü.fgd" renamed "${slips}")
check(STATUS 1 FINDINGS ${renamed} ARGS "${folder}/modèle ü.fgd")

# Longer than the main window's list: checked to its last line, with a note that says so.
string(REPEAT "// a comment line\n" 32768 comments)
file(WRITE ${WORK}/long.fgd "${comments}@PointClass\n")
check(STATUS 1 FINDINGS ${WORK}/long.fgd:32769:1:error ARGS ${WORK}/long.fgd
    ERROR "long.fgd: note: the file holds 32769 definition lines; all are checked, but the main window opens at most 32,767\n$")

# An @include whose file cannot be read gets a warning that says why; its bases go unchecked.
file(WRITE ${WORK}/include-gone.fgd "@include \"gone.fgd\"\n@PointClass base(X) = a : \"b\" []\n")
file(WRITE ${WORK}/include-deep.fgd "@include \"include-gone.fgd\"\n")
check(STATUS 0 FINDINGS ${WORK}/include-gone.fgd:1:1:warning ARGS ${WORK}/include-gone.fgd)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --check include-deep.fgd WORKING_DIRECTORY ${WORK}
    OUTPUT_VARIABLE out)
if(NOT out MATCHES "include-deep.fgd:1:1: warning: \"include-gone.fgd\" cannot be read here: \"gone.fgd\", which it includes, does not exist;")
    message(SEND_ERROR "an @include that includes a missing file: ${out}")
endif()

# What cannot be read is named on stderr with its reason, and the other files are still checked.
check(STATUS 2 FINDINGS ${slips} includes.fgd:3:26:warning ARGS slips.fgd missing.fgd includes.fgd
    ERROR "^fgd-composer: The file \"missing.fgd\" could not be opened: it does not exist.\n$")
check(STATUS 2 ARGS not-text.fgd ERROR "\"not-text.fgd\" could not be opened: it is not a text file")
check(STATUS 2 ARGS ${WORK} ERROR "could not be opened: it is a folder")

# Command lines the check cannot follow.
check(STATUS 2 ERROR "--check needs the files to check")
check(STATUS 2 ARGS --format xml slips.fgd ERROR "Unknown format 'xml': use text or sarif")
check(STATUS 2 ARGS --bogus slips.fgd ERROR "Unknown option 'bogus'")

# The SARIF log: its exit status as for text (its contents: tests/app/test_check_command.cpp).
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --check --format sarif slips.fgd
    WORKING_DIRECTORY ${DATA}/check RESULT_VARIABLE status OUTPUT_VARIABLE sarif
    ERROR_VARIABLE err TIMEOUT ${run_limit})
string(JSON count ERROR_VARIABLE not_json LENGTH "${sarif}" runs 0 results)
if(NOT status EQUAL 1 OR NOT count EQUAL 6)
    message(SEND_ERROR "--check --format sarif slips.fgd: status ${status}, ${count} results "
        "${not_json}\nstderr:\n${err}")
endif()

# The game's class names: from the liblist.gam above a file, or the game --game names (a
# library, a liblist.gam, a source folder); --undeclared lists what the game links that no file
# declares. What is not a game is refused before any file is read.
set(game_fgd ../game/mod/maps/test.fgd)
check(STATUS 0 FINDINGS ${game_fgd}:3:15:warning ARGS ${game_fgd})
check(STATUS 0 FINDINGS ${game_fgd}:3:15:warning
    ERROR "note: .*elf64\\.so is a library: the class names it links are checked, but which keys"
    ARGS --game ../game/elf64.so ${game_fgd})
if(NOT EMULATOR)
    check(STATUS 0 FINDINGS ${game_fgd}:2:32:note ${game_fgd}:3:15:warning
        "${DATA}/game/source: note: the game links info_three, which no file declares"
        "${DATA}/game/source: note: the game links weapon_9mmAR, which no file declares"
        ARGS --game ../game/source --undeclared ${game_fgd})
    # A class an included file declares is checked too: the @include line names it, and the
    # finding stands in the included file, once however many files include it.
    check(STATUS 0 FINDINGS ../game/mod/maps/includes.fgd:1:1:warning
        ${DATA}/game/mod/maps/base.fgd:1:15:warning ../game/mod/maps/includes.fgd:1:1:warning
        ARGS ../game/mod/maps/includes.fgd ../game/mod/maps/includes.fgd)
    # The options count wherever they stand, before the file or after it.
    check(STATUS 0 FINDINGS ${game_fgd}:2:32:note ${game_fgd}:3:15:warning
        "${DATA}/game/source: note: the game links info_three, which no file declares"
        "${DATA}/game/source: note: the game links weapon_9mmAR, which no file declares"
        ARGS ${game_fgd} --undeclared --editors Hammer --game ../game/source)
    # Below the class names, from the source: a key the code reads that the class lacks and a
    # box lower than its hull are notes, which fail no check; a model other than the code's is
    # a warning.
    check(STATUS 0 FINDINGS ../game/code.fgd:2:84:note ../game/code.fgd:2:84:note
        ARGS --warnings-as-errors --game ../game/source ../game/code.fgd)
    file(READ ${DATA}/game/code.fgd code_fgd)
    string(REPLACE "models/test.mdl" "models/tset.mdl" code_fgd "${code_fgd}")
    file(WRITE ${WORK}/code.fgd "${code_fgd}")
    check(STATUS 1 FINDINGS ${WORK}/code.fgd:2:84:note ${WORK}/code.fgd:2:84:warning
        ${WORK}/code.fgd:2:84:note ARGS --warnings-as-errors --game ../game/source ${WORK}/code.fgd)

    # --compose: the declarations the code gives the classes no file declares, as a saved file's
    # lines on standard output (CR LF), or saved whole with --output.
    # (Its bytes read as hex: CMake takes the carriage returns out of text it captures or reads.)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} --compose --game ../compose/source
        ../compose/given.fgd WORKING_DIRECTORY ${DATA}/check
        RESULT_VARIABLE status OUTPUT_FILE ${WORK}/composed-out.fgd ERROR_VARIABLE err
        TIMEOUT ${run_limit})
    file(READ ${WORK}/composed-out.fgd bytes HEX)
    string(HEX "@SolidClass base(Targetname, Delay) = func_door : \"Func Door\"" first)
    string(HEX "= item_crate : \"Item Crate\" []" last)
    string(FIND "${bytes}" "${first}0d0a5b0d0a" first_at) # the line, CR LF, [, CR LF
    string(FIND "${bytes}" "${last}0d0a" last_at)
    string(LENGTH "${last}0d0a" tail)
    string(LENGTH "${bytes}" length)
    math(EXPR last_expected "${length} - ${tail}")
    if(NOT status EQUAL 0 OR NOT first_at EQUAL 0 OR NOT last_at EQUAL last_expected
            OR NOT err MATCHES "2 declarations composed")
        file(READ ${WORK}/composed-out.fgd out)
        message(SEND_ERROR "--compose: status ${status}\nstdout:\n${out}\nstderr:\n${err}")
    endif()
    # The list from standard input, as with --check.
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} --compose --game ../compose/source -
        INPUT_FILE ${DATA}/compose/given.fgd WORKING_DIRECTORY ${DATA}/check
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT ${run_limit})
    if(NOT status EQUAL 0 OR NOT err MATCHES "2 declarations composed")
        message(SEND_ERROR "--compose -: status ${status}\nstdout:\n${out}\nstderr:\n${err}")
    endif()
    file(REMOVE ${WORK}/composed.fgd)
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} --compose --game ../compose/source
        --output ${WORK}/composed.fgd WORKING_DIRECTORY ${DATA}/check
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT ${run_limit})
    file(READ ${WORK}/composed.fgd composed)
    if(NOT status EQUAL 0 OR NOT out STREQUAL "" OR NOT composed MATCHES "^//[^\n]*\n//[^\n]*\n\n@SolidClass = func_door")
        message(SEND_ERROR "--compose --output: status ${status}\nfile:\n${composed}\nstderr:\n${err}")
    endif()
    execute_process(COMMAND ${EMULATOR} ${PROGRAM} --compose --game ../game/elf64.so
        WORKING_DIRECTORY ${DATA}/check RESULT_VARIABLE status OUTPUT_VARIABLE out
        ERROR_VARIABLE err TIMEOUT ${run_limit})
    if(NOT status EQUAL 2 OR NOT out STREQUAL ""
            OR NOT err MATCHES "elf64\\.so is a library: declarations are composed from the game's source")
        message(SEND_ERROR "--compose from a library: status ${status}\nstderr:\n${err}")
    endif()
endif()
check(STATUS 2 ERROR "source.util\\.h is not a liblist\\.gam, a server library"
    ARGS --game ../game/source/util.h ${game_fgd})
# A liblist.gam whose library is not there, or is no library (a Git LFS pointer): the class
# names go unchecked, and a note says why; the exit status is the findings' own.
file(REMOVE_RECURSE ${WORK}/mod)
file(WRITE ${WORK}/mod/liblist.gam "gamedll \"dlls\\hl.dll\"\ngamedll_linux \"dlls/hl.so\"\n")
file(WRITE ${WORK}/mod/maps/test.fgd "@PointClass = monster_tset : \"Gone\" []\n")
check(STATUS 0 ARGS ${WORK}/mod/maps/test.fgd ERROR
    "test.fgd: note: class names are not checked: .*liblist.gam names dlls.hl.(so|dll) and dlls.hl.(dll|so), neither of which is there")
file(WRITE ${WORK}/mod/dlls/hl.dll "oid sha256:4d7a214614ab2935c943f9e0ff69d22eadbb8f32b1258daaa5e2ca24d17e2393\nsize 12345\n")
file(COPY_FILE ${WORK}/mod/dlls/hl.dll ${WORK}/mod/dlls/hl.so)
check(STATUS 0 ARGS ${WORK}/mod/maps/test.fgd ERROR
    "note: class names are not checked: .*hl.(so|dll) cannot be read as a server library: .*liblist.gam names.\n$")
