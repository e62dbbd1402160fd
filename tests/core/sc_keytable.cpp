// The keyboard table: every key pressed and released as the keyboard gives it, once with Num
// Lock off and once on, and each key message checked against the row of the file named by
// KEY_TABLE (what Windows reports for that key).
#include "tests/core/testcore.h"

enum { KEYTABLE_ROWS = 160, KEYTABLE_SETTLE_FRAMES = 3 };

struct KeyTableRow {
    unsigned usage, vk, scan, extended, numLockVk, held; // 0 for "-"
    char name[64];
};

static struct {
    KeyTableRow rows[KEYTABLE_ROWS];
    uint32_t count;
    uint32_t passes;   // begun: the first with Num Lock off, the second with it on
    uint32_t expected; // the next key message: row * 2, + 1 for its release
    uint32_t since;
} s_table;

static unsigned KeyTable_Hex(const char *field)
{
    return field[0] == '-' ? 0 : (unsigned)strtoul(field, NULL, 16);
}

static void KeyTable_Begin(const char *)
{
    const char *path = Probe_Env("KEY_TABLE");
    FILE *file = path ? fopen(path, "r") : NULL;
    char line[256], vk[8], scan[8], numLock[8], held[8];
    while (file && fgets(line, sizeof line, file) && s_table.count < KEYTABLE_ROWS) {
        KeyTableRow *r = &s_table.rows[s_table.count];
        if (line[0] != '#' && sscanf(line, "%u %7s %7s %u %7s %7s %63[^\n]", &r->usage, vk, scan,
                                     &r->extended, numLock, held, r->name) == 7) {
            r->vk = KeyTable_Hex(vk), r->scan = KeyTable_Hex(scan);
            r->numLockVk = KeyTable_Hex(numLock), r->held = KeyTable_Hex(held);
            s_table.count++;
        }
    }
    if (file)
        fclose(file);
    Log_Check(s_table.count > 0, "the key table is read", "none from \"%s\"", path ? path : "");
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
    const KeyTableRow *r = &s_table.rows[at / 2];
    bool numLock = s_table.passes == 2;
    unsigned vk = numLock && r->numLockVk ? r->numLockVk : r->vk;
    unsigned scan = (unsigned)(lParam >> 16) & 0xFF, extended = (unsigned)(lParam >> 24) & 1;
    bool held = !r->held || (GetKeyState((int)r->held) < 0) == down;
    if (down != !(at & 1) || wParam != vk || scan != r->scan || extended != r->extended || !held)
        Log_Check(false, r->name, "Num Lock %s, %s: key 0x%X scan 0x%X extended %u%s",
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
            if (!Probe_KeyUsage((uint16_t)s_table.rows[i].usage, up))
                return Log_Check(false, "keys by usage code", "not on this platform"), STEP_CLOSE;
    return STEP_CONTINUE;
}

const Scenario Scenario_KeyTable = {"keytable",       KeyTable_Begin, KeyTable_Step,
                                    KeyTable_Message, NULL,           false};
