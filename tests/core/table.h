// Case tables of the scenarios: tab-separated rows of a file that an environment variable names,
// and the input calls and other word lists written in their fields.
#pragma once

#include "tests/core/testcore.h"

enum { TABLE_FIELDS = 10, TABLE_NUMBERS = 9 };

struct TableRow {
    char text[512];
    const char *field[TABLE_FIELDS]; // "" past the row's last field
};

// One item of a word list: the word's index in the list of known words, and its numbers.
struct TableItem {
    int word;
    uint32_t n[TABLE_NUMBERS];
};

// Opens the file the variable names; false, and a failed check, when it cannot be read.
bool Table_Open(const char *variable);
// The next row, its fields split at tabs, comment lines (#) skipped; false at the end.
bool Table_Next(TableRow *row);
// Items "word n n" split at commas, words of the null-ended list; how many ("-" or "*" for
// none; an unknown word ends the list with a failed check).
int Table_Items(const char *field, const char *const *words, TableItem *items, int capacity);
// Input calls: "down vk" (its key call and event), "up vk", or a call with its numbers, as
// "move 1 2, inside 0, enter"; "-" for none. The list ends at an empty {}.
void Table_Calls(const char *field, Expected *calls, int capacity);
// Runs the rows of the open table as input, one a frame or as they come (sc_input.cpp);
// STEP_CLOSE once all are done.
ScenarioStep Input_Rows(uint32_t frame);
