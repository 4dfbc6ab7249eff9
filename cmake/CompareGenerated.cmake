# Runs a picture generator into a fresh folder and checks that every file it writes is byte for byte
# the committed file of the same name, so a drawing changed without regenerating (or a picture
# edited by hand) is caught. Files of the committed folder that the generator does not write are
# not its business.
#   cmake -DPYTHON=... -DGENERATOR=tools/x.py -DCOMMITTED=folder -DOUT=scratch-folder -P CompareGenerated.cmake
foreach(var PYTHON GENERATOR COMMITTED OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CompareGenerated.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env PYTHONDONTWRITEBYTECODE=1 "${PYTHON}" "${GENERATOR}" "${OUT}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed (${rc}): ${err}")
endif()

file(GLOB written RELATIVE "${OUT}" "${OUT}/*")
list(SORT written)
list(LENGTH written count)
if(count EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} wrote nothing into ${OUT}")
endif()

set(problems "")
foreach(f IN LISTS written)
  if(NOT EXISTS "${COMMITTED}/${f}")
    list(APPEND problems "${f} is not committed")
    continue()
  endif()
  file(SHA256 "${OUT}/${f}" fresh)
  file(SHA256 "${COMMITTED}/${f}" kept)
  if(NOT fresh STREQUAL kept)
    list(APPEND problems "${f} differs")
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "The files in ${COMMITTED} are not what ${GENERATOR} writes:\n  ${text}\n"
                      "Run python3 ${GENERATOR} and commit its output.")
endif()
file(REMOVE_RECURSE "${OUT}")
message(STATUS "${count} files of ${COMMITTED} are what ${GENERATOR} writes")
