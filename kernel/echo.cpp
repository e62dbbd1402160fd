// Keeps what the core has been told and writes it onto the test card's text page.
#include "core/core.h"
#include "kernel/card.h"
#include "kernel/echo.h"
#include "kernel/frame.h"

namespace {

enum {
    LOG_LINES = 6,  // input calls listed, newest first
    JOYSTICKS = 16, // device numbers 0..15 of the event codes
    AXES = 6,
    LINE = FRAME_TEXT_COLUMNS + 1 // a page line and its NUL
};

// Text colours on the page.
enum { TEXT_NEWEST = 6, TEXT_LOG = 5, TEXT_LABEL = 7, TEXT_STATUS = 4 };

enum LogKind : uint8_t { LOG_KEY_DOWN, LOG_KEY_UP, LOG_EVENT, LOG_BUTTON_DOWN, LOG_BUTTON_UP };

struct LogEntry {
    uint8_t kind;
    uint32_t code;
    uint32_t value;
};

struct Joystick {
    uint32_t down[8]; // group codes 0x00..0xFF held: buttons 0..31, then hat codes
    uint8_t axes[AXES];
};

struct EchoState {
    LogEntry log[LOG_LINES]; // ring: the newest at (logCount - 1) % LOG_LINES
    uint32_t logCount;
    uint32_t keysDown[8]; // virtual-key codes held
    int32_t mouseX, mouseY;
    uint8_t inside;
    uint8_t buttons; // bit 0 left, bit 1 right
    uint32_t enters, leaves;
    Joystick joysticks[JOYSTICKS];
    int joystickSeen;
    int lastJoystick; // device of the latest joystick event
    int hasTail;
    char tail[LINE];
};

EchoState echo = {};

// Names of the keys whose code alone says little.
struct KeyName {
    uint8_t vk;
    const char *name;
};
const KeyName KEY_NAMES[] = {
    {0x08, "BACKSPACE"}, {0x09, "TAB"},    {0x0D, "ENTER"}, {0x10, "SHIFT"},  {0x11, "CTRL"},
    {0x12, "ALT"},       {0x14, "CAPS"},   {0x1B, "ESC"},   {0x20, "SPACE"},  {0x25, "LEFT"},
    {0x26, "UP"},        {0x27, "RIGHT"},  {0x28, "DOWN"},  {0x2D, "INSERT"}, {0x2E, "DELETE"},
    {0xA0, "LSHIFT"},    {0xA1, "RSHIFT"}, {0xA2, "LCTRL"}, {0xA3, "RCTRL"},  {0xA4, "LALT"},
    {0xA5, "RALT"},
};
const char AXIS_NAMES[AXES] = {'X', 'Y', 'Z', 'R', 'U', 'V'};

bool Echo_Bit(const uint32_t *set, uint32_t n)
{
    return (set[(n >> 5) & 7] >> (n & 31)) & 1;
}

void Echo_SetBit(uint32_t *set, uint32_t n, int on)
{
    uint32_t bit = 1u << (n & 31);
    set[(n >> 5) & 7] = on ? set[(n >> 5) & 7] | bit : set[(n >> 5) & 7] & ~bit;
}

void Echo_Log(uint8_t kind, uint32_t code, uint32_t value)
{
    echo.log[echo.logCount % LOG_LINES] = LogEntry{kind, code, value};
    ++echo.logCount;
}

// A key's name: its letter or digit, a name from the table, or nothing.
void Echo_KeyName(uint32_t vk, char *out, size_t size)
{
    out[0] = 0;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        snprintf(out, size, "%c", (char)vk);
        return;
    }
    for (const KeyName &k : KEY_NAMES) {
        if (k.vk == vk) {
            snprintf(out, size, "%s", k.name);
            return;
        }
    }
}

const char *Echo_State(uint32_t value)
{
    return value == CORE_EVENT_PRESS ? "DOWN" : value == CORE_EVENT_RELEASE ? "UP" : "?";
}

// One input call as a line of the log.
void Echo_FormatEntry(const LogEntry &e, char *out, size_t size)
{
    char name[16];
    uint32_t group = e.code & ~0xFFFu;
    uint32_t device = (e.code >> 8) & 0xF;
    uint32_t low = e.code & 0xFF;
    switch (e.kind) {
    case LOG_KEY_DOWN:
    case LOG_KEY_UP:
        Echo_KeyName(e.code & 0xFF, name, sizeof name);
        snprintf(out, size, "KEY %-7s VK 0X%02X %s", e.kind == LOG_KEY_DOWN ? "PRESS" : "RELEASE",
                 (unsigned)e.code, name);
        return;
    case LOG_BUTTON_DOWN:
    case LOG_BUTTON_UP:
        snprintf(out, size, "MOUSE %-7s BUTTON %u %s",
                 e.kind == LOG_BUTTON_DOWN ? "PRESS" : "RELEASE", (unsigned)e.code,
                 e.code == 1   ? "LEFT"
                 : e.code == 2 ? "RIGHT"
                               : "?");
        return;
    }
    int n = snprintf(out, size, "EVENT 0X%04X = %-3u ", (unsigned)e.code, (unsigned)e.value);
    out += n;
    size -= (size_t)n;
    if (e.code <= CORE_EVENT_KEY_MASK) {
        Echo_KeyName(e.code, name, sizeof name);
        snprintf(out, size, "KEY %s %s", name, Echo_State(e.value));
    } else if (group == CORE_EVENT_JOY_BUTTON && low < 32) {
        snprintf(out, size, "JOY %u BUTTON %u %s", (unsigned)device, (unsigned)low,
                 Echo_State(e.value));
    } else if (group == CORE_EVENT_JOY_BUTTON) {
        snprintf(out, size, "JOY %u CODE 0X%02X %s", (unsigned)device, (unsigned)low,
                 Echo_State(e.value));
    } else if (group == CORE_EVENT_JOY_AXIS && low < AXES) {
        snprintf(out, size, "JOY %u AXIS %c", (unsigned)device, AXIS_NAMES[low]);
    } else {
        snprintf(out, size, "UNKNOWN");
    }
}

// Lists the members of a 256-bit set from `first` on, as hex codes, while they fit.
void Echo_FormatSet(const uint32_t *set, uint32_t first, char *out, size_t size)
{
    size_t used = 0;
    out[0] = 0;
    for (uint32_t n = first; n < 256; ++n) {
        if (!Echo_Bit(set, n))
            continue;
        if (used + 4 >= size) {
            snprintf(out + used, size - used, "+");
            return;
        }
        used += (size_t)snprintf(out + used, size - used, "%02X ", (unsigned)n);
    }
    if (used == 0)
        snprintf(out, size, "NONE");
}

void Echo_ShowInput(char *line)
{
    char set[48];
    Echo_FormatSet(echo.keysDown, 0, set, sizeof set);
    snprintf(line, LINE, "KEYS DOWN: %s", set);
    Card_Print(1, 8, TEXT_LABEL, line);
    Card_Print(1, 9, TEXT_LABEL, "INPUT, NEWEST FIRST:");
    uint32_t shown = echo.logCount < LOG_LINES ? echo.logCount : (uint32_t)LOG_LINES;
    for (uint32_t i = 0; i < shown; ++i) {
        Echo_FormatEntry(echo.log[(echo.logCount - 1 - i) % LOG_LINES], line, LINE);
        Card_Print(3, 10 + (int)i, i == 0 ? TEXT_NEWEST : TEXT_LOG, line);
    }

    snprintf(line, LINE, "MOUSE X %3d Y %3d  %s  LEFT %s  RIGHT %s", (int)echo.mouseX,
             (int)echo.mouseY, echo.inside ? "INSIDE " : "OUTSIDE",
             echo.buttons & 1 ? "DOWN" : "UP", echo.buttons & 2 ? "DOWN" : "UP");
    Card_Print(1, 17, TEXT_LABEL, line);
    snprintf(line, LINE, "MOUSE ENTER CALLS %u  LEAVE CALLS %u", (unsigned)echo.enters,
             (unsigned)echo.leaves);
    Card_Print(1, 18, TEXT_LABEL, line);

    if (!echo.joystickSeen) {
        Card_Print(1, 19, TEXT_LABEL, "JOY NONE");
        return;
    }
    const Joystick &j = echo.joysticks[echo.lastJoystick];
    int n = snprintf(line, LINE, "JOY %d BUTTONS 31-0 ", echo.lastJoystick);
    for (int b = 31; b >= 0; --b)
        line[n++] = (char)('0' + ((j.down[0] >> b) & 1));
    line[n] = 0;
    Card_Print(1, 19, TEXT_LABEL, line);
    n = snprintf(line, LINE, "JOY %d AXES", echo.lastJoystick);
    for (int a = 0; a < AXES; ++a)
        n += snprintf(line + n, LINE - (size_t)n, " %c %3u", AXIS_NAMES[a], j.axes[a]);
    Card_Print(1, 20, TEXT_LABEL, line);
    // The hat's directions are codes of the button group; a diagonal holds two of them.
    static const struct {
        uint32_t code;
        const char *name;
    } hat[4] = {{CORE_EVENT_HAT_FORWARD, " FORWARD"},
                {CORE_EVENT_HAT_RIGHT, " RIGHT"},
                {CORE_EVENT_HAT_BACK, " BACK"},
                {CORE_EVENT_HAT_LEFT, " LEFT"}};
    n = snprintf(line, LINE, "JOY %d HAT", echo.lastJoystick);
    int held = 0;
    for (const auto &h : hat)
        if ((j.down[h.code / 32] >> (h.code % 32)) & 1) {
            n += snprintf(line + n, LINE - (size_t)n, "%s", h.name);
            held = 1;
        }
    Echo_FormatSet(j.down, 32 + 4, set, sizeof set);
    snprintf(line + n, LINE - (size_t)n, "%s  OTHER CODES DOWN: %s", held ? "" : " CENTRED", set);
    Card_Print(1, 21, TEXT_LABEL, line);
}

} // namespace

void Echo_SetTail(const char *tail)
{
    echo.hasTail = tail != nullptr;
    snprintf(echo.tail, sizeof echo.tail, "%s", tail ? tail : "");
}

void Echo_Key(uint32_t vk, int down)
{
    Echo_SetBit(echo.keysDown, vk & 0xFF, down);
    Echo_Log(down ? LOG_KEY_DOWN : LOG_KEY_UP, vk, 0);
}

void Echo_Event(uint32_t code, uint32_t value)
{
    Echo_Log(LOG_EVENT, code, value);
    uint32_t group = code & ~0xFFFu;
    if (group != CORE_EVENT_JOY_BUTTON && group != CORE_EVENT_JOY_AXIS)
        return;
    int device = (int)((code >> 8) & 0xF);
    Joystick &j = echo.joysticks[device];
    echo.lastJoystick = device;
    echo.joystickSeen = 1;
    if (group == CORE_EVENT_JOY_BUTTON)
        Echo_SetBit(j.down, code & 0xFF, value == CORE_EVENT_PRESS);
    else if ((code & 0xFF) < AXES)
        j.axes[code & 0xFF] = (uint8_t)value;
}

void Echo_MouseMove(int32_t x, int32_t y)
{
    echo.mouseX = x;
    echo.mouseY = y;
}

void Echo_MouseInside(int inside)
{
    echo.inside = inside ? 1 : 0;
    ++(inside ? echo.enters : echo.leaves);
}

uint8_t Echo_IsInside(void)
{
    return echo.inside;
}

void Echo_MouseButton(uint32_t button, int down)
{
    uint8_t bit = button == 1 ? 1 : button == 2 ? 2 : 0;
    echo.buttons = (uint8_t)(down ? echo.buttons | bit : echo.buttons & ~bit);
    Echo_Log(down ? LOG_BUTTON_DOWN : LOG_BUTTON_UP, button, 0);
}

void Echo_Pointer(int *x, int *y)
{
    *x = echo.mouseX;
    *y = echo.mouseY;
}

void Echo_Show(const EchoStatus *status)
{
    char line[LINE];
    Card_ClearText();
    if (status->timeKnown)
        snprintf(line, LINE, "STAND-IN CORE  FRAME %07u  TIME %9u MS  STEP %3u MS",
                 (unsigned)status->frame, (unsigned)status->time, (unsigned)status->step);
    else
        snprintf(line, LINE, "STAND-IN CORE  FRAME %07u  NOT STEPPED YET", (unsigned)status->frame);
    Card_Print(3, 0, TEXT_STATUS, line);

    Echo_ShowInput(line);

    Card_Print(1, 22, TEXT_LABEL, "TEXT COLOURS");
    for (int c = 0; c < 8; ++c) {
        char digit[2] = {(char)('0' + c), 0};
        Card_Print(15 + 3 * c, 22, (uint8_t)c, digit);
    }
    snprintf(line, LINE, "PALETTE PHASE %u, NEXT CHANGE IN %3u FRAMES",
             (unsigned)status->palettePhase, (unsigned)status->paletteCountdown);
    Card_Print(1, 23, TEXT_LABEL, line);
    snprintf(line, LINE, "TAIL: %.70s", echo.hasTail ? echo.tail : "(NONE)");
    Card_Print(3, 24, TEXT_LABEL, line); // clear of the corner mark
}
