// Recording fake of the platform: kernel32, user32, gdi32 and WinMM as the front-end uses them.
#include "platform/fake/fake_platform.h"

#include <stdarg.h>

#define FAKE_KERNEL32 ((HMODULE)(uintptr_t)0x7000)
#define FAKE_WINMM ((HMODULE)(uintptr_t)0x7100)
#define FAKE_UXTHEME ((HMODULE)(uintptr_t)0x7200)

static FakePlatform s_fake;

std::string Fake_Name(const void *handle);

FakePlatform &Fake()
{
    return s_fake;
}

void Fake_Reset()
{
    s_fake = FakePlatform();
}

void Fake_Record(const std::string &call)
{
    s_fake.calls.push_back(call);
}

static void Fake_Recordf(const char *format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Fake_Record(text);
}

std::vector<std::string> Fake_CallsMatching(std::initializer_list<const char *> prefixes)
{
    std::vector<std::string> out;
    for (const std::string &call : s_fake.calls)
        for (const char *prefix : prefixes)
            if (call.rfind(prefix, 0) == 0) {
                out.push_back(call);
                break;
            }
    return out;
}

void Fake_Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = FAKE_WINDOW;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    s_fake.queue.push_back(msg);
}

// ---- clocks ----

static BOOL WINAPI Fake_QueryPerformanceCounter(LARGE_INTEGER *value)
{
    unsigned __int128 counts = (unsigned __int128)s_fake.nowMicros * s_fake.counterFrequency;
    value->QuadPart = (int64_t)(uint64_t)(counts / 1000000u + s_fake.counterOffset);
    return TRUE;
}

static BOOL WINAPI Fake_QueryPerformanceFrequency(LARGE_INTEGER *value)
{
    if (s_fake.frequencyFails) {
        value->QuadPart = 0;
        return FALSE;
    }
    value->QuadPart = (int64_t)s_fake.counterFrequency;
    return TRUE;
}

static UINT WINAPI Fake_timeBeginPeriod(UINT period)
{
    Fake_Recordf("timeBeginPeriod(%u)", period);
    return 0;
}

static UINT WINAPI Fake_timeEndPeriod(UINT period)
{
    Fake_Recordf("timeEndPeriod(%u)", period);
    return 0;
}

static DWORD WINAPI Fake_timeGetTime(void)
{
    return (DWORD)(s_fake.nowMicros / 1000u);
}

static void WINAPI Fake_SetThemeAppProperties(DWORD flags)
{
    Fake_Recordf("SetThemeAppProperties(%u)", flags);
}

extern "C" {

// ---- kernel32 ----

LPSTR WINAPI GetCommandLineA(void)
{
    return (LPSTR)s_fake.commandLine.c_str();
}

void WINAPI ExitProcess(UINT code)
{
    fprintf(stderr, "fake ExitProcess(%u) reached\n", code);
    abort();
}

BOOL WINAPI SetConsoleTitleA(LPCSTR title)
{
    Fake_Recordf("SetConsoleTitleA(%s)", title);
    return TRUE;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name)
{
    if (!name)
        return FAKE_INSTANCE;
    if (strcmp(name, "Kernel32") == 0 && s_fake.kernel32Present)
        return FAKE_KERNEL32;
    return 0;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name)
{
    Fake_Recordf("LoadLibraryA(%s)", name);
    HMODULE module = 0;
    if (strcmp(name, "WinMM") == 0 && s_fake.winmmPresent)
        module = FAKE_WINMM;
    if (strcmp(name, "UxTheme.dll") == 0 && s_fake.themePresent)
        module = FAKE_UXTHEME;
    if (module)
        s_fake.librariesHeld++;
    return module;
}

BOOL WINAPI FreeLibrary(HMODULE module)
{
    Fake_Recordf("FreeLibrary(%s)", module == FAKE_WINMM     ? "WinMM"
                                    : module == FAKE_UXTHEME ? "UxTheme.dll"
                                                             : "?");
    s_fake.librariesHeld--;
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name)
{
    void *fn = 0;
    if (module == FAKE_KERNEL32) {
        if (strcmp(name, "QueryPerformanceCounter") == 0 && s_fake.counterPresent)
            fn = (void *)Fake_QueryPerformanceCounter;
        if (strcmp(name, "QueryPerformanceFrequency") == 0 && s_fake.frequencyPresent)
            fn = (void *)Fake_QueryPerformanceFrequency;
    } else if (module == FAKE_WINMM && s_fake.winmmMissing != name) {
        if (strcmp(name, "timeBeginPeriod") == 0)
            fn = (void *)Fake_timeBeginPeriod;
        if (strcmp(name, "timeEndPeriod") == 0)
            fn = (void *)Fake_timeEndPeriod;
        if (strcmp(name, "timeGetTime") == 0)
            fn = (void *)Fake_timeGetTime;
    } else if (module == FAKE_UXTHEME && s_fake.themeFunctionPresent) {
        if (strcmp(name, "SetThemeAppProperties") == 0)
            fn = (void *)Fake_SetThemeAppProperties;
    }
    return (FARPROC)fn;
}

void WINAPI Sleep(DWORD milliseconds)
{
    Fake_Recordf("Sleep(%u)", milliseconds);
    s_fake.nowMicros += (uint64_t)milliseconds * 1000u + s_fake.sleepOvershootMicros;
}

DWORD WINAPI GetTickCount(void)
{
    return (DWORD)(s_fake.nowMicros / 1000u);
}

// ---- user32 ----

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA *cls)
{
    Fake_Recordf("RegisterClassExA(%s, style=0x%x, icons=%d%d, brush=%d)", cls->lpszClassName,
                 cls->style, cls->hIcon != 0, cls->hIconSm != 0, cls->hbrBackground != 0);
    s_fake.windowProc = cls->lpfnWndProc;
    return 1;
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance)
{
    Fake_Recordf("UnregisterClassA(%s, %d)", name, instance == FAKE_INSTANCE);
    return TRUE;
}

// A frame of 3 pixels and a caption of 19 around the client area.
BOOL WINAPI AdjustWindowRect(RECT *rect, DWORD style, BOOL menu)
{
    Fake_Recordf("AdjustWindowRect(0x%08x, %d)", style, menu);
    rect->left -= 3;
    rect->top -= 22;
    rect->right += 3;
    rect->bottom += 3;
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param)
{
    Fake_Recordf("CreateWindowExA(%u, %s, %s, 0x%08x, %d, %d, %d, %d, %d, %d, %d, %d)", exStyle,
                 className, title, style, x, y, width, height, parent != 0, menu != 0,
                 instance == FAKE_INSTANCE, param != 0);
    if (s_fake.windowProc)
        s_fake.windowProc(FAKE_WINDOW, WM_CREATE, 0, 0);
    return FAKE_WINDOW;
}

BOOL WINAPI ShowWindow(HWND, int command)
{
    Fake_Recordf("ShowWindow(%d)", command);
    if (command == SW_MINIMIZE || command == SW_RESTORE)
        s_fake.iconic = command == SW_MINIMIZE;
    return TRUE;
}

BOOL WINAPI IsIconic(HWND)
{
    return s_fake.iconic;
}

BOOL WINAPI UpdateWindow(HWND)
{
    Fake_Record("UpdateWindow()");
    return TRUE;
}

BOOL WINAPI PeekMessageA(MSG *msg, HWND, UINT, UINT, UINT remove)
{
    if (s_fake.queue.empty()) {
        s_fake.idlePasses++;
        if (s_fake.onIdle)
            s_fake.onIdle();
        return FALSE;
    }
    *msg = s_fake.queue.front();
    if (remove & PM_REMOVE)
        s_fake.queue.pop_front();
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG *)
{
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    Fake_Recordf("DispatchMessageA(0x%04x)", msg->message);
    if (msg->hwnd && s_fake.windowProc)
        return s_fake.windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    return 0;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM)
{
    Fake_Recordf("DefWindowProcA(0x%04x)", message);
    if (message == WM_CLOSE && s_fake.windowProc)
        s_fake.windowProc(window, WM_DESTROY, 0, 0);
    return FAKE_RESULT_DEFAULT;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Fake_Recordf("SendMessageA(0x%04x, %d, %d)", message, (int)wParam, (int)lParam);
    return s_fake.windowProc ? s_fake.windowProc(window, message, wParam, lParam) : 0;
}

void WINAPI PostQuitMessage(int code)
{
    Fake_Recordf("PostQuitMessage(%d)", code);
    MSG msg = {};
    msg.message = WM_QUIT;
    msg.wParam = (WPARAM)code;
    s_fake.queue.push_back(msg);
}

BOOL WINAPI SetWindowTextA(HWND, LPCSTR text)
{
    Fake_Recordf("SetWindowTextA(%s)", text);
    return TRUE;
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    Fake_Recordf("LoadImageA(%d, %d, %u, %d, %d, %u)", instance == FAKE_INSTANCE,
                 (int)(uintptr_t)name, type, cx, cy, flags);
    return (HANDLE)(uintptr_t)(0x3000 + cx);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    Fake_Recordf("LoadCursorA(%d, %d)", instance != 0, (int)(uintptr_t)name);
    return (HCURSOR)(uintptr_t)0x3100;
}

BOOL WINAPI InvalidateRect(HWND, const RECT *rect, BOOL erase)
{
    Fake_Recordf("InvalidateRect(%s, %d)", rect ? "rect" : "all", erase);
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND window, const RECT *rect, void *region, UINT flags)
{
    Fake_Recordf("RedrawWindow(%s, %s, 0x%04x)", rect ? "rect" : "all", region ? "rgn" : "none",
                 flags);
    // An immediate update paints inside the call.
    if ((flags & RDW_UPDATENOW) && s_fake.windowProc)
        s_fake.windowProc(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC WINAPI BeginPaint(HWND, PAINTSTRUCT *paint)
{
    Fake_Record("BeginPaint()");
    memset(paint, 0, sizeof *paint);
    paint->hdc = FAKE_DC;
    return FAKE_DC;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT *)
{
    Fake_Record("EndPaint()");
    return TRUE;
}

HDC WINAPI GetDC(HWND)
{
    Fake_Record("GetDC()");
    return FAKE_DC;
}

// ---- gdi32 ----

HGDIOBJ WINAPI GetStockObject(int object)
{
    Fake_Recordf("GetStockObject(%d)", object);
    return (HGDIOBJ)(uintptr_t)(0x5000 + object);
}

UINT WINAPI RealizePalette(HDC dc)
{
    Fake_Recordf("RealizePalette(%s)", Fake_Name(dc).c_str());
    return 0;
}

} // extern "C"

// ---- drawing ----

#define FAKE_STOCK_BITMAP ((uintptr_t)0x9000) // what a new memory DC holds

static uintptr_t Fake_NewObject(char kind)
{
    uintptr_t handle = s_fake.nextHandle++;
    s_fake.objects[handle].kind = kind;
    return handle;
}

int Fake_LiveObjects(char kind)
{
    int n = 0;
    for (const auto &entry : s_fake.objects)
        n += entry.second.kind == kind;
    return n;
}

std::string Fake_Name(const void *handle)
{
    uintptr_t h = (uintptr_t)handle;
    if (!h)
        return "null";
    if (handle == FAKE_DC)
        return "window";
    if (h == FAKE_STOCK_BITMAP)
        return "stockbitmap";
    auto it = s_fake.objects.find(h);
    const char *kind = it == s_fake.objects.end() ? "dead"
                       : it->second.kind == 'D'   ? "dc"
                       : it->second.kind == 'B'   ? "bmp"
                       : it->second.kind == 'I'   ? "dib"
                                                  : "pal";
    return kind + std::to_string(h - 0x10000 + 1);
}

static bool Fake_Fails(int &calls, int failAt)
{
    return ++calls == failAt;
}

extern "C" {

HPALETTE WINAPI CreatePalette(const LOGPALETTE *palette)
{
    HPALETTE handle = (HPALETTE)Fake_NewObject('P');
    Fake_Recordf("CreatePalette(0x%x, %u) = %s", palette->palVersion, palette->palNumEntries,
                 Fake_Name(handle).c_str());
    return handle;
}

HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL background)
{
    Fake_Recordf("SelectPalette(%s, %s, %d)", Fake_Name(dc).c_str(), Fake_Name(palette).c_str(),
                 background);
    return 0;
}

UINT WINAPI SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY *entries)
{
    std::string text = "SetPaletteEntries(" + Fake_Name(palette) + ", " + std::to_string(start) +
                       ", " + std::to_string(count);
    char entry[16];
    for (UINT i = 0; i < count; i++) {
        snprintf(entry, sizeof entry, " %02x%02x%02x%02x", entries[i].peRed, entries[i].peGreen,
                 entries[i].peBlue, entries[i].peFlags);
        text += entry;
    }
    Fake_Record(text + ")");
    return count;
}

int WINAPI GetDeviceCaps(HDC, int index)
{
    return index == RASTERCAPS ? s_fake.rasterCaps : 0;
}

HDC WINAPI CreateCompatibleDC(HDC dc)
{
    if (Fake_Fails(s_fake.callsCompatibleDC, s_fake.failCompatibleDC)) {
        Fake_Recordf("CreateCompatibleDC(%s) = null", Fake_Name(dc).c_str());
        return 0;
    }
    uintptr_t handle = Fake_NewObject('D');
    s_fake.objects[handle].selected = FAKE_STOCK_BITMAP;
    Fake_Recordf("CreateCompatibleDC(%s) = %s", Fake_Name(dc).c_str(),
                 Fake_Name((void *)handle).c_str());
    return (HDC)handle;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height)
{
    HBITMAP handle = 0;
    if (!Fake_Fails(s_fake.callsCompatibleBitmap, s_fake.failCompatibleBitmap))
        handle = (HBITMAP)Fake_NewObject('B');
    Fake_Recordf("CreateCompatibleBitmap(%s, %d, %d) = %s", Fake_Name(dc).c_str(), width, height,
                 Fake_Name(handle).c_str());
    return handle;
}

HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits, HANDLE,
                                DWORD)
{
    // Either header form: the core one (12 bytes, RGB triplets) or the usual one.
    const BITMAPINFOHEADER &h = info->bmiHeader;
    bool core = h.biSize == sizeof(BITMAPCOREHEADER);
    const BITMAPCOREHEADER *c = (const BITMAPCOREHEADER *)info;
    LONG width = core ? c->bcWidth : h.biWidth;
    LONG height = core ? c->bcHeight : h.biHeight;
    unsigned bitCount = core ? c->bcBitCount : h.biBitCount;
    unsigned used = core ? 0 : h.biClrUsed;
    if (Fake_Fails(s_fake.callsDIBSection, s_fake.failDIBSection) || s_fake.dibSectionsFail) {
        Fake_Recordf("CreateDIBSection(%s, %d, %d, %u, %u, %u) = null", Fake_Name(dc).c_str(),
                     width, height, bitCount, used, usage);
        *bits = 0;
        return 0;
    }
    uintptr_t handle = Fake_NewObject('I');
    FakePlatform::Object &o = s_fake.objects[handle];
    size_t rows = (size_t)(height < 0 ? -height : height);
    o.bits.assign(rows * (((size_t)width * bitCount + 31) / 32 * 4), 0);
    o.colorTable.assign(used ? used : 1u << bitCount, RGBQUAD{0, 0, 0, 0});
    if (usage == DIB_RGB_COLORS) // palette indices would take the selected palette's colours
        for (size_t i = 0; i < o.colorTable.size(); i++) {
            if (core) {
                const RGBTRIPLE &t = ((const RGBTRIPLE *)(c + 1))[i];
                o.colorTable[i] = RGBQUAD{t.rgbtBlue, t.rgbtGreen, t.rgbtRed, 0};
            } else {
                o.colorTable[i] = info->bmiColors[i];
            }
        }
    *bits = o.bits.data();
    Fake_Recordf("CreateDIBSection(%s, %d, %d, %u, %u, %u) = %s", Fake_Name(dc).c_str(), width,
                 height, bitCount, used, usage, Fake_Name((void *)handle).c_str());
    return (HBITMAP)handle;
}

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void *)
{
    HBITMAP handle = 0;
    if (!Fake_Fails(s_fake.callsBitmap, s_fake.failBitmap))
        handle = (HBITMAP)Fake_NewObject('B');
    Fake_Recordf("CreateBitmap(%d, %d, %u, %u) = %s", width, height, planes, bitsPerPixel,
                 Fake_Name(handle).c_str());
    return handle;
}

LONG WINAPI SetBitmapBits(HBITMAP bitmap, DWORD count, const void *bits)
{
    Fake_Recordf("SetBitmapBits(%s, %u, %02x)", Fake_Name(bitmap).c_str(), count,
                 *(const uint8_t *)bits);
    return (LONG)count;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object)
{
    auto it = s_fake.objects.find((uintptr_t)dc);
    bool fails =
        Fake_Fails(s_fake.callsSelect, s_fake.failSelect) || it == s_fake.objects.end() || !object;
    uintptr_t previous = fails ? 0 : it->second.selected;
    if (!fails)
        it->second.selected = (uintptr_t)object;
    Fake_Recordf("SelectObject(%s, %s) = %s", Fake_Name(dc).c_str(), Fake_Name(object).c_str(),
                 Fake_Name((void *)previous).c_str());
    return (HGDIOBJ)previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    Fake_Recordf("DeleteObject(%s)", Fake_Name(object).c_str());
    return s_fake.objects.erase((uintptr_t)object) == 1;
}

BOOL WINAPI DeleteDC(HDC dc)
{
    Fake_Recordf("DeleteDC(%s)", Fake_Name(dc).c_str());
    return s_fake.objects.erase((uintptr_t)dc) == 1;
}

// The colour table of the DIB selected in a DC, or null.
static std::vector<RGBQUAD> *Fake_SelectedColorTable(HDC dc)
{
    auto it = s_fake.objects.find((uintptr_t)dc);
    if (it == s_fake.objects.end())
        return nullptr;
    auto bitmap = s_fake.objects.find(it->second.selected);
    if (bitmap == s_fake.objects.end() || bitmap->second.kind != 'I')
        return nullptr;
    return &bitmap->second.colorTable;
}

UINT WINAPI GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD *colors)
{
    std::vector<RGBQUAD> *table = Fake_SelectedColorTable(dc);
    UINT n = 0;
    for (; table && start + n < table->size() && n < count; n++)
        colors[n] = (*table)[start + n];
    Fake_Recordf("GetDIBColorTable(%s, %u, %u) = %u", Fake_Name(dc).c_str(), start, count, n);
    return n;
}

UINT WINAPI SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD *colors)
{
    std::vector<RGBQUAD> *table = Fake_SelectedColorTable(dc);
    UINT n = 0;
    for (; table && start + n < table->size() && n < count; n++)
        (*table)[start + n] = colors[n];
    std::string text = "SetDIBColorTable(" + Fake_Name(dc) + ", " + std::to_string(start) + ", " +
                       std::to_string(count);
    char entry[16];
    for (UINT i = 0; i < count && i < 24; i++) {
        snprintf(entry, sizeof entry, " %02x%02x%02x%02x", colors[i].rgbRed, colors[i].rgbGreen,
                 colors[i].rgbBlue, colors[i].rgbReserved);
        text += entry;
    }
    Fake_Record(text + ")");
    return n;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color)
{
    Fake_Recordf("SetBkColor(%s, %06x)", Fake_Name(dc).c_str(), color);
    return 0xFFFFFF;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color)
{
    Fake_Recordf("SetTextColor(%s, %06x)", Fake_Name(dc).c_str(), color);
    return 0;
}

BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop)
{
    Fake_Recordf("BitBlt(%s, %d, %d, %d, %d, %s, %d, %d, %08x)", Fake_Name(dest).c_str(), x, y,
                 width, height, Fake_Name(source).c_str(), sourceX, sourceY, rop);
    return TRUE;
}

BOOL WINAPI StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, DWORD rop)
{
    Fake_Recordf("StretchBlt(%s, %d, %d, %d, %d, %s, %d, %d, %d, %d, %08x)",
                 Fake_Name(dest).c_str(), x, y, width, height, Fake_Name(source).c_str(), sourceX,
                 sourceY, sourceWidth, sourceHeight, rop);
    return TRUE;
}

BOOL WINAPI MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, HBITMAP mask, int maskX, int maskY, DWORD rop4)
{
    Fake_Recordf("MaskBlt(%s, %d, %d, %d, %d, %s, %d, %d, %s, %d, %d, %08x)",
                 Fake_Name(dest).c_str(), x, y, width, height, Fake_Name(source).c_str(), sourceX,
                 sourceY, Fake_Name(mask).c_str(), maskX, maskY, rop4);
    return TRUE;
}

} // extern "C"

// ---- input, display and window geometry ----

extern "C" {

SHORT WINAPI GetKeyState(int key)
{
    return s_fake.keyState[key & 0xFF];
}

HWND WINAPI GetCapture(void)
{
    return s_fake.capture;
}

HWND WINAPI SetCapture(HWND window)
{
    Fake_Record("SetCapture()");
    HWND previous = s_fake.capture;
    s_fake.capture = window;
    return previous;
}

BOOL WINAPI ReleaseCapture(void)
{
    Fake_Record("ReleaseCapture()");
    s_fake.capture = nullptr;
    return TRUE;
}

HWND WINAPI SetFocus(HWND)
{
    Fake_Record("SetFocus()");
    return nullptr;
}

int WINAPI GetSystemMetrics(int index)
{
    return index == SM_CXSCREEN   ? s_fake.screenWidth
           : index == SM_CYSCREEN ? s_fake.screenHeight
                                  : 0;
}

LONG WINAPI GetWindowLongA(HWND, int index)
{
    return index == GWL_STYLE ? s_fake.windowStyle : 0;
}

LONG WINAPI SetWindowLongA(HWND, int index, LONG value)
{
    Fake_Recordf("SetWindowLongA(%d, 0x%08x)", index, (unsigned)value);
    LONG previous = s_fake.windowStyle;
    if (index == GWL_STYLE)
        s_fake.windowStyle = value;
    return previous;
}

BOOL WINAPI GetWindowRect(HWND, RECT *rect)
{
    *rect = s_fake.windowRect;
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND, HWND after, int x, int y, int width, int height, UINT flags)
{
    Fake_Recordf("SetWindowPos(%d, %d, %d, %d, %d, 0x%04x)", (int)(intptr_t)after, x, y, width,
                 height, flags);
    return TRUE;
}

int WINAPI ShowCursor(BOOL show)
{
    Fake_Recordf("ShowCursor(%d)", show);
    s_fake.cursorCount += show ? 1 : -1;
    return s_fake.cursorCount;
}

BOOL WINAPI EnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA *settings)
{
    if (device || mode >= s_fake.displayModes.size())
        return FALSE;
    settings->dmPelsWidth = s_fake.displayModes[mode].first;
    settings->dmPelsHeight = s_fake.displayModes[mode].second;
    settings->dmBitsPerPel = 32 - 8 * mode; // something else per mode, passed through
    return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *settings, DWORD flags)
{
    if (!settings) {
        Fake_Recordf("ChangeDisplaySettingsA(null, %u)", flags);
        return DISP_CHANGE_SUCCESSFUL;
    }
    Fake_Recordf("ChangeDisplaySettingsA(%ux%u, size %u, %u)", settings->dmPelsWidth,
                 settings->dmPelsHeight, settings->dmSize, flags);
    if (s_fake.changeResult == DISP_CHANGE_SUCCESSFUL) {
        s_fake.screenWidth = (int)settings->dmPelsWidth;
        s_fake.screenHeight = (int)settings->dmPelsHeight;
    }
    return s_fake.changeResult;
}

UINT WINAPI joyGetNumDevs(void)
{
    return s_fake.joystickIds;
}

UINT WINAPI joyGetPosEx(UINT id, JOYINFOEX *info)
{
    s_fake.joystickQueries.push_back(id);
    auto it = s_fake.joysticks.find(id);
    if (it == s_fake.joysticks.end() || it->second.result != JOYERR_NOERROR)
        return it == s_fake.joysticks.end() ? 165 : it->second.result;
    JOYINFOEX state = it->second.state;
    state.dwSize = info->dwSize;
    state.dwFlags = info->dwFlags;
    *info = state;
    return JOYERR_NOERROR;
}

int WINAPI SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void *,
                     const BITMAPINFO *info, UINT usage)
{
    const BITMAPCOREHEADER *core = (const BITMAPCOREHEADER *)info;
    Fake_Recordf("SetDIBits(%s, %s, %u, %u, core %u, %u bits, %u)", Fake_Name(dc).c_str(),
                 Fake_Name(bitmap).c_str(), start, lines, core->bcSize, core->bcBitCount, usage);
    return (int)lines;
}

BOOL WINAPI PlgBlt(HDC dest, const POINT *points, HDC source, int sourceX, int sourceY, int width,
                   int height, HBITMAP mask, int, int)
{
    Fake_Recordf("PlgBlt(%s, (%d,%d) (%d,%d) (%d,%d), %s, %d, %d, %d, %d, %s)",
                 Fake_Name(dest).c_str(), points[0].x, points[0].y, points[1].x, points[1].y,
                 points[2].x, points[2].y, Fake_Name(source).c_str(), sourceX, sourceY, width,
                 height, Fake_Name(mask).c_str());
    return TRUE;
}

} // extern "C"
