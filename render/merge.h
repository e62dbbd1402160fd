// Bit-plane merging: monochrome planes into an indexed surface, plane i giving index bit i.
#pragma once

#include "platform/platform.h"

// Merges 2..8 plane bitmaps into the indexed target, plane i giving index bit i; 0 refused.
int Render_MergePlanes(HDC target, int x, int y, int width, int height, const HBITMAP *planes,
                       uint8_t count, int sourceX, int sourceY);

// The same from device contexts holding the planes; 0 when refused or a blit failed.
int Render_MergePlaneDCs(HDC target, int x, int y, int width, int height, const HDC *planes,
                         uint8_t count, int sourceX, int sourceY);
