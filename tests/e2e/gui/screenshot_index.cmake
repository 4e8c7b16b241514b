# The screenshots of one run of the GUI tests, in DIR (gui-screenshots/).
#   cmake -DDIR=... -DSTEP=begin -P screenshot_index.cmake
#       empties DIR: what it shows afterwards is this run's
#   cmake -DDIR=... -DSTEP=index -P screenshot_index.cmake
#       writes DIR/index.html from DIR/manifest.tsv (a line per screenshot:
#       name, test, width, height, appended by the tests' Screenshot) and fails
#       when a listed one has no file or another size than its window, or when
#       a file is listed nowhere. A run of tests that take none (ctest -R with
#       the keyboard tests alone) has no manifest and gets an index of no
#       windows; a test that takes one fails by itself when it cannot.
cmake_minimum_required(VERSION 3.20)

if(NOT DIR)
  message(FATAL_ERROR "DIR is not set")
endif()

if(STEP STREQUAL "begin")
  file(GLOB old "${DIR}/*.png" "${DIR}/*.png.part")
  file(REMOVE ${old} "${DIR}/manifest.tsv" "${DIR}/index.html")
  return()
elseif(NOT STEP STREQUAL "index")
  message(FATAL_ERROR "STEP is begin or index, not '${STEP}'")
endif()

set(lines "")
if(EXISTS "${DIR}/manifest.tsv")
  file(STRINGS "${DIR}/manifest.tsv" lines)
endif()

# The width and height a PNG file's header gives.
function(png_size file out_width out_height)
  file(READ "${file}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 0 16 signature)
  string(LENGTH "${header}" length)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR length LESS 48)
    message(FATAL_ERROR "${file} is no PNG file")
  endif()
  string(SUBSTRING "${header}" 32 8 width)
  string(SUBSTRING "${header}" 40 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  set(${out_width} ${width} PARENT_SCOPE)
  set(${out_height} ${height} PARENT_SCOPE)
endfunction()

function(html_escape text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A name taken twice is the file of the later screenshot.
set(names "")
foreach(line IN LISTS lines)
  string(REPLACE "\t" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 4)
    message(FATAL_ERROR "a manifest line of ${count} fields: '${line}'")
  endif()
  list(GET fields 0 name)
  list(REMOVE_ITEM names "${name}")
  list(APPEND names "${name}")
  set(line_of_${name} "${fields}")
endforeach()

set(faults "")
set(rows "")
foreach(name IN LISTS names)
  list(GET line_of_${name} 1 test)
  list(GET line_of_${name} 2 window_width)
  list(GET line_of_${name} 3 window_height)
  set(file "${DIR}/${name}.png")
  if(NOT EXISTS "${file}")
    list(APPEND faults "${name}.png is listed but missing")
    continue()
  endif()
  png_size("${file}" width height)
  if(NOT width EQUAL window_width OR NOT height EQUAL window_height)
    list(APPEND faults
      "${name}.png is ${width} x ${height} pixels, its window ${window_width} x ${window_height}")
  endif()
  html_escape("${name}" shown_name)
  html_escape("${test}" shown_test)
  string(APPEND rows "<tr><td><a href=\"${name}.png\"><img src=\"${name}.png\" "
    "width=\"${width}\" height=\"${height}\" alt=\"${shown_name}\"></a></td>"
    "<td><b>${shown_name}</b><br>${shown_test}<br>${width} &times; ${height} px</td></tr>\n")
endforeach()

file(GLOB files RELATIVE "${DIR}" "${DIR}/*.png")
foreach(file IN LISTS files)
  string(REGEX REPLACE "\\.png$" "" name "${file}")
  if(NOT name IN_LIST names)
    list(APPEND faults "${file} is listed nowhere")
  endif()
endforeach()

list(LENGTH names count)
file(WRITE "${DIR}/index.html"
  "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>GUI screenshots</title>\n"
  "<style>body{font-family:sans-serif}td{vertical-align:top;padding:6px}"
  "tr{border-bottom:1px solid #ccc}table{border-collapse:collapse}</style></head>\n"
  "<body><h1>GUI screenshots</h1><p>${count} windows, in the order taken.</p>\n"
  "<table>\n${rows}</table></body></html>\n")
message(STATUS "${DIR}/index.html: ${count} screenshots")
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "the screenshots of this run:\n  ${text}")
endif()
