// The test card: a fixed picture with orientation marks, a sweeping bar and a text page.
#pragma once

#include "platform/platform.h"

enum { CARD_SWEEP_STEPS = 78 }; // positions of the sweeping bar, one step per frame

// Blanks the whole text page.
void Card_ClearText(void);
// Writes text into the page at a cell (80 x 25 grid), clipped at the right edge.
void Card_Print(int column, int row, uint8_t colour, const char *text);
// Builds the frame: picture, bar for the frame number, crosshair if shown, text page with mask.
void Card_Build(uint32_t frame, int pointerX, int pointerY, int pointerShown);
// The last built frame, FRAME_PIXELS bytes in the layout of frame.h.
const uint8_t *Card_Frame(void);
