// The placeholder of render modes 10 and up: its tiles as the process's rand arranges them, one
// paint in 64, several sizes. The runtimes' rand differ, so the pictures do too: no digests.
#include "tests/core/picture.h"

// The marker: pure green, no tile colour. 40 x 25 tiles cover the display.
enum { TILES_MARKER = 0x00FF00, TILES_SIDE = 16, TILES_COLUMNS = 40, TILES_ROWS = 25 };

// The tile as stored, bottom row first, one colour index a hexadecimal digit.
static const char *const tiles_rows[TILES_SIDE] = {
    "76520CCEECC02567", "66419CDEECC01466", "5438BCDEDCB08345", "2189CCEEDD900812",
    "09BCCDEEDC800000", "CCCCDEEDDA089BCC", "CDDEEEDDC8ACDCCC", "EEEEEDDC9CDDDDEE",
    "EEDDDDC9CDDEEEEE", "CCCDCA8CDDEEEDDC", "CCB980ADDEEDCCCC", "000008CDEEDCCB90",
    "218009DDEECC9812", "54380BCDEDCB8345", "66410CCEEDC91466", "76530CCEECC02567"};

// The tile colours as 0xRRGGBB: greys, then shades of red, then white.
static const uint32_t tiles_colors[16] = {
    0x000000, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666, 0x777777, 0x888888,
    0x110000, 0x330000, 0x660000, 0x770000, 0x990000, 0xCC0000, 0xFF0000, 0xFFFFFF};

static struct {
    uint32_t paints;        // WM_PAINT since the hook
    uint16_t width, height; // the client size of the last WM_SIZE
    uint32_t syncPaints;    // paints when the counter became known
    uint32_t syncCounter;   // the counter's value then
    bool upright[TILES_COLUMNS][TILES_ROWS];
} s_tiles;

static uint32_t Tiles_Counter(void)
{
    return (s_tiles.syncCounter + s_tiles.paints - s_tiles.syncPaints) & 0xFF;
}

// One forced paint over the marker; false unless exactly one WM_PAINT came of it.
static bool Tiles_Paint(void)
{
    HWND window = Scenario_Window();
    Picture_Fill(window, TILES_MARKER, 640, 400);
    uint32_t before = s_tiles.paints;
    RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW);
    return s_tiles.paints == before + 1 ||
           Log_Check(false, "a forced paint is one WM_PAINT", "%u paints", s_tiles.paints - before);
}

// Pixels unlike seed's tiles over the last size, the marker beyond (not drawn: everywhere).
static uint32_t Tiles_Compare(bool drawn, uint32_t seed, const char *what)
{
    uint32_t columns = drawn ? (s_tiles.width + 15u) / TILES_SIDE : 0;
    uint32_t rows = drawn ? (s_tiles.height + 15u) / TILES_SIDE : 0;
    srand(seed); // the arrangement the process's runtime gives: one rand a tile
    for (uint32_t c = 0; c < columns && c < TILES_COLUMNS; c++)
        for (uint32_t r = 0; r < rows && r < TILES_ROWS; r++)
            s_tiles.upright[c][r] = rand() & 1;
    const uint32_t *got = Picture_Read(Scenario_Window(), 640, 400);
    uint32_t wrong = 0;
    for (int y = 0; got && y < 400; y++)
        for (int x = 0; x < 640; x++) {
            uint32_t c = x / TILES_SIDE, r = y / TILES_SIDE, want = TILES_MARKER;
            if (c < columns && r < rows) {
                // Stored rows are bottom-up: upright, the top row is stored row 15.
                int row = s_tiles.upright[c][r] ? TILES_SIDE - 1 - y % 16 : y % 16;
                char digit = tiles_rows[row][x % 16];
                want = tiles_colors[digit <= '9' ? digit - '0' : digit - 'A' + 10];
            }
            uint32_t pixel = got[y * PICTURE_READ_WIDTH + x];
            if (pixel != want && wrong++ < 4 && what)
                Log_Line("  %s: (%d, %d) is %06x, expected %06x", what, x, y, (unsigned)pixel,
                         (unsigned)want);
        }
    return got ? wrong : 1;
}

// Paints came before the hook: paint until a drawing shows, and tell its seed from it. Where
// srand(0) and srand(1) give the same sequence (glibc's), later drawings tell: seeds go in turn.
static bool Tiles_Synchronize(void)
{
    SendMessageA(Scenario_Window(), WM_SIZE, 0, 400 << 16 | 640);
    for (int i = 0; i < 200; i++) {
        if (!Tiles_Paint())
            return false;
        if (Tiles_Compare(false, 0, NULL) == 0)
            continue;       // not drawn
        uint32_t seeds = 0; // the seeds the drawing matches, a bit each
        for (uint32_t seed = 0; seed < 4; seed++)
            seeds |= (Tiles_Compare(true, seed, NULL) == 0) << seed;
        if (seeds == 3)
            continue; // seed 0 or 1
        if (seeds == 0 || (seeds & (seeds - 1)) != 0) {
            Tiles_Compare(true, 0, "seed 0");
            return Log_Check(false, "the placeholder: one seed's arrangement", "seeds 0x%x match",
                             seeds);
        }
        s_tiles.syncPaints = s_tiles.paints;
        s_tiles.syncCounter = __builtin_ctz(seeds) * 64 + 1;
        return true;
    }
    return Log_Check(false, "the placeholder is drawn", "no seed told within 200 paints");
}

// A size from WM_SIZE alone. The paints up to the next multiple of 64 leave the window as it
// was; that one draws seed counter / 64's tiles over the size, whole ones past its edges.
static bool Tiles_CheckSize(uint16_t width, uint16_t height)
{
    SendMessageA(Scenario_Window(), WM_SIZE, 0, (LPARAM)height << 16 | width);
    for (uint32_t counter; ((counter = Tiles_Counter()) & 0x3F) != 0;)
        if (!Tiles_Paint() || Tiles_Compare(false, 0, "between drawings") != 0)
            return Log_Check(false, "one paint in 64 draws", "at counter %u", counter);
    uint32_t seed = Tiles_Counter() >> 6;
    if (!Tiles_Paint())
        return false;
    char what[96];
    snprintf(what, sizeof what, "%u x %u: seed %u's tiles as the runtime predicts, one rand each",
             width, height, seed);
    int next = rand(); // after the model's srand and rand calls, the same value follows
    uint32_t wrong = Tiles_Compare(true, seed, what);
    int expected = rand();
    return Log_Check(wrong == 0 && next == expected, what,
                     "%u pixels differ; the next rand gives %d, expected %d", wrong, next,
                     expected);
}

static ScenarioStep Tiles_Step(uint32_t frame)
{
    if (frame < 3)
        return STEP_CONTINUE; // let the first frames settle
    // A drawing each, so that the seeds come round twice and the counter wraps.
    static const uint16_t sizes[][2] = {{0, 400}, {1, 400},  {16, 400}, {17, 400},
                                        {17, 17}, {600, 33}, {640, 0},  {640, 400}};
    bool passed = Tiles_Synchronize();
    for (const auto &s : sizes)
        passed = passed && Tiles_CheckSize(s[0], s[1]);
    uint32_t paints = s_tiles.paints - s_tiles.syncPaints;
    Log_Check(passed && paints > 256 + 64, "one paint in 64 draws, with seeds 0 to 3 in turn",
              "%u paints", paints);
    return STEP_CLOSE;
}

static void Tiles_Message(UINT message, WPARAM, LPARAM lParam)
{
    s_tiles.paints += message == WM_PAINT;
    if (message == WM_SIZE) {
        s_tiles.width = LOWORD(lParam);
        s_tiles.height = HIWORD(lParam);
    }
}

const Scenario Scenario_Placeholder = {"placeholder", NULL, Tiles_Step, Tiles_Message, NULL, false};
