// The scenarios a run can name, and what the driver offers them beyond testcore.h.
#pragma once

#include "tests/core/testcore.h"

// The renderer's questions to the core answered by a scenario (every member set).
struct FrameAnswers {
    uint8_t (*isPaletteChanged)(void);
    uint16_t (*getColor)(uint32_t palette, uint8_t index);
    void (*renderBuffer)(uint8_t **graphics, uint8_t **maskAndText);
    void (*renderSep)(void *graphicsBits, void *textBits, void *maskBits);
};
// From now on these are answered by answers (null: the fixed picture); recorded either way.
void Scenario_SetFrameAnswers(const FrameAnswers *answers);
// At process exit: the checks every run makes, then the verdict line.
void Scenario_Exit(void);

extern const Scenario Scenario_Startup, Scenario_Args, Scenario_Shutdown, Scenario_Frames,
    Scenario_Pixels, Scenario_Blit, Scenario_Keys, Scenario_Mouse, Scenario_Joystick,
    Scenario_Fullscreen, Scenario_Placeholder;
// The benchmarks' scenarios (bench/core/): they print figures and judge nothing.
extern const Scenario Scenario_RenderBench, Scenario_PaceBench, Scenario_Soak;
// Every scenario, ending with null.
extern const Scenario *const SCENARIOS[];
