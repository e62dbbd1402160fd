// Keeps what the core has been told and writes it onto the test card's text page.
#include "core/core.h"
#include "kernel/card.h"
#include "kernel/echo.h"
#include "kernel/frame.h"

enum {
    ECHO_LOG_LINES = 6,                // input calls listed, newest first
    ECHO_JOYSTICKS = 16,               // device numbers 0..15 of the event codes
    ECHO_AXES = 6,                     // axes X Y Z R U V of a joystick
    ECHO_LINE = FRAME_TEXT_COLUMNS + 1 // a page line and its NUL
};

// Text colours on the page.
enum {
    ECHO_INK_NEWEST = 6, // the newest input call
    ECHO_INK_LOG = 5,    // the older ones
    ECHO_INK_LABEL = 7,  // labels and readings
    ECHO_INK_STATUS = 4  // the status line at the top
};

// What a log entry records.
enum { ECHO_KEY_DOWN, ECHO_KEY_UP, ECHO_EVENT, ECHO_BUTTON_DOWN, ECHO_BUTTON_UP };

// One input call: its kind, code (key, event or button) and value (events only).
struct EchoLogEntry {
    uint8_t kind;
    uint32_t code;
    uint32_t value;
};

// What a joystick's events have left held.
struct EchoJoystick {
    uint32_t down[8]; // group codes 0x00..0xFF held: buttons 0..31, then hat codes
    uint8_t axes[ECHO_AXES];
};

static struct {
    EchoLogEntry log[ECHO_LOG_LINES]; // ring: the newest at (logCount - 1) % ECHO_LOG_LINES
    uint32_t logCount;
    uint32_t keysDown[8]; // virtual-key codes held
    int32_t mouseX, mouseY;
    uint8_t inside;
    uint8_t buttons; // bit 0 left, bit 1 right
    uint32_t enters, leaves;
    EchoJoystick joysticks[ECHO_JOYSTICKS];
    int joystickSeen;
    int lastJoystick; // device of the latest joystick event
    int hasTail;
    char tail[ECHO_LINE];
} s_echo;

// Names of the keys whose code alone says little.
static const struct {
    uint8_t vk;
    const char *name;
} ECHO_KEY_NAMES[] = {
    {0x08, "BACKSPACE"}, // VK_BACK
    {0x09, "TAB"},       // VK_TAB
    {0x0D, "ENTER"},     // VK_RETURN
    {0x10, "SHIFT"},     // VK_SHIFT, either side
    {0x11, "CTRL"},      // VK_CONTROL, either side
    {0x12, "ALT"},       // VK_MENU, either side
    {0x14, "CAPS"},      // VK_CAPITAL
    {0x1B, "ESC"},       // VK_ESCAPE
    {0x20, "SPACE"},     // VK_SPACE
    {0x25, "LEFT"},      // VK_LEFT
    {0x26, "UP"},        // VK_UP
    {0x27, "RIGHT"},     // VK_RIGHT
    {0x28, "DOWN"},      // VK_DOWN
    {0x2D, "INSERT"},    // VK_INSERT
    {0x2E, "DELETE"},    // VK_DELETE
    {0xA0, "LSHIFT"},    // VK_LSHIFT
    {0xA1, "RSHIFT"},    // VK_RSHIFT
    {0xA2, "LCTRL"},     // VK_LCONTROL
    {0xA3, "RCTRL"},     // VK_RCONTROL
    {0xA4, "LALT"},      // VK_LMENU
    {0xA5, "RALT"},      // VK_RMENU
};
enum { ECHO_KEY_NAME_COUNT = sizeof ECHO_KEY_NAMES / sizeof ECHO_KEY_NAMES[0] };

// Axis letters by the axis number of the event codes.
static const char ECHO_AXIS_NAMES[ECHO_AXES] = {'X', 'Y', 'Z', 'R', 'U', 'V'};

// The hat's directions are codes of the button group; a diagonal holds two of them.
static const struct {
    uint32_t code;
    const char *name;
} ECHO_HAT_NAMES[4] = {
    {CORE_EVENT_HAT_FORWARD, " FORWARD"},
    {CORE_EVENT_HAT_RIGHT, " RIGHT"},
    {CORE_EVENT_HAT_BACK, " BACK"},
    {CORE_EVENT_HAT_LEFT, " LEFT"},
};

// Member n (0..255) of a 256-bit set.
static bool Echo_Bit(const uint32_t *set, uint32_t n)
{
    return (set[(n >> 5) & 7] >> (n & 31)) & 1;
}

static void Echo_SetBit(uint32_t *set, uint32_t n, int on)
{
    uint32_t bit = 1u << (n & 31);
    set[(n >> 5) & 7] = on ? set[(n >> 5) & 7] | bit : set[(n >> 5) & 7] & ~bit;
}

static void Echo_Log(uint8_t kind, uint32_t code, uint32_t value)
{
    EchoLogEntry *entry = &s_echo.log[s_echo.logCount % ECHO_LOG_LINES];
    entry->kind = kind;
    entry->code = code;
    entry->value = value;
    ++s_echo.logCount;
}

// A key's name: its letter or digit, a name from the table, or nothing.
static void Echo_KeyName(uint32_t vk, char *out, size_t size)
{
    out[0] = 0;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        snprintf(out, size, "%c", (char)vk);
        return;
    }
    for (int i = 0; i < ECHO_KEY_NAME_COUNT; ++i) {
        if (ECHO_KEY_NAMES[i].vk == vk) {
            snprintf(out, size, "%s", ECHO_KEY_NAMES[i].name);
            return;
        }
    }
}

static const char *Echo_State(uint32_t value)
{
    return value == CORE_EVENT_PRESS ? "DOWN" : value == CORE_EVENT_RELEASE ? "UP" : "?";
}

// One input call as a line of the log.
static void Echo_FormatEntry(const EchoLogEntry *e, char *out, size_t size)
{
    char name[16];
    uint32_t group = e->code & ~0xFFFu;
    uint32_t device = (e->code >> 8) & 0xF;
    uint32_t low = e->code & 0xFF;
    switch (e->kind) {
    case ECHO_KEY_DOWN:
    case ECHO_KEY_UP:
        Echo_KeyName(e->code & 0xFF, name, sizeof name);
        snprintf(out, size, "KEY %-7s VK 0X%02X %s", e->kind == ECHO_KEY_DOWN ? "PRESS" : "RELEASE",
                 (unsigned)e->code, name);
        return;
    case ECHO_BUTTON_DOWN:
    case ECHO_BUTTON_UP:
        snprintf(out, size, "MOUSE %-7s BUTTON %u %s",
                 e->kind == ECHO_BUTTON_DOWN ? "PRESS" : "RELEASE", (unsigned)e->code,
                 e->code == 1   ? "LEFT"
                 : e->code == 2 ? "RIGHT"
                                : "?");
        return;
    }
    int n = snprintf(out, size, "EVENT 0X%04X = %-3u ", (unsigned)e->code, (unsigned)e->value);
    out += n;
    size -= (size_t)n;
    if (e->code <= CORE_EVENT_KEY_MASK) {
        Echo_KeyName(e->code, name, sizeof name);
        snprintf(out, size, "KEY %s %s", name, Echo_State(e->value));
    } else if (group == CORE_EVENT_JOY_BUTTON && low < 32) {
        snprintf(out, size, "JOY %u BUTTON %u %s", (unsigned)device, (unsigned)low,
                 Echo_State(e->value));
    } else if (group == CORE_EVENT_JOY_BUTTON) {
        snprintf(out, size, "JOY %u CODE 0X%02X %s", (unsigned)device, (unsigned)low,
                 Echo_State(e->value));
    } else if (group == CORE_EVENT_JOY_AXIS && low < ECHO_AXES) {
        snprintf(out, size, "JOY %u AXIS %c", (unsigned)device, ECHO_AXIS_NAMES[low]);
    } else {
        snprintf(out, size, "UNKNOWN");
    }
}

// Lists the members of a 256-bit set from `first` on, as hex codes, while they fit.
static void Echo_FormatSet(const uint32_t *set, uint32_t first, char *out, size_t size)
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

// Rows 8 to 15: the keys held and the latest input calls.
static void Echo_ShowKeysAndLog(char *line)
{
    char set[48];
    Echo_FormatSet(s_echo.keysDown, 0, set, sizeof set);
    snprintf(line, ECHO_LINE, "KEYS DOWN: %s", set);
    Card_Print(1, 8, ECHO_INK_LABEL, line);
    Card_Print(1, 9, ECHO_INK_LABEL, "INPUT, NEWEST FIRST:");
    uint32_t shown = s_echo.logCount < ECHO_LOG_LINES ? s_echo.logCount : (uint32_t)ECHO_LOG_LINES;
    for (uint32_t i = 0; i < shown; ++i) {
        Echo_FormatEntry(&s_echo.log[(s_echo.logCount - 1 - i) % ECHO_LOG_LINES], line, ECHO_LINE);
        Card_Print(3, 10 + (int)i, i == 0 ? ECHO_INK_NEWEST : ECHO_INK_LOG, line);
    }
}

// Rows 17 and 18: the pointer, its buttons and the enter and leave calls.
static void Echo_ShowMouse(char *line)
{
    snprintf(line, ECHO_LINE, "MOUSE X %3d Y %3d  %s  LEFT %s  RIGHT %s", (int)s_echo.mouseX,
             (int)s_echo.mouseY, s_echo.inside ? "INSIDE " : "OUTSIDE",
             s_echo.buttons & 1 ? "DOWN" : "UP", s_echo.buttons & 2 ? "DOWN" : "UP");
    Card_Print(1, 17, ECHO_INK_LABEL, line);
    snprintf(line, ECHO_LINE, "MOUSE ENTER CALLS %u  LEAVE CALLS %u", (unsigned)s_echo.enters,
             (unsigned)s_echo.leaves);
    Card_Print(1, 18, ECHO_INK_LABEL, line);
}

// Rows 19 to 21: buttons, axes and hat of the joystick heard from last.
static void Echo_ShowJoystick(char *line)
{
    if (!s_echo.joystickSeen) {
        Card_Print(1, 19, ECHO_INK_LABEL, "JOY NONE");
        return;
    }
    const EchoJoystick *j = &s_echo.joysticks[s_echo.lastJoystick];
    int n = snprintf(line, ECHO_LINE, "JOY %d BUTTONS 31-0 ", s_echo.lastJoystick);
    for (int b = 31; b >= 0; --b)
        line[n++] = (char)('0' + ((j->down[0] >> b) & 1));
    line[n] = 0;
    Card_Print(1, 19, ECHO_INK_LABEL, line);
    n = snprintf(line, ECHO_LINE, "JOY %d AXES", s_echo.lastJoystick);
    for (int a = 0; a < ECHO_AXES; ++a)
        n += snprintf(line + n, ECHO_LINE - (size_t)n, " %c %3u", ECHO_AXIS_NAMES[a], j->axes[a]);
    Card_Print(1, 20, ECHO_INK_LABEL, line);
    n = snprintf(line, ECHO_LINE, "JOY %d HAT", s_echo.lastJoystick);
    int held = 0;
    for (int h = 0; h < 4; ++h) {
        if (Echo_Bit(j->down, ECHO_HAT_NAMES[h].code)) {
            n += snprintf(line + n, ECHO_LINE - (size_t)n, "%s", ECHO_HAT_NAMES[h].name);
            held = 1;
        }
    }
    char set[48];
    Echo_FormatSet(j->down, 32 + 4, set, sizeof set);
    snprintf(line + n, ECHO_LINE - (size_t)n, "%s  OTHER CODES DOWN: %s", held ? "" : " CENTRED",
             set);
    Card_Print(1, 21, ECHO_INK_LABEL, line);
}

void Echo_SetTail(const char *tail)
{
    s_echo.hasTail = tail != nullptr;
    snprintf(s_echo.tail, sizeof s_echo.tail, "%s", tail ? tail : "");
}

void Echo_Key(uint32_t vk, int down)
{
    Echo_SetBit(s_echo.keysDown, vk & 0xFF, down);
    Echo_Log(down ? ECHO_KEY_DOWN : ECHO_KEY_UP, vk, 0);
}

void Echo_Event(uint32_t code, uint32_t value)
{
    Echo_Log(ECHO_EVENT, code, value);
    uint32_t group = code & ~0xFFFu;
    if (group != CORE_EVENT_JOY_BUTTON && group != CORE_EVENT_JOY_AXIS)
        return;
    int device = (int)((code >> 8) & 0xF);
    EchoJoystick *j = &s_echo.joysticks[device];
    s_echo.lastJoystick = device;
    s_echo.joystickSeen = 1;
    if (group == CORE_EVENT_JOY_BUTTON)
        Echo_SetBit(j->down, code & 0xFF, value == CORE_EVENT_PRESS);
    else if ((code & 0xFF) < ECHO_AXES)
        j->axes[code & 0xFF] = (uint8_t)value;
}

void Echo_MouseMove(int32_t x, int32_t y)
{
    s_echo.mouseX = x;
    s_echo.mouseY = y;
}

void Echo_MouseInside(int inside)
{
    s_echo.inside = inside ? 1 : 0;
    if (inside)
        ++s_echo.enters;
    else
        ++s_echo.leaves;
}

uint8_t Echo_IsInside(void)
{
    return s_echo.inside;
}

void Echo_MouseButton(uint32_t button, int down)
{
    uint8_t bit = button == 1 ? 1 : button == 2 ? 2 : 0;
    s_echo.buttons = (uint8_t)(down ? s_echo.buttons | bit : s_echo.buttons & ~bit);
    Echo_Log(down ? ECHO_BUTTON_DOWN : ECHO_BUTTON_UP, button, 0);
}

void Echo_Pointer(int *x, int *y)
{
    *x = s_echo.mouseX;
    *y = s_echo.mouseY;
}

void Echo_Show(const EchoStatus *status)
{
    char line[ECHO_LINE];
    Card_ClearText();
    if (status->timeKnown)
        snprintf(line, ECHO_LINE, "STAND-IN CORE  FRAME %07u  TIME %9u MS  STEP %3u MS",
                 (unsigned)status->frame, (unsigned)status->time, (unsigned)status->step);
    else
        snprintf(line, ECHO_LINE, "STAND-IN CORE  FRAME %07u  NOT STEPPED YET",
                 (unsigned)status->frame);
    Card_Print(3, 0, ECHO_INK_STATUS, line);

    Echo_ShowKeysAndLog(line);
    Echo_ShowMouse(line);
    Echo_ShowJoystick(line);

    Card_Print(1, 22, ECHO_INK_LABEL, "TEXT COLOURS");
    for (int c = 0; c < 8; ++c) {
        char digit[2] = {(char)('0' + c), 0};
        Card_Print(15 + 3 * c, 22, (uint8_t)c, digit);
    }
    snprintf(line, ECHO_LINE, "PALETTE PHASE %u, NEXT CHANGE IN %3u FRAMES",
             (unsigned)status->palettePhase, (unsigned)status->paletteCountdown);
    Card_Print(1, 23, ECHO_INK_LABEL, line);
    snprintf(line, ECHO_LINE, "TAIL: %.70s", s_echo.hasTail ? s_echo.tail : "(NONE)");
    Card_Print(3, 24, ECHO_INK_LABEL, line); // clear of the corner mark
}
