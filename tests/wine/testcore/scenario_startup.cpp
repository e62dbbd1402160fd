// Start-up without arguments: the window, the first calls' order and the early clock.
#include "core/core.h"
#include "testcore.h"

enum { STARTUP_FRAMES = 3 };

// Width and height of an icon's picture; 0 x 0 for no icon.
static void Startup_IconSize(HICON icon, int *width, int *height)
{
    *width = *height = 0;
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return;
    BITMAP bitmap;
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bitmap, &bitmap)) {
        *width = bitmap.bmWidth;
        *height = bitmap.bmHeight;
    } else if (GetObjectA(info.hbmMask, sizeof bitmap, &bitmap)) {
        // A monochrome icon stacks its AND and XOR masks.
        *width = bitmap.bmWidth;
        *height = bitmap.bmHeight / 2;
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
}

static void Startup_CheckClass(void)
{
    WNDCLASSEXA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    if (!Log_Check(GetClassInfoExA(GetModuleHandleA(NULL), "WCGRAPH", &info),
                   "class WCGRAPH registered by the program", "not found for MAIN.exe"))
        return;
    Log_Check(info.style == CS_CLASSDC, "class style CS_CLASSDC", "style 0x%lx",
              (unsigned long)info.style);
    Log_Check(info.cbClsExtra == 0 && info.cbWndExtra == 0, "class has no extra bytes",
              "class %d, window %d", info.cbClsExtra, info.cbWndExtra);
    Log_Check(info.hbrBackground == (HBRUSH)GetStockObject(BLACK_BRUSH),
              "class background is the stock black brush", "brush %p", (void *)info.hbrBackground);
    Log_Check(info.hCursor == LoadCursorA(NULL, IDC_ARROW), "class cursor is the arrow",
              "cursor %p", (void *)info.hCursor);
    Log_Check(info.lpszMenuName == NULL, "class has no menu", "menu %p",
              (const void *)info.lpszMenuName);
    int width, height;
    Startup_IconSize(info.hIcon, &width, &height);
    Log_Check(width == 32 && height == 32, "large class icon is 32 x 32", "%d x %d", width, height);
    Startup_IconSize(info.hIconSm, &width, &height);
    Log_Check(width == 16 && height == 16, "small class icon is 16 x 16", "%d x %d", width, height);
}

// Icon group 101: 16, 32, 48 and 64 pixels square, 16 colours each.
static void Startup_CheckIconGroup(void)
{
    HMODULE program = GetModuleHandleA(NULL);
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(101), (LPCSTR)RT_GROUP_ICON);
    if (!Log_Check(found != NULL, "icon group 101 in the program", "not found"))
        return;
    const uint8_t *group = (const uint8_t *)LockResource(LoadResource(program, found));
    DWORD size = SizeofResource(program, found);
    uint32_t count = size >= 6 ? group[4] | group[5] << 8 : 0;
    if (!Log_Check(count == 4 && size >= 6 + 14 * count, "icon group 101 has four pictures",
                   "%u pictures in %lu bytes", count, (unsigned long)size))
        return;
    uint32_t sizes_seen = 0;
    bool sixteen_colours = true;
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *entry = group + 6 + 14 * i;
        uint32_t side = entry[0], colours = entry[2], bits = entry[6] | entry[7] << 8;
        if (entry[1] == side && side % 16 == 0 && side >= 16 && side <= 64)
            sizes_seen |= 1u << (side / 16 - 1);
        sixteen_colours = sixteen_colours && (colours == 16 || bits == 4);
    }
    Log_Check(sizes_seen == 15, "icon pictures are 16, 32, 48 and 64 square",
              "sizes seen 0x%x (bit per 16 px)", sizes_seen);
    Log_Check(sixteen_colours, "icon pictures have 16 colours", "another colour depth");
}

static void Startup_CheckWindow(HWND window)
{
    Log_Check(IsWindowVisible(window), "window visible at Kernel_Initialize", "hidden");
    // Top-level windows always get WS_CLIPSIBLINGS, and captioned ones WS_EX_WINDOWEDGE.
    DWORD style = GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS;
    Log_Check(style == (0x00CB0000 | WS_VISIBLE), "window style caption, system menu, boxes",
              "style 0x%08lx", (unsigned long)style);
    DWORD ex_style = GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE;
    Log_Check(ex_style == 0, "window has no extended style", "0x%08lx", (unsigned long)ex_style);
    Log_Check(GetParent(window) == NULL && GetMenu(window) == NULL, "window has no parent or menu",
              "parent %p, menu %p", (void *)GetParent(window), (void *)GetMenu(window));
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    Log_Check(client.right - client.left == 640 && client.bottom - client.top == 400,
              "client area 640 x 400", "%ld x %ld", client.right - client.left,
              client.bottom - client.top);
    Log_Check(origin.x == 650 && origin.y == 150, "client area at (650, 150)", "at (%ld, %ld)",
              origin.x, origin.y);
    char title[64];
    GetWindowTextA(window, title, sizeof title);
    Log_Check(strcmp(title, "Video Out") == 0, "first title Video Out", "title \"%s\"", title);
}

// The core may read the clock before the front-end starts it; it must run and count ms.
static void Startup_CheckEarlyClock(void)
{
    uint32_t real_start = Clock_Micros();
    uint32_t start = Time_Get();
    Sleep(60);
    uint32_t elapsed = Time_Get() - start;
    uint32_t real = (Clock_Micros() - real_start) / 1000;
    // The tick count, the coarsest fallback, steps by up to 16 ms.
    Log_Check(elapsed + 20 >= real && elapsed <= real + 20,
              "Time_Get counts milliseconds before Time_Initialize", "%u ms counted in %u real ms",
              elapsed, real);
}

static void Startup_Begin(const char *tail)
{
    // Chosen for the null tail; an empty string would have named no scenario.
    Log_Check(tail == NULL, "null tail without arguments", "\"%s\"", tail);
    Startup_CheckWindow(Hook_Window());
    Startup_CheckClass();
    Startup_CheckIconGroup();
    Startup_CheckEarlyClock();
}

static void Startup_CheckOrder(void)
{
    uint32_t end = Record_Count();
    uint32_t init = Record_FindCall(CALL_KERNEL_INITIALIZE, 1);
    uint32_t step = Record_FindCall(CALL_KERNEL_STEP, 1);
    uint32_t paint = end, mark = end;
    for (uint32_t i = init; i < step; i++) {
        if (paint == end && Record_IsMessage(Record_Get(i), WM_PAINT))
            paint = i;
        if (mark == end && Record_IsMessage(Record_Get(i), WM_TEST_INIT_MARK))
            mark = i;
    }
    // The first picture is drawn right after Kernel_Initialize, before the loop takes the
    // message posted from it, and the loop takes that before it runs the first frame.
    bool ok = init < step && paint < mark && mark < step;
    if (!Log_Check(ok, "first paint, then queued messages, then the first frame",
                   "Kernel_Initialize #%u, WM_PAINT #%u, init mark #%u, Kernel_Step #%u", init,
                   paint, mark, step))
        Record_Dump(init, step + 1);
}

static ScenarioStep Startup_Step(uint32_t frame)
{
    if (frame == 1)
        Startup_CheckOrder();
    return frame < STARTUP_FRAMES ? STEP_CONTINUE : STEP_CLOSE;
}

static void Startup_End(void)
{
    uint32_t inits = Record_CountCalls(CALL_KERNEL_INITIALIZE);
    Log_Check(inits == 1, "Kernel_Initialize called once", "called %u times", inits);
}

const Scenario Scenario_Startup = {"startup", Startup_Begin, Startup_Step, NULL, Startup_End};
