// The placeholder of render modes 10 and up: tiles, mirrors, one paint in 64, every pixel.
#include "core/core.h"
#include "testcore.h"
#include "pixels.h"

enum {
    TILES_MARKER = 0x00FF00, // pure green: no tile colour
    TILES_TILE = 16,
    TILES_SWEEP = 260, // paints in a row: past the counter's wrap and through all four seeds
    TILES_MAX_COLUMNS = 40,
    TILES_MAX_ROWS = 25,
    TILES_SHOWN = 4
};

// The tile as stored, bottom row first, one colour index a hexadecimal digit.
static const char *const tiles_rows[TILES_TILE] = {
    "76520CCEECC02567", "66419CDEECC01466", "5438BCDEDCB08345", "2189CCEEDD900812",
    "09BCCDEEDC800000", "CCCCDEEDDA089BCC", "CDDEEEDDC8ACDCCC", "EEEEEDDC9CDDDDEE",
    "EEDDDDC9CDDEEEEE", "CCCDCA8CDDEEEDDC", "CCB980ADDEEDCCCC", "000008CDEEDCCB90",
    "218009DDEECC9812", "54380BCDEDCB8345", "66410CCEEDC91466", "76530CCEECC02567"};

// The tile colours as 0xRRGGBB: greys, then shades of red, then white.
static const uint32_t tiles_colors[16] = {
    0x000000, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888,
    0x110000, 0x330000, 0x660000, 0x770000, 0x990000, 0xCC0000, 0xFF0000, 0xFFFFFF};

static struct {
    HWND window;
    uint32_t paints; // WM_PAINT the window has had since the hook
    uint16_t width;  // the client size of the last WM_SIZE
    uint16_t height;
    int clientWidth; // the real client area, which is read back
    int clientHeight;
    uint32_t syncPaints;  // paints at the moment the counter became known
    uint32_t syncCounter; // the counter's value then
    bool upright[TILES_MAX_COLUMNS][TILES_MAX_ROWS];
} s_tiles;

static uint32_t Tiles_TilePixel(bool upright, int x, int y)
{
    // Stored rows are bottom-up: upright, the top row is stored row 15; mirrored, row 0.
    char digit = tiles_rows[upright ? TILES_TILE - 1 - y : y][x];
    return tiles_colors[digit <= '9' ? digit - '0' : digit - 'A' + 10];
}

static uint32_t Tiles_Counter(void)
{
    return (s_tiles.syncCounter + s_tiles.paints - s_tiles.syncPaints) & 0xFF;
}

static uint32_t Tiles_Cells(uint16_t size)
{
    return (size >> 4) + ((size & 0xF) ? 1 : 0);
}

// The arrangement the process's own runtime gives: one rand a tile, column by column.
static void Tiles_Predict(uint32_t seed, uint32_t columns, uint32_t rows)
{
    srand(seed);
    for (uint32_t c = 0; c < columns; c++)
        for (uint32_t r = 0; r < rows; r++)
            s_tiles.upright[c][r] = rand() & 1;
}

static void Tiles_Size(uint16_t width, uint16_t height)
{
    SendMessageA(s_tiles.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// One forced paint; false unless exactly one WM_PAINT came of it.
static bool Tiles_Paint(bool fill)
{
    if (fill)
        Pixels_FillWindow(s_tiles.window, TILES_MARKER);
    uint32_t before = s_tiles.paints;
    RedrawWindow(s_tiles.window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    if (s_tiles.paints == before + 1)
        return true;
    Log_Fail("a forced paint is one WM_PAINT", "%u paints", s_tiles.paints - before);
    return false;
}

// Pixels differing from the tiles of seed over the given size, the marker elsewhere; drawn =
// false expects the marker everywhere.
static uint32_t Tiles_Compare(bool drawn, uint32_t seed, const char *what, bool describe)
{
    uint32_t columns = drawn ? Tiles_Cells(s_tiles.width) : 0,
             rows = drawn ? Tiles_Cells(s_tiles.height) : 0;
    if (columns > TILES_MAX_COLUMNS || rows > TILES_MAX_ROWS)
        return 1;
    if (drawn)
        Tiles_Predict(seed, columns, rows);
    const uint32_t *got =
        Pixels_ReadWindow(s_tiles.window, s_tiles.clientWidth, s_tiles.clientHeight);
    if (!got)
        return 1;
    uint32_t wrong = 0;
    for (int y = 0; y < s_tiles.clientHeight; y++)
        for (int x = 0; x < s_tiles.clientWidth; x++) {
            uint32_t c = x / TILES_TILE, r = y / TILES_TILE;
            uint32_t want =
                c < columns && r < rows
                    ? Tiles_TilePixel(s_tiles.upright[c][r], x % TILES_TILE, y % TILES_TILE)
                    : (uint32_t)TILES_MARKER;
            uint32_t pixel = got[y * PIXELS_READ_WIDTH + x];
            if (pixel != want && wrong++ < TILES_SHOWN && describe)
                Log_Line("  %s: (%d, %d) is %06x, expected %06x", what, x, y, pixel, want);
        }
    return wrong;
}

// The counter is unknown at first (paints came before the hook): paint until a drawing shows,
// then tell its seed from the arrangement.
static bool Tiles_Synchronize(void)
{
    Tiles_Size(640, 400);
    for (int i = 0; i < 70; i++) {
        if (!Tiles_Paint(true))
            return false;
        const uint32_t *got = Pixels_ReadWindow(s_tiles.window, 1, 1);
        if (!got || got[0] == TILES_MARKER)
            continue;
        int found = -1;
        for (uint32_t seed = 0; seed < 4; seed++)
            if (Tiles_Compare(true, seed, "", false) == 0)
                found = found < 0 ? (int)seed : 4;
        if (!Log_Check(found >= 0 && found < 4, "640 x 400 placeholder: one seed's arrangement",
                       "%s", found < 0 ? "no seed matches" : "several seeds match")) {
            Tiles_Compare(true, 0, "seed 0", true);
            return false;
        }
        s_tiles.syncPaints = s_tiles.paints;
        s_tiles.syncCounter = (uint32_t)found * 64 + 1;
        Log_Line("placeholder drawn with seed %d after %d paints", found, i + 1);
        return true;
    }
    Log_Fail("the placeholder is drawn", "not within 70 paints");
    return false;
}

// Paint after paint across the counter's wrap: a drawing exactly when the counter is a
// multiple of 64, with seed counter / 64; otherwise the window is left as it was.
static void Tiles_Sweep(void)
{
    uint32_t drawings = 0, wraps = 0;
    for (int i = 0; i < TILES_SWEEP; i++) {
        uint32_t counter = Tiles_Counter();
        wraps += counter == 0;
        bool draws = (counter & 0x3F) == 0;
        if (!Tiles_Paint(true))
            return;
        char what[64];
        _snprintf(what, sizeof what - 1, "paint at counter %u", counter);
        what[sizeof what - 1] = 0;
        if (Tiles_Compare(draws, counter >> 6, what, true) != 0) {
            Log_Fail("one paint in 64 draws, with seeds 0 to 3 in turn", "%s %s", what,
                     draws ? "did not draw its seed's arrangement" : "changed the window");
            return;
        }
        drawings += draws;
    }
    Log_Check(drawings >= 4 && wraps >= 1, "one paint in 64 draws, with seeds 0 to 3 in turn",
              "%u drawings, %u wraps", drawings, wraps);
}

struct TilesSize {
    uint16_t width, height;
};

// A size from WM_SIZE alone: the window stays as it is and shows what the tiles cover.
static void Tiles_CheckSize(const TilesSize *size)
{
    char what[96];
    Tiles_Size(size->width, size->height);
    // The paint right after a resize draws nothing unless the counter says so.
    bool first = true;
    while ((Tiles_Counter() & 0x3F) != 0) {
        if (!Tiles_Paint(true))
            return;
        if (first && Tiles_Compare(false, 0, "", false) != 0) {
            _snprintf(what, sizeof what - 1, "%u x %u: a paint that does not draw", size->width,
                      size->height);
            what[sizeof what - 1] = 0;
            Log_Fail(what, "the window changed");
        }
        first = false;
    }
    uint32_t seed = Tiles_Counter() >> 6;
    if (!Tiles_Paint(true))
        return;
    // The generator was seeded once and then drawn from once per tile.
    int next = rand();
    uint32_t tiles = Tiles_Cells(size->width) * Tiles_Cells(size->height);
    srand(seed);
    for (uint32_t i = 0; i < tiles; i++)
        rand();
    int expected = rand();
    _snprintf(what, sizeof what - 1, "%u x %u, seed %u: one rand per tile after srand", size->width,
              size->height, seed);
    what[sizeof what - 1] = 0;
    Log_Check(next == expected, what, "the runtime's next value %d, expected %d", next, expected);
    _snprintf(what, sizeof what - 1, "%u x %u, seed %u: %u x %u tiles as the runtime predicts",
              size->width, size->height, seed, Tiles_Cells(size->width), Tiles_Cells(size->height));
    uint32_t wrong = Tiles_Compare(true, seed, what, true);
    Log_Check(wrong == 0, what, "%u pixels differ", wrong);
}

static void Tiles_Begin(const char *tail)
{
    (void)tail;
    s_tiles.window = Hook_Window();
}

static ScenarioStep Tiles_Step(uint32_t frame)
{
    if (frame < 3)
        return STEP_CONTINUE; // let the first frames settle
    RECT client;
    GetClientRect(s_tiles.window, &client);
    s_tiles.clientWidth =
        client.right < PIXELS_READ_WIDTH ? (int)client.right : (int)PIXELS_READ_WIDTH;
    s_tiles.clientHeight =
        client.bottom < PIXELS_READ_HEIGHT ? (int)client.bottom : (int)PIXELS_READ_HEIGHT;
    if (!Log_Check(s_tiles.clientWidth >= 640 && s_tiles.clientHeight >= 400,
                   "client area of at least 640 x 400", "%d x %d", s_tiles.clientWidth,
                   s_tiles.clientHeight))
        return STEP_CLOSE;
    if (!Tiles_Synchronize())
        return STEP_CLOSE;
    Tiles_Sweep();
    // Widths 0, 1, 16 and 17 and other sizes; tiles past the size are drawn whole.
    static const TilesSize sizes[] = {{0, 400}, {1, 400},  {16, 400}, {17, 400},
                                      {17, 17}, {600, 33}, {640, 0},  {640, 400}};
    for (uint32_t i = 0; i < sizeof sizes / sizeof sizes[0]; i++)
        Tiles_CheckSize(&sizes[i]);
    return STEP_CLOSE;
}

static void Tiles_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    (void)wParam;
    if (message == WM_PAINT)
        s_tiles.paints++;
    if (message == WM_SIZE) {
        s_tiles.width = LOWORD(lParam);
        s_tiles.height = HIWORD(lParam);
    }
}

const Scenario Scenario_Placeholder = {"placeholder", Tiles_Begin, Tiles_Step, Tiles_Message, NULL};
