# The steps every icon recipe in this folder takes, for scripts run with
# `cmake -P` that have SVG, RSVG (rsvg-convert) and CONVERT (ImageMagick's
# convert) set. Each stops the script with the tool's own message on failure.

# Draws the SVG as a square PNG of size pixels.
function(mazewalk_draw_svg size png)
  execute_process(COMMAND "${RSVG}" -w ${size} -h ${size} "${SVG}" -o "${png}"
                  RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "rsvg-convert ${SVG} failed: ${err}")
  endif()
endfunction()

# Runs convert with the arguments given.
function(mazewalk_convert)
  execute_process(COMMAND "${CONVERT}" ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert ${ARGN} failed: ${err}")
  endif()
endfunction()
