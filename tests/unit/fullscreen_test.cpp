// Fullscreen switching over the fakes: the mode chosen, the window and cursor changes and their
// undoing, and the failures that must leave the window as it was.
#include "render/render.h"
#include "shell/shell.h"
#include "tests/unit/fake_core.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

typedef std::vector<std::string> Calls;

struct FullscreenTest : ::testing::Test {
    void SetUp() override
    {
        Fake_Reset();
        FakeCore_Reset();
        testing::internal::CaptureStdout();
        Render_Initialize(FAKE_WINDOW);
        testing::internal::GetCapturedStdout();
    }
    // Switches and returns the switch's calls; the log lines go to *out.
    Calls Switch(uint8_t on, uint8_t expectedResult, std::string *out = nullptr)
    {
        Fake().calls.clear();
        testing::internal::CaptureStdout();
        EXPECT_EQ(Render_SetFullscreen(on), expectedResult);
        std::string printed = testing::internal::GetCapturedStdout();
        if (out)
            *out = printed;
        return Fake_CallsMatching({"ChangeDisplaySettingsA", "SetWindowLongA", "ShowWindow",
                                   "SetWindowPos", "UpdateWindow", "ShowCursor"});
    }
    static std::pair<int32_t, int32_t> Offset()
    {
        int32_t x, y;
        Render_GetPictureOffset(&x, &y);
        return {x, y};
    }
};

TEST_F(FullscreenTest, TakesTheFirst640x400ModeAndRestoresTheWindow)
{
    Fake().displayModes = {{320, 200}, {640, 480}, {640, 400}, {640, 400}, {800, 600}};
    EXPECT_EQ(Switch(1, 0), (Calls{"ChangeDisplaySettingsA(640x400, size 156, 4)",
                                   "SetWindowLongA(-16, 0x90000000)", "ShowWindow(3)",
                                   "SetWindowPos(0, 0, 0, 640, 400, 0x0020)", "UpdateWindow()",
                                   "ShowCursor(0)"}));
    EXPECT_EQ(Render_IsFullscreen(), 1);
    EXPECT_EQ(Offset(), std::make_pair(0, 0));
    // Back: the saved style and outer rectangle.
    EXPECT_EQ(Switch(0, 0),
              (Calls{"ChangeDisplaySettingsA(null, 0)", "SetWindowLongA(-16, 0x10cb0000)",
                     "ShowWindow(9)", "SetWindowPos(-2, 647, 128, 646, 425, 0x0034)",
                     "UpdateWindow()", "ShowCursor(1)"}));
    EXPECT_EQ(Render_IsFullscreen(), 0);
    EXPECT_EQ(Fake().cursorCount, 0);
}

TEST_F(FullscreenTest, FallsBackTo640x480ThenToTheFirstListedMode)
{
    const struct {
        std::vector<std::pair<DWORD, DWORD>> modes;
        const char *change;
        std::pair<int32_t, int32_t> offset;
        const char *log;
    } cases[] = {
        {{{800, 600}, {640, 480}, {1024, 768}},
         "ChangeDisplaySettingsA(640x480, size 156, 4)",
         {0, 40},
         ""},
        {{{800, 600}, {1024, 768}},
         "ChangeDisplaySettingsA(800x600, size 156, 4)",
         {80, 100},
         "[Render]] FindFullscreenMode: 640x400 and 640x480 are not supported, using 800x600\n"},
        // Smaller than the picture: the offset goes negative, the picture stays centred.
        {{{320, 200}},
         "ChangeDisplaySettingsA(320x200, size 156, 4)",
         {-160, -100},
         "[Render]] FindFullscreenMode: 640x400 and 640x480 are not supported, using 320x200\n"},
    };
    for (const auto &c : cases) {
        Fake().displayModes = c.modes;
        std::string out;
        Calls calls = Switch(1, 0, &out);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls[0], c.change);
        EXPECT_EQ(Offset(), c.offset);
        EXPECT_EQ(out, c.log);
        Switch(0, 0);
    }
}

TEST_F(FullscreenTest, ASmallerScreenShowsTheMiddleOfThePicture)
{
    Fake().displayModes = {{320, 200}};
    Switch(1, 0);
    testing::internal::CaptureStdout();
    Render_Resize(320, 200, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "[Render] Resize: 320, 200 (Fullscreen)(Maximized)\n");
    Fake().calls.clear();
    Render_Paint(FAKE_WINDOW);
    Calls stretch = Fake_CallsMatching({"StretchBlt(window"});
    ASSERT_EQ(stretch.size(), 1u);
    EXPECT_EQ(stretch[0].rfind("StretchBlt(window, -160, -100, 640, 400, ", 0), 0u);
}

TEST_F(FullscreenTest, AFailedSwitchLeavesEverythingWindowed)
{
    Fake().displayModes = {{640, 480}};
    Fake().changeResult = -2;
    EXPECT_EQ(Switch(1, 1), (Calls{"ChangeDisplaySettingsA(640x480, size 156, 4)"}));
    EXPECT_EQ(Render_IsFullscreen(), 0);
    EXPECT_EQ(Offset(), std::make_pair(0, 0));
    // Losing activation does not minimize a window that is not fullscreen.
    Fake().calls.clear();
    Main_WindowProc(FAKE_WINDOW, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(Fake_CallsMatching({"ShowWindow"}).empty());

    // A display that lists nothing: said so, nothing changed.
    Fake().displayModes.clear();
    std::string out;
    EXPECT_EQ(Switch(1, 1, &out), Calls{});
    EXPECT_NE(out.find("[Render] SetFullscreen: the display lists no mode"), std::string::npos);
    EXPECT_EQ(Render_IsFullscreen(), 0);
    EXPECT_EQ(Fake().cursorCount, 0);
}

TEST_F(FullscreenTest, NothingSavedGivesACentredWindowAndMaximizedIsKept)
{
    Fake().displayModes = {{640, 400}};
    // Switching off first: the saved rectangle is empty, the style the initial one.
    Fake().screenWidth = 1600;
    Fake().screenHeight = 1200;
    Calls calls = Switch(0, 0);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[1], "SetWindowLongA(-16, 0x00cb0000)");
    EXPECT_EQ(calls[3], "SetWindowPos(-2, 477, 378, 646, 425, 0x0034)"); // 640 x 400 client

    // A maximized window is neither maximized again nor restored.
    testing::internal::CaptureStdout();
    Render_Resize(1600, 1177, 1);
    testing::internal::GetCapturedStdout();
    calls = Switch(1, 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ShowWindow(3)"), 0);
    // While fullscreen, deactivation minimizes and activation restores; the activation that
    // restoring itself brings must not restore the window a second time.
    Fake().calls.clear();
    Main_WindowProc(FAKE_WINDOW, WM_ACTIVATE, WA_INACTIVE, 0);
    Main_WindowProc(FAKE_WINDOW, WM_ACTIVATE, 1, 0);
    Main_WindowProc(FAKE_WINDOW, WM_ACTIVATE, 1, 0);
    EXPECT_EQ(Fake_CallsMatching({"ShowWindow"}), (Calls{"ShowWindow(6)", "ShowWindow(9)"}));
    calls = Switch(0, 0);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "ShowWindow(9)"), 0);
}

} // namespace
