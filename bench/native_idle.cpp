// Prints what an idle pass of the program's loop costs on the native backend: PeekMessageA
// finding nothing, SetWindowTextA with an unchanged title and the joystick poll of 16 ids.
// Runs on the display in DISPLAY, or with SDL_VIDEODRIVER=offscreen.
#include "platform/sdl/system.h"

#include <SDL.h>
#include <algorithm>
#include <time.h>
#include <vector>

enum { BENCH_PASSES = 20000, BENCH_WARMUP = 500 };

static double Bench_Micros(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

static LRESULT CALLBACK Bench_Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char **argv)
{
    System_Begin(argc, argv);
    WNDCLASSEXA cls;
    memset(&cls, 0, sizeof cls);
    cls.cbSize = sizeof cls;
    cls.style = CS_CLASSDC;
    cls.lpfnWndProc = Bench_Proc;
    cls.lpszClassName = "BENCH";
    RegisterClassExA(&cls);
    HWND window = CreateWindowExA(0, "BENCH", "Video Out FPS: 60", 0x00CB0000, 647, 128, 646, 425,
                                  NULL, NULL, NULL, NULL);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);

    std::vector<double> passes, peeks, titles, joysticks;
    for (int i = 0; i < BENCH_WARMUP + BENCH_PASSES; i++) {
        double t0 = Bench_Micros();
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg); // the window system's own events, if any
        double t1 = Bench_Micros();
        SetWindowTextA(window, "Video Out FPS: 60");
        double t2 = Bench_Micros();
        for (UINT id = 0; id < 16; id++) {
            JOYINFOEX info;
            memset(&info, 0, sizeof info);
            info.dwSize = sizeof info;
            info.dwFlags = JOY_RETURNALL | JOY_USEDEADZONE;
            joyGetPosEx(id, &info);
        }
        double t3 = Bench_Micros();
        if (i < BENCH_WARMUP)
            continue;
        passes.push_back(t3 - t0);
        peeks.push_back(t1 - t0);
        titles.push_back(t2 - t1);
        joysticks.push_back(t3 - t2);
    }
    const char *driver = SDL_GetCurrentVideoDriver();
    printf("idle pass on the %s driver, %d passes, microseconds (median / 90th percentile / max)\n",
           driver ? driver : "?", BENCH_PASSES);
    struct {
        const char *name;
        std::vector<double> *values;
    } rows[] = {{"whole pass", &passes},
                {"PeekMessageA, nothing queued", &peeks},
                {"SetWindowTextA, same title", &titles},
                {"joyGetPosEx x 16", &joysticks}};
    for (auto &row : rows) {
        std::vector<double> &v = *row.values;
        std::sort(v.begin(), v.end());
        printf("  %-30s %7.2f %7.2f %8.2f\n", row.name, v[v.size() / 2], v[v.size() * 9 / 10],
               v.back());
    }
    ExitProcess(0);
}
