cmake_minimum_required(VERSION 3.25)
# Reads Doxygen's warning log and reports the undocumented members, first of
# the API headers (API_HEADERS, relative to SOURCE_DIR), then of the others.
# Fails when any member of an API header is undocumented.
# Run by the target docs: cmake -DWARN_LOG=... -DSOURCE_DIR=... -DAPI_HEADERS=... -P undocumented.cmake

if(NOT EXISTS "${WARN_LOG}")
  message(FATAL_ERROR "docs: no warning log ${WARN_LOG}")
endif()
file(STRINGS "${WARN_LOG}" Lines)

set(Api)
set(Other)
foreach(Line IN LISTS Lines)
  # Doxygen writes "<file>:<line>: warning: Member X (function) of class Y is not documented."
  if(NOT Line MATCHES "is not documented")
    continue()
  endif()
  string(REPLACE "${SOURCE_DIR}/" "" Line "${Line}")
  string(REGEX REPLACE ":[0-9]+:.*" "" File "${Line}")
  # Keep list separators out of the messages.
  string(REPLACE ";" "," Line "${Line}")
  if(File IN_LIST API_HEADERS)
    list(APPEND Api "${Line}")
  else()
    list(APPEND Other "${Line}")
  endif()
endforeach()

# Doxygen may report a member more than once.
list(REMOVE_DUPLICATES Api)
list(REMOVE_DUPLICATES Other)
list(LENGTH Api ApiCount)
list(LENGTH Other OtherCount)
foreach(Line IN LISTS Other)
  message("  ${Line}")
endforeach()
message("undocumented (other headers, reported only): ${OtherCount}")
foreach(Line IN LISTS Api)
  message("  ${Line}")
endforeach()
message("undocumented: ${ApiCount}")
if(ApiCount GREATER 0)
  message(FATAL_ERROR "docs: ${ApiCount} undocumented members in the API headers (list above)")
endif()
