// Pixel layout of the stand-in core's internal frame: one byte per pixel, 640 x 400.
#pragma once

enum {
    FRAME_WIDTH = 640,
    FRAME_HEIGHT = 400,
    FRAME_PIXELS = FRAME_WIDTH * FRAME_HEIGHT,
    FRAME_GRAPHICS = 0x0F,  // bits 0-3: graphics index 0..15
    FRAME_TEXT_SHIFT = 4,   // bits 4-6: text index 0..7
    FRAME_TEXT = 0x70,      //
    FRAME_SHOW_TEXT = 0x80, // bit 7: priority mask, 1 = the text pixel shows
    FRAME_TEXT_COLUMNS = 80,
    FRAME_TEXT_ROWS = 25,
    FRAME_CELL_WIDTH = 8,
    FRAME_CELL_HEIGHT = 16
};
