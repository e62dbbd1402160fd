// Case tables of the scenarios, read a row at a time.
#include "tests/core/table.h"

static struct {
    FILE *file;
} s_table;

bool Table_Open(const char *variable)
{
    const char *path = Probe_Env(variable);
    if (s_table.file)
        fclose(s_table.file);
    s_table.file = path ? fopen(path, "r") : NULL;
    return Log_Check(s_table.file != NULL, "the case table is read", "%s is \"%s\"", variable,
                     path ? path : "unset");
}

bool Table_Next(TableRow *row)
{
    while (s_table.file && fgets(row->text, sizeof row->text, s_table.file)) {
        if (row->text[0] == '#' || row->text[0] == '\n')
            continue;
        char *at = row->text;
        for (int i = 0; i < TABLE_FIELDS; i++) {
            row->field[i] = at;
            at += strcspn(at, "\t\r\n");
            if (*at)
                *at++ = '\0';
        }
        return true;
    }
    return false;
}

int Table_Items(const char *field, const char *const *words, TableItem *items, int capacity)
{
    int count = 0;
    while (count < capacity && *(field += strspn(field, " ,")) && !strchr("-*", *field)) {
        size_t length = strcspn(field, " ,");
        TableItem *item = &items[count++];
        for (item->word = 0; words[item->word]; item->word++)
            if (strlen(words[item->word]) == length && !strncmp(words[item->word], field, length))
                break;
        if (!words[item->word])
            return Log_Check(false, "a known word", "\"%.*s\"", (int)length, field), count - 1;
        memset(item->n, 0, sizeof item->n);
        field += length;
        for (int i = 0; i < TABLE_NUMBERS; i++) {
            char *end;
            item->n[i] = (uint32_t)strtoul(field, &end, 0);
            if (end == field)
                break;
            field = end;
        }
    }
    return count;
}

void Table_Calls(const char *field, Expected *calls, int capacity)
{
    // The record's codes from CALL_KEYBOARD_PRESS on, then a key going down and up.
    static const char *const words[] = {"press",  "release", "event", "move", "enter", "leave",
                                        "inside", "bdown",   "bup",   "down", "up",    NULL};
    enum { WORD_DOWN = 9, WORD_UP };
    TableItem items[24];
    int count = Table_Items(field, words, items, 24), n = 0;
    for (int i = 0; i < count && n < capacity - 2; i++) {
        uint32_t a = items[i].n[0], word = (uint32_t)items[i].word;
        if (word == WORD_DOWN || word == WORD_UP) { // the key call, then its low byte's event
            calls[n++] = word == WORD_DOWN ? PRESS(a) : RELEASE(a);
            calls[n++] = EVENT(a & 0xFF, word == WORD_DOWN ? 8u : 2u);
        } else {
            calls[n++] = Expected{CALL_KEYBOARD_PRESS + word, a, items[i].n[1]};
        }
    }
    calls[n] = Expected{};
}
