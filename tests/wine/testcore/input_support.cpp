// Input tests' helpers: expected call lists checked against the record, and real input injected.
#include "core/core.h"
#include "testcore.h"
#include "input_support.h"

bool Expect_IsInputCall(const RecordEvent *event)
{
    return event->kind == RECORD_CALL && event->code >= CALL_KEYBOARD_PRESS &&
           event->code < CALL_COUNT;
}

uint32_t Expect_CountInputCalls(uint32_t from)
{
    uint32_t count = 0;
    for (uint32_t i = from; i < Record_Count(); i++)
        count += Expect_IsInputCall(Record_Get(i));
    return count;
}

void Expect_Dump(const ExpectedCall *calls, uint32_t count)
{
    for (uint32_t i = 0; i < count; i++)
        Log_Line("  expected %s(0x%x, 0x%x)", Record_CallName(calls[i].call), calls[i].a,
                 calls[i].b);
}

static bool Expect_IsKeyCall(const RecordEvent *event)
{
    return event->kind == RECORD_CALL &&
           (event->code == CALL_KEYBOARD_PRESS || event->code == CALL_KEYBOARD_RELEASE ||
            (event->code == CALL_INPUT_EVENT && event->a <= 0xFF));
}

// The calls that pass the test, from index from on, must be exactly the list.
static bool Expect_Calls(const char *what, uint32_t from, const ExpectedCall *calls, uint32_t count,
                         bool (*counts)(const RecordEvent *))
{
    uint32_t matched = 0, got = 0;
    bool same = true;
    for (uint32_t i = from; i < Record_Count(); i++) {
        const RecordEvent *event = Record_Get(i);
        if (!counts(event))
            continue;
        got++;
        if (!same || matched == count)
            continue;
        const ExpectedCall *want = &calls[matched];
        same = event->code == want->call && event->a == want->a && event->b == want->b;
        matched += same;
    }
    if (Log_Check(matched == count && got == count, what, "%u of %u calls as expected, %u recorded",
                  matched, count, got))
        return true;
    // Both lists, to see where they part.
    Expect_Dump(calls, count);
    for (uint32_t i = from; i < Record_Count(); i++) {
        const RecordEvent *event = Record_Get(i);
        if (counts(event))
            Log_Line("  recorded #%u %s(0x%x, 0x%x)", i, Record_CallName(event->code), event->a,
                     event->b);
    }
    return false;
}

bool Expect_InputCalls(const char *what, uint32_t from, const ExpectedCall *calls, uint32_t count)
{
    return Expect_Calls(what, from, calls, count, Expect_IsInputCall);
}

bool Expect_KeyCalls(const char *what, uint32_t from, const ExpectedCall *calls, uint32_t count)
{
    return Expect_Calls(what, from, calls, count, Expect_IsKeyCall);
}

void Inject_Key(uint16_t vk, bool up, bool extended)
{
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof input);
}

void Inject_MouseTo(HWND window, int x, int y, uint32_t buttons)
{
    POINT at = {x, y};
    ClientToScreen(window, &at);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input;
    memset(&input, 0, sizeof input);
    input.type = INPUT_MOUSE;
    // Absolute positions run 0..65535 over the screen: round up so that the pixel is exact.
    input.mi.dx = (at.x * 65536 + width - 1) / width;
    input.mi.dy = (at.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
}

void Keys_SetDown(uint8_t vk, bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void Keys_ClearAll(void)
{
    BYTE keys[256];
    memset(keys, 0, sizeof keys);
    SetKeyboardState(keys);
}

const char *Expect_ReadStdout(void)
{
    static char contents[65536];
    char path[MAX_PATH];
    if (!Env_Get("TESTCORE_LOG", path, sizeof path))
        return NULL;
    size_t length = strlen(path);
    if (length < 4 || strcmp(path + length - 4, ".log") != 0 || length + 4 >= sizeof path)
        return NULL;
    strcpy(path + length - 4, ".stdout");
    // The program and this library share the runtime's stdout: its buffer holds recent lines.
    fflush(stdout);
    if (!File_Read(path, contents, sizeof contents))
        return NULL;
    return contents;
}

bool Expect_HasLineStarting(const char *text, const char *start)
{
    size_t length = strlen(start);
    for (const char *at = text; at && (at = strstr(at, start)) != NULL; at += length)
        if (at == text || at[-1] == '\n')
            return true;
    return false;
}

static uint32_t Model_Add(ExpectedCall *calls, uint32_t count, uint32_t call, uint32_t a,
                          uint32_t b)
{
    calls[count].call = call;
    calls[count].a = a;
    calls[count].b = b;
    return count + 1;
}

static int32_t Model_Clamp(int32_t value, int32_t high)
{
    return value < 0 ? 0 : value > high ? high : value;
}

static uint32_t Model_Leave(MouseModel *model, ExpectedCall *calls, uint32_t count)
{
    model->capture = false;
    model->inside = false;
    return Model_Add(calls, count, CALL_MOUSE_LEAVEWINDOW, 0, 0);
}

static uint32_t Model_Move(MouseModel *model, WPARAM wParam, LPARAM lParam, ExpectedCall *calls,
                           uint32_t count)
{
    uint32_t x = lParam & 0xFFFF, y = (lParam >> 16) & 0xFFFF;
    // Column 0 and row 0 are outside, like everything past 639 x 399 and all negatives.
    if (x >= 1 && x <= 639 && y >= 1 && y <= 399) {
        count = Model_Add(calls, count, CALL_MOUSE_MOVE, x, y);
        model->capture = true;
        count = Model_Add(calls, count, CALL_MOUSE_ISINWINDOW, model->inside, 0);
        if (!model->inside)
            count = Model_Add(calls, count, CALL_MOUSE_ENTERWINDOW, 0, 0);
        model->inside = true;
        return count;
    }
    if (wParam & (MK_LBUTTON | MK_RBUTTON))
        return Model_Add(calls, count, CALL_MOUSE_MOVE, Model_Clamp((int16_t)x, 639),
                         Model_Clamp((int16_t)y, 399));
    return Model_Leave(model, calls, count);
}

uint32_t Model_MouseMessage(MouseModel *model, UINT message, WPARAM wParam, LPARAM lParam,
                            ExpectedCall *calls)
{
    uint32_t count = 0;
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return Model_Move(model, wParam, lParam, calls, 0);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        count = Model_Move(model, wParam, lParam, calls, 0);
        return Model_Add(calls, count, CALL_MOUSE_KEYPRESS, message == WM_LBUTTONDOWN ? 1 : 2, 0);
    case WM_LBUTTONUP:
        // The left button goes up before the position is updated, the right one after.
        count = Model_Add(calls, 0, CALL_MOUSE_KEYRELEASE, 1, 0);
        return Model_Move(model, wParam, lParam, calls, count);
    case WM_RBUTTONUP:
        count = Model_Move(model, wParam, lParam, calls, 0);
        return Model_Add(calls, count, CALL_MOUSE_KEYRELEASE, 2, 0);
    case WM_MOUSELEAVE:
        return Model_Leave(model, calls, 0);
    }
    return 0;
}
