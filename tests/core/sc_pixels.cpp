// Pixel-exact pictures in one render mode ("pixels N"): every pixel of the window against the
// picture computed from the planes, under palettes of every kind, at 640 x 400 (with a repaint
// and late palette reports), 640 x 600 and 800 x 400 (1:1), 1280 x 800 (2:1), 800 x 600
// (stretched), and fullscreen on a display larger than the picture (black all around).
#include "tests/core/picture.h"

enum {
    PIXELS_FILL = 0x123457,   // 0xRRGGBB; no frame colour, whose components are all n * 0x11
    PIXELS_SETTLE_FRAMES = 3, // frames without WM_SIZE before a size counts as settled
    PIXELS_SETTLE_LIMIT = 120,
    PIXELS_FULLSCREEN = 0 // a stage whose size is the screen's
};

static struct {
    int32_t mode;
    PictureRule rule;
    uint32_t stage;
    uint32_t since;    // frame the stage's size was asked for
    uint32_t lastSize; // frame of the last WM_SIZE
    uint32_t frame;
    uint32_t paints;
    int offsetX, offsetY; // the picture's place in fullscreen
} s_pixels = {-1, PICTURE_NONE, 0, 0, 0, 0, 0, 0, 0};

static bool Pixels_Direct(const uint32_t *expected, int x, int y, uint32_t got)
{
    if (x < PICTURE_WIDTH && y < PICTURE_HEIGHT)
        return s_pixels.rule == PICTURE_NONE ? got == PIXELS_FILL
                                             : got == expected[y * PICTURE_WIDTH + x];
    // Beside and below the picture nothing is drawn; mode 6 copies as much of its 640 x 400
    // buffer as the client is large.
    return s_pixels.mode == 6 || got == PIXELS_FILL;
}

static bool Pixels_Double(const uint32_t *expected, int x, int y, uint32_t got)
{
    return got == expected[(y / 2) * PICTURE_WIDTH + x / 2];
}

// The platform picks source pixels near floor(x * 0.8): any neighbour of it will do here; the
// digests hold the platforms to the same choice.
static bool Pixels_Near(const uint32_t *expected, int x, int y, uint32_t got)
{
    int sx = x * PICTURE_WIDTH / 800, sy = y * PICTURE_HEIGHT / 600;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            int ux = sx + dx, uy = sy + dy;
            if (ux >= 0 && uy >= 0 && ux < PICTURE_WIDTH && uy < PICTURE_HEIGHT &&
                got == expected[uy * PICTURE_WIDTH + ux])
                return true;
        }
    return false;
}

// Fullscreen: the picture at the offset, black everywhere else.
static bool Pixels_Centred(const uint32_t *expected, int x, int y, uint32_t got)
{
    int px = x - s_pixels.offsetX, py = y - s_pixels.offsetY;
    if (px < 0 || py < 0 || px >= PICTURE_WIDTH || py >= PICTURE_HEIGHT)
        return got == 0;
    return s_pixels.rule == PICTURE_NONE || got == expected[py * PICTURE_WIDTH + px];
}

// One frame through the exported Render_Step, fetched the mode's way.
static void Pixels_Step(uint32_t seed)
{
    if (seed)
        Picture_SetFrame(seed);
    bool buffer = s_pixels.mode & 1;
    uint32_t before = Picture_Fetches(buffer), other = Picture_Fetches(!buffer);
    Render_Step(Scenario_Window());
    Log_Check(Picture_Fetches(buffer) == before + 1 && Picture_Fetches(!buffer) == other,
              "a frame is fetched once, the mode's way", "not through %s",
              buffer ? "GDC_RenderBuffer" : "GDC_RenderSep");
}

static void Pixels_Check(const char *what, int width, int height, PictureExpect expect)
{
    char name[128];
    snprintf(name, sizeof name, "mode %d, %s", (int)s_pixels.mode, what);
    Picture_Check(Scenario_Window(), name, width, height, s_pixels.rule, expect);
}

static void Pixels_Stage640x400(void)
{
    HWND window = Scenario_Window();
    // Every kind of palette gives the same picture: the mask picks text or graphics whatever
    // the colours are.
    static const struct {
        PictureColors colors;
        const char *what;
    } palettes[] = {{COLORS_WHITE_AT_7, "640 x 400, white at graphics 7"},
                    {COLORS_NO_BLACK_OR_WHITE, "640 x 400, no black or white"},
                    {COLORS_REPEATS, "640 x 400, repeated colours"},
                    {COLORS_DEFAULT, "640 x 400, black at 0 and white at 15"}};
    for (uint32_t i = 0; i < sizeof palettes / sizeof palettes[0]; i++) {
        Picture_SetColors(palettes[i].colors, 40 + i, true, true, true);
        Picture_Fill(window, PIXELS_FILL, 640, 400);
        Pixels_Step(11 + i);
        Pixels_Check(palettes[i].what, 640, 400, Pixels_Direct);
    }
    if (s_pixels.rule == PICTURE_NONE)
        return;
    // A repaint shows the frame fetched before, although the core's frame has moved on.
    Picture_SetFrame(30);
    Picture_Fill(window, PIXELS_FILL, 640, 400);
    uint32_t paints = s_pixels.paints, fetches = Picture_Fetches(true) + Picture_Fetches(false);
    InvalidateRect(window, 0, FALSE);
    UpdateWindow(window);
    Log_Check(s_pixels.paints == paints + 1 &&
                  Picture_Fetches(true) + Picture_Fetches(false) == fetches,
              "a repaint is one paint and no fetch", "%u paints", s_pixels.paints - paints);
    Pixels_Check("repaint without a new frame", 640, 400, Pixels_Direct);
    // A text palette change reaches the screen only with a reported change.
    Picture_SetColors(COLORS_DEFAULT, 50, false, true, false);
    Pixels_Step(0);
    Pixels_Check("text colours changed, unreported: the old ones stay", 640, 400, Pixels_Direct);
    Picture_SetColors(COLORS_DEFAULT, 51, true, false, true);
    Pixels_Step(0);
    Pixels_Check("change reported: new graphics and text colours", 640, 400, Pixels_Direct);
}

static void Pixels_StageDirect(int width, int height, uint32_t seed)
{
    char what[64];
    Picture_Fill(Scenario_Window(), PIXELS_FILL, width, height);
    Pixels_Step(seed);
    snprintf(what, sizeof what, "%d x %d: 1:1 at the top left, the rest not drawn", width, height);
    Pixels_Check(what, width, height, Pixels_Direct);
}

static void Pixels_Stage640x600(void)
{
    Pixels_StageDirect(640, 600, 13);
}

static void Pixels_Stage800x400(void)
{
    Pixels_StageDirect(800, 400, 16);
}

// Modes 0 and 1 stretch an uncleared buffer: nothing about the picture is fixed.
static void Pixels_Stage1280x800(void)
{
    Pixels_Step(14);
    if (s_pixels.rule != PICTURE_NONE)
        Pixels_Check("1280 x 800: stretched exactly 2:1", 1280, 800, Pixels_Double);
}

static void Pixels_Stage800x600(void)
{
    Pixels_Step(15);
    if (s_pixels.rule != PICTURE_NONE)
        Pixels_Check("800 x 600: stretched", 800, 600, Pixels_Near);
}

// The screen here lists no 640 x 400 or 640 x 480 mode: fullscreen keeps the screen's size
// and centres the picture; the rest of the screen, stale before, must turn black. All in one
// go: without a window manager the platform may move the window again later.
static void Pixels_StageFullscreen(void)
{
    HWND window = Scenario_Window();
    if (!Log_Check(Render_SetFullscreen(1) == 0, "fullscreen on", "the display did not change"))
        return;
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    Picture_Fill(window, PIXELS_FILL, width, height);
    Pixels_Step(17);
    s_pixels.offsetX = width / 2 - PICTURE_WIDTH / 2;
    s_pixels.offsetY = height / 2 - PICTURE_HEIGHT / 2;
    Pixels_Check("fullscreen: the picture centred, black around it", width, height, Pixels_Centred);
    Render_SetFullscreen(0);
}

static const struct {
    int width, height; // PIXELS_FULLSCREEN: the screen's, at once
    void (*run)(void);
} pixels_stages[] = {
    {640, 400, Pixels_Stage640x400}, {640, 600, Pixels_Stage640x600},
    {800, 400, Pixels_Stage800x400}, {1280, 800, Pixels_Stage1280x800},
    {800, 600, Pixels_Stage800x600}, {PIXELS_FULLSCREEN, 0, Pixels_StageFullscreen},
};
enum { PIXELS_STAGES = sizeof pixels_stages / sizeof pixels_stages[0] };

static void Pixels_Begin(const char *)
{
    s_pixels.mode = Scenario_Argument();
    if (!Log_Check(s_pixels.mode >= 0 && s_pixels.mode <= 9, "render mode named",
                   "expected \"pixels N\""))
        return;
    s_pixels.rule = Picture_Rule(s_pixels.mode);
    Picture_Install(10, COLORS_DEFAULT, 1);
    Probe_PlainScreen();
}

static ScenarioStep Pixels_StepFrame(uint32_t frame)
{
    s_pixels.frame = frame;
    if (s_pixels.mode < 0)
        return STEP_CLOSE;
    // Without a window manager a late WM_SIZE may follow a move: wait until none comes.
    ProbeWindow w;
    Probe_GetWindow(Scenario_Window(), &w);
    int width = pixels_stages[s_pixels.stage].width, height = pixels_stages[s_pixels.stage].height;
    bool sized = width == PIXELS_FULLSCREEN || (w.clientWidth == width && w.clientHeight == height);
    if (!sized || frame < s_pixels.lastSize + PIXELS_SETTLE_FRAMES) {
        if (frame - s_pixels.since < PIXELS_SETTLE_LIMIT)
            return STEP_CONTINUE;
        Log_Check(false, "the client area takes the size asked for", "%d x %d, asked %d x %d",
                  w.clientWidth, w.clientHeight, width, height);
        return STEP_CLOSE;
    }
    pixels_stages[s_pixels.stage].run();
    if (++s_pixels.stage == PIXELS_STAGES)
        return STEP_CLOSE;
    s_pixels.since = frame;
    if (pixels_stages[s_pixels.stage].width != PIXELS_FULLSCREEN)
        Probe_SetClientSize(Scenario_Window(), pixels_stages[s_pixels.stage].width,
                            pixels_stages[s_pixels.stage].height);
    return STEP_CONTINUE;
}

static void Pixels_Message(UINT message, WPARAM, LPARAM)
{
    if (message == WM_SIZE)
        s_pixels.lastSize = s_pixels.frame;
    if (message == WM_PAINT)
        s_pixels.paints++;
}

static void Pixels_End(void)
{
    Log_Check(s_pixels.stage == PIXELS_STAGES, "every size checked", "stopped at stage %u",
              s_pixels.stage);
}

const Scenario Scenario_Pixels = {"pixels",       Pixels_Begin, Pixels_StepFrame,
                                  Pixels_Message, Pixels_End,   false};
