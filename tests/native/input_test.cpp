// Keys, mouse and joysticks as Wine delivers them: message kinds, lParams, key state,
// capture, and WinMM's joystick answers.
#include "native_fixture.h"

// One key change by SDL scancode.
struct KeyStep {
    int scancode;
    bool down;
    bool repeat;
};
#define DOWN(k)                                                                                    \
    {                                                                                              \
        SDL_SCANCODE_##k, true, false                                                              \
    }
#define UP(k)                                                                                      \
    {                                                                                              \
        SDL_SCANCODE_##k, false, false                                                             \
    }
#define REPEAT(k)                                                                                  \
    {                                                                                              \
        SDL_SCANCODE_##k, true, true                                                               \
    }

// Keys pressed in the window and the messages Wine 8 gave for the same keys on X.
struct KeyCase {
    const char *what;
    std::vector<KeyStep> steps;
    std::vector<Seen> messages;
};

static const KeyCase KEY_CASES[] = {
    {"a letter",
     {DOWN(A), UP(A)},
     {{WM_KEYDOWN, 'A', 0x1E0001}, {WM_KEYUP, 'A', (LPARAM)0xC01E0001}}},
    {"a held letter repeats with bit 30",
     {DOWN(A), REPEAT(A), UP(A)},
     {{WM_KEYDOWN, 'A', 0x1E0001},
      {WM_KEYDOWN, 'A', 0x401E0001},
      {WM_KEYUP, 'A', (LPARAM)0xC01E0001}}},
    {"both Shift keys, generic code, the right one not extended",
     {DOWN(LSHIFT), DOWN(RSHIFT), UP(LSHIFT), UP(RSHIFT)},
     {{WM_KEYDOWN, VK_SHIFT, 0x2A0001},
      {WM_KEYDOWN, VK_SHIFT, 0x360001},
      {WM_KEYUP, VK_SHIFT, (LPARAM)0xC02A0001},
      {WM_KEYUP, VK_SHIFT, (LPARAM)0xC0360001}}},
    {"right Ctrl is extended",
     {DOWN(RCTRL), UP(RCTRL)},
     {{WM_KEYDOWN, VK_CONTROL, 0x11D0001}, {WM_KEYUP, VK_CONTROL, (LPARAM)0xC11D0001}}},
    {"Alt alone is a system key both ways, bit 29 only while down",
     {DOWN(LALT), UP(LALT)},
     {{WM_SYSKEYDOWN, VK_MENU, 0x20380001}, {WM_SYSKEYUP, VK_MENU, (LPARAM)0xC0380001}}},
    {"right Alt is extended",
     {DOWN(RALT), UP(RALT)},
     {{WM_SYSKEYDOWN, VK_MENU, 0x21380001}, {WM_SYSKEYUP, VK_MENU, (LPARAM)0xC1380001}}},
    {"keypad Enter and an arrow are extended",
     {DOWN(KP_ENTER), UP(KP_ENTER), DOWN(UP), UP(UP)},
     {{WM_KEYDOWN, VK_RETURN, 0x11C0001},
      {WM_KEYUP, VK_RETURN, (LPARAM)0xC11C0001},
      {WM_KEYDOWN, 0x26, 0x1480001},
      {WM_KEYUP, 0x26, (LPARAM)0xC1480001}}},
    {"F10 is a system key",
     {DOWN(F10), UP(F10)},
     {{WM_SYSKEYDOWN, 0x79, 0x440001}, {WM_SYSKEYUP, 0x79, (LPARAM)0xC0440001}}},
    {"Alt's release after another key is a plain key release",
     {DOWN(LALT), DOWN(X), UP(X), UP(LALT)},
     {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {WM_SYSKEYDOWN, 'X', 0x202D0001},
      {WM_SYSKEYUP, 'X', (LPARAM)0xE02D0001},
      {WM_KEYUP, VK_MENU, (LPARAM)0xC0380001}}},
    {"Alt+Enter held",
     {DOWN(LALT), DOWN(RETURN), REPEAT(RETURN), UP(RETURN), UP(LALT)},
     {{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
      {WM_SYSKEYDOWN, VK_RETURN, 0x201C0001},
      {WM_SYSKEYDOWN, VK_RETURN, 0x601C0001},
      {WM_SYSKEYUP, VK_RETURN, (LPARAM)0xE01C0001},
      {WM_KEYUP, VK_MENU, (LPARAM)0xC0380001}}},
    {"with Ctrl held Alt makes no system keys",
     {DOWN(LCTRL), DOWN(LALT), DOWN(X), UP(X), UP(LALT), UP(LCTRL)},
     {{WM_KEYDOWN, VK_CONTROL, 0x1D0001},
      {WM_KEYDOWN, VK_MENU, 0x20380001},
      {WM_KEYDOWN, 'X', 0x202D0001},
      {WM_KEYUP, 'X', (LPARAM)0xE02D0001},
      {WM_KEYUP, VK_MENU, (LPARAM)0xC0380001},
      {WM_KEYUP, VK_CONTROL, (LPARAM)0xC01D0001}}},
};

static void ClearKeys(void)
{
    for (int vk = 0; vk < 256; vk++)
        Hooks_SetKeyState(vk, 0);
}

TEST_F(NativeTest, KeysGiveWinesMessages)
{
    for (const KeyCase &c : KEY_CASES) {
        SCOPED_TRACE(c.what);
        ClearKeys();
        Open(true);
        for (const KeyStep &step : c.steps)
            Hooks_Key(step.scancode, step.down, step.repeat);
        Pump();
        EXPECT_EQ(Only({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}), c.messages);
        TearDown();
        SetUp();
    }
}

TEST_F(NativeTest, KeyStateFollowsTheMessagesTaken)
{
    ClearKeys();
    Open(true);
    Hooks_Key(SDL_SCANCODE_LSHIFT, 1, 0);
    Hooks_Key(SDL_SCANCODE_LSHIFT, 0, 0);
    Hooks_Key(SDL_SCANCODE_RSHIFT, 1, 0);
    // After each message taken: Shift, left Shift, right Shift (bit 15 down, bit 0 toggled).
    const SHORT after[3][3] = {{(SHORT)0xFF81, (SHORT)0xFF81, 0},
                               {0x0001, 0x0001, 0},
                               {(SHORT)0xFF80, 0x0001, (SHORT)0xFF81}};
    MSG msg;
    for (auto &state : after) {
        ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
        EXPECT_EQ(GetKeyState(VK_SHIFT), state[0]);
        EXPECT_EQ(GetKeyState(VK_LSHIFT), state[1]);
        EXPECT_EQ(GetKeyState(VK_RSHIFT), state[2]);
    }
}

TEST_F(NativeTest, WithoutFocusKeysGoToTheActiveWindowAsSystemKeys)
{
    ClearKeys();
    Open(true);
    SetFocus(NULL);
    Hooks_Key(SDL_SCANCODE_A, 1, 0);
    Pump();
    EXPECT_EQ(Only({WM_KEYDOWN, WM_SYSKEYDOWN}),
              (std::vector<Seen>{{WM_SYSKEYDOWN, 'A', 0x1E0001}}));
}

// Pointer steps: a move to a client position, or a button (1 left, 2 middle, 3 right).
struct MouseStep {
    int button; // 0: a move
    int x, y;
    bool down;
};
struct MouseCase {
    const char *what;
    bool capture;
    std::vector<MouseStep> steps;
    std::vector<Seen> messages;
};

static const MouseCase MOUSE_CASES[] = {
    {"a move inside", false, {{0, 100, 50, 0}}, {{WM_MOUSEMOVE, 0, PAIR(100, 50)}}},
    {"moves queued together leave the last",
     false,
     {{0, 1, 1, 0}, {0, 2, 2, 0}, {0, 3, 3, 0}},
     {{WM_MOUSEMOVE, 0, PAIR(3, 3)}}},
    {"outside the client without the capture: nothing", false, {{0, 700, 50, 0}}, {}},
    {"outside with the capture", true, {{0, 700, 50, 0}}, {{WM_MOUSEMOVE, 0, PAIR(700, 50)}}},
    {"negative with the capture", true, {{0, -5, -450, 0}}, {{WM_MOUSEMOVE, 0, PAIR(-5, -450)}}},
    {"button flags tell the buttons held after the change",
     false,
     {{0, 10, 20, 0},
      {1, 0, 0, true},
      {3, 0, 0, true},
      {1, 0, 0, false},
      {2, 0, 0, true},
      {3, 0, 0, false},
      {2, 0, 0, false}},
     {{WM_MOUSEMOVE, 0, PAIR(10, 20)},
      {WM_LBUTTONDOWN, MK_LBUTTON, PAIR(10, 20)},
      {WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, PAIR(10, 20)},
      {WM_LBUTTONUP, MK_RBUTTON, PAIR(10, 20)},
      {WM_MBUTTONDOWN, MK_RBUTTON | 0x10, PAIR(10, 20)},
      {WM_RBUTTONUP, 0x10, PAIR(10, 20)},
      {WM_MBUTTONUP, 0, PAIR(10, 20)}}},
};

TEST_F(NativeTest, MouseGoesToTheClientOrTheCapture)
{
    for (const MouseCase &c : MOUSE_CASES) {
        SCOPED_TRACE(c.what);
        Open(true);
        if (c.capture)
            SetCapture(window);
        for (const MouseStep &step : c.steps) {
            if (step.button)
                Hooks_MouseButton(window, step.button, step.down);
            else
                Hooks_MouseTo(window, step.x, step.y);
        }
        Pump();
        EXPECT_EQ(Only({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
                        WM_MBUTTONDOWN, WM_MBUTTONUP}),
                  c.messages);
        ReleaseCapture();
        TearDown();
        SetUp();
    }
}

TEST_F(NativeTest, LosingTheFocusCancelsTheCapture)
{
    Open(true);
    EXPECT_EQ(SetCapture(window), (HWND)NULL);
    EXPECT_EQ(GetCapture(), window);
    Hooks_Focus(window, 0);
    Pump();
    EXPECT_EQ(GetCapture(), (HWND)NULL);
    EXPECT_EQ(Only({0x001F, 0x0215, WM_ACTIVATE}),
              (std::vector<Seen>{{0x0215, 0, 0}, {0x001F, 0, 0}, {WM_ACTIVATE, 0, 0}}));
}

// What joyGetPosEx fills for a virtual joystick with these settings.
TEST_F(NativeTest, JoysticksAnswerAsWinesWinMM)
{
    EXPECT_EQ(joyGetNumDevs(), 16u);
    JOYINFOEX info;
    memset(&info, 0, sizeof info);
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    EXPECT_EQ(joyGetPosEx(0, &info), 165u); // nothing plugged in: JOYERR_PARMS
    EXPECT_EQ(joyGetPosEx(0, NULL), 11u);   // MMSYSERR_INVALPARAM

    int stick = Hooks_JoystickAttach();
    ASSERT_GE(stick, 0);
    struct {
        int axis, value;
        DWORD JOYINFOEX::*field;
        DWORD expected;
    } axes[] = {{0, -32768, &JOYINFOEX::dwXpos, 0},    {1, 0, &JOYINFOEX::dwYpos, 32768},
                {2, 32767, &JOYINFOEX::dwZpos, 65535}, {3, -1, &JOYINFOEX::dwRpos, 32767},
                {4, 100, &JOYINFOEX::dwUpos, 32868},   {5, -32767, &JOYINFOEX::dwVpos, 1}};
    for (auto &a : axes)
        Hooks_JoystickAxis(stick, a.axis, a.value);
    Hooks_JoystickButton(stick, 0, 1);
    Hooks_JoystickButton(stick, 31, 1);
    ASSERT_EQ(joyGetPosEx(0, &info), 0u);
    for (auto &a : axes)
        EXPECT_EQ(info.*a.field, a.expected) << "axis " << a.axis;
    EXPECT_EQ(info.dwButtons, 0x80000001u);
    EXPECT_EQ(info.dwButtonNumber, 2u);

    const struct {
        int hat;
        DWORD pov;
    } hats[] = {{SDL_HAT_CENTERED, 0xFFFF}, {SDL_HAT_UP, 0},
                {SDL_HAT_RIGHTUP, 4500},    {SDL_HAT_RIGHT, 9000},
                {SDL_HAT_RIGHTDOWN, 13500}, {SDL_HAT_DOWN, 18000},
                {SDL_HAT_LEFTDOWN, 22500},  {SDL_HAT_LEFT, 27000},
                {SDL_HAT_LEFTUP, 31500}};
    for (auto &h : hats) {
        Hooks_JoystickHat(stick, h.hat);
        joyGetPosEx(0, &info);
        EXPECT_EQ(info.dwPOV, h.pov) << "hat " << h.hat;
    }
    // Only what dwFlags asks for is written.
    memset(&info, 0x55, sizeof info);
    info.dwSize = sizeof info;
    info.dwFlags = 1; // JOY_RETURNX
    ASSERT_EQ(joyGetPosEx(0, &info), 0u);
    EXPECT_EQ(info.dwXpos, 0u);
    EXPECT_EQ(info.dwYpos, 0x55555555u);
    info.dwSize = sizeof info - 4;
    EXPECT_EQ(joyGetPosEx(0, &info), 165u);
    info.dwSize = sizeof info;
    EXPECT_EQ(joyGetPosEx(16, &info), 165u);

    Hooks_JoystickDetach(stick);
    EXPECT_EQ(joyGetPosEx(0, &info), 165u); // unplugged
    stick = Hooks_JoystickAttach();
    EXPECT_EQ(joyGetPosEx(0, &info), 0u); // back under the same id
    Hooks_JoystickDetach(stick);
}
