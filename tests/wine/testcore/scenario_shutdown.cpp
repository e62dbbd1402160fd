// Shutdown through the system menu's Close, with a quit message that carries a non-zero code.
#include "core/core.h"
#include "testcore.h"

enum {
    SHUTDOWN_AT_FRAME = 5,
    SHUTDOWN_QUIT_CODE = 3 // what the quit message carries; the exit code must stay 0
};

static uint32_t shutdown_posted_at; // record length when the close command was posted

static void Shutdown_Begin(const char *tail)
{
    (void)tail;
}

static ScenarioStep Shutdown_Step(uint32_t frame)
{
    if (frame < SHUTDOWN_AT_FRAME)
        return STEP_CONTINUE;
    // What the caption's close button and the system menu send.
    shutdown_posted_at = Record_Count();
    PostMessageA(Hook_Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return STEP_CLOSE_POSTED;
}

static void Shutdown_Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)window;
    (void)wParam;
    (void)lParam;
    // After the front-end's own PostQuitMessage(0): the quit message now carries 3.
    if (message == WM_DESTROY)
        PostQuitMessage(SHUTDOWN_QUIT_CODE);
}

static uint32_t Shutdown_Find(uint32_t message, uint32_t from)
{
    while (from < Record_Count() && !Record_IsMessage(Record_Get(from), message))
        from++;
    return from;
}

static void Shutdown_End(void)
{
    uint32_t command = Shutdown_Find(WM_SYSCOMMAND, shutdown_posted_at);
    uint32_t close = Shutdown_Find(WM_CLOSE, command);
    uint32_t destroy = Shutdown_Find(WM_DESTROY, close);
    if (!Log_Check(destroy < Record_Count(), "SC_CLOSE closes and destroys the window",
                   "WM_SYSCOMMAND #%u, WM_CLOSE #%u, WM_DESTROY #%u", command, close, destroy))
        Record_Dump(shutdown_posted_at, Record_Count());
    // Nothing is called in the core once the window is gone: the core has no shutdown.
    uint32_t calls = 0;
    for (uint32_t i = destroy; i < Record_Count(); i++)
        calls += Record_Get(i)->kind == RECORD_CALL;
    Log_Check(calls == 0, "no core call after the window is destroyed", "%u calls", calls);
    Log_Line("quit message carried %u; the runner checks for exit code 0", SHUTDOWN_QUIT_CODE);
}

const Scenario Scenario_Shutdown = {"shutdown", Shutdown_Begin, Shutdown_Step, Shutdown_Message,
                                    Shutdown_End};
