# The front-end's sources, shared by both builds.
set(FRONTEND_SOURCES
  shell/main_entry.cpp
  shell/main_args.cpp
  shell/main_window.cpp
  timing/timer.cpp
  timing/frame.cpp
  input/keyboard_mouse.cpp
  input/joystick.cpp
  render/render.cpp
  render/modes.cpp
  render/palette.cpp
  render/surfaces.cpp
  render/merge.cpp
  render/compose.cpp
  render/maskblt.cpp
  render/rop_table.cpp
  render/fullscreen.cpp
  render/placeholder.cpp
)
list(TRANSFORM FRONTEND_SOURCES PREPEND "${CMAKE_SOURCE_DIR}/")

set(FRONTEND_WARNINGS -Wall -Wextra)
