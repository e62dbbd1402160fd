// The scripted core's log, record, expected calls, helpers and platform-neutral probes.
#include "tests/core/testcore.h"

#include <stdarg.h>

enum { RECORD_CAPACITY = 32768 };

static struct {
    RecordEvent events[RECORD_CAPACITY];
    uint32_t count, failures;
    bool overflowed, quiet;
} s_run;

static void Log_Write(const char *head, const char *format, va_list args)
{
    char line[1024];
    int used = snprintf(line, sizeof line, "%s", head);
    vsnprintf(line + used, sizeof line - 1 - used, format, args);
    strcat(line, "\n");
    const char *path = Probe_Env("TESTCORE_LOG");
    Probe_Append(path ? path : "testcore.log", line, (uint32_t)strlen(line));
}

void Log_Line(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    Log_Write("", format, args);
    va_end(args);
}

bool Log_Check(bool ok, const char *what, const char *format, ...)
{
    char head[256];
    snprintf(head, sizeof head, ok ? "ok %s" : "FAIL %s: ", what);
    va_list args;
    va_start(args, format);
    Log_Write(head, ok ? "" : format, args);
    va_end(args);
    s_run.failures += !ok;
    return ok;
}

void Log_Digest(const char *what, uint32_t hash)
{
    Log_Line("digest %s: %08x", what, (unsigned)hash);
}

uint32_t Log_Failures(void)
{
    return s_run.failures + (s_run.overflowed ? 1 : 0);
}

void Record_SetQuiet(void)
{
    s_run.quiet = true;
}

void Record_Add(uint32_t code, uint32_t a, uint32_t b)
{
    if (s_run.quiet && code != CALL_MESSAGE + WM_CLOSE && code != CALL_MESSAGE + WM_DESTROY)
        return;
    if (s_run.count == RECORD_CAPACITY) {
        if (!s_run.overflowed)
            Log_Line("FAIL record: more than %u events", (unsigned)RECORD_CAPACITY);
        s_run.overflowed = true;
        return;
    }
    s_run.events[s_run.count++] = RecordEvent{code, a, b};
}

void Record_Clear(void)
{
    s_run.count = 0;
}

uint32_t Record_Count(void)
{
    return s_run.count;
}

const RecordEvent *Record_Get(uint32_t index)
{
    return &s_run.events[index];
}

uint32_t Record_Find(uint32_t code, uint32_t from)
{
    while (from < s_run.count && s_run.events[from].code != code)
        from++;
    return from;
}

uint32_t Record_Tally(uint32_t code, uint32_t from, uint32_t to)
{
    uint32_t tally = 0;
    for (uint32_t i = from; i < to && i < s_run.count; i++)
        tally += s_run.events[i].code == code;
    return tally;
}

static const char *const RECORD_NAMES[CALL_COUNT] = {
    "Kernel_Initialize",   "Kernel_Step",        "GDCGraph_IsPaletteChanged",
    "GDCGraph_GetPalette", "GDCText_GetPalette", "GDCPal_GetColor",
    "GDC_RenderBuffer",    "GDC_RenderSep",      "Keyboard_Press",
    "Keyboard_Release",    "Input_Event",        "Mouse_Move",
    "Mouse_EnterWindow",   "Mouse_LeaveWindow",  "Mouse_IsInWindow",
    "Mouse_KeyPress",      "Mouse_KeyRelease"};

void Record_Dump(uint32_t from, uint32_t to)
{
    for (uint32_t i = from; i < to && i < s_run.count; i++) {
        const RecordEvent *e = &s_run.events[i];
        if (e->code < CALL_COUNT)
            Log_Line("  #%u %s(0x%x, %d)", i, RECORD_NAMES[e->code], e->a, (int)e->b);
        else
            Log_Line("  #%u message 0x%x (0x%x, 0x%x)", i, e->code - CALL_MESSAGE, e->a, e->b);
    }
}

// Input calls: keys and mouse; key calls: the keyboard functions and the key codes' events.
static bool Record_IsInput(const RecordEvent *e, bool keysOnly)
{
    return e->code >= CALL_KEYBOARD_PRESS && e->code < CALL_COUNT &&
           (!keysOnly || e->code == CALL_KEYBOARD_PRESS || e->code == CALL_KEYBOARD_RELEASE ||
            (e->code == CALL_INPUT_EVENT && e->a <= 0xFF));
}

bool Expect_Calls(const char *what, uint32_t from, const Expected *calls, bool keysOnly)
{
    uint32_t want = 0, got = 0;
    while (calls[want].code != 0)
        want++;
    bool same = true;
    for (uint32_t i = from; i < s_run.count; i++) {
        const RecordEvent *e = &s_run.events[i];
        const Expected *c = &calls[got < want ? got : want];
        if (Record_IsInput(e, keysOnly))
            same = got++ < want && same && c->code == e->code && c->a == e->a && c->b == e->b;
    }
    if (Log_Check(same && got == want, what, "%u calls, expected %u:", got, want))
        return true;
    for (uint32_t k = 0; k < want; k++)
        Log_Line("  expected %s(0x%x, %d)", RECORD_NAMES[calls[k].code], calls[k].a,
                 (int)calls[k].b);
    Record_Dump(from, s_run.count);
    return false;
}

uint32_t Test_Random(uint32_t *state)
{
    *state ^= *state << 13;
    *state ^= *state >> 17;
    *state ^= *state << 5;
    return *state;
}

uint32_t Test_Hash(uint32_t hash, const uint32_t *words, uint32_t count)
{
    for (uint32_t i = 0; i < count; i++)
        for (int byte = 0; byte < 4; byte++)
            hash = (hash ^ ((words[i] >> (8 * byte)) & 0xFF)) * 16777619u;
    return hash;
}

HBITMAP Test_MakeDIB(int width, int height, int bits, const RGBQUAD *colors, int count,
                     void **pixels)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info = {};
    // Top-down, as CreateBitmap's rows.
    info.header = {sizeof info.header, width, -height, 1, (WORD)bits, 0, 0, 0, 0, (DWORD)count, 0};
    if (count)
        memcpy(info.colors, colors, (size_t)count * sizeof(RGBQUAD));
    *pixels = NULL;
    return CreateDIBSection(0, (const BITMAPINFO *)&info, DIB_RGB_COLORS, pixels, 0, 0);
}

const char *Probe_Env(const char *name)
{
    return getenv(name);
}

bool Probe_Append(const char *path, const char *text, uint32_t length)
{
    FILE *file = fopen(path, "ab"); // opened and closed each time: nothing waits in a buffer
    bool written = file && fwrite(text, 1, length, file) == length;
    return (file && fclose(file) == 0) && written;
}

void Probe_SetClientSize(HWND window, int width, int height)
{
    RECT outer, frame = {0, 0, width, height};
    GetWindowRect(window, &outer);
    AdjustWindowRect(&frame, (DWORD)GetWindowLongA(window, GWL_STYLE), FALSE);
    width = frame.right - frame.left;
    height = frame.bottom - frame.top;
    // Drawing off the screen is clipped, and the picture must be read back whole.
    bool fits = outer.left + width <= GetSystemMetrics(SM_CXSCREEN) &&
                outer.top + height <= GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(window, 0, fits ? outer.left : 0, fits ? outer.top : 0, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
