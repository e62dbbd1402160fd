// Crash reports of the native build: standard output kept a line at a time, and a fatal
// signal reported in one line on standard error, naming the core library when the faulting
// instruction lies in it; then the signal's default action ends the process.
#include "platform/sdl/system.h"

#include <dlfcn.h>
#include <errno.h>
#include <link.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

// The signals reported, with their names and what they mean.
static const struct {
    int number;
    const char *text;
} CRASH_SIGNALS[] = {
    {SIGSEGV, "SIGSEGV (invalid memory access)"},
    {SIGBUS, "SIGBUS (bus error)"},
    {SIGFPE, "SIGFPE (arithmetic error)"},
    {SIGILL, "SIGILL (illegal instruction)"},
    {SIGABRT, "SIGABRT (aborted)"},
};

static struct {
    uintptr_t coreStart, coreEnd; // the core library's mapped segments; empty when unknown
    const char *coreName;         // its file name, kept by the loader
    uintptr_t coreSymbol;         // an address inside it, while looking it up
} s_crash;

// The instruction the signal interrupted; 0 where the machine is not known here.
static uintptr_t Crash_ProgramCounter(const void *context)
{
    const ucontext_t *uc = (const ucontext_t *)context;
#if defined(__x86_64__)
    return (uintptr_t)uc->uc_mcontext.gregs[REG_RIP];
#elif defined(__i386__)
    return (uintptr_t)uc->uc_mcontext.gregs[REG_EIP];
#elif defined(__aarch64__)
    return (uintptr_t)uc->uc_mcontext.pc;
#else
    (void)uc;
    return 0;
#endif
}

static void Crash_Append(char *line, size_t *used, size_t size, const char *text)
{
    size_t length = strlen(text);
    if (*used + length >= size)
        length = size - 1 - *used;
    memcpy(line + *used, text, length);
    *used += length;
}

// Only async-signal-safe calls: the process may be in any state.
static void Crash_Report(int number, siginfo_t *info, void *context)
{
    (void)info;
    const char *text = "a fatal signal";
    for (size_t i = 0; i < sizeof CRASH_SIGNALS / sizeof CRASH_SIGNALS[0]; i++)
        if (CRASH_SIGNALS[i].number == number)
            text = CRASH_SIGNALS[i].text;
    uintptr_t pc = Crash_ProgramCounter(context);
    char line[512];
    size_t used = 0;
    Crash_Append(line, &used, sizeof line, program_invocation_short_name);
    Crash_Append(line, &used, sizeof line, ": crashed with signal ");
    Crash_Append(line, &used, sizeof line, text);
    if (pc >= s_crash.coreStart && pc < s_crash.coreEnd) {
        Crash_Append(line, &used, sizeof line, " while the core library ");
        Crash_Append(line, &used, sizeof line, s_crash.coreName);
        Crash_Append(line, &used, sizeof line, " was running");
    }
    Crash_Append(line, &used, sizeof line, "\n");
    int saved = errno;
    ssize_t written = write(STDERR_FILENO, line, used);
    (void)written;
    errno = saved;
    // The handler was reset on entry: the signal, raised again, takes its default action
    // once this returns, so the exit status stays the signal's.
    raise(number);
}

// Finds the loaded object holding the core's symbol and keeps its address range.
static int Crash_FindCore(struct dl_phdr_info *object, size_t size, void *unused)
{
    (void)size;
    (void)unused;
    uintptr_t start = UINTPTR_MAX, end = 0;
    for (int i = 0; i < object->dlpi_phnum; i++) {
        const ElfW(Phdr) *segment = &object->dlpi_phdr[i];
        if (segment->p_type != PT_LOAD)
            continue;
        uintptr_t from = object->dlpi_addr + segment->p_vaddr;
        start = from < start ? from : start;
        end = from + segment->p_memsz > end ? from + segment->p_memsz : end;
    }
    if (s_crash.coreSymbol < start || s_crash.coreSymbol >= end)
        return 0;
    s_crash.coreStart = start;
    s_crash.coreEnd = end;
    const char *slash = strrchr(object->dlpi_name, '/');
    s_crash.coreName = slash ? slash + 1 : object->dlpi_name;
    return 1;
}

void Platform_WatchProcess(void)
{
    // A log written to a file survives the process's end, however it ends.
    setvbuf(stdout, NULL, _IOLBF, 0);
    s_crash.coreSymbol = (uintptr_t)dlsym(RTLD_DEFAULT, "Kernel_Step");
    s_crash.coreName = "";
    if (s_crash.coreSymbol)
        dl_iterate_phdr(Crash_FindCore, NULL);
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_sigaction = Crash_Report;
    action.sa_flags = SA_SIGINFO | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof CRASH_SIGNALS / sizeof CRASH_SIGNALS[0]; i++)
        sigaction(CRASH_SIGNALS[i].number, &action, NULL);
}
