// Pixel-exact pictures in one render mode ("pixels N"): every pixel of the window read back and
// compared with the picture computed from the planes, at 640 x 400, 640 x 600, 800 x 400,
// 1280 x 800 and 800 x 600, with a repaint without a new frame and a palette change reported late.
#include "core/core.h"
#include "testcore.h"
#include "pixels.h"

enum {
    PIXELS_FILL = 0x123457,    // 0xRRGGBB; no frame colour, whose components are all n * 0x11
    PIXELS_SETTLE_LIMIT = 120, // frames to wait for a size
    PIXELS_SHOWN_FAILURES = 4  // differences described in the log per check
};

static HWND pixels_window;
static int32_t pixels_mode = -1;
static PixelsRule pixels_rule;
static uint32_t pixels_stage;
static uint32_t pixels_stage_frame; // when the stage's size was asked for
static uint32_t pixels_paints;

// What the window must show at (x, y) of a width x height client; false where anything goes.
typedef bool (*PixelsExpect)(const uint32_t *expected, int x, int y, uint32_t got);

// Compares every pixel of the client area; describes the first differences.
static bool Pixels_Check(const char *what, int width, int height, PixelsExpect expect)
{
    const uint32_t *expected = Pixels_Expected(pixels_rule);
    const uint32_t *got = Pixels_ReadWindow(pixels_window, width, height);
    if (!got) {
        Log_Fail(what, "the window's picture could not be read");
        return false;
    }
    uint32_t wrong = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            uint32_t pixel = got[y * PIXELS_READ_WIDTH + x];
            if (expect(expected, x, y, pixel))
                continue;
            if (wrong++ < PIXELS_SHOWN_FAILURES)
                Log_Line("  %s: (%d, %d) is %06x", what, x, y, pixel);
        }
    return Log_Check(wrong == 0, what, "%u of %d pixels differ", wrong, width * height);
}

// 1:1 from the top left; beside and below the picture the fill colour must have stayed, except
// in mode 6, which copies as much of its 640 x 400 buffer as the client is large.
static bool Pixels_ExpectDirect(const uint32_t *expected, int x, int y, uint32_t got)
{
    if (x < PIXELS_WIDTH && y < PIXELS_HEIGHT)
        return got == expected[y * PIXELS_WIDTH + x];
    return pixels_mode == 6 || got == PIXELS_FILL;
}

static bool Pixels_ExpectFill(const uint32_t *, int, int, uint32_t got)
{
    return got == PIXELS_FILL;
}

static bool Pixels_ExpectDouble(const uint32_t *expected, int x, int y, uint32_t got)
{
    return got == expected[(y / 2) * PIXELS_WIDTH + x / 2];
}

// 640 x 400 stretched to 800 x 600: the platform picks source pixels near but not exactly at
// floor(x * 0.8), so any of the nearest source pixel's neighbours will do.
static bool Pixels_ExpectNear(const uint32_t *expected, int x, int y, uint32_t got)
{
    int sx = x * PIXELS_WIDTH / 800, sy = y * PIXELS_HEIGHT / 600;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            int ux = sx + dx, uy = sy + dy;
            if (ux >= 0 && uy >= 0 && ux < PIXELS_WIDTH && uy < PIXELS_HEIGHT &&
                got == expected[uy * PIXELS_WIDTH + ux])
                return true;
        }
    return false;
}

// One frame through the exported Render_Step; checks that it was fetched the mode's way.
static void Pixels_Step(uint32_t seed, const char *what)
{
    if (seed)
        Pixels_SetCoreFrame(seed);
    bool buffer = pixels_mode & 1;
    uint32_t before = Pixels_FetchCount(buffer), other = Pixels_FetchCount(!buffer);
    Render_Step(pixels_window);
    bool fetched = Pixels_FetchCount(buffer) == before + 1 && Pixels_FetchCount(!buffer) == other;
    Log_Check(fetched, what, "not fetched once through %s",
              buffer ? "GDC_RenderBuffer" : "GDC_RenderSep");
}

static void Pixels_Stage640x400(void)
{
    Pixels_FillWindow(pixels_window, PIXELS_FILL);
    Pixels_Step(11, "frame fetched at 640 x 400");
    if (pixels_rule == PIXELS_RULE_NONE) {
        Pixels_Check("640 x 400: nothing drawn, the window keeps its picture", 640, 400,
                     Pixels_ExpectFill);
        return;
    }
    Pixels_Check("640 x 400: every pixel drawn 1:1", 640, 400, Pixels_ExpectDirect);

    // A repaint shows the frame fetched before, although the core's frame has moved on: odd
    // modes merge the planes they copied, even modes read the surfaces the core drew into.
    Pixels_SetCoreFrame(12);
    Pixels_FillWindow(pixels_window, PIXELS_FILL);
    uint32_t paints = pixels_paints, fetches = Pixels_FetchCount(true) + Pixels_FetchCount(false);
    InvalidateRect(pixels_window, NULL, FALSE);
    UpdateWindow(pixels_window);
    bool repainted = pixels_paints == paints + 1 &&
                     Pixels_FetchCount(true) + Pixels_FetchCount(false) == fetches;
    Log_Check(repainted, "repaint: one paint, no fetch", "%u paints, %u fetches",
              pixels_paints - paints, Pixels_FetchCount(true) + Pixels_FetchCount(false) - fetches);
    Pixels_Check("repaint without a new frame shows the fetched frame again", 640, 400,
                 Pixels_ExpectDirect);

    // A text palette change reaches the screen only with a reported graphics palette change.
    PixelsPalette next;
    Pixels_MakePalette(&next, 2); // every text colour new
    memcpy(Pixels_CorePalette()->text, next.text, sizeof next.text);
    Pixels_Step(0, "frame fetched with the text palette changed, unreported");
    Pixels_Check("unreported text palette change: the old text colours stay", 640, 400,
                 Pixels_ExpectDirect);
    memcpy(Pixels_CorePalette()->graphics, next.graphics, sizeof next.graphics);
    Pixels_ReportPaletteChange();
    Pixels_Step(0, "frame fetched with the change reported");
    Pixels_Check("reported palette change: new graphics and text colours", 640, 400,
                 Pixels_ExpectDirect);
}

// One client dimension matching the frame is enough for the direct path.
static void Pixels_StageOneMatch(uint32_t seed, int width, int height)
{
    char what[96];
    Pixels_FillWindow(pixels_window, PIXELS_FILL);
    _snprintf(what, sizeof what - 1, "frame fetched at %d x %d", width, height);
    what[sizeof what - 1] = 0;
    Pixels_Step(seed, what);
    if (pixels_rule == PIXELS_RULE_NONE)
        _snprintf(what, sizeof what - 1, "%d x %d: nothing drawn, the window keeps its picture",
                  width, height);
    else
        _snprintf(what, sizeof what - 1, "%d x %d: drawn 1:1 at the top left, the rest not drawn",
                  width, height);
    Pixels_Check(what, width, height,
                 pixels_rule == PIXELS_RULE_NONE ? Pixels_ExpectFill : Pixels_ExpectDirect);
}

static void Pixels_Stage640x600(void)
{
    Pixels_StageOneMatch(13, 640, 600);
}

static void Pixels_Stage800x400(void)
{
    Pixels_StageOneMatch(16, 800, 400);
}

// Modes 0 and 1 stretch an uncleared buffer here: nothing about the picture is fixed.
static void Pixels_Stage1280x800(void)
{
    Pixels_Step(14, "frame fetched at 1280 x 800");
    if (pixels_rule != PIXELS_RULE_NONE)
        Pixels_Check("1280 x 800: every pixel stretched exactly 2:1", 1280, 800,
                     Pixels_ExpectDouble);
}

static void Pixels_Stage800x600(void)
{
    Pixels_Step(15, "frame fetched at 800 x 600");
    if (pixels_rule != PIXELS_RULE_NONE)
        Pixels_Check("800 x 600: every pixel from a neighbouring source pixel", 800, 600,
                     Pixels_ExpectNear);
}

static const struct {
    int width, height;
    void (*run)(void);
} pixels_stages[] = {
    {640, 400, Pixels_Stage640x400}, {640, 600, Pixels_Stage640x600},
    {800, 400, Pixels_Stage800x400}, {1280, 800, Pixels_Stage1280x800},
    {800, 600, Pixels_Stage800x600},
};
enum { PIXELS_STAGES = sizeof pixels_stages / sizeof pixels_stages[0] };

static void Pixels_Begin(const char *tail)
{
    pixels_window = Hook_Window();
    const char *argument = strchr(tail, ' ');
    if (argument && argument[1] >= '0' && argument[1] <= '9' && argument[2] == 0)
        pixels_mode = argument[1] - '0';
    if (!Log_Check(pixels_mode >= 0, "render mode named", "tail \"%s\", expected \"pixels N\"",
                   tail))
        return;
    pixels_rule = Pixels_Rule(pixels_mode);
    Pixels_MakePalette(Pixels_CorePalette(), 1);
    Pixels_ReportPaletteChange(); // the first frame builds the palette from these colours
    Pixels_SetCoreFrame(10);
    Pixels_Install();
}

static ScenarioStep Pixels_StepFrame(uint32_t frame)
{
    if (pixels_mode < 0)
        return STEP_CLOSE;
    int width = pixels_stages[pixels_stage].width, height = pixels_stages[pixels_stage].height;
    if (!Pixels_SizeSettled(pixels_window, width, height, frame)) {
        if (frame - pixels_stage_frame < PIXELS_SETTLE_LIMIT)
            return STEP_CONTINUE;
        RECT client;
        GetClientRect(pixels_window, &client);
        Log_Fail("client area takes the asked size", "%ld x %ld after %u frames, asked %d x %d",
                 client.right, client.bottom, PIXELS_SETTLE_LIMIT, width, height);
        return STEP_CLOSE;
    }
    pixels_stages[pixels_stage].run();
    if (++pixels_stage == PIXELS_STAGES)
        return STEP_CLOSE;
    pixels_stage_frame = frame;
    Pixels_SetClientSize(pixels_window, pixels_stages[pixels_stage].width,
                         pixels_stages[pixels_stage].height);
    return STEP_CONTINUE;
}

static void Pixels_Message(HWND, UINT message, WPARAM, LPARAM)
{
    Pixels_NoteMessage(message);
    if (message == WM_PAINT)
        pixels_paints++;
}

static void Pixels_End(void)
{
    Log_Check(pixels_stage == PIXELS_STAGES, "every size checked", "stopped at stage %u of %u",
              pixels_stage, (uint32_t)PIXELS_STAGES);
}

const Scenario Scenario_Pixels = {"pixels", Pixels_Begin, Pixels_StepFrame, Pixels_Message,
                                  Pixels_End};
