// The scenarios a run can name.
#include "tests/core/testcore.h"

const Scenario *const SCENARIOS[] = {
    &Scenario_Startup,    &Scenario_Args,        &Scenario_Shutdown,
    &Scenario_Frames,     &Scenario_Pixels,      &Scenario_Blit,
    &Scenario_Keys,       &Scenario_Mouse,       &Scenario_Joystick,
    &Scenario_Fullscreen, &Scenario_Placeholder, &Scenario_RenderBench,
    &Scenario_PaceBench,  &Scenario_Soak,        NULL};
