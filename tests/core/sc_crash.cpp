// Failures the program must end on with one understandable line: a core that crashes
// ("crash"), and, set up as the core loads (TESTCORE_AT_LOAD), a window class already taken
// ("class") or a window that cannot be created ("window").
#include "tests/core/testcore.h"

void Scenario_AtLoad(void)
{
    const char *what = Probe_Env("TESTCORE_AT_LOAD");
    if (what && strcmp(what, "class") == 0) {
        WNDCLASSEXA taken = {};
        taken.cbSize = sizeof taken;
        taken.lpfnWndProc = DefWindowProcA;
        taken.hInstance = GetModuleHandleA(NULL); // the program's own, as its class will be
        taken.lpszClassName = "WCGRAPH";
        RegisterClassExA(&taken);
    }
    if (what && strcmp(what, "window") == 0)
        Probe_FailWindowCreation();
}

static ScenarioStep Crash_Step(uint32_t frame)
{
    if (frame == 3) { // past the first frames' log lines
        // An address nothing maps; not null, which a sanitizer build would report first.
        volatile uintptr_t nowhere = 16;
        *(volatile int *)nowhere = 1;
    }
    return STEP_CONTINUE;
}

const Scenario Scenario_Crash = {"crash", NULL, Crash_Step, NULL, NULL, false};
