// Rendering benchmark ("renderbench N" in render mode N): the exported Render_Step and Render_Paint
// timed call by call at 640 x 400 and at 800 x 600, each followed by the same work done with the
// bare GDI calls; medians and 90th percentiles go to the file named by RENDERBENCH_REPORT.
#include "core/core.h"
#include "tests/wine/testcore/testcore.h"
#include "tests/wine/testcore/pixels.h"
#include "bench_bare.h"

enum {
    BENCH_WARMUP = 20,
    BENCH_CALLS = 200,
    BENCH_SETTLE_LIMIT = 120,
    BENCH_MAX_PIXELS = 800 * 600
};

// What is timed, call by call: the front-end's frame and its paint alone, then the same with
// the bare calls. Render_Step reaches the paint through RedrawWindow and WM_PAINT; the paint
// alone is Render_Paint called directly after InvalidateRect, against BeginPaint, the bare
// composition and EndPaint.
enum { BENCH_FRONT_STEP, BENCH_FRONT_PAINT, BENCH_BARE_STEP, BENCH_BARE_PAINT, BENCH_KINDS };

static HWND bench_window;
static int32_t bench_mode = -1;
static uint32_t bench_stage, bench_stage_frame;
static double bench_ms[BENCH_KINDS][BENCH_CALLS];
static uint32_t bench_picture[BENCH_MAX_PIXELS]; // the front-end's picture, to compare with

static const struct {
    int width, height;
} bench_sizes[] = {{640, 400}, {800, 600}};
enum { BENCH_SIZES = sizeof bench_sizes / sizeof bench_sizes[0] };

static double Bench_Ms(const LARGE_INTEGER &from, const LARGE_INTEGER &to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

static void Bench_Sort(double *values, int count)
{
    for (int i = 1; i < count; i++) {
        double v = values[i];
        int j = i;
        for (; j > 0 && values[j - 1] > v; j--)
            values[j] = values[j - 1];
        values[j] = v;
    }
}

// Appends one line to the report file and to the log.
static void Bench_Report(const char *line)
{
    Log_Line("%s", line);
    char path[MAX_PATH];
    if (!Env_Get("RENDERBENCH_REPORT", path, sizeof path))
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\n", 1, &written, NULL);
    CloseHandle(file);
}

// Whether both ways paint the same picture: the baseline must do the front-end's work.
static const char *Bench_SamePicture(int width, int height)
{
    Render_Step(bench_window);
    const uint32_t *got = Pixels_ReadWindow(bench_window, width, height);
    if (!got)
        return "unread";
    for (int y = 0; y < height; y++)
        memcpy(&bench_picture[y * width], &got[y * PIXELS_READ_WIDTH], width * sizeof *got);
    Bare_Frame(bench_window, width, height, true);
    got = Pixels_ReadWindow(bench_window, width, height);
    if (!got)
        return "unread";
    for (int y = 0; y < height; y++)
        if (memcmp(&bench_picture[y * width], &got[y * PIXELS_READ_WIDTH], width * sizeof *got))
            return "different";
    return "same";
}

static void Bench_Time(int kind, int width, int height)
{
    switch (kind) {
    case BENCH_FRONT_STEP:
        Render_Step(bench_window);
        break;
    case BENCH_FRONT_PAINT:
        InvalidateRect(bench_window, NULL, FALSE);
        Render_Paint(bench_window);
        break;
    default:
        Bare_Frame(bench_window, width, height, kind == BENCH_BARE_STEP);
        break;
    }
}

// Median and 90th percentile of one kind, sorted in place.
static void Bench_Figures(int kind, double *median, double *p90)
{
    double *ms = bench_ms[kind];
    Bench_Sort(ms, BENCH_CALLS);
    *median = (ms[BENCH_CALLS / 2 - 1] + ms[BENCH_CALLS / 2]) / 2;
    *p90 = ms[BENCH_CALLS * 9 / 10 - 1];
}

static void Bench_Run(int width, int height)
{
    // Taken in turn, call by call, so that all see the same load on the machine.
    for (int i = 0; i < BENCH_WARMUP + BENCH_CALLS; i++)
        for (int kind = 0; kind < BENCH_KINDS; kind++) {
            LARGE_INTEGER from, to;
            QueryPerformanceCounter(&from);
            Bench_Time(kind, width, height);
            QueryPerformanceCounter(&to);
            if (i >= BENCH_WARMUP)
                bench_ms[kind][i - BENCH_WARMUP] = Bench_Ms(from, to);
        }
    double median[BENCH_KINDS], p90[BENCH_KINDS];
    for (int kind = 0; kind < BENCH_KINDS; kind++)
        Bench_Figures(kind, &median[kind], &p90[kind]);
    char line[300];
    _snprintf(line, sizeof line - 1,
              "mode=%d size=%dx%d step_median=%.3f step_p90=%.3f paint_median=%.3f "
              "paint_p90=%.3f bare_step_median=%.3f bare_step_p90=%.3f bare_paint_median=%.3f "
              "bare_paint_p90=%.3f picture=%s",
              (int)bench_mode, width, height, median[BENCH_FRONT_STEP], p90[BENCH_FRONT_STEP],
              median[BENCH_FRONT_PAINT], p90[BENCH_FRONT_PAINT], median[BENCH_BARE_STEP],
              p90[BENCH_BARE_STEP], median[BENCH_BARE_PAINT], p90[BENCH_BARE_PAINT],
              Bench_SamePicture(width, height));
    line[sizeof line - 1] = 0;
    Bench_Report(line);
}

static void Bench_Begin(const char *tail)
{
    bench_window = Hook_Window();
    const char *argument = strchr(tail, ' ');
    if (argument && argument[1] >= '0' && argument[1] <= '9' && argument[2] == 0)
        bench_mode = argument[1] - '0';
    if (!Log_Check(bench_mode >= 0, "render mode named", "tail \"%s\", expected \"renderbench N\"",
                   tail))
        return;
    Pixels_MakePalette(Pixels_CorePalette(), 1);
    Pixels_ReportPaletteChange();
    Pixels_SetCoreFrame(21);
    Pixels_Install();
    Log_Check(Bare_Create(bench_mode), "baseline surfaces made", "a surface could not be made");
}

static ScenarioStep Bench_Step(uint32_t frame)
{
    if (bench_mode < 0)
        return STEP_CLOSE;
    int width = bench_sizes[bench_stage].width, height = bench_sizes[bench_stage].height;
    if (!Pixels_SizeSettled(bench_window, width, height, frame)) {
        if (frame - bench_stage_frame < BENCH_SETTLE_LIMIT)
            return STEP_CONTINUE;
        Log_Fail("client area takes the asked size", "not %d x %d", width, height);
        return STEP_CLOSE;
    }
    Bench_Run(width, height);
    if (++bench_stage == BENCH_SIZES)
        return STEP_CLOSE;
    bench_stage_frame = frame;
    Pixels_SetClientSize(bench_window, bench_sizes[bench_stage].width,
                         bench_sizes[bench_stage].height);
    return STEP_CONTINUE;
}

static void Bench_Message(HWND, UINT message, WPARAM, LPARAM)
{
    Pixels_NoteMessage(message);
}

const Scenario Scenario_RenderBench = {"renderbench", Bench_Begin, Bench_Step, Bench_Message, NULL};
