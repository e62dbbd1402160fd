// Modules of the native build: the program itself, "Kernel32" with the performance counter,
// "WinMM" with its timer functions, and no other library; any of them can be hidden.
#include "platform/sdl/system.h"

#include <dlfcn.h>
#include <strings.h>

BOOL WINAPI Clock_QueryPerformanceCounter(LARGE_INTEGER *value);
BOOL WINAPI Clock_QueryPerformanceFrequency(LARGE_INTEGER *value);
UINT WINAPI Clock_TimeBeginPeriod(UINT period);
UINT WINAPI Clock_TimeEndPeriod(UINT period);
DWORD WINAPI Clock_TimeGetTime(void);

enum { MODULE_PROGRAM, MODULE_KERNEL32, MODULE_WINMM, MODULE_COUNT, MODULE_FUNCTIONS = 3 };

typedef struct {
    const char *function;
    FARPROC address;
} ModuleFunction;

typedef struct {
    const char *names[2]; // accepted names, with and without ".dll"
    uintptr_t handle;     // where Windows would map it
    bool loadable;        // LoadLibraryA finds it (the program is only "loaded" by name)
    ModuleFunction functions[MODULE_FUNCTIONS];
} Module;

static const Module MODULES[MODULE_COUNT] = {
    {{"", ""}, 0x00400000, false, {}}, // the program: its exports through dlsym
    {{"kernel32", "kernel32.dll"},
     0x7B600000,
     true,
     {{"QueryPerformanceCounter", (FARPROC)(void *)Clock_QueryPerformanceCounter},
      {"QueryPerformanceFrequency", (FARPROC)(void *)Clock_QueryPerformanceFrequency},
      {}}},
    {{"winmm", "winmm.dll"},
     0x6F240000,
     true,
     {{"timeBeginPeriod", (FARPROC)(void *)Clock_TimeBeginPeriod},
      {"timeEndPeriod", (FARPROC)(void *)Clock_TimeEndPeriod},
      {"timeGetTime", (FARPROC)(void *)Clock_TimeGetTime}}},
};

enum { MODULE_HIDDEN_FUNCTIONS = 8 };

static struct {
    bool hidden[MODULE_COUNT];
    int loads[MODULE_COUNT]; // LoadLibraryA successes not yet freed
    struct {
        int module;
        char function[64];
    } hiddenFunctions[MODULE_HIDDEN_FUNCTIONS];
} s_modules;

// The module a name means; -1 for any other library.
static int Module_ByName(const char *name)
{
    if (!name)
        return -1;
    for (int i = MODULE_KERNEL32; i < MODULE_COUNT; i++)
        for (int n = 0; n < 2; n++)
            if (strcasecmp(name, MODULES[i].names[n]) == 0)
                return i;
    return -1;
}

static int Module_ByHandle(HMODULE module)
{
    for (int i = 0; i < MODULE_COUNT; i++)
        if ((uintptr_t)module == MODULES[i].handle)
            return i;
    return -1;
}

static bool Module_FunctionHidden(int module, const char *function)
{
    for (int i = 0; i < MODULE_HIDDEN_FUNCTIONS; i++)
        if (s_modules.hiddenFunctions[i].function[0] &&
            s_modules.hiddenFunctions[i].module == module &&
            strcmp(s_modules.hiddenFunctions[i].function, function) == 0)
            return true;
    return false;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name)
{
    if (!name)
        return (HMODULE)MODULES[MODULE_PROGRAM].handle;
    int module = Module_ByName(name);
    if (module < 0 || s_modules.hidden[module])
        return NULL;
    // Kernel32 is always mapped; WinMM only once loaded.
    if (module == MODULE_WINMM && s_modules.loads[module] == 0)
        return NULL;
    return (HMODULE)MODULES[module].handle;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name)
{
    int module = Module_ByName(name);
    if (module < 0 || s_modules.hidden[module] || !MODULES[module].loadable)
        return NULL;
    s_modules.loads[module]++;
    return (HMODULE)MODULES[module].handle;
}

BOOL WINAPI FreeLibrary(HMODULE handle)
{
    int module = Module_ByHandle(handle);
    if (module < 0)
        return FALSE;
    if (s_modules.loads[module] > 0)
        s_modules.loads[module]--;
    return TRUE;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR name)
{
    int module = Module_ByHandle(handle);
    // Ordinals (names below 0x10000) are not offered.
    if (module < 0 || !name || (uintptr_t)name < 0x10000 || Module_FunctionHidden(module, name))
        return NULL;
    if (module == MODULE_PROGRAM) {
        // The program's own exports only, not what the libraries it loaded define.
        void *symbol = dlsym(RTLD_DEFAULT, name);
        Dl_info found, self;
        if (!symbol || !dladdr(symbol, &found) || !dladdr((void *)&GetProcAddress, &self) ||
            found.dli_fbase != self.dli_fbase)
            return NULL;
        return (FARPROC)symbol;
    }
    for (int i = 0; i < MODULE_FUNCTIONS; i++)
        if (MODULES[module].functions[i].function &&
            strcmp(MODULES[module].functions[i].function, name) == 0)
            return MODULES[module].functions[i].address;
    return NULL;
}

void Module_HideLibrary(const char *library, bool hidden)
{
    int module = Module_ByName(library);
    if (module >= 0)
        s_modules.hidden[module] = hidden;
}

void Module_HideFunction(const char *library, const char *function, bool hidden)
{
    int module = Module_ByName(library);
    if (module < 0 || !function || strlen(function) >= sizeof s_modules.hiddenFunctions[0].function)
        return;
    int freeSlot = -1;
    for (int i = 0; i < MODULE_HIDDEN_FUNCTIONS; i++) {
        char *slot = s_modules.hiddenFunctions[i].function;
        if (slot[0] && s_modules.hiddenFunctions[i].module == module && !strcmp(slot, function)) {
            if (!hidden)
                slot[0] = '\0';
            return;
        }
        if (!slot[0] && freeSlot < 0)
            freeSlot = i;
    }
    if (hidden && freeSlot >= 0) {
        s_modules.hiddenFunctions[freeSlot].module = module;
        strcpy(s_modules.hiddenFunctions[freeSlot].function, function);
    }
}
