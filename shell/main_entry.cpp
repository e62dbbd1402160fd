// Process entry: the first code that runs, with no C runtime start-up before it.
#include "platform/platform.h"
#include "shell/shell.h"

// The stack may arrive 4-byte aligned from the loader; the block gets 16-byte alignment.
PLATFORM_EXPORT __attribute__((force_align_arg_pointer, noreturn)) void Main_Startup(void)
{
    const char *line = GetCommandLineA();
    uint32_t count = 0;
    size_t size = Main_MeasureArgs(line, &count);
    // alloca probes every 4 KB page in order, as the stack guard requires.
    uintptr_t raw = (uintptr_t)__builtin_alloca(size + 15);
    char *block = (char *)((raw + 15) & ~(uintptr_t)15);
    Main_SplitArgs(line, count, block, size);
    ExitProcess((UINT)Main_Run((int)count, (char **)block));
}
