// Fuzz target for the argument splitter (libFuzzer, with AddressSanitizer and
// UndefinedBehaviorSanitizer): every line splits as the model says into a block of exactly the
// measured size, and a count or size other than the measured ones never writes outside the
// block it was given. Built and run by scripts/fuzz-args.sh; not part of the tests.
#include "shell/shell.h"
#include "tests/unit/args_model.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // Two bytes choose the count and size handed over; the rest is the line.
    const uint8_t countKind = data[0], sizeCut = data[1];
    std::string line((const char *)data + 2, size - 2);
    line = line.substr(0, line.find('\0'));

    uint32_t count = 0;
    size_t measured = Main_MeasureArgs(line.c_str(), &count);
    std::vector<std::string> model = ModelSplit(line);
    if (count != model.size())
        __builtin_trap();

    // The measured count and size: exactly the model's arguments, back to back.
    char *block = new char[measured ? measured : 1];
    Main_SplitArgs(line.c_str(), count, block, measured);
    for (uint32_t i = 0; i < count; i++)
        if (model[i] != ((char **)block)[i])
            __builtin_trap();
    delete[] block;

    // Another count and a smaller block: the sanitizer reports any write outside it, and every
    // pointer stored leads to a NUL inside.
    uint32_t claimed = countKind < 128 ? count + countKind % 16 : (uint32_t)countKind * 977u;
    size_t given = measured > sizeCut ? measured - sizeCut : measured;
    block = new char[given ? given : 1];
    memset(block, 0, given ? given : 1);
    Main_SplitArgs(line.c_str(), claimed, block, given);
    for (uint32_t i = 0; i < claimed && (i + 1) * sizeof(char *) <= given; i++) {
        const char *p = ((char **)block)[i];
        if (p && (p < block || p >= block + given || !memchr(p, 0, block + given - p)))
            __builtin_trap();
    }
    delete[] block;
    return 0;
}
