// Joystick polling against a scripted joyGetPosEx. (Keys and the mouse are tested under Wine,
// through the real message paths.)
#include "input/input.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::string> Calls;

JOYINFOEX State(DWORD x, DWORD y, DWORD buttons, DWORD pov)
{
    JOYINFOEX s = {};
    s.dwXpos = x;
    s.dwYpos = y;
    s.dwButtons = buttons;
    s.dwPOV = pov;
    return s;
}

struct JoystickTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
    }
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
