// The test core's log: check results written line by line to the file named by TESTCORE_LOG.
#include "core/core.h"
#include "testcore.h"

#include <stdarg.h>

static HANDLE log_file = INVALID_HANDLE_VALUE;
static char log_prefix[40];
static unsigned log_failures;
static char log_contents[65536];

void Log_Open(void)
{
    char path[MAX_PATH];
    if (!Env_Get("TESTCORE_LOG", path, sizeof path))
        return;
    // Appending, and shared: a child run writes into its parent's log while the parent waits.
    log_file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

void Log_SetPrefix(const char *prefix)
{
    _snprintf(log_prefix, sizeof log_prefix - 1, "%s", prefix);
}

static void Log_Write(const char *head, const char *format, va_list args)
{
    char line[1024];
    int used = _snprintf(line, sizeof line - 2, "%s%s", log_prefix, head);
    if (used < 0)
        used = 0;
    int more = _vsnprintf(line + used, sizeof line - 2 - used, format, args);
    // The runtime's _vsnprintf gives -1 and no terminator when the text is cut.
    used = more < 0 ? (int)sizeof line - 2 : used + more;
    line[used++] = '\n';
    line[used] = 0;
    DWORD written;
    // Written at once, unbuffered: the run may end in a crash or a kill at any moment.
    if (log_file != INVALID_HANDLE_VALUE)
        WriteFile(log_file, line, used, &written, NULL);
}

void Log_Line(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    Log_Write("", format, args);
    va_end(args);
}

static void Log_FailWith(const char *what, const char *format, va_list args)
{
    char head[256];
    _snprintf(head, sizeof head - 1, "FAIL %s: ", what);
    head[sizeof head - 1] = 0;
    Log_Write(head, format, args);
    log_failures++;
}

bool Log_Check(bool ok, const char *what, const char *format, ...)
{
    if (ok) {
        Log_Line("ok %s", what);
        return true;
    }
    va_list args;
    va_start(args, format);
    Log_FailWith(what, format, args);
    va_end(args);
    return false;
}

void Log_Fail(const char *what, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    Log_FailWith(what, format, args);
    va_end(args);
}

unsigned Log_Failures(void)
{
    return log_failures;
}

bool File_Read(const char *path, char *buffer, uint32_t size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    ReadFile(file, buffer, size - 1, &got, NULL);
    CloseHandle(file);
    buffer[got] = 0;
    return true;
}

const char *Log_ReadAll(void)
{
    char path[MAX_PATH];
    if (!Env_Get("TESTCORE_LOG", path, sizeof path))
        return NULL;
    if (!File_Read(path, log_contents, sizeof log_contents))
        return NULL;
    return log_contents;
}

const char *Env_Get(const char *name, char *buffer, uint32_t size)
{
    SetLastError(0);
    DWORD length = GetEnvironmentVariableA(name, buffer, size);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return NULL;
    if (length >= size)
        return NULL;
    buffer[length] = 0;
    return buffer;
}

uint32_t Clock_Micros(void)
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    // In two parts: the count since boot times a million overflows 64 bits within days.
    int64_t seconds = count.QuadPart / frequency.QuadPart;
    int64_t rest = count.QuadPart % frequency.QuadPart;
    return (uint32_t)(seconds * 1000000 + rest * 1000000 / frequency.QuadPart);
}
