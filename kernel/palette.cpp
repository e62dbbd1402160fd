// The stand-in core's palettes: fixed text colours, graphics colours 9..14 rotating.
#include "platform/platform.h"
#include "kernel/palette.h"

// Colours as 0xBGR nibbles: red bits 0-3, green 4-7, blue 8-11.
static const uint16_t PALETTE_GRAPHICS_BASE[16] = {
    0x000, // 0 black
    0x800, // 1 dark blue
    0x008, // 2 dark red
    0x808, // 3 dark magenta
    0x080, // 4 dark green
    0x880, // 5 dark cyan
    0x088, // 6 brown
    0xAAA, // 7 light grey
    0x555, // 8 dark grey
    0xF00, // 9 blue        (cycles)
    0x00F, // 10 red        (cycles)
    0xF0F, // 11 magenta    (cycles)
    0x0F0, // 12 green      (cycles)
    0xFF0, // 13 cyan       (cycles)
    0x0FF, // 14 yellow     (cycles)
    0xFFF, // 15 white
};

static const uint16_t PALETTE_TEXT_COLORS[8] = {
    0x000, // 0 black
    0xF84, // 1 light blue
    0x44F, // 2 light red
    0xF4F, // 3 pink
    0x4F4, // 4 light green
    0xFF4, // 5 light cyan
    0x4FF, // 6 light yellow
    0xFFF, // 7 white
};

// Constant-initialised: the front-end reads the palette before the core is started.
static struct {
    uint32_t phase;  // steps taken, modulo PALETTE_CYCLE_COUNT
    uint8_t changed; // a change not yet reported
} s_palette = {0, 0};

uint16_t Palette_Color(uint32_t handle, uint8_t index)
{
    if (handle == PALETTE_TEXT_HANDLE)
        return index < 8 ? PALETTE_TEXT_COLORS[index] : 0;
    if (handle != PALETTE_GRAPHICS_HANDLE || index >= 16)
        return 0;
    int slot = index - PALETTE_CYCLE_FIRST;
    if (slot < 0 || slot >= PALETTE_CYCLE_COUNT)
        return PALETTE_GRAPHICS_BASE[index];
    return PALETTE_GRAPHICS_BASE[PALETTE_CYCLE_FIRST +
                                 (slot + s_palette.phase) % PALETTE_CYCLE_COUNT];
}

void Palette_Step(uint32_t frame)
{
    if (frame == 0 || frame % PALETTE_CYCLE_FRAMES != 0)
        return;
    s_palette.phase = (s_palette.phase + 1) % PALETTE_CYCLE_COUNT;
    s_palette.changed = 1;
}

uint8_t Palette_TakeChanged(void)
{
    uint8_t changed = s_palette.changed;
    s_palette.changed = 0;
    return changed;
}

uint32_t Palette_Phase(void)
{
    return s_palette.phase;
}
