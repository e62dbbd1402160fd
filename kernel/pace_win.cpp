// The pacing report mode on Windows: reads the window title, the process's CPU time, writes
// the report file and closes the window when the run is over.
#include "core/core.h"
#include "kernel/pace.h"
#include "kernel/pace_host.h"

namespace {

enum { REPORT_BYTES = 4096, TITLE_BYTES = 64 };

struct PaceWinState {
    uint64_t cpuStart; // user + kernel time at the run's first frame, 100 ns units
    PaceSummary summary;
    char report[REPORT_BYTES];
};

PaceWinState paceWin;

uint64_t PaceWin_CpuTime(void)
{
    FILETIME created, exited, kernelTime, userTime;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernelTime, &userTime))
        return 0;
    uint64_t k = (uint64_t)kernelTime.dwHighDateTime << 32 | kernelTime.dwLowDateTime;
    uint64_t u = (uint64_t)userTime.dwHighDateTime << 32 | userTime.dwLowDateTime;
    return k + u;
}

// The front-end's window in this process (another instance may share the desktop).
HWND PaceWin_Window(void)
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, "WCGRAPH", NULL)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return NULL;
}

void PaceWin_ReadTitle(void)
{
    char title[TITLE_BYTES];
    HWND window = PaceWin_Window();
    if (!window || GetWindowTextA(window, title, sizeof title) <= 0)
        return;
    int32_t rate = Pace_ParseTitle(title);
    if (rate >= 0)
        Pace_AddRate((uint32_t)rate);
}

// Writes through the Windows API: a Wine process's piped stdout is fully buffered.
void PaceWin_WriteReport(const char *text, int length)
{
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("PACE_REPORT", path, sizeof path);
    if (n == 0 || n >= sizeof path)
        strcpy(path, "pace-report.txt");
    HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        printf("[Pace] cannot write %s\n", path);
        return;
    }
    DWORD written = 0;
    WriteFile(file, text, (DWORD)length, &written, NULL);
    CloseHandle(file);
}

void PaceWin_Finish(void)
{
    uint64_t cpu = PaceWin_CpuTime() - paceWin.cpuStart;
    Pace_Summarize(&paceWin.summary);
    if (paceWin.summary.wallMs > 0)
        paceWin.summary.cpuMsPerSecond = cpu / 10000.0 * 1000.0 / paceWin.summary.wallMs;
    int length = Pace_Format(&paceWin.summary, paceWin.report, sizeof paceWin.report);
    PaceWin_WriteReport(paceWin.report, length);
    HWND window = PaceWin_Window();
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
}

} // namespace

void PaceHost_Begin(uint32_t seconds)
{
    Pace_Start(seconds);
}

void PaceHost_Frame(uint32_t now)
{
    int flags = Pace_Frame(now);
    if (flags & PACE_STARTED)
        paceWin.cpuStart = PaceWin_CpuTime();
    if (flags & PACE_READ_TITLE)
        PaceWin_ReadTitle();
    if (flags & PACE_FINISHED)
        PaceWin_Finish();
}
