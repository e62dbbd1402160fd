// Hands the internal frame to the front-end, as monochrome planes or as separate surfaces.
#pragma once

#include "platform/platform.h"

// Encodes the frame into static planes (graphics 0-3; mask, text 0-2) and points at both blocks.
void Handover_Planes(const uint8_t *frame, uint8_t **first, uint8_t **second);
// Writes the frame as core.h's 4-bit graphics and text and 1-bit mask; a null one is skipped.
void Handover_Separate(const uint8_t *frame, void *graphics, void *text, void *mask);
