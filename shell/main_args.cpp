// Command-line splitting into the argument block, and the tail handed to the core.
#include "platform/platform.h"
#include "shell/shell.h"

// One walk of the line by the splitting rules. With a null block it only counts, so the
// measured size and the filled block cannot disagree. Every write stays inside the block's
// size, whatever count the caller claims: an argument cut off by the block's end ends in a
// NUL at its last byte, and no pointer is stored to a first byte outside it.
static size_t Main_WalkArgs(const char *line, uint32_t *count, char *block, uint32_t capacity,
                            size_t size)
{
    uint32_t arguments = 0;
    size_t characters = 0;
    const size_t text = (size_t)capacity * sizeof(char *); // where the strings start
    bool cut = false;
    const char *p = line ? line : "";

    while (*p == ' ')
        p++;
    char terminator = ' ';
    if (*p == '"') {
        terminator = '"';
        p++;
    } else if (*p == '\0') {
        *count = 0;
        return 0;
    }
    for (;;) {
        size_t at = text + characters + arguments; // this argument's first byte
        if (block && arguments < capacity && (arguments + 1) * sizeof(char *) <= size &&
            at < size)
            ((char **)block)[arguments] = block + at;
        arguments++;
        for (; *p != '\0' && *p != terminator; p++, at++, characters++)
            if (block && !(cut = cut || at >= size))
                block[at] = *p;
        if (block && !(cut = cut || at >= size))
            block[at] = '\0';
        if (*p == '\0')
            break;
        p++; // the closing quote or the first space
        while (*p == ' ')
            p++;
        if (*p == '\0')
            break;
        terminator = ' ';
        if (*p == '"') {
            terminator = '"';
            p++;
        }
    }
    if (block && cut && size > text)
        block[size - 1] = '\0';
    *count = arguments;
    return (sizeof(char *) + 1) * (size_t)arguments + characters;
}

size_t WINAPI Main_MeasureArgs(const char *line, uint32_t *count)
{
    return Main_WalkArgs(line, count, 0, 0, 0);
}

void WINAPI Main_SplitArgs(const char *line, uint32_t count, char *block, size_t size)
{
    uint32_t filled = 0;
    if (count != 0)
        Main_WalkArgs(line, &filled, block, count, size);
}

const char *Main_FindArgumentTail(const char *line)
{
    if (!line)
        return 0;
    char terminator = ' ';
    const char *p = line;
    for (; *p != '\0'; p++) {
        if (*p == terminator)
            break;
        if (*p == '"' && terminator == ' ')
            terminator = '"';
    }
    if (*p == '\0')
        return 0;
    p++;
    while (*p == ' ')
        p++;
    return *p != '\0' ? p : 0;
}
