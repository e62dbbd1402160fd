// Draws the test card into the internal frame: the fixed picture once, the rest per frame.
#include "core/core.h"
#include "kernel/card.h"
#include "kernel/font.h"
#include "kernel/frame.h"

namespace {

enum {
    SWATCH_X = 32, // sixteen colour swatches in a row
    SWATCH_Y = 20,
    SWATCH_STEP = 36,
    SWATCH_WIDTH = 32,
    SWATCH_HEIGHT = 72,
    SWEEP_X = 8, // the track of the sweeping bar
    SWEEP_Y = 100,
    SWEEP_HEIGHT = 24,
    SWEEP_STEP = 8,
    CROSS_ARM = 6 // pointer crosshair: arms of six pixels around the centre
};

// Graphics colours with a fixed meaning on the card (the others cycle).
enum {
    INK_BLACK = 0,
    INK_DARK_RED = 2,
    INK_DARK_GREEN = 4,
    INK_DARK_CYAN = 5,
    INK_BROWN = 6,
    INK_LIGHT_GREY = 7,
    INK_DARK_GREY = 8,
    INK_WHITE = 15
};

struct CardState {
    uint8_t picture[FRAME_PIXELS]; // the fixed part, drawn once
    uint8_t frame[FRAME_PIXELS];   // the last built frame
    char text[FRAME_TEXT_ROWS][FRAME_TEXT_COLUMNS];
    uint8_t colour[FRAME_TEXT_ROWS][FRAME_TEXT_COLUMNS];
    int pictureReady;
};

CardState card;

// Sets the graphics index of a clipped rectangle.
void Card_Fill(uint8_t *pixels, int x, int y, int w, int h, uint8_t colour)
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
void Card_Glyph(uint8_t *pixels, int x, int y, char c, uint8_t colour, int scale)
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
void Card_DrawPicture(uint8_t *pixels)
{
    // A one-pixel border shows any shift or crop of the picture.
    Card_Fill(pixels, 0, 0, FRAME_WIDTH, 1, INK_WHITE);
    Card_Fill(pixels, 0, FRAME_HEIGHT - 1, FRAME_WIDTH, 1, INK_WHITE);
    Card_Fill(pixels, 0, 0, 1, FRAME_HEIGHT, INK_WHITE);
    Card_Fill(pixels, FRAME_WIDTH - 1, 0, 1, FRAME_HEIGHT, INK_WHITE);

    // Four different corner marks: a flip swaps them.
    for (int i = 0; i < 18; ++i)
        Card_Fill(pixels, 2, 2 + i, 18 - i, 1, INK_LIGHT_GREY);     // top left: triangle
    Card_Fill(pixels, FRAME_WIDTH - 16, 2, 14, 14, INK_DARK_RED);   // top right: square
    Card_Fill(pixels, 2, FRAME_HEIGHT - 16, 18, 4, INK_DARK_GREEN); // bottom left: two bars
    Card_Fill(pixels, 2, FRAME_HEIGHT - 8, 18, 4, INK_DARK_GREEN);
    for (int i = 0; i < 4; ++i) { // bottom right: checker
        for (int j = (i & 1); j < 4; j += 2)
            Card_Fill(pixels, FRAME_WIDTH - 18 + 4 * j, FRAME_HEIGHT - 18 + 4 * i, 4, 4,
                      INK_DARK_CYAN);
    }

    // All sixteen graphics colours, each with its number.
    for (int i = 0; i < 16; ++i) {
        int x = SWATCH_X + i * SWATCH_STEP;
        Card_Fill(pixels, x - 1, SWATCH_Y - 1, SWATCH_WIDTH + 2, SWATCH_HEIGHT + 2, INK_LIGHT_GREY);
        Card_Fill(pixels, x, SWATCH_Y, SWATCH_WIDTH, SWATCH_HEIGHT, (uint8_t)i);
        uint8_t ink = (i == INK_LIGHT_GREY || i >= 9) ? INK_BLACK : INK_WHITE;
        if (i >= 10)
            Card_Glyph(pixels, x + 8, SWATCH_Y + 28, (char)('0' + i / 10), ink, 1);
        Card_Glyph(pixels, x + (i >= 10 ? 16 : 12), SWATCH_Y + 28, (char)('0' + i % 10), ink, 1);
    }

    // Sweep track: a tick per step, a long one every eight steps.
    for (int s = 0; s <= CARD_SWEEP_STEPS; ++s) {
        int tall = s % 8 == 0 ? 4 : 2;
        Card_Fill(pixels, SWEEP_X + s * SWEEP_STEP, SWEEP_Y, 1, tall,
                  s % 8 == 0 ? INK_LIGHT_GREY : INK_DARK_GREY);
    }

    // An arrow pointing up and an arrow pointing right.
    for (int i = 0; i < 24; ++i)
        Card_Fill(pixels, 580 - i, 140 + i, 2 * i + 1, 1, INK_WHITE);
    Card_Fill(pixels, 573, 164, 15, 40, INK_WHITE);
    Card_Fill(pixels, 532, 222, 40, 11, INK_BROWN);
    for (int i = 0; i < 16; ++i)
        Card_Fill(pixels, 572 + i, 212 + i, 1, 31 - 2 * i, INK_BROWN);
    // A large F: mirror-asymmetric both ways.
    Card_Glyph(pixels, 536, 256, 'F', INK_LIGHT_GREY, 7);

    // A grey band behind the text colour samples, so that black text shows.
    Card_Fill(pixels, 8, 22 * FRAME_CELL_HEIGHT, 504, FRAME_CELL_HEIGHT, INK_DARK_GREY);
}

void Card_DrawCrosshair(uint8_t *pixels, int x, int y)
{
    Card_Fill(pixels, x - CROSS_ARM, y, 2 * CROSS_ARM + 1, 1, INK_WHITE);
    Card_Fill(pixels, x, y - CROSS_ARM, 1, 2 * CROSS_ARM + 1, INK_WHITE);
}

// Lights the text pixels of every non-blank cell; everything else keeps text 0, mask 0.
void Card_DrawText(uint8_t *pixels)
{
    for (int row = 0; row < FRAME_TEXT_ROWS; ++row) {
        for (int col = 0; col < FRAME_TEXT_COLUMNS; ++col) {
            char c = card.text[row][col];
            if (c == 0 || c == ' ')
                continue;
            uint8_t lit =
                (uint8_t)(FRAME_SHOW_TEXT | (card.colour[row][col] & 7) << FRAME_TEXT_SHIFT);
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

} // namespace

void Card_ClearText(void)
{
    memset(card.text, ' ', sizeof card.text);
    memset(card.colour, 0, sizeof card.colour);
}

void Card_Print(int column, int row, uint8_t colour, const char *text)
{
    if (row < 0 || row >= FRAME_TEXT_ROWS || column < 0)
        return;
    for (int col = column; *text && col < FRAME_TEXT_COLUMNS; ++col, ++text) {
        card.text[row][col] = *text;
        card.colour[row][col] = colour;
    }
}

void Card_Build(uint32_t frame, int pointerX, int pointerY, int pointerShown)
{
    if (!card.pictureReady) {
        Card_DrawPicture(card.picture);
        card.pictureReady = 1;
    }
    memcpy(card.frame, card.picture, sizeof card.frame);
    int sweep = (int)(frame % CARD_SWEEP_STEPS);
    Card_Fill(card.frame, SWEEP_X + sweep * SWEEP_STEP + 1, SWEEP_Y + 6, SWEEP_STEP - 1,
              SWEEP_HEIGHT - 6, INK_WHITE);
    if (pointerShown)
        Card_DrawCrosshair(card.frame, pointerX, pointerY);
    Card_DrawText(card.frame);
}

const uint8_t *Card_Frame(void)
{
    return card.frame;
}
