// Crash reports of the Windows build: standard output written as each line is printed, and
// an unhandled exception reported in one line on standard error, naming the core library
// when the faulting instruction lies in it; then the default handling ends the process.
#include "platform/platform.h"

// The exceptions named, with what they mean.
static const struct {
    DWORD code;
    const char *text;
} CRASH_EXCEPTIONS[] = {
    {EXCEPTION_ACCESS_VIOLATION, "access violation"},
    {EXCEPTION_IN_PAGE_ERROR, "page not readable"},
    {EXCEPTION_DATATYPE_MISALIGNMENT, "misaligned data"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "integer division by zero"},
    {EXCEPTION_INT_OVERFLOW, "integer overflow"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "floating-point division by zero"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "illegal instruction"},
    {EXCEPTION_PRIV_INSTRUCTION, "privileged instruction"},
    {EXCEPTION_STACK_OVERFLOW, "stack overflow"},
    {EXCEPTION_BREAKPOINT, "breakpoint"},
};

static LONG WINAPI Crash_Report(EXCEPTION_POINTERS *exception)
{
    const EXCEPTION_RECORD *record = exception->ExceptionRecord;
    const char *text = "unhandled exception";
    for (size_t i = 0; i < sizeof CRASH_EXCEPTIONS / sizeof CRASH_EXCEPTIONS[0]; i++)
        if (CRASH_EXCEPTIONS[i].code == record->ExceptionCode)
            text = CRASH_EXCEPTIONS[i].text;
    HMODULE module = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)record->ExceptionAddress, &module);
    bool inCore = module && module == GetModuleHandleA("KERNEL.dll");
    char line[256];
    int length = snprintf(line, sizeof line, "MAIN.exe: crashed with exception 0x%08lx (%s)%s\n",
                          (unsigned long)record->ExceptionCode, text,
                          inCore ? " while the core library KERNEL.dll was running" : "");
    DWORD written;
    if (length > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, (DWORD)length, &written, NULL);
    return EXCEPTION_CONTINUE_SEARCH; // the default handling ends the process with the code
}

void Platform_WatchProcess(void)
{
    // This C runtime buffers a line as it buffers a block: unbuffered, each printf is
    // written whole, at once.
    setvbuf(stdout, NULL, _IONBF, 0);
    SetUnhandledExceptionFilter(Crash_Report);
}
