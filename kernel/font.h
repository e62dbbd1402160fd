// Our own 5 x 7 bitmap font, drawn into 8 x 16 character cells.
#pragma once

// One row (0..15) of the cell for character c, MSB = leftmost pixel; unknown characters
// give a box, lower case gives upper case.
uint8_t Font_Row(char c, int row);
