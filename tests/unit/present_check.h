// Checks which blits Render_Present sends into the window, for one mode and client size.
#pragma once

#include "render/render.h"
#include "platform/fake/fake_platform.h"

#include <gtest/gtest.h>

struct PresentCase {
    int32_t mode;
    uint16_t width, height;
    int16_t offsetX, offsetY;
    std::vector<std::string> intoWindow; // prefixes of the blits into the window; "buf" the buffer
};

// Presents and compares; also that every context and the buffer were released again.
inline void ExpectPresent(const PresentCase &c, int bitmapsBefore)
{
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " at " + std::to_string(c.width) + "x" +
                 std::to_string(c.height));
    Fake().calls.clear();
    Render_Present(FAKE_DC, c.mode, c.width, c.height, c.offsetX, c.offsetY, 640, 400);
    std::string buffer = "none";
    for (const std::string &call : Fake().calls)
        if (call.rfind("CreateCompatibleBitmap(window", 0) == 0) {
            // The buffer context is the one created just before its bitmap.
            const std::vector<std::string> &all = Fake().calls;
            size_t at = (size_t)(&call - &all[0]);
            buffer = all[at - 1].substr(all[at - 1].rfind(' ') + 1);
            break;
        }
    std::vector<std::string> into;
    for (std::string call :
         Fake_CallsMatching({"BitBlt(window", "MaskBlt(window", "StretchBlt(window"})) {
        size_t at = call.find(", " + buffer + ",");
        if (at != std::string::npos)
            call.replace(at + 2, buffer.size(), "buf");
        into.push_back(call);
    }
    ASSERT_EQ(into.size(), c.intoWindow.size());
    for (size_t i = 0; i < into.size(); i++)
        EXPECT_EQ(into[i].rfind(c.intoWindow[i], 0), 0u) << into[i];
    EXPECT_EQ(Fake_LiveObjects('D'), 0);
    EXPECT_EQ(Fake_LiveObjects('B'), bitmapsBefore) << "the buffer is deleted";
}
