# Runs the artwork generator into WORK_DIR and compares every file it writes
# with the committed copy under SOURCE_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
  COMMAND ${PYTHON} -B ${SOURCE_DIR}/tools/artwork/generate_artwork.py --root ${WORK_DIR}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "generator failed: ${status}")
endif()
file(GLOB_RECURSE generated RELATIVE ${WORK_DIR} ${WORK_DIR}/*.png)
list(LENGTH generated count)
if(NOT count EQUAL 7)
  message(FATAL_ERROR "expected 7 generated files, got ${count}: ${generated}")
endif()
foreach(name IN LISTS generated)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
    ${WORK_DIR}/${name} ${SOURCE_DIR}/${name} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from what the generator draws now; regenerate it")
  endif()
endforeach()
