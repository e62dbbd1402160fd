// Our own 5 x 7 bitmap font, drawn into 8 x 16 character cells.
#pragma once

#include "platform/platform.h"

// Row 0..15 of c's cell, MSB leftmost; lower case draws as upper case, unknown ones as a box.
uint8_t Font_Row(char c, int row);
