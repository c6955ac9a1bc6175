include(GoogleTest)

# mivra_add_test(<name> SOURCES <files...> [LIBS <targets...>] [GUI] [SESSION_BUS] [XVFB] [TIMEOUT <s>])
# Builds one GoogleTest executable and registers each of its cases with ctest.
# GUI tests get a QApplication (offscreen), the others a QCoreApplication.
# SESSION_BUS runs each case in a private D-Bus session bus of its own.
# XVFB runs each case on a virtual X display of its own (xvfb-run).
# A test below a layer's folder links that layer.
function(mivra_add_test name)
  cmake_parse_arguments(ARG "GUI;SESSION_BUS;XVFB" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(MIVRA_LAYER)
    target_link_libraries(${name} PRIVATE mivra_${MIVRA_LAYER})
  endif()
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} mivra_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} mivra_test_main)
  endif()
  if(ARG_SESSION_BUS)
    find_program(DBUS_RUN_SESSION dbus-run-session REQUIRED)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${DBUS_RUN_SESSION};--")
  endif()
  if(ARG_XVFB)
    find_program(XVFB_RUN xvfb-run REQUIRED)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${XVFB_RUN};-a")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
