# The driver's identity as identify hands it to the host, read from the driver's
# own sources so that the DLL's version resource and the package's name cannot
# drift from it:
#   LM_VERSION        "4.05" (from the version text "verze 4.05 ze dne 1.12.2005")
#   LM_VERSION_MAJOR, LM_VERSION_MINOR   4 and 5 (the resource's numeric version)
#   LM_VERSION_TEXT   the version text itself
#   LM_VERSION_DATE   the version's date as YYYY-MM-DD (the package's file times)
#   LM_PRODUCT_NAME   the identify text's first line, "VORTEL KADEX-RX7 LM-Driver"
#   LM_DESCRIPTION    "Vortel Kadex-RX7, komunikace COM/TCP"
#   LM_COMPANY_NAME   the maker: the description's first word, "Vortel"
#   LM_SHORT_NAME     "VORTEL KADEX-RX7"
# Usable from a project (include) and from a script (cmake -P).
function(lm_identity_text file name out)
  file(STRINGS "${file}" lines REGEX "${name}")
  if(NOT lines MATCHES "${name}[^\"]*\"([^\"]*)\"")
    message(FATAL_ERROR "no text ${name} in ${file}")
  endif()
  set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

get_filename_component(LM_IDENTITY_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
lm_identity_text("${LM_IDENTITY_ROOT}/base/driver_identity.h" "kShortName" LM_SHORT_NAME)
lm_identity_text("${LM_IDENTITY_ROOT}/base/driver_identity.h" "kVersion" LM_VERSION_TEXT)
lm_identity_text("${LM_IDENTITY_ROOT}/frame/driver_texts.h" "kDescription" LM_DESCRIPTION)
lm_identity_text("${LM_IDENTITY_ROOT}/frame/driver_texts.h" "kIdentify" lm_identify)

if(NOT LM_VERSION_TEXT MATCHES "^verze ([0-9]+)\\.([0-9]+) ze dne ([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "the version text '${LM_VERSION_TEXT}' is not 'verze N.NN ze dne D.M.YYYY'")
endif()
set(LM_VERSION "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
math(EXPR LM_VERSION_MAJOR "${CMAKE_MATCH_1}")
math(EXPR LM_VERSION_MINOR "${CMAKE_MATCH_2}")
math(EXPR lm_month "${CMAKE_MATCH_4}" OUTPUT_FORMAT DECIMAL)
math(EXPR lm_day "${CMAKE_MATCH_3}" OUTPUT_FORMAT DECIMAL)
if(lm_month LESS 10)
  set(lm_month "0${lm_month}")
endif()
if(lm_day LESS 10)
  set(lm_day "0${lm_day}")
endif()
set(LM_VERSION_DATE "${CMAKE_MATCH_5}-${lm_month}-${lm_day}")

# The identify text is the product name, an escaped line feed and the version text.
string(FIND "${lm_identify}" "\\n" lm_newline)
if(lm_newline EQUAL -1)
  message(FATAL_ERROR "the identify text '${lm_identify}' has no line feed")
endif()
string(SUBSTRING "${lm_identify}" 0 ${lm_newline} LM_PRODUCT_NAME)
string(REGEX REPLACE " .*" "" LM_COMPANY_NAME "${LM_DESCRIPTION}")

# `cmake -P cmake/driver-identity.cmake` prints the version (for ./lm package).
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${LM_VERSION}")
endif()
