// Hands the internal frame to the front-end, as monochrome planes or as separate surfaces.
#pragma once

// Encodes the frame (FRAME_PIXELS bytes) into two static blocks of four 32000-byte planes:
// first = graphics bits 0..3, second = mask, text bits 0..2. Stores both pointers.
void Handover_Planes(const uint8_t *frame, uint8_t **first, uint8_t **second);
// Writes the frame as a 4-bit graphics picture, a 4-bit text picture (400 rows of 320
// bytes, high nibble left) and a 1-bit mask (400 rows of 80 bytes, MSB left); a null
// destination is skipped.
void Handover_Separate(const uint8_t *frame, void *graphics, void *text, void *mask);
