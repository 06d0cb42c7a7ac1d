# Writes the C++ header that holds the window's icon: packaging/icon/mazewalk.svg
# drawn at WindowIconSize pixels by rsvg-convert, read back as RGBA by
# ImageMagick. The program carries the pixels itself, so a copied binary still
# has its icon and needs neither tool at run time.
#
# Needs SVG, OUT, RSVG (rsvg-convert), CONVERT (ImageMagick's convert), WORK.
# With CHECK set, OUT is not written but compared with what would be written.

include(${CMAKE_CURRENT_LIST_DIR}/Draw.cmake)

set(size 32)
file(MAKE_DIRECTORY "${WORK}")
mazewalk_draw_svg(${size} "${WORK}/icon.png")
mazewalk_convert("${WORK}/icon.png" -depth 8 "rgba:${WORK}/icon.rgba")
file(READ "${WORK}/icon.rgba" hex HEX)
string(LENGTH "${hex}" length)
math(EXPR expected "${size} * ${size} * 8")
if(NOT length EQUAL expected)
  message(FATAL_ERROR "${WORK}/icon.rgba holds ${length} hex digits, not ${expected}")
endif()

# Eight pixels a line, each as 0xAARRGGBB.
set(body "")
math(EXPR last "${size} * ${size} - 1")
foreach(pixel RANGE 0 ${last})
  math(EXPR at "${pixel} * 8")
  string(SUBSTRING "${hex}" ${at} 8 rgba)
  string(SUBSTRING "${rgba}" 0 6 rgb)
  string(SUBSTRING "${rgba}" 6 2 alpha)
  math(EXPR column "${pixel} % 8")
  if(column EQUAL 0)
    string(APPEND body "\n   ")
  endif()
  string(APPEND body " 0x${alpha}${rgb},")
endforeach()

set(text "// The window's icon, ${size} x ${size} pixels, row by row from the top, each
// pixel 0xAARRGGBB. Made from packaging/icon/mazewalk.svg by
// `cmake --build build --target window-icon`: change the SVG, not this file.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int WindowIconSize = ${size};

inline constexpr std::array<std::uint32_t, ${size} * ${size}> WindowIconPixels{${body}
};
")

if(CHECK)
  file(READ "${OUT}" committed)
  if(NOT committed STREQUAL text)
    file(WRITE "${WORK}/WindowIconPixels.h" "${text}")
    message(FATAL_ERROR "${OUT} is not what ${SVG} draws (see ${WORK}/WindowIconPixels.h); "
                        "remake it with `cmake --build build --target window-icon`")
  endif()
  message(STATUS "the window's icon is what ${SVG} draws")
else()
  file(WRITE "${OUT}" "${text}")
endif()
