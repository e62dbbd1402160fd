// The seventeen core functions: each is recorded, the two Kernel_ calls drive the scenario.
#include "core/core.h"
#include "testcore.h"

// Answers for the renderer: a fixed picture that is valid to read, never changed.
static uint8_t exports_graphics_planes[4 * CORE_PLANE_BYTES];
static uint8_t exports_mask_text_planes[4 * CORE_PLANE_BYTES];
static bool exports_palette_reported;
static bool exports_mouse_inside;
static const FrameAnswers *exports_answers; // a scenario's own answers, when it has them

void Exports_SetFrameAnswers(const FrameAnswers *answers)
{
    exports_answers = answers;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Log_Open();
    else if (reason == DLL_PROCESS_DETACH)
        Scenario_Exit();
    return TRUE;
}

CORE_API void Kernel_Initialize(const char *tail)
{
    Record_Call(CALL_KERNEL_INITIALIZE, (uint32_t)(uintptr_t)tail, 0);
    Scenario_Initialize(tail);
}

CORE_API void Kernel_Step(void)
{
    Record_Call(CALL_KERNEL_STEP, Time_Get(), 0);
    Scenario_Step();
}

CORE_API uint8_t GDCGraph_IsPaletteChanged(void)
{
    Record_Call(CALL_GDCGRAPH_ISPALETTECHANGED, 0, 0);
    if (exports_answers)
        return exports_answers->isPaletteChanged();
    // Changed once, at the first question, so that the palette is built from our colours.
    bool changed = !exports_palette_reported;
    exports_palette_reported = true;
    return changed;
}

CORE_API uint32_t GDCGraph_GetPalette(void)
{
    Record_Call(CALL_GDCGRAPH_GETPALETTE, 0, 0);
    return TESTCORE_GRAPHICS_PALETTE;
}

CORE_API uint32_t GDCText_GetPalette(void)
{
    Record_Call(CALL_GDCTEXT_GETPALETTE, 0, 0);
    return TESTCORE_TEXT_PALETTE;
}

CORE_API uint16_t GDCPal_GetColor(uint32_t palette, uint8_t index)
{
    Record_Call(CALL_GDCPAL_GETCOLOR, palette, index);
    if (exports_answers)
        return exports_answers->getColor(palette, index);
    return (uint16_t)((index * 0x111u + palette) & 0xFFF);
}

CORE_API void GDC_RenderBuffer(uint8_t **graphics, uint8_t **maskAndText)
{
    Record_Call(CALL_GDC_RENDERBUFFER, 0, 0);
    if (exports_answers) {
        exports_answers->renderBuffer(graphics, maskAndText);
        return;
    }
    *graphics = exports_graphics_planes;
    *maskAndText = exports_mask_text_planes;
}

CORE_API void GDC_RenderSep(void *graphicsBits, void *textBits, void *maskBits)
{
    Record_Call(CALL_GDC_RENDERSEP, 0, 0);
    if (exports_answers) {
        exports_answers->renderSep(graphicsBits, textBits, maskBits);
        return;
    }
    (void)graphicsBits;
    (void)textBits;
    (void)maskBits;
}

CORE_API void Keyboard_Press(uint32_t vk)
{
    Record_Call(CALL_KEYBOARD_PRESS, vk, 0);
}

CORE_API void Keyboard_Release(uint32_t vk)
{
    Record_Call(CALL_KEYBOARD_RELEASE, vk, 0);
}

CORE_API void Input_Event(uint32_t code, uint32_t value)
{
    Record_Call(CALL_INPUT_EVENT, code, value);
}

CORE_API void Mouse_Move(int32_t x, int32_t y)
{
    Record_Call(CALL_MOUSE_MOVE, (uint32_t)x, (uint32_t)y);
}

CORE_API void Mouse_EnterWindow(void)
{
    Record_Call(CALL_MOUSE_ENTERWINDOW, 0, 0);
    exports_mouse_inside = true;
}

CORE_API void Mouse_LeaveWindow(void)
{
    Record_Call(CALL_MOUSE_LEAVEWINDOW, 0, 0);
    exports_mouse_inside = false;
}

CORE_API uint8_t Mouse_IsInWindow(void)
{
    Record_Call(CALL_MOUSE_ISINWINDOW, exports_mouse_inside, 0);
    return exports_mouse_inside;
}

CORE_API void Mouse_KeyPress(uint32_t button)
{
    Record_Call(CALL_MOUSE_KEYPRESS, button, 0);
}

CORE_API void Mouse_KeyRelease(uint32_t button)
{
    Record_Call(CALL_MOUSE_KEYRELEASE, button, 0);
}
