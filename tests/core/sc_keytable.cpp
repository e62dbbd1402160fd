// The keyboard table: every key pressed and released as the keyboard gives it, once with Num
// Lock off and once on, and each key message checked against the row of the file named by
// KEY_TABLE (what Windows reports for that key).
#include "tests/core/table.h"

enum { KEYTABLE_ROWS = 160, KEYTABLE_SETTLE_FRAMES = 3 };
// A row's fields: the usage code (decimal), then in hexadecimal ("-": 0) the virtual key, the
// scan code, the extended bit, the virtual key with Num Lock on and the sided key held; the name.
enum { KEY_USAGE, KEY_VK, KEY_SCAN, KEY_EXTENDED, KEY_NUMLOCK_VK, KEY_HELD, KEY_NAME };

static struct {
    TableRow rows[KEYTABLE_ROWS];
    uint32_t count;
    uint32_t passes;   // begun: the first with Num Lock off, the second with it on
    uint32_t expected; // the next key message: row * 2, + 1 for its release
    uint32_t since;
} s_table;

static unsigned KeyTable_Hex(const TableRow *row, int field)
{
    return (unsigned)strtoul(row->field[field], NULL, 16);
}

static void KeyTable_Begin(const char *)
{
    Table_Open("KEY_TABLE");
    while (s_table.count < KEYTABLE_ROWS && Table_Next(&s_table.rows[s_table.count]))
        s_table.count++;
    Probe_Activate(Scenario_Window(), false); // the window has the keyboard
}

static void KeyTable_Message(UINT message, WPARAM wParam, LPARAM lParam)
{
    bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (!down && message != WM_KEYUP && message != WM_SYSKEYUP)
        return;
    uint32_t at = s_table.expected++;
    if (at >= 2 * s_table.count) {
        Log_Check(false, "no key message beyond the table's", "key 0x%X", (unsigned)wParam);
        return;
    }
    const TableRow *r = &s_table.rows[at / 2];
    bool numLock = s_table.passes == 2;
    unsigned vk =
        KeyTable_Hex(r, numLock && KeyTable_Hex(r, KEY_NUMLOCK_VK) ? KEY_NUMLOCK_VK : KEY_VK);
    unsigned scan = (unsigned)(lParam >> 16) & 0xFF, extended = (unsigned)(lParam >> 24) & 1;
    unsigned sided = KeyTable_Hex(r, KEY_HELD);
    bool held = !sided || (GetKeyState((int)sided) < 0) == down;
    if (down != !(at & 1) || wParam != vk || scan != KeyTable_Hex(r, KEY_SCAN) ||
        extended != KeyTable_Hex(r, KEY_EXTENDED) || !held)
        Log_Check(false, r->field[KEY_NAME], "Num Lock %s, %s: key 0x%X scan 0x%X extended %u%s",
                  numLock ? "on" : "off", down ? "down" : "up", (unsigned)wParam, scan, extended,
                  held ? "" : ", the sided key's state wrong");
}

static ScenarioStep KeyTable_Step(uint32_t frame)
{
    if (frame < s_table.since + KEYTABLE_SETTLE_FRAMES)
        return STEP_CONTINUE;
    s_table.since = frame;
    if (s_table.passes > 0) // the pass before has had time to arrive whole
        Log_Check(s_table.expected == 2 * s_table.count, "every key gives its two messages",
                  "Num Lock %s: %u of %u", s_table.passes == 2 ? "on" : "off", s_table.expected,
                  2 * s_table.count);
    if (s_table.passes++ == 2)
        return STEP_CLOSE;
    s_table.expected = 0;
    for (uint32_t i = 0; i < s_table.count; i++) // Num Lock, the last row, switches the pass
        for (int up = 0; up < 2; up++)
            if (!Probe_KeyUsage((uint16_t)atoi(s_table.rows[i].field[KEY_USAGE]), up))
                return Log_Check(false, "keys by usage code", "not on this platform"), STEP_CLOSE;
    return STEP_CONTINUE;
}

const Scenario Scenario_KeyTable = {"keytable",       KeyTable_Begin, KeyTable_Step,
                                    KeyTable_Message, NULL,           false};
