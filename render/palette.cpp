// Palette: the 24-entry logical palette mirroring the core's graphics and text palettes.
#include "platform/platform.h"
#include "render/modes.h"
#include "render/palette.h"
#include "render/placeholder.h"

static struct {
    // The platform's LOGPALETTE layout with room for all 24 entries.
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[RENDER_PALETTE_ENTRIES];
    } logical;
} s_palette;

HPALETTE Render_CreatePalette(void)
{
    s_palette.logical.version = 0x300;
    s_palette.logical.count = RENDER_PALETTE_ENTRIES;
    return CreatePalette((const LOGPALETTE *)&s_palette.logical);
}

// A core colour's 4-bit red, green and blue (bits 0-3, 4-7, 8-11) as 8-bit values.
static PALETTEENTRY Render_EntryFromCoreColor(uint16_t color)
{
    PALETTEENTRY entry;
    entry.peRed = (BYTE)((color & 0xF) * 0x11);
    entry.peGreen = (BYTE)(((color >> 4) & 0xF) * 0x11);
    entry.peBlue = (BYTE)(((color >> 8) & 0xF) * 0x11);
    entry.peFlags = 0;
    return entry;
}

void Render_UpdatePalette(HDC dc, HPALETTE palette, int32_t mode, const RenderSurfaces *surfaces)
{
    uint32_t graphics = GDCGraph_GetPalette();
    uint32_t text = GDCText_GetPalette();
    PALETTEENTRY *entries = s_palette.logical.entries;
    for (int i = 0; i < RENDER_PALETTE_ENTRIES; i++)
        entries[i] = Render_EntryFromCoreColor(i < 16 ? GDCPal_GetColor(graphics, (uint8_t)i)
                                                      : GDCPal_GetColor(text, (uint8_t)(i - 16)));

    if (Render_GetMode(mode)->composition == RENDER_COMPOSE_PLACEHOLDER) {
        // Stored as blue, green, red: the tile's red shades are blue ones here.
        uint8_t colors[RENDER_PLACEHOLDER_COLOR_BYTES];
        Render_GetPlaceholderColors(colors);
        for (int k = 0; k < 16; k++) {
            entries[k].peRed = colors[3 * k + 2];
            entries[k].peGreen = colors[3 * k + 1];
            entries[k].peBlue = colors[3 * k];
            entries[k].peFlags = 0;
        }
    } else {
        Render_LoadSurfaceColors(dc, surfaces);
    }
    SetPaletteEntries(palette, 0, RENDER_PALETTE_ENTRIES, entries);
    SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
}

void Render_LoadSurfaceColors(HDC dc, const RenderSurfaces *surfaces)
{
    if (!surfaces->graphics && !surfaces->text)
        return; // nothing to recolour yet

    const PALETTEENTRY *entries = s_palette.logical.entries;
    RGBQUAD table[RENDER_PALETTE_ENTRIES];
    for (int i = 0; i < RENDER_PALETTE_ENTRIES; i++) {
        table[i].rgbBlue = entries[i].peBlue;
        table[i].rgbGreen = entries[i].peGreen;
        table[i].rgbRed = entries[i].peRed;
        table[i].rgbReserved = 0;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ displaced = 0;
    if (surfaces->graphics) {
        displaced = SelectObject(memory, surfaces->graphics);
        SetDIBColorTable(memory, 0, 16, table);
    }
    if (surfaces->text) {
        HGDIOBJ previous = SelectObject(memory, surfaces->text);
        if (!displaced)
            displaced = previous;
        SetDIBColorTable(memory, 0, 8, table + 16);
    }
    SelectObject(memory, displaced);
    DeleteDC(memory);
}
