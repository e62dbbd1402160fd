// The program on a real desktop, driven from outside (desktop.sh): a picture without a black
// pixel, and each input call and WM_SIZE written to the log as it comes, until closed.
#include "tests/core/picture.h"

static void Desktop_Begin(const char *)
{
    Picture_Install(12, COLORS_NO_BLACK_OR_WHITE, 12);
}

static ScenarioStep Desktop_Step(uint32_t)
{
    for (uint32_t i = 0; i < Record_Count(); i++) {
        uint32_t code = Record_Get(i)->code;
        if ((code >= CALL_KEYBOARD_PRESS && code < CALL_COUNT && code != CALL_MOUSE_ISINWINDOW) ||
            code == CALL_MESSAGE + WM_SIZE)
            Record_Dump(i, i + 1);
    }
    Record_Clear(); // the run is as long as the test takes
    return STEP_CONTINUE;
}

const Scenario Scenario_Desktop = {"desktop", Desktop_Begin, Desktop_Step, NULL, NULL, true};
