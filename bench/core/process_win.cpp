// What the benchmarks read of the process on Windows. The soak's count of GDI objects, where the
// platform's own count answers nothing useful under Wine: the program's and this core's imports
// of the GDI's creation and deletion functions are pointed at counting stand-ins.
#include "bench/core/bench.h"
#include "tests/core/testcore.h"

#include <psapi.h>

static struct {
    bool hooked;
    int32_t live; // creations less deletions since the import tables were hooked
} s_count;

// The real GDI functions, found before the import tables were pointed elsewhere (calls from
// this file go through this module's table too).
static struct {
    HDC(WINAPI *createCompatibleDC)(HDC);
    HBITMAP(WINAPI *createCompatibleBitmap)(HDC, int, int);
    HBITMAP(WINAPI *createDIBSection)(HDC, const BITMAPINFO *, UINT, void **, HANDLE, DWORD);
    HBITMAP(WINAPI *createBitmap)(int, int, UINT, UINT, const void *);
    HPALETTE(WINAPI *createPalette)(const LOGPALETTE *);
    BOOL(WINAPI *deleteDC)(HDC);
    BOOL(WINAPI *deleteObject)(HGDIOBJ);
} s_gdi;

template <typename T> static T Count_Made(T object)
{
    s_count.live += object != 0;
    return object;
}

static HDC WINAPI Count_CreateCompatibleDC(HDC dc)
{
    return Count_Made(s_gdi.createCompatibleDC(dc));
}

static HBITMAP WINAPI Count_CreateCompatibleBitmap(HDC dc, int width, int height)
{
    return Count_Made(s_gdi.createCompatibleBitmap(dc, width, height));
}

static HBITMAP WINAPI Count_CreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage,
                                             void **bits, HANDLE section, DWORD offset)
{
    return Count_Made(s_gdi.createDIBSection(dc, info, usage, bits, section, offset));
}

static HBITMAP WINAPI Count_CreateBitmap(int width, int height, UINT planes, UINT bits,
                                         const void *data)
{
    return Count_Made(s_gdi.createBitmap(width, height, planes, bits, data));
}

static HPALETTE WINAPI Count_CreatePalette(const LOGPALETTE *palette)
{
    return Count_Made(s_gdi.createPalette(palette));
}

static BOOL WINAPI Count_DeleteDC(HDC dc)
{
    BOOL done = s_gdi.deleteDC(dc);
    s_count.live -= done != 0;
    return done;
}

static BOOL WINAPI Count_DeleteObject(HGDIOBJ object)
{
    BOOL done = s_gdi.deleteObject(object);
    s_count.live -= done != 0;
    return done;
}

// Points the modules' imports of the GDI functions above at their counting stand-ins.
static void Count_HookImports(HMODULE program, HMODULE self)
{
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    const struct {
        const char *name;
        void *replacement;
        void **original;
    } hooks[] = {
        {"CreateCompatibleDC", (void *)Count_CreateCompatibleDC,
         (void **)&s_gdi.createCompatibleDC},
        {"CreateCompatibleBitmap", (void *)Count_CreateCompatibleBitmap,
         (void **)&s_gdi.createCompatibleBitmap},
        {"CreateDIBSection", (void *)Count_CreateDIBSection, (void **)&s_gdi.createDIBSection},
        {"CreateBitmap", (void *)Count_CreateBitmap, (void **)&s_gdi.createBitmap},
        {"CreatePalette", (void *)Count_CreatePalette, (void **)&s_gdi.createPalette},
        {"DeleteDC", (void *)Count_DeleteDC, (void **)&s_gdi.deleteDC},
        {"DeleteObject", (void *)Count_DeleteObject, (void **)&s_gdi.deleteObject}};
    for (const auto &h : hooks)
        *h.original = (void *)GetProcAddress(gdi, h.name);
    HMODULE modules[2] = {program, self};
    for (HMODULE module : modules) {
        BYTE *base = (BYTE *)module;
        IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
        IMAGE_DATA_DIRECTORY *dir = &nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + dir->VirtualAddress);
        for (; dir->VirtualAddress && d->Name; d++)
            for (IMAGE_THUNK_DATA *t = (IMAGE_THUNK_DATA *)(base + d->FirstThunk); t->u1.Function;
                 t++)
                for (const auto &h : hooks)
                    if ((void *)t->u1.Function == *h.original) {
                        DWORD old;
                        VirtualProtect(&t->u1.Function, sizeof(void *), PAGE_READWRITE, &old);
                        t->u1.Function = (DWORD_PTR)h.replacement;
                        VirtualProtect(&t->u1.Function, sizeof(void *), old, &old);
                    }
    }
}

int32_t Bench_GdiObjects(void)
{
    if (!s_count.hooked) {
        HMODULE self = NULL;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           (LPCSTR)(void *)Bench_GdiObjects, &self);
        Count_HookImports(GetModuleHandleA(NULL), self);
        s_count.hooked = true;
    }
    return s_count.live;
}

uint64_t Bench_CpuMicros(void)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    uint64_t k = (uint64_t)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime;
    uint64_t u = (uint64_t)user.dwHighDateTime << 32 | user.dwLowDateTime;
    return (k + u) / 10;
}

void Bench_Resources(uint64_t *residentBytes, int64_t *heapBytes, int32_t *handles,
                     int32_t *gdiObjects)
{
    *heapBytes = -1; // the process heap is Wine's as much as the program's
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    *residentBytes = memory.WorkingSetSize;
    DWORD count = 0;
    *handles = GetProcessHandleCount(GetCurrentProcess(), &count) ? (int32_t)count : -1;
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    *gdiObjects = gdi ? (int32_t)gdi : -1;
}
