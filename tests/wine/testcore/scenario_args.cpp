// The tail handed to Kernel_Initialize: from Wine's command line and from raw child lines.
#include "core/core.h"
#include "testcore.h"

// The runner passes: args 'x  y' z '' 'p"q'. Wine quotes arguments with spaces and empty
// ones, escapes inner quotes, joins with one space, and puts the quoted program path first.
static const char args_expected[] = "args \"x  y\" z \"\" p\\\"q";

static bool Args_TailIs(const char *tail, const char *expected)
{
    if (!tail || !expected)
        return tail == expected;
    return strcmp(tail, expected) == 0;
}

static void Args_Begin(const char *tail)
{
    Log_Check(Args_TailIs(tail, args_expected), "tail passed unsplit",
              "got \"%s\", expected \"%s\"", tail, args_expected);
}

static ScenarioStep Args_CloseAtOnce(uint32_t frame)
{
    (void)frame;
    return STEP_CLOSE;
}

const Scenario Scenario_Args = {"args", Args_Begin, Args_CloseAtOnce, NULL, NULL};

// ---- A child run: its tail must be TESTCORE_EXPECT_TAIL, or null when that is unset ----

static void Child_Begin(const char *tail)
{
    char expected[256];
    const char *want = Env_Get("TESTCORE_EXPECT_TAIL", expected, sizeof expected);
    Log_Check(Args_TailIs(tail, want), "tail of the raw command line",
              "got %s%s%s, expected %s%s%s", tail ? "\"" : "", tail ? tail : "null",
              tail ? "\"" : "", want ? "\"" : "", want ? want : "null", want ? "\"" : "");
}

const Scenario Scenario_Child = {"child", Child_Begin, Args_CloseAtOnce, NULL, NULL};

// ---- The parent: starts the program again with chosen command lines ----

struct CmdLineCase {
    const char *name;
    const char *line; // the whole command line, program name first
    const char *tail; // what Kernel_Initialize must get; null for a null pointer
};

// The program name in a command line is only text: it need not be the real path.
static const CmdLineCase cmdline_cases[] = {
    // A quoted name with spaces is skipped whole; runs of spaces, quotes and backslashes
    // in the rest, and its trailing space, reach the core as they are.
    {"spaces", "\"C:\\Program Files\\Emu Lab\\MAIN.exe\"   -x  \"a  b\"c \"\" \\\"q\\\" ",
     "-x  \"a  b\"c \"\" \\\"q\\\" "},
    // Only the space ends an unquoted name and is skipped after it: tabs are text.
    {"tab", "C:\\Emu\\MAIN.exe\t-t  \tu", "\tu"},
    // A quote inside an unquoted name protects the spaces up to the next quote.
    {"midquote", "C:\\Emu\\MAIN.exe\"opt a\" b", "b"},
    // The closing quote ends the name even without a space after it.
    {"glued", "\"C:\\Emu\\MAIN.exe\"next  arg", "next  arg"},
    // Nothing but spaces after the name: no tail at all.
    {"blank", "\"C:\\Emu Lab\\MAIN.exe\"   ", NULL},
};

enum { CMDLINE_CHILD_TIMEOUT_MS = 25000 }; // for all children together

// Waits for the child until the deadline (a GetTickCount value), handling only messages sent
// to this thread meanwhile, so that a child that broadcasts cannot block on us; posted
// messages stay queued for the loop.
static DWORD CmdLine_Wait(HANDLE process, DWORD deadline)
{
    for (;;) {
        int32_t left = (int32_t)(deadline - GetTickCount());
        DWORD result =
            MsgWaitForMultipleObjects(1, &process, FALSE, left > 0 ? left : 0, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return result;
        MSG message;
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

static bool CmdLine_FirstLineIs(const char *path, const char *expected)
{
    static char text[256];
    if (!File_Read(path, text, sizeof text))
        return false;
    size_t length = strlen(expected);
    return strncmp(text, expected, length) == 0 &&
           (text[length] == '\n' || (text[length] == '\r' && text[length + 1] == '\n'));
}

static bool CmdLine_LogHasLine(const char *line)
{
    const char *log = Log_ReadAll();
    size_t length = strlen(line);
    for (const char *at = log; at && (at = strstr(at, line)) != NULL; at += length)
        if ((at == log || at[-1] == '\n') && (at[length] == '\n' || at[length] == 0))
            return true;
    return false;
}

enum { CMDLINE_CASES = sizeof cmdline_cases / sizeof cmdline_cases[0] };

static PROCESS_INFORMATION cmdline_children[CMDLINE_CASES];
static bool cmdline_started[CMDLINE_CASES];

static void CmdLine_OutputPath(const CmdLineCase *test, char *path, size_t size)
{
    char log[MAX_PATH];
    Env_Get("TESTCORE_LOG", log, sizeof log);
    _snprintf(path, size - 1, "%s.%s.stdout", log, test->name);
    path[size - 1] = 0;
}

static void CmdLine_Start(uint32_t index)
{
    const CmdLineCase *test = &cmdline_cases[index];
    char program[MAX_PATH], out[MAX_PATH + 16], line[256];
    GetModuleFileNameA(NULL, program, sizeof program);
    CmdLine_OutputPath(test, out, sizeof out);
    lstrcpynA(line, test->line, sizeof line); // CreateProcessA may write to it

    // Each child's stdout to a file of its own, to be checked like the parent's.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, NULL, TRUE};
    HANDLE output = CreateFileA(out, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    SetEnvironmentVariableA("TESTCORE_CHILD", test->name);
    SetEnvironmentVariableA("TESTCORE_EXPECT_TAIL", test->tail);
    cmdline_started[index] = CreateProcessA(program, line, NULL, NULL, TRUE, 0, NULL, NULL,
                                            &startup, &cmdline_children[index]);
    if (!cmdline_started[index])
        Log_Fail("child run starts", "\"%s\": CreateProcessA failed, error %lu", test->name,
                 (unsigned long)GetLastError());
    SetEnvironmentVariableA("TESTCORE_CHILD", NULL);
    SetEnvironmentVariableA("TESTCORE_EXPECT_TAIL", NULL);
    CloseHandle(output);
}

static void CmdLine_Finish(uint32_t index, DWORD deadline)
{
    const CmdLineCase *test = &cmdline_cases[index];
    PROCESS_INFORMATION *child = &cmdline_children[index];
    DWORD waited = CmdLine_Wait(child->hProcess, deadline);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(child->hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(child->hProcess, &code);
    CloseHandle(child->hProcess);
    CloseHandle(child->hThread);

    char what[64], out[MAX_PATH + 16], verdict[64];
    _snprintf(what, sizeof what - 1, "child run \"%s\"", test->name);
    what[sizeof what - 1] = 0;
    _snprintf(verdict, sizeof verdict - 1, "child %s: PASS", test->name);
    verdict[sizeof verdict - 1] = 0;
    CmdLine_OutputPath(test, out, sizeof out);
    bool first_line = CmdLine_FirstLineIs(out, "Initializing window...");
    bool passed = CmdLine_LogHasLine(verdict);
    Log_Check(waited == WAIT_OBJECT_0 && code == 0 && first_line && passed, what,
              "%s, exit code %lu, %s, %s", waited == WAIT_OBJECT_0 ? "ended" : "timed out",
              (unsigned long)code, first_line ? "stdout ok" : "stdout not as expected",
              passed ? "passed" : "no PASS verdict");
}

// The children run side by side; their log lines carry their names.
static void CmdLine_Begin(const char *tail)
{
    (void)tail;
    for (uint32_t i = 0; i < CMDLINE_CASES; i++)
        CmdLine_Start(i);
    DWORD deadline = GetTickCount() + CMDLINE_CHILD_TIMEOUT_MS;
    for (uint32_t i = 0; i < CMDLINE_CASES; i++)
        if (cmdline_started[i])
            CmdLine_Finish(i, deadline);
}

const Scenario Scenario_CmdLine = {"cmdline", CmdLine_Begin, Args_CloseAtOnce, NULL, NULL};
