# Writes the icon Explorer and the taskbar show for mazewalk.exe
# (packaging/win64/mazewalk.ico, compiled in by mazewalk.rc):
# packaging/icon/mazewalk.svg drawn by rsvg-convert at each size Windows picks
# from, packed into one .ico by ImageMagick, which stores the 256-pixel image
# as PNG, as Windows reads it.
#
# Needs SVG, OUT, RSVG (rsvg-convert), CONVERT (ImageMagick's convert), WORK.
# With CHECK set, OUT is not written but compared with what would be written,
# image by image, by their decoded pixels: another version of ImageMagick may
# pack the same pixels into other bytes.

include(${CMAKE_CURRENT_LIST_DIR}/Draw.cmake)

set(sizes 16 32 48 256)
file(MAKE_DIRECTORY "${WORK}")
set(pngs "")
foreach(size IN LISTS sizes)
  mazewalk_draw_svg(${size} "${WORK}/icon-${size}.png")
  list(APPEND pngs "${WORK}/icon-${size}.png")
endforeach()
set(made "${WORK}/mazewalk.ico")
mazewalk_convert(${pngs} "${made}")

if(NOT CHECK)
  file(COPY_FILE "${made}" "${OUT}")
  return()
endif()

# The sizes of the images in an .ico, in file order.
function(icon_sizes ico result)
  execute_process(COMMAND "${CONVERT}" "${ico}" -format "%wx%h " info:
                  OUTPUT_VARIABLE text RESULT_VARIABLE status ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "convert cannot read ${ico}: ${err}")
  endif()
  string(STRIP "${text}" text)
  set(${result} "${text}" PARENT_SCOPE)
endfunction()

set(remake "remake it with `cmake --build <build folder> --target win64-icon`")
icon_sizes("${OUT}" committed_sizes)
icon_sizes("${made}" made_sizes)
if(NOT committed_sizes STREQUAL made_sizes)
  message(FATAL_ERROR "${OUT} holds images of ${committed_sizes}, not of ${made_sizes} as "
                      "${SVG} makes (see ${made}); ${remake}")
endif()
set(index 0)
foreach(size IN LISTS sizes)
  mazewalk_convert("${OUT}[${index}]" -depth 8 "rgba:${WORK}/committed-${size}.rgba")
  mazewalk_convert("${made}[${index}]" -depth 8 "rgba:${WORK}/made-${size}.rgba")
  file(SHA256 "${WORK}/committed-${size}.rgba" committed)
  file(SHA256 "${WORK}/made-${size}.rgba" expected)
  if(NOT committed STREQUAL expected)
    message(FATAL_ERROR "the ${size} x ${size} image in ${OUT} is not what ${SVG} draws "
                        "(see ${made}); ${remake}")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
message(STATUS "the Windows icon is what ${SVG} draws")
