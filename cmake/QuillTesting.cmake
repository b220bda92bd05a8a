# quill_add_test(<name> COMMAND <target-or-program> [ARGS ...]
#                [X] [WM] [SCREEN WxH] [MONITORS geometry ...] [TIMEOUT seconds])
#
# Registers a CTest test. With X (implied by WM, SCREEN or MONITORS) the test
# runs under its own Xvfb, started and stopped by scripts/with-x.sh; WM adds
# openbox, MONITORS splits the one Xvfb screen into RandR monitors (the first
# is the primary).
set(QUILL_WITH_X ${CMAKE_SOURCE_DIR}/scripts/with-x.sh CACHE INTERNAL "")

function(quill_add_test name)
  cmake_parse_arguments(T "X;WM" "COMMAND;SCREEN;TIMEOUT" "ARGS;MONITORS;ENV" ${ARGN})
  if(TARGET ${T_COMMAND})
    set(program $<TARGET_FILE:${T_COMMAND}>)
  else()
    set(program ${T_COMMAND})
  endif()
  set(wrapper)
  if(T_X OR T_WM OR T_SCREEN OR T_MONITORS)
    set(wrapper ${QUILL_WITH_X})
    if(T_SCREEN)
      list(APPEND wrapper --screen ${T_SCREEN})
    endif()
    foreach(m IN LISTS T_MONITORS)
      list(APPEND wrapper --monitor ${m})
    endforeach()
    if(T_WM)
      list(APPEND wrapper --wm)
    endif()
    list(APPEND wrapper --)
  endif()
  add_test(NAME ${name} COMMAND ${wrapper} ${program} ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_ENV)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
  endif()
endfunction()
