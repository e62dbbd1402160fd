// The benchmarks' scenarios of the scripted core; they print figures and judge nothing.
// "renderbench": Render_Step with its paint, call by call, at 640 x 400 and 800 x 600.
// "pacebench SECONDS [minimized]": the real frame rate, the period's spread and the CPU time.
// "soak MINUTES": frames, palette changes and input throughout (keys, the mouse, Alt+Enter
// twice a minute), and once a minute what the process holds.
#include "bench/core/bench.h"
#include "bench/core/pace.h"
#include "tests/core/picture.h"

#include <algorithm>

enum { BENCH_WARMUP = 20, BENCH_CALLS = 200, BENCH_SETTLE = 5, BENCH_MINUTE = 60 * 1000000 };

static struct {
    uint32_t stage, since;
    double ms[BENCH_CALLS];
    uint64_t started, cpuStarted, nextReport;
    uint32_t minute;
    int32_t gdiStart;
} s_bench;

// Appends a line to the file named by the variable (and to the log).
static void Bench_Report(const char *variable, const char *line)
{
    Log_Line("%s", line);
    const char *path = Probe_Env(variable);
    if (path) {
        Probe_Append(path, line, (uint32_t)strlen(line));
        Probe_Append(path, "\n", 1);
    }
}

static const char *Bench_Platform(void)
{
    const char *name = Probe_Env("BENCH_PLATFORM");
    return name ? name : "?";
}

static void Render_BenchBegin(const char *)
{
    Record_SetQuiet();
    Picture_Install(21, COLORS_WHITE_AT_7, 1);
}

static ScenarioStep Render_BenchStep(uint32_t frame)
{
    static const int sizes[2][2] = {{640, 400}, {800, 600}};
    if (s_bench.stage == 2)
        return STEP_CLOSE;
    const int *size = sizes[s_bench.stage];
    ProbeWindow w;
    Probe_GetWindow(Scenario_Window(), &w);
    if (w.clientWidth != size[0] || w.clientHeight != size[1] ||
        frame < s_bench.since + BENCH_SETTLE)
        return frame < s_bench.since + 200 ? STEP_CONTINUE : STEP_CLOSE;
    for (int i = 0; i < BENCH_WARMUP + BENCH_CALLS; i++) {
        uint64_t from = Probe_Micros();
        Render_Step(Scenario_Window());
        if (i >= BENCH_WARMUP)
            s_bench.ms[i - BENCH_WARMUP] = (double)(Probe_Micros() - from) / 1000.0;
    }
    std::sort(s_bench.ms, s_bench.ms + BENCH_CALLS);
    char line[160];
    snprintf(line, sizeof line, "platform=%s mode=%d size=%dx%d median=%.3f p90=%.3f",
             Bench_Platform(), (int)Scenario_Argument(), size[0], size[1],
             (s_bench.ms[BENCH_CALLS / 2 - 1] + s_bench.ms[BENCH_CALLS / 2]) / 2,
             s_bench.ms[BENCH_CALLS * 9 / 10 - 1]);
    Bench_Report("RENDERBENCH_REPORT", line);
    if (s_bench.stage == 0) { // the same frame at the least it can cost
        snprintf(line, sizeof line, "platform=%s mode=%d floor=%.3f", Bench_Platform(),
                 (int)Scenario_Argument(), Bench_FloorMs());
        Bench_Report("RENDERBENCH_REPORT", line);
    }
    if (++s_bench.stage < 2)
        Probe_SetClientSize(Scenario_Window(), sizes[s_bench.stage][0], sizes[s_bench.stage][1]);
    s_bench.since = frame;
    return STEP_CONTINUE;
}

static struct {
    uint32_t titles; // WM_SETTEXT seen
    char title[32];  // the last one
} s_title;

static void Pace_BenchBegin(const char *tail)
{
    Record_SetQuiet();
    Picture_Install(21, COLORS_DEFAULT, 1);
    if (strstr(tail, "minimized"))
        ShowWindow(Scenario_Window(), SW_MINIMIZE);
    Pace_Start((uint32_t)(Scenario_Argument() > 0 ? Scenario_Argument() : 10));
}

static ScenarioStep Pace_BenchStep(uint32_t)
{
    int flags = Pace_Frame(Time_Get());
    if (flags & PACE_STARTED) {
        s_bench.started = Probe_Micros();
        s_bench.cpuStarted = Bench_CpuMicros();
    }
    if (flags & PACE_READ_TITLE)
        Pace_AddRate((uint32_t)Pace_ParseTitle(s_title.title));
    if (!(flags & PACE_FINISHED))
        return STEP_CONTINUE;
    PaceSummary summary;
    Pace_Summarize(&summary);
    summary.cpuMsPerSecond = (double)(Bench_CpuMicros() - s_bench.cpuStarted) /
                             (double)(Probe_Micros() - s_bench.started) * 1000.0;
    static char text[4096];
    int length = Pace_Format(&summary, text, sizeof text);
    const char *path = Probe_Env("PACE_REPORT");
    if (path)
        Probe_Append(path, text, (uint32_t)length);
    Log_Line("%s", text);
    return STEP_CLOSE;
}

static void Pace_BenchMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_SETTEXT && lParam)
        snprintf(s_title.title, sizeof s_title.title, "%s", (const char *)lParam);
}

static void Soak_Begin(const char *)
{
    Record_SetQuiet();
    Picture_Install(21, COLORS_DEFAULT, 1);
    s_bench.started = Probe_Micros();
    s_bench.nextReport = s_bench.started;
    s_bench.gdiStart = Bench_GdiObjects();
    Bench_Report(
        "SOAK_REPORT",
        "minute  resident MB  heap in use      handles  GDI objects (platform)  GDI objects "
        "made less deleted");
}

static void Soak_Input(uint32_t frame, uint64_t second)
{
    HWND window = Scenario_Window();
    // The pointer circles over the display, the keyboard types, Alt+Enter at 15 s and 45 s.
    if (frame % 5 == 0)
        Probe_Mouse(window, 320 + (int)(200 * ((frame / 5) % 40 < 20 ? 1 : -1)),
                    200 + (int)((frame / 5) % 20) * 8 - 80, 0);
    if (frame % 30 == 0) {
        Probe_Activate(window, false);
        Probe_Key('A' + (uint8_t)(frame / 30 % 26), false);
        Probe_Key('A' + (uint8_t)(frame / 30 % 26), true);
    }
    static uint64_t lastToggle = ~0ull;
    if ((second % 60 == 15 || second % 60 == 45) && second != lastToggle) {
        lastToggle = second;
        Probe_Activate(window, false);
        Probe_Key(VK_MENU, false);
        Probe_Key(VK_RETURN, false);
        Probe_Key(VK_RETURN, true);
        Probe_Key(VK_MENU, true);
    }
}

static ScenarioStep Soak_Step(uint32_t frame)
{
    uint64_t now = Probe_Micros();
    uint32_t minutes = (uint32_t)(Scenario_Argument() > 0 ? Scenario_Argument() : 1);
    if (frame % 10 == 0)
        Picture_SetFrame(frame);
    if (frame % 300 == 0)
        Picture_SetColors(COLORS_DEFAULT, frame, true, true, true);
    Soak_Input(frame, (now - s_bench.started) / 1000000);
    if (now >= s_bench.nextReport) {
        uint64_t resident;
        int64_t heap;
        int32_t handles, gdi;
        Bench_Resources(&resident, &heap, &handles, &gdi);
        char counts[3][24], line[200];
        const int64_t answers[3] = {heap, handles, gdi};
        for (int i = 0; i < 3; i++) // where the platform answers nothing useful, say so
            snprintf(counts[i], sizeof counts[i], answers[i] > 0 ? "%lld" : "(no answer)",
                     (long long)answers[i]);
        snprintf(line, sizeof line, "%6u  %11.1f  %13s  %11s  %22s  %d", s_bench.minute,
                 (double)resident / 1048576.0, counts[0], counts[1], counts[2],
                 (int)(Bench_GdiObjects() - s_bench.gdiStart));
        Bench_Report("SOAK_REPORT", line);
        s_bench.nextReport += BENCH_MINUTE;
        if (s_bench.minute++ == minutes)
            return STEP_CLOSE;
    }
    return STEP_CONTINUE;
}

const Scenario Scenario_RenderBench = {
    "renderbench", Render_BenchBegin, Render_BenchStep, NULL, NULL, true};
const Scenario Scenario_PaceBench = {
    "pacebench", Pace_BenchBegin, Pace_BenchStep, Pace_BenchMessage, NULL, true};
const Scenario Scenario_Soak = {"soak", Soak_Begin, Soak_Step, NULL, NULL, true};
