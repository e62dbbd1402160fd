// The process of the native build: its command line, SDL's start, the console title and
// the process end. Errors a user can cause end here in one line on standard error.
#include "platform/sdl/system.h"

#include <SDL.h>
#include <unistd.h>

static struct {
    char commandLine[32768]; // Windows' own limit for a command line
    char program[64];        // the name error lines start with
    bool sdlStarted;
} s_entry = {"", "video-out", false};

// Wine's rule: quote an argument that is empty or holds a space or tab; inside quotes a
// double quote becomes \" and the backslashes before it (or before the closing quote)
// are doubled. The program name is always quoted.
static size_t System_AppendArgument(const char *arg, bool quote, char *out, size_t at, size_t size)
{
#define SYSTEM_PUT(c)                                                                              \
    do {                                                                                           \
        if (at + 1 < size)                                                                         \
            out[at] = (c);                                                                         \
        at++;                                                                                      \
    } while (0)
    if (!quote)
        quote = arg[0] == '\0' || strpbrk(arg, " \t") != NULL;
    if (quote)
        SYSTEM_PUT('"');
    size_t backslashes = 0;
    for (const char *p = arg; *p; p++) {
        if (*p == '\\') {
            backslashes++;
        } else {
            if (*p == '"')
                for (size_t i = 0; i <= backslashes; i++)
                    SYSTEM_PUT('\\');
            backslashes = 0;
        }
        SYSTEM_PUT(*p);
    }
    if (quote) {
        for (size_t i = 0; i < backslashes; i++)
            SYSTEM_PUT('\\');
        SYSTEM_PUT('"');
    }
#undef SYSTEM_PUT
    return at;
}

size_t System_BuildCommandLine(int argc, const char *const *argv, char *out, size_t size)
{
    size_t at = 0;
    for (int i = 0; i < argc; i++) {
        if (i > 0 && at + 1 < size)
            out[at] = ' ';
        at += i > 0;
        at = System_AppendArgument(argv[i] ? argv[i] : "", i == 0, out, at, size);
    }
    if (size > 0)
        out[at < size ? at : size - 1] = '\0';
    return at < size ? at : size - 1;
}

// Errors end the process before anything else can go wrong: _exit skips the core's destructors.
void System_Fail(const char *format, const char *detail)
{
    fflush(stdout);
    fprintf(stderr, "%s: ", s_entry.program);
    fprintf(stderr, format, detail);
    fputc('\n', stderr);
    if (s_entry.sdlStarted)
        SDL_Quit();
    _exit(1);
}

bool System_StartSdl(void)
{
    if (s_entry.sdlStarted)
        return true;
    const char *driver = getenv("SDL_VIDEODRIVER");
    bool named = driver && driver[0];
    const char *x11 = getenv("DISPLAY");
    const char *wayland = getenv("WAYLAND_DISPLAY");
    if (!named && !(x11 && x11[0]) && !(wayland && wayland[0]))
        System_Fail("no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not "
                    "set)%s; run it in a graphical session, or with SDL_VIDEODRIVER=offscreen "
                    "to run without showing a window",
                    "");
    // Ctrl+C ends a console program at once, as on Windows.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The click that activates a window is also delivered, as Windows does.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Joysticks are read whether or not the window has the focus, as WinMM reads them: SDL
    // would otherwise drop their changes while another window has it.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Only the window systems the environment names are tried: Wayland's library would
    // print its own complaints where only X is meant.
    if (!named)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, wayland && wayland[0] ? "wayland,x11" : "x11");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0) {
        if (!named)
            System_Fail("cannot open the display %s; check that the X server runs and DISPLAY "
                        "names it, or set SDL_VIDEODRIVER=offscreen to run without showing a "
                        "window",
                        x11 && x11[0] ? x11 : wayland);
        System_Fail("cannot start the window system: %s", SDL_GetError());
    }
    s_entry.sdlStarted = true;
    // The framebuffer path: a texture per present costs more than the copy it saves. Not
    // on Wayland, whose driver offers no window surface without a texture.
    if (strcmp(SDL_GetCurrentVideoDriver(), "wayland") != 0)
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_StopTextInput();
    return true;
}

void System_Begin(int argc, const char *const *argv)
{
    if (argc > 0 && argv[0]) {
        const char *slash = strrchr(argv[0], '/');
        snprintf(s_entry.program, sizeof s_entry.program, "%s", slash ? slash + 1 : argv[0]);
    }
    System_BuildCommandLine(argc, argv, s_entry.commandLine, sizeof s_entry.commandLine);
    System_StartSdl();
}

LPSTR WINAPI GetCommandLineA(void)
{
    return s_entry.commandLine;
}

void WINAPI ExitProcess(UINT code)
{
    fflush(stdout);
    fflush(stderr);
    if (s_entry.sdlStarted)
        SDL_Quit();
    s_entry.sdlStarted = false;
    // exit() runs the core library's destructors, as Windows detaches its DLLs.
    exit((int)code);
}

BOOL WINAPI SetConsoleTitleA(LPCSTR title)
{
    if (!title)
        return FALSE;
    if (isatty(STDOUT_FILENO)) {
        fflush(stdout);
        printf("\033]0;%s\007", title);
        fflush(stdout);
    }
    return TRUE;
}
