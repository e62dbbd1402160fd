// The stand-in core's exports: a test card that echoes every input the front-end sends.
#include "core/core.h"
#include "kernel/card.h"
#include "kernel/echo.h"
#include "kernel/handover.h"
#include "kernel/palette.h"

static struct {
    uint32_t frame;    // frame steps taken
    uint32_t lastTime; // Time_Get of the latest frame step
} s_kernel;

// Redraws the text page and the frame from the current state.
static void Kernel_Draw(uint32_t now)
{
    EchoStatus status;
    status.frame = s_kernel.frame;
    status.time = now;
    status.step = now - s_kernel.lastTime;
    status.timeKnown = s_kernel.frame > 0;
    status.palettePhase = Palette_Phase();
    status.paletteCountdown = PALETTE_CYCLE_FRAMES - s_kernel.frame % PALETTE_CYCLE_FRAMES;
    Echo_Show(&status);
    int x, y;
    Echo_Pointer(&x, &y);
    Card_Build(s_kernel.frame, x, y, Echo_IsInside());
}

CORE_API void Kernel_Initialize(const char *tail)
{
    Echo_SetTail(tail);
    // The front-end fetches a picture before the first frame step.
    Kernel_Draw(0);
}

CORE_API void Kernel_Step(void)
{
    uint32_t now = Time_Get();
    ++s_kernel.frame;
    Palette_Step(s_kernel.frame);
    if (s_kernel.frame == 1)
        s_kernel.lastTime = now;
    Kernel_Draw(now);
    s_kernel.lastTime = now;
}

CORE_API uint8_t GDCGraph_IsPaletteChanged(void)
{
    return Palette_TakeChanged();
}

CORE_API uint32_t GDCGraph_GetPalette(void)
{
    return PALETTE_GRAPHICS_HANDLE;
}

CORE_API uint32_t GDCText_GetPalette(void)
{
    return PALETTE_TEXT_HANDLE;
}

CORE_API uint16_t GDCPal_GetColor(uint32_t palette, uint8_t index)
{
    return Palette_Color(palette, index);
}

CORE_API void GDC_RenderBuffer(uint8_t **graphics, uint8_t **maskAndText)
{
    Handover_Planes(Card_Frame(), graphics, maskAndText);
}

CORE_API void GDC_RenderSep(void *graphicsBits, void *textBits, void *maskBits)
{
    Handover_Separate(Card_Frame(), graphicsBits, textBits, maskBits);
}

CORE_API void Keyboard_Press(uint32_t vk)
{
    Echo_Key(vk, 1);
}

CORE_API void Keyboard_Release(uint32_t vk)
{
    Echo_Key(vk, 0);
}

CORE_API void Input_Event(uint32_t code, uint32_t value)
{
    Echo_Event(code, value);
}

CORE_API void Mouse_Move(int32_t x, int32_t y)
{
    Echo_MouseMove(x, y);
}

CORE_API void Mouse_EnterWindow(void)
{
    Echo_MouseInside(1);
}

CORE_API void Mouse_LeaveWindow(void)
{
    Echo_MouseInside(0);
}

CORE_API uint8_t Mouse_IsInWindow(void)
{
    return Echo_IsInside();
}

CORE_API void Mouse_KeyPress(uint32_t button)
{
    Echo_MouseButton(button, 1);
}

CORE_API void Mouse_KeyRelease(uint32_t button)
{
    Echo_MouseButton(button, 0);
}
