// Pixel-exact pictures in one render mode ("pixels N"): every pixel of the window against the
// picture computed from the planes, under every kind of palette, at every size, fullscreen.
#include "tests/core/picture.h"

// Fill: no frame colour (whose components are all n * 0x11). A size is settled after frames
// without WM_SIZE, within the limit.
enum { PIXELS_FILL = 0x123457, PIXELS_SETTLE_FRAMES = 3, PIXELS_SETTLE_LIMIT = 120 };

static struct {
    int32_t mode;
    PictureRule rule;
    uint32_t stage;
    uint32_t since, lastSize; // frames the stage's size was asked for and of the last WM_SIZE
    uint32_t frame, paints;
    int offsetX, offsetY, scale; // the picture's place and size
} s_pixels = {-1, PICTURE_NONE, 0, 0, 0, 0, 0, 0, 0, 1};

// The picture scale times over from the offset (set: fullscreen); around it the fill, as
// nothing is drawn there (but mode 6 copies its buffer as far as the client goes), or black in
// fullscreen. Modes 0 and 1 draw nothing: the fill, or in fullscreen what their buffer holds.
static bool Pixels_Placed(const uint32_t *expected, int x, int y, uint32_t got)
{
    int px = (x - s_pixels.offsetX) / s_pixels.scale, py = (y - s_pixels.offsetY) / s_pixels.scale;
    if (x < s_pixels.offsetX || y < s_pixels.offsetY || px >= PICTURE_WIDTH || py >= PICTURE_HEIGHT)
        return s_pixels.offsetX ? got == 0 : s_pixels.mode == 6 || got == PIXELS_FILL;
    if (s_pixels.rule == PICTURE_NONE)
        return s_pixels.offsetX || got == PIXELS_FILL;
    return got == expected[py * PICTURE_WIDTH + px];
}

static void Pixels_Check(const char *what, int width, int height, PictureExpect expect)
{
    char name[128];
    snprintf(name, sizeof name, "mode %d, %s", (int)s_pixels.mode, what);
    // Modes 0 and 1 stretch an uncleared buffer: nothing about a stretched picture is fixed.
    if (s_pixels.rule != PICTURE_NONE || (expect == Pixels_Placed && s_pixels.scale == 1))
        Picture_Check(Scenario_Window(), name, width, height, s_pixels.rule, expect);
}

// One frame through Render_Step over the fill, fetched the mode's way, checked (seed 0: the
// core's frame as it is).
static void Pixels_Frame(uint32_t seed, const char *what, int width, int height,
                         PictureExpect expect)
{
    Picture_Fill(Scenario_Window(), PIXELS_FILL, width, height);
    if (seed)
        Picture_SetFrame(seed);
    bool buffer = s_pixels.mode & 1;
    uint32_t before = Picture_Fetches(buffer), other = Picture_Fetches(!buffer);
    int32_t live = Probe_LiveGdiObjects(); // where the platform counts them
    Render_Step(Scenario_Window());
    Log_Check(Picture_Fetches(buffer) == before + 1 && Picture_Fetches(!buffer) == other,
              "a frame is fetched once, the mode's way", "not through %s",
              buffer ? "GDC_RenderBuffer" : "GDC_RenderSep");
    Log_Check(Probe_LiveGdiObjects() == live, "a frame deletes every GDI object it makes",
              "%d left over", (int)(Probe_LiveGdiObjects() - live));
    Pixels_Check(what, width, height, expect);
}

// A repaint shows the frame fetched before, although the core's frame has moved on; a palette
// change reaches the screen only when reported.
static void Pixels_Repaint(void)
{
    if (s_pixels.rule == PICTURE_NONE)
        return;
    HWND window = Scenario_Window();
    Picture_SetFrame(30);
    Picture_Fill(window, PIXELS_FILL, 640, 400);
    uint32_t paints = s_pixels.paints, fetches = Picture_Fetches(true) + Picture_Fetches(false);
    InvalidateRect(window, 0, FALSE);
    UpdateWindow(window);
    Log_Check(s_pixels.paints == paints + 1 &&
                  Picture_Fetches(true) + Picture_Fetches(false) == fetches,
              "a repaint is one paint and no fetch", "%u paints", s_pixels.paints - paints);
    Pixels_Check("repaint without a new frame", 640, 400, Pixels_Placed);
    Picture_SetColors(COLORS_DEFAULT, 50, false, true, false);
    Pixels_Frame(0, "text colours changed, unreported: the old ones stay", 640, 400, Pixels_Placed);
    Picture_SetColors(COLORS_DEFAULT, 51, true, false, true);
    Pixels_Frame(0, "change reported: new graphics and text colours", 640, 400, Pixels_Placed);
}

// Each client size in turn, one frame each. Fullscreen: the screen here lists no 640 x 400 or
// 640 x 480 mode, so it keeps the screen's size and centres the picture; the rest of the screen,
// stale before, must turn black. All in one go: without a window manager the platform may move
// the window again later.
static const struct {
    int width, height; // 0: fullscreen, the screen's size at once
    uint32_t seed;
    int colors; // the palette switched to first (seed 40 + stage), or -1
    PictureExpect expect;
    const char *what;
} pixels_stages[] = {
    {640, 400, 11, COLORS_WHITE_AT_7, Pixels_Placed, "640 x 400, white at graphics 7"},
    {640, 400, 12, COLORS_NO_BLACK_OR_WHITE, Pixels_Placed, "640 x 400, no black or white"},
    {640, 400, 13, COLORS_REPEATS, Pixels_Placed, "640 x 400, repeated colours"},
    {640, 400, 14, COLORS_DEFAULT, Pixels_Placed, "640 x 400, black at 0 and white at 15"},
    {640, 400, 0, -1, NULL, NULL}, // Pixels_Repaint
    {640, 600, 13, -1, Pixels_Placed, "640 x 600: 1:1 at the top left, the rest not drawn"},
    {800, 400, 16, -1, Pixels_Placed, "800 x 400: 1:1 at the top left, the rest not drawn"},
    {1280, 800, 14, -1, Pixels_Placed, "1280 x 800: stretched exactly 2:1"},
    // Where a stretch samples is left open: the digests hold the platforms to the same choice.
    {800, 600, 15, -1, Picture_Stretched, "800 x 600: stretched"},
    {0, 0, 17, -1, Pixels_Placed, "fullscreen: the picture centred, black around it"},
};
enum { PIXELS_STAGES = sizeof pixels_stages / sizeof pixels_stages[0] };

static void Pixels_Begin(const char *)
{
    int32_t mode = s_pixels.mode = Scenario_Argument();
    if (!Log_Check(mode >= 0 && mode <= 9, "render mode named", "expected \"pixels N\""))
        return;
    s_pixels.rule = mode <= 1 ? PICTURE_NONE : mode == 6 || mode == 7 ? PICTURE_OR : PICTURE_MASK;
    Picture_Install(10, COLORS_DEFAULT, 1);
    Probe_SetDesktop(1600, 1200, false); // as a plain X screen (Wine's is)
}

static ScenarioStep Pixels_StepFrame(uint32_t frame)
{
    s_pixels.frame = frame;
    if (s_pixels.mode < 0 || s_pixels.mode > 9)
        return STEP_CLOSE;
    // Without a window manager a late WM_SIZE may follow a move: wait until none comes.
    const auto &s = pixels_stages[s_pixels.stage];
    ProbeWindow w;
    Probe_GetWindow(Scenario_Window(), &w);
    bool sized = s.width == 0 || (w.clientWidth == s.width && w.clientHeight == s.height);
    if (!sized || frame < s_pixels.lastSize + PIXELS_SETTLE_FRAMES) {
        if (frame - s_pixels.since < PIXELS_SETTLE_LIMIT)
            return STEP_CONTINUE;
        Log_Check(false, "the client area takes the size asked for", "%d x %d, asked %d x %d",
                  w.clientWidth, w.clientHeight, s.width, s.height);
        return STEP_CLOSE;
    }
    s_pixels.scale = s.width >= 2 * PICTURE_WIDTH ? 2 : 1;
    if (s.colors >= 0)
        Picture_SetColors((PictureColors)s.colors, 40 + s_pixels.stage, true, true, true);
    if (!s.expect) {
        Pixels_Repaint();
    } else if (s.width) {
        Pixels_Frame(s.seed, s.what, s.width, s.height, s.expect);
    } else if (Log_Check(Render_SetFullscreen(1) == 0, "fullscreen on",
                         "the display did not change")) {
        int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        s_pixels.offsetX = width / 2 - PICTURE_WIDTH / 2;
        s_pixels.offsetY = height / 2 - PICTURE_HEIGHT / 2;
        Pixels_Frame(s.seed, s.what, width, height, s.expect);
        Render_SetFullscreen(0);
    }
    if (++s_pixels.stage == PIXELS_STAGES)
        return STEP_CLOSE;
    s_pixels.since = frame;
    const auto &next = pixels_stages[s_pixels.stage];
    if (next.width != 0)
        Probe_SetClientSize(Scenario_Window(), next.width, next.height);
    return STEP_CONTINUE;
}

static void Pixels_Message(UINT message, WPARAM, LPARAM)
{
    if (message == WM_SIZE)
        s_pixels.lastSize = s_pixels.frame;
    s_pixels.paints += message == WM_PAINT;
}

const Scenario Scenario_Pixels = {"pixels",       Pixels_Begin, Pixels_StepFrame,
                                  Pixels_Message, NULL,         false};
