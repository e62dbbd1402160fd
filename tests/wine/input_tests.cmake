# Keyboard, mouse and joystick forwarding, fullscreen and the placeholder under Wine; included
# from CMakeLists.txt, with its functions and fixture.

wine_scenario(keys keys)
wine_scenario(mouse mouse)
# Tens of thousands of posted key and mouse messages.
wine_scenario(flood flood)

# Joysticks: the fake winmm.dll beside MAIN.exe, preferred to Wine's own with winmm=n. It
# reports 20 ids by default (more than the 16 polled); also with 3 ids and with none.
set(WINE_JOYSTICK_DIR "${WIN_BUILD_DIR}/joystick")
wine_scenario_in("${WINE_JOYSTICK_DIR}" joystick joystick)
wine_scenario_in("${WINE_JOYSTICK_DIR}" joystick_three_ids joystick)
wine_scenario_in("${WINE_JOYSTICK_DIR}" joystick_no_ids joystick)
set_tests_properties(wine_joystick PROPERTIES ENVIRONMENT "WINE_EXTRA_DLLOVERRIDES=winmm=n")
set_tests_properties(wine_joystick_three_ids PROPERTIES
  ENVIRONMENT "WINE_EXTRA_DLLOVERRIDES=winmm=n;FAKEWINMM_DEVICES=3")
set_tests_properties(wine_joystick_no_ids PROPERTIES
  ENVIRONMENT "WINE_EXTRA_DLLOVERRIDES=winmm=n;FAKEWINMM_DEVICES=0")

# Render mode 10 shows the placeholder.
wine_scenario_in("${WIN_BUILD_DIR}/modes/10" placeholder placeholder)

# Fullscreen needs display modes to change to: a prefix of its own with Wine's virtual desktop.
set(WINE_DESKTOP_PREFIX_DIR "${CMAKE_BINARY_DIR}/wineprefix-desktop")
add_test(NAME wine_desktop_setup
  COMMAND "${WINE_SCRIPTS}/desktop_fixture.sh" setup "${WINE_STATE_DIR}" "${WINE_DESKTOP_PREFIX_DIR}")
set_tests_properties(wine_desktop_setup PROPERTIES
  FIXTURES_SETUP wine_desktop FIXTURES_REQUIRED wine RUN_SERIAL TRUE TIMEOUT 300)
add_test(NAME wine_desktop_cleanup
  COMMAND "${WINE_SCRIPTS}/desktop_fixture.sh" cleanup "${WINE_STATE_DIR}" "${WINE_DESKTOP_PREFIX_DIR}")
set_tests_properties(wine_desktop_cleanup PROPERTIES
  FIXTURES_CLEANUP wine_desktop FIXTURES_REQUIRED wine RUN_SERIAL TRUE TIMEOUT 60)
add_test(NAME wine_fullscreen
  COMMAND "${WINE_SCRIPTS}/run_scenario.sh" "${WINE_STATE_DIR}" "${WINE_DESKTOP_PREFIX_DIR}"
          "${WINE_TESTBIN_DIR}" fullscreen fullscreen)
set_tests_properties(wine_fullscreen PROPERTIES
  FIXTURES_REQUIRED "wine;wine_desktop" RUN_SERIAL TRUE TIMEOUT 60)
