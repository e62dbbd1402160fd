// Draws the test card into the internal frame: the fixed picture once, the rest per frame.
#include "platform/platform.h"
#include "kernel/card.h"
#include "kernel/font.h"
#include "kernel/frame.h"

enum {
    CARD_SWATCH_X = 32,      // left edge of the first of sixteen colour swatches in a row
    CARD_SWATCH_Y = 20,      // their top edge
    CARD_SWATCH_PITCH = 36,  // from one swatch to the next
    CARD_SWATCH_WIDTH = 32,  //
    CARD_SWATCH_HEIGHT = 72, //
    CARD_SWEEP_X = 8,        // the track of the sweeping bar: its first tick
    CARD_SWEEP_Y = 100,      // top of the track
    CARD_SWEEP_HEIGHT = 24,  // ticks at the top, the bar below them
    CARD_SWEEP_PITCH = 8,    // from one step of the bar to the next
    CARD_CROSS_ARM = 6       // pointer crosshair: arms of six pixels around the centre
};

// Graphics colours with a fixed meaning on the card (the others cycle).
enum {
    CARD_INK_BLACK = 0,
    CARD_INK_DARK_RED = 2,
    CARD_INK_DARK_GREEN = 4,
    CARD_INK_DARK_CYAN = 5,
    CARD_INK_BROWN = 6,
    CARD_INK_LIGHT_GREY = 7,
    CARD_INK_DARK_GREY = 8,
    CARD_INK_WHITE = 15
};

static struct {
    uint8_t picture[FRAME_PIXELS];                       // the fixed part, drawn once
    uint8_t frame[FRAME_PIXELS];                         // the last built frame
    char text[FRAME_TEXT_ROWS][FRAME_TEXT_COLUMNS];      // the text page, blank as ' ' or 0
    uint8_t colour[FRAME_TEXT_ROWS][FRAME_TEXT_COLUMNS]; // text colour 0..7 of each cell
    int pictureReady;
} s_card;

// Sets the graphics index of a clipped rectangle.
static void Card_Fill(uint8_t *pixels, int x, int y, int w, int h, uint8_t colour)
{
    int x1 = x + w > FRAME_WIDTH ? FRAME_WIDTH : x + w;
    int y1 = y + h > FRAME_HEIGHT ? FRAME_HEIGHT : y + h;
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    for (int row = y; row < y1; ++row) {
        uint8_t *p = pixels + row * FRAME_WIDTH;
        for (int col = x; col < x1; ++col)
            p[col] = (uint8_t)((p[col] & ~FRAME_GRAPHICS) | colour);
    }
}

// Draws a character of the font in the graphics layer, each font pixel scale x scale.
static void Card_Glyph(uint8_t *pixels, int x, int y, char c, uint8_t colour, int scale)
{
    for (int row = 0; row < FRAME_CELL_HEIGHT; ++row) {
        uint8_t bits = Font_Row(c, row);
        for (int col = 0; col < FRAME_CELL_WIDTH; ++col) {
            if (bits & (0x80 >> col))
                Card_Fill(pixels, x + col * scale, y + row * scale, scale, scale, colour);
        }
    }
}

// The fixed picture: border, corner marks, swatches, sweep track and orientation shapes.
static void Card_DrawPicture(uint8_t *pixels)
{
    // A one-pixel border shows any shift or crop of the picture.
    Card_Fill(pixels, 0, 0, FRAME_WIDTH, 1, CARD_INK_WHITE);
    Card_Fill(pixels, 0, FRAME_HEIGHT - 1, FRAME_WIDTH, 1, CARD_INK_WHITE);
    Card_Fill(pixels, 0, 0, 1, FRAME_HEIGHT, CARD_INK_WHITE);
    Card_Fill(pixels, FRAME_WIDTH - 1, 0, 1, FRAME_HEIGHT, CARD_INK_WHITE);

    // Four different corner marks: a flip swaps them.
    for (int i = 0; i < 18; ++i)
        Card_Fill(pixels, 2, 2 + i, 18 - i, 1, CARD_INK_LIGHT_GREY);     // top left: triangle
    Card_Fill(pixels, FRAME_WIDTH - 16, 2, 14, 14, CARD_INK_DARK_RED);   // top right: square
    Card_Fill(pixels, 2, FRAME_HEIGHT - 16, 18, 4, CARD_INK_DARK_GREEN); // bottom left: two bars
    Card_Fill(pixels, 2, FRAME_HEIGHT - 8, 18, 4, CARD_INK_DARK_GREEN);
    for (int i = 0; i < 4; ++i) { // bottom right: checker
        for (int j = (i & 1); j < 4; j += 2)
            Card_Fill(pixels, FRAME_WIDTH - 18 + 4 * j, FRAME_HEIGHT - 18 + 4 * i, 4, 4,
                      CARD_INK_DARK_CYAN);
    }

    // All sixteen graphics colours, each with its number.
    for (int i = 0; i < 16; ++i) {
        int x = CARD_SWATCH_X + i * CARD_SWATCH_PITCH;
        Card_Fill(pixels, x - 1, CARD_SWATCH_Y - 1, CARD_SWATCH_WIDTH + 2, CARD_SWATCH_HEIGHT + 2,
                  CARD_INK_LIGHT_GREY);
        Card_Fill(pixels, x, CARD_SWATCH_Y, CARD_SWATCH_WIDTH, CARD_SWATCH_HEIGHT, (uint8_t)i);
        uint8_t ink = (i == CARD_INK_LIGHT_GREY || i >= 9) ? CARD_INK_BLACK : CARD_INK_WHITE;
        int labelY = CARD_SWATCH_Y + 28;
        if (i >= 10)
            Card_Glyph(pixels, x + 8, labelY, (char)('0' + i / 10), ink, 1);
        Card_Glyph(pixels, x + (i >= 10 ? 16 : 12), labelY, (char)('0' + i % 10), ink, 1);
    }

    // Sweep track: a tick per step, a long one every eight steps.
    for (int s = 0; s <= CARD_SWEEP_STEPS; ++s) {
        int tall = s % 8 == 0 ? 4 : 2;
        Card_Fill(pixels, CARD_SWEEP_X + s * CARD_SWEEP_PITCH, CARD_SWEEP_Y, 1, tall,
                  s % 8 == 0 ? CARD_INK_LIGHT_GREY : CARD_INK_DARK_GREY);
    }

    // An arrow pointing up and an arrow pointing right.
    for (int i = 0; i < 24; ++i)
        Card_Fill(pixels, 580 - i, 140 + i, 2 * i + 1, 1, CARD_INK_WHITE);
    Card_Fill(pixels, 573, 164, 15, 40, CARD_INK_WHITE);
    Card_Fill(pixels, 532, 222, 40, 11, CARD_INK_BROWN);
    for (int i = 0; i < 16; ++i)
        Card_Fill(pixels, 572 + i, 212 + i, 1, 31 - 2 * i, CARD_INK_BROWN);
    // A large F: mirror-asymmetric both ways.
    Card_Glyph(pixels, 536, 256, 'F', CARD_INK_LIGHT_GREY, 7);

    // A grey band behind the text colour samples, so that black text shows.
    Card_Fill(pixels, 8, 22 * FRAME_CELL_HEIGHT, 504, FRAME_CELL_HEIGHT, CARD_INK_DARK_GREY);
}

// Two white strokes crossing at the pointer, clipped at the frame's edges.
static void Card_DrawCrosshair(uint8_t *pixels, int x, int y)
{
    Card_Fill(pixels, x - CARD_CROSS_ARM, y, 2 * CARD_CROSS_ARM + 1, 1, CARD_INK_WHITE);
    Card_Fill(pixels, x, y - CARD_CROSS_ARM, 1, 2 * CARD_CROSS_ARM + 1, CARD_INK_WHITE);
}

// Lights the text pixels of every non-blank cell; everything else keeps text 0, mask 0.
static void Card_DrawText(uint8_t *pixels)
{
    for (int row = 0; row < FRAME_TEXT_ROWS; ++row) {
        for (int col = 0; col < FRAME_TEXT_COLUMNS; ++col) {
            char c = s_card.text[row][col];
            if (c == 0 || c == ' ')
                continue;
            uint8_t lit =
                (uint8_t)(FRAME_SHOW_TEXT | (s_card.colour[row][col] & 7) << FRAME_TEXT_SHIFT);
            uint8_t *cell = pixels + row * FRAME_CELL_HEIGHT * FRAME_WIDTH + col * FRAME_CELL_WIDTH;
            for (int y = 0; y < FRAME_CELL_HEIGHT; ++y) {
                uint8_t bits = Font_Row(c, y);
                uint8_t *p = cell + y * FRAME_WIDTH;
                for (int x = 0; bits; ++x, bits = (uint8_t)(bits << 1)) {
                    if (bits & 0x80)
                        p[x] = (uint8_t)((p[x] & FRAME_GRAPHICS) | lit);
                }
            }
        }
    }
}

void Card_ClearText(void)
{
    memset(s_card.text, ' ', sizeof s_card.text);
    memset(s_card.colour, 0, sizeof s_card.colour);
}

void Card_Print(int column, int row, uint8_t colour, const char *text)
{
    if (row < 0 || row >= FRAME_TEXT_ROWS || column < 0)
        return;
    for (int col = column; *text && col < FRAME_TEXT_COLUMNS; ++col, ++text) {
        s_card.text[row][col] = *text;
        s_card.colour[row][col] = colour;
    }
}

void Card_Build(uint32_t frame, int pointerX, int pointerY, int pointerShown)
{
    if (!s_card.pictureReady) {
        Card_DrawPicture(s_card.picture);
        s_card.pictureReady = 1;
    }
    memcpy(s_card.frame, s_card.picture, sizeof s_card.frame);
    int sweep = (int)(frame % CARD_SWEEP_STEPS);
    Card_Fill(s_card.frame, CARD_SWEEP_X + sweep * CARD_SWEEP_PITCH + 1, CARD_SWEEP_Y + 6,
              CARD_SWEEP_PITCH - 1, CARD_SWEEP_HEIGHT - 6, CARD_INK_WHITE);
    if (pointerShown)
        Card_DrawCrosshair(s_card.frame, pointerX, pointerY);
    Card_DrawText(s_card.frame);
}

const uint8_t *Card_Frame(void)
{
    return s_card.frame;
}
