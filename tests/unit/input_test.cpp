// Keyboard and mouse forwarding through the window procedure, and joystick polling, against
// the recording fakes of the platform and the core.
#include "input/input.h"
#include "render/render.h"
#include "shell/shell.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::string> Calls;

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

LPARAM At(int x, int y)
{
    return (LPARAM)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x);
}

struct InputTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
        Fake().windowProc = Main_WindowProc; // SendMessageA re-enters the procedure
    }
    // Sends the messages; the input calls they caused, in order.
    Calls Send(std::initializer_list<Message> messages)
    {
        Fake().calls.clear();
        for (const Message &m : messages)
            EXPECT_EQ(Main_WindowProc(FAKE_WINDOW, m.message, m.wParam, m.lParam),
                      m.message == WM_KEYDOWN || m.message == WM_KEYUP ? FAKE_RESULT_DEFAULT : 1);
        return Fake_CallsMatching({"Keyboard_", "Input_Event", "Mouse_Move", "Mouse_Enter",
                                   "Mouse_Leave", "Mouse_Key", "SetCapture", "ReleaseCapture",
                                   "SetFocus", "SendMessageA"});
    }
};

TEST_F(InputTest, KeysAreForwardedOncePerPressWithTheSidedModifiers)
{
    Fake().keyState[VK_LSHIFT] = (SHORT)0x8000;
    EXPECT_EQ(Send({{WM_KEYDOWN, VK_SHIFT, 0x002A0001}}),
              (Calls{"Keyboard_Press(0x10)", "Input_Event(0x10, 8)", "Keyboard_Press(0xa0)",
                     "Keyboard_Release(0xa1)"}));
    Fake().keyState[VK_LSHIFT] = 0;
    Fake().keyState[VK_RSHIFT] = (SHORT)0x8001; // down, toggled
    EXPECT_EQ(Send({{WM_KEYUP, VK_SHIFT, (LPARAM)0xC02A0001u}}),
              (Calls{"Keyboard_Release(0x10)", "Input_Event(0x10, 2)", "Keyboard_Release(0xa0)",
                     "Keyboard_Press(0xa1)"}));
    Fake().keyState[VK_RMENU] = (SHORT)0x8000;
    EXPECT_EQ(Send({{WM_KEYDOWN, VK_CONTROL, 0x001D0001}, {WM_KEYDOWN, VK_MENU, 0x00380001}}),
              (Calls{"Keyboard_Press(0x11)", "Input_Event(0x11, 8)", "Keyboard_Release(0xa2)",
                     "Keyboard_Release(0xa3)", "Keyboard_Press(0x12)", "Input_Event(0x12, 8)",
                     "Keyboard_Release(0xa4)", "Keyboard_Press(0xa5)"}));
    // Held with auto-repeats: one press, one release.
    EXPECT_EQ(Send({{WM_KEYDOWN, 'A', 0x001E0001},
                    {WM_KEYDOWN, 'A', 0x401E0001},
                    {WM_KEYDOWN, 'A', 0x401E0001},
                    {WM_KEYUP, 'A', (LPARAM)0xC01E0001u}}),
              (Calls{"Keyboard_Press(0x41)", "Input_Event(0x41, 8)", "Keyboard_Release(0x41)",
                     "Input_Event(0x41, 2)"}));
    // The whole code to the key functions, its low byte as the event.
    EXPECT_EQ(Send({{WM_KEYDOWN, 0x1234, 0}}),
              (Calls{"Keyboard_Press(0x1234)", "Input_Event(0x34, 8)"}));
}

TEST_F(InputTest, SystemKeysAreNeverForwardedAndAltEnterToggles)
{
    Fake().displayModes = {{640, 400}};
    EXPECT_EQ(Send({{WM_SYSKEYDOWN, VK_MENU, 0x20380001},
                    {WM_SYSKEYDOWN, 0x73, 0x203E0001}, // Alt+F4
                    {WM_SYSKEYDOWN, 0x79, 0x00440001}}),
              Calls{});
    EXPECT_TRUE(Fake_CallsMatching({"DefWindowProcA"}).empty());
    EXPECT_EQ(Render_IsFullscreen(), 0);
    Send({{WM_SYSKEYDOWN, VK_RETURN, 0x201C0001}});
    EXPECT_EQ(Render_IsFullscreen(), 1);
    Send({{WM_SYSKEYDOWN, VK_RETURN, 0x601C0001}}); // Enter held: no second switch
    EXPECT_EQ(Render_IsFullscreen(), 1);
    EXPECT_EQ(Send({{WM_SYSKEYDOWN, VK_RETURN, 0x201C0001}}), Calls{});
    EXPECT_EQ(Render_IsFullscreen(), 0);
    EXPECT_EQ(Fake().cursorCount, 0);
}

TEST_F(InputTest, MouseMovesCaptureClampAndLeave)
{
    const struct {
        const char *what;
        Message message;
        Calls calls;
    } cases[] = {
        {"row 0 is outside",
         {WM_MOUSEMOVE, 0, At(5, 0)},
         {"SendMessageA(0x02a3, 0, 0)", "ReleaseCapture()", "Mouse_LeaveWindow()"}},
        {"enter at (1, 1)",
         {WM_MOUSEMOVE, 0, At(1, 1)},
         {"Mouse_Move(1, 1)", "SetCapture()", "Mouse_EnterWindow()"}},
        {"inside, captured", {WM_MOUSEMOVE, 0, At(639, 399)}, {"Mouse_Move(639, 399)"}},
        {"beyond the display",
         {WM_MOUSEMOVE, 0, At(700, 300)},
         {"SendMessageA(0x02a3, 0, 0)", "ReleaseCapture()", "Mouse_LeaveWindow()"}},
        {"left drag beyond", {WM_MOUSEMOVE, MK_LBUTTON, At(700, 300)}, {"Mouse_Move(639, 300)"}},
        {"left drag past two edges",
         {WM_MOUSEMOVE, MK_LBUTTON, At(-5, 450)},
         {"Mouse_Move(0, 399)"}},
        {"right drag at the 16-bit extremes",
         {WM_MOUSEMOVE, MK_RBUTTON, At(32767, -32768)},
         {"Mouse_Move(639, 0)"}},
        {"middle drag is a leave",
         {WM_MOUSEMOVE, 0x10, At(-1, 10)},
         {"SendMessageA(0x02a3, 0, 0)", "ReleaseCapture()", "Mouse_LeaveWindow()"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Send({c.message}), c.calls) << c.what;
}

TEST_F(InputTest, ButtonsUpdateThePositionFirstInTheirOwnOrder)
{
    const struct {
        const char *what;
        Message message;
        Calls calls;
    } cases[] = {
        {"left press at x 0: clamped, no capture",
         {WM_LBUTTONDOWN, MK_LBUTTON, At(0, 50)},
         {"SetFocus()", "SendMessageA(0x0200, 1, 3276800)", "Mouse_Move(0, 50)",
          "Mouse_KeyPress(1)"}},
        {"left release outside",
         {WM_LBUTTONUP, 0, At(650, 50)},
         {"Mouse_KeyRelease(1)", "SendMessageA(0x0200, 0, 3277450)", "SendMessageA(0x02a3, 0, 0)",
          "ReleaseCapture()", "Mouse_LeaveWindow()"}},
        {"right press inside",
         {WM_RBUTTONDOWN, MK_RBUTTON, At(10, 20)},
         {"SetFocus()", "SendMessageA(0x0200, 2, 1310730)", "Mouse_Move(10, 20)", "SetCapture()",
          "Mouse_EnterWindow()", "Mouse_KeyPress(2)"}},
        {"right release outside",
         {WM_RBUTTONUP, 0, At(10, 400)},
         {"SendMessageA(0x0200, 0, 26214410)", "SendMessageA(0x02a3, 0, 0)", "ReleaseCapture()",
          "Mouse_LeaveWindow()", "Mouse_KeyRelease(2)"}},
        {"middle press: focus after the move",
         {WM_MBUTTONDOWN, 0x10, At(10, 20)},
         {"SendMessageA(0x0200, 16, 1310730)", "Mouse_Move(10, 20)", "SetCapture()",
          "Mouse_EnterWindow()", "SetFocus()"}},
        {"middle release",
         {WM_MBUTTONUP, 0, At(11, 20)},
         {"SendMessageA(0x0200, 0, 1310731)", "Mouse_Move(11, 20)"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Send({c.message}), c.calls) << c.what;
}

// ---- joysticks ----

JOYINFOEX State(DWORD x, DWORD y, DWORD buttons, DWORD pov)
{
    JOYINFOEX s = {};
    s.dwXpos = x;
    s.dwYpos = y;
    s.dwButtons = buttons;
    s.dwPOV = pov;
    return s;
}

struct JoystickTest : InputTest {
    void Answer(UINT id, JOYINFOEX state)
    {
        Fake().joysticks[id].result = JOYERR_NOERROR;
        Fake().joysticks[id].state = state;
    }
    Calls Poll()
    {
        Fake().calls.clear();
        Joystick_Poll();
        return Fake_CallsMatching({"Input_Event"});
    }
};

TEST_F(JoystickTest, OnlyIds0To15ArePolled)
{
    Fake().joystickIds = 20;
    Joystick_Initialize();
    Fake().joystickQueries.clear();
    Joystick_Poll();
    ASSERT_EQ(Fake().joystickQueries.size(), 16u);
    EXPECT_EQ(Fake().joystickQueries.back(), 15u);
}

TEST_F(JoystickTest, ChangesAreReportedAgainstTheLastReportedState)
{
    Fake().joystickIds = 3;
    Joystick_Initialize();
    EXPECT_EQ(Poll(), Calls{}); // nothing answers

    // First answer of id 1 against its all-zero record: the zero hat counts as forward.
    Answer(1, State(0x8000, 0, (1u << 0) | (1u << 5), 9000));
    EXPECT_EQ(Poll(),
              (Calls{"Input_Event(0x4100, 8)", "Input_Event(0x4105, 8)", "Input_Event(0x4120, 2)",
                     "Input_Event(0x4121, 8)", "Input_Event(0x5100, 128)"}));
    EXPECT_EQ(Poll(), Calls{}) << "unchanged";

    const struct {
        const char *what;
        JOYINFOEX state;
        Calls events;
    } steps[] = {
        {"small move, same value", State(0x8010, 0, 0x21, 9000), {"Input_Event(0x5100, 128)"}},
        {"two buttons at once, lower first",
         State(0x8010, 0, 0x0C, 9000),
         {"Input_Event(0x4100, 2)", "Input_Event(0x4102, 8)", "Input_Event(0x4103, 8)",
          "Input_Event(0x4105, 2)"}},
        {"right to back-left",
         State(0x8010, 0, 0x0C, 22500),
         {"Input_Event(0x4121, 2)", "Input_Event(0x4122, 8)", "Input_Event(0x4123, 8)"}},
        {"to centred",
         State(0x8010, 0, 0x0C, 0xFFFFFFFF),
         {"Input_Event(0x4122, 2)", "Input_Event(0x4123, 2)"}},
        {"centred to forward-right",
         State(0x8010, 0, 0x0C, 4500),
         {"Input_Event(0x4120, 8)", "Input_Event(0x4121, 8)"}},
        {"past 359.99 degrees counts as centred",
         State(0x8010, 0, 0x0C, 36000),
         {"Input_Event(0x4120, 2)", "Input_Event(0x4121, 2)"}},
        {"forward-left is left and forward",
         State(0x8010, 0, 0x0C, 31500),
         {"Input_Event(0x4123, 8)", "Input_Event(0x4120, 8)"}},
    };
    for (const auto &s : steps) {
        Answer(1, s.state);
        EXPECT_EQ(Poll(), s.events) << s.what;
    }

    // Unplugged: nothing, and no releases; back again: the differences.
    Fake().joysticks[1].result = 167;
    EXPECT_EQ(Poll(), Calls{});
    Answer(1, State(0x8010, 0xFF00, 0x0C, 31500));
    EXPECT_EQ(Poll(), (Calls{"Input_Event(0x5101, 255)"}));

    // Each id on its own: only the second one changed.
    Answer(2, State(0, 0, 1u << 31, 0));
    EXPECT_EQ(Poll(), (Calls{"Input_Event(0x421f, 8)"}));
}

TEST_F(JoystickTest, FieldsAtTheirMaximumReachTheCoreAsTheyAre)
{
    Fake().joystickIds = 16;
    Joystick_Initialize();
    JOYINFOEX max;
    memset(&max, 0xFF, sizeof max);
    Answer(15, max);
    Calls events = Poll();
    // All buttons; the hat centred, which releases the all-zero record's forward; every axis.
    ASSERT_EQ(events.size(), 32u + 1u + 6u);
    EXPECT_EQ(events[0], "Input_Event(0x4f00, 8)");
    EXPECT_EQ(events[31], "Input_Event(0x4f1f, 8)");
    EXPECT_EQ(events[32], "Input_Event(0x4f20, 2)");
    EXPECT_EQ(events[33], "Input_Event(0x5f00, 16777215)");
    EXPECT_EQ(events[38], "Input_Event(0x5f05, 16777215)");
}

TEST_F(JoystickTest, FirstPollOfId0ComparesWithWhatInitializationLeft)
{
    Answer(0, State(0x4000, 0x4000, 0, 0));
    Fake().joystickIds = 1;
    Joystick_Initialize();
    // Initialization queried without flags: the flags now differ, the positions do not.
    EXPECT_EQ(Poll(), Calls{});
}

} // namespace
