// Renderer front: window creation, per-frame step, paint, resize and shutdown, by render mode.
// It owns the renderer's state and hands each piece what it needs as arguments.
#include "platform/platform.h"
#include "core/core.h"
#include "render/compose.h"
#include "render/fullscreen.h"
#include "render/modes.h"
#include "render/palette.h"
#include "render/placeholder.h"
#include "render/render.h"
#include "render/surfaces.h"

#ifndef RENDER_MODE
#define RENDER_MODE 3
#endif

enum {
    RENDER_PLACEHOLDER_EVERY = 0x3F // the placeholder is drawn on one paint in 64
};

static struct {
    int32_t mode; // fixed at build time; 5 after a failed surface creation
    HWND window;
    HPALETTE palette;
    RenderSurfaces surfaces;
    uint16_t clientWidth; // 0 x 0 until the first WM_SIZE
    uint16_t clientHeight;
    uint8_t paintCounter; // paints in placeholder modes
} s_render = {RENDER_MODE, 0, 0, {}, 0, 0, 0};

static void Render_LogCaps(int caps)
{
    static const struct {
        int bit;
        char letter;
    } letters[] = {
        {RC_BANDING, 'b'},   {RC_BITBLT, 'B'},     {RC_BITMAP64, '6'},
        {RC_DI_BITMAP, 'D'}, {RC_DIBTODEV, 'I'},   {RC_PALETTE, 'P'},
        {RC_SCALING, 'C'},   {RC_STRETCHBLT, 'S'}, {RC_STRETCHDIB, 's'},
    };
    char shown[9];
    for (int i = 0; i < 9; i++)
        shown[i] = (caps & letters[i].bit) ? letters[i].letter : '_';
    printf("[Render] Caps: %c %c %c %c %c %c %c %c %c\n", shown[0], shown[1], shown[2], shown[3],
           shown[4], shown[5], shown[6], shown[7], shown[8]);
}

CORE_API int Render_Initialize(HWND window)
{
    // Never released, which is sound only because the class owns one shared device context
    // (CS_CLASSDC): every GetDC on the window gives that same context back.
    HDC dc = GetDC(window);
    s_render.window = window;
    // Once per run; a core that initialises the renderer again keeps the palette object.
    HPALETTE palette = s_render.palette ? s_render.palette : Render_CreatePalette();
    // Selected and realized before any surface exists.
    Render_UpdatePalette(dc, palette, s_render.mode, &s_render.surfaces);
    s_render.palette = palette;
    Render_LogCaps(GetDeviceCaps(dc, RASTERCAPS));

    if (Render_GetMode(s_render.mode)->fetch == RENDER_FETCH_NONE)
        return 0;
    // None on the first call; no leak on a later one.
    Render_DestroySurfaces(&s_render.surfaces, s_render.mode);
    if (Render_CreateSurfaces(&s_render.surfaces, dc, s_render.mode, CORE_SCREEN_WIDTH,
                              CORE_SCREEN_HEIGHT) != 0 &&
        s_render.mode != 5) {
        s_render.mode = 5;
        Render_CreateSurfaces(&s_render.surfaces, dc, s_render.mode, CORE_SCREEN_WIDTH,
                              CORE_SCREEN_HEIGHT);
    }
    // Creation does not reliably give the surfaces the logical palette's colours (odd
    // modes get none at all): load them now rather than at the first palette change.
    Render_LoadSurfaceColors(dc, &s_render.surfaces);
    return 0;
}

CORE_API BOOL Render_Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (Render_GetMode(s_render.mode)->composition != RENDER_COMPOSE_PLACEHOLDER) {
        int32_t x, y;
        Render_GetPictureOffset(&x, &y);
        RenderPlacement placement = {s_render.clientWidth, s_render.clientHeight, (int16_t)x,
                                     (int16_t)y, Render_FullscreenFlag() ? (uint8_t)1 : (uint8_t)0};
        Render_Present(&s_render.surfaces, dc, s_render.mode, &placement, CORE_SCREEN_WIDTH,
                       CORE_SCREEN_HEIGHT);
    } else {
        uint8_t n = s_render.paintCounter;
        // Seeds 0..3 in turn; the window keeps the last pattern between drawings.
        if ((n & RENDER_PLACEHOLDER_EVERY) == 0)
            Render_PaintPlaceholder(dc, s_render.clientWidth, s_render.clientHeight,
                                    (uint16_t)(n >> 6));
        s_render.paintCounter = (uint8_t)(n + 1);
    }
    return EndPaint(window, &paint);
}

CORE_API int Render_Shutdown(HWND window)
{
    (void)window;
    if (Render_GetMode(s_render.mode)->fetch != RENDER_FETCH_NONE)
        return Render_DestroySurfaces(&s_render.surfaces, s_render.mode);
    return 0;
}

CORE_API BOOL Render_Step(HWND window)
{
    if (GDCGraph_IsPaletteChanged())
        Render_UpdatePalette(GetDC(window), s_render.palette, s_render.mode, &s_render.surfaces);
    if (Render_GetMode(s_render.mode)->fetch != RENDER_FETCH_NONE)
        Render_FetchFrame(&s_render.surfaces, s_render.mode);
    // Painted before this returns, so each frame is on screen before the pacing sleep.
    return RedrawWindow(window, 0, 0, RDW_INVALIDATE | RDW_UPDATENOW);
}

CORE_API uint8_t Render_IsFullscreen(void)
{
    return Render_FullscreenFlag();
}

CORE_API uint8_t Render_SetFullscreen(uint8_t on)
{
    return Render_SwitchFullscreen(s_render.window, on);
}

void Render_Resize(uint16_t width, uint16_t height, uint8_t maximized)
{
    printf("[Render] Resize: %i, %i ", width, height);
    s_render.clientWidth = width;
    s_render.clientHeight = height;
    if (Render_FullscreenFlag())
        printf("(Fullscreen)");
    else
        Render_NoteMaximized(maximized);
    if (maximized)
        printf("(Maximized)");
    printf("\n");
}
