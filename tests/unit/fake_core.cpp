// Recording fake of the emulator core.
#include "tests/unit/fake_core.h"
#include "core/core.h"

static FakeCore s_core;

FakeCore &FakeCore_State()
{
    return s_core;
}

void FakeCore_Reset()
{
    s_core = FakeCore();
}

static void FakeCore_Recordf(const char *format, unsigned a = 0, unsigned b = 0)
{
    char text[128];
    snprintf(text, sizeof text, format, a, b);
    Fake_Record(text);
}

CORE_API void Kernel_Initialize(const char *tail)
{
    Fake_Record(std::string("Kernel_Initialize(") +
                (tail ? "\"" + std::string(tail) + "\"" : "null") + ")");
}

CORE_API void Kernel_Step(void)
{
    Fake_Record("Kernel_Step()");
    s_core.steps++;
    Fake().nowMicros += s_core.stepMicros;
    if (s_core.onStep)
        s_core.onStep();
}

CORE_API uint8_t GDCGraph_IsPaletteChanged(void)
{
    FakeCore_Recordf("GDCGraph_IsPaletteChanged()");
    return s_core.paletteChanged;
}

CORE_API uint32_t GDCGraph_GetPalette(void)
{
    return 1;
}

CORE_API uint32_t GDCText_GetPalette(void)
{
    return 2;
}

CORE_API uint16_t GDCPal_GetColor(uint32_t palette, uint8_t index)
{
    FakeCore_Recordf("GDCPal_GetColor(%u, %u)", palette, index);
    return palette == 1 || palette == 2 ? s_core.colors[palette - 1][index & 15] : 0;
}

CORE_API void GDC_RenderBuffer(uint8_t **graphics, uint8_t **maskAndText)
{
    FakeCore_Recordf("GDC_RenderBuffer()");
    *graphics = s_core.planes;
    *maskAndText = s_core.planes ? s_core.planes + 4 * CORE_PLANE_BYTES : nullptr;
}

CORE_API void GDC_RenderSep(void *, void *, void *)
{
    FakeCore_Recordf("GDC_RenderSep()");
}

CORE_API void Keyboard_Press(uint32_t vk)
{
    FakeCore_Recordf("Keyboard_Press(0x%x)", vk);
}

CORE_API void Keyboard_Release(uint32_t vk)
{
    FakeCore_Recordf("Keyboard_Release(0x%x)", vk);
}

CORE_API void Input_Event(uint32_t code, uint32_t value)
{
    FakeCore_Recordf("Input_Event(0x%x, %u)", code, value);
}

CORE_API void Mouse_Move(int32_t x, int32_t y)
{
    char text[64];
    snprintf(text, sizeof text, "Mouse_Move(%d, %d)", (int)x, (int)y);
    Fake_Record(text);
}

CORE_API void Mouse_EnterWindow(void)
{
    FakeCore_Recordf("Mouse_EnterWindow()");
    s_core.inside = 1;
}

CORE_API void Mouse_LeaveWindow(void)
{
    FakeCore_Recordf("Mouse_LeaveWindow()");
    s_core.inside = 0;
}

CORE_API uint8_t Mouse_IsInWindow(void)
{
    FakeCore_Recordf("Mouse_IsInWindow()");
    return s_core.inside;
}

CORE_API void Mouse_KeyPress(uint32_t button)
{
    FakeCore_Recordf("Mouse_KeyPress(%u)", button);
}

CORE_API void Mouse_KeyRelease(uint32_t button)
{
    FakeCore_Recordf("Mouse_KeyRelease(%u)", button);
}
