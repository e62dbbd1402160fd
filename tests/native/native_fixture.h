// Shared set-up of the native backend's tests: SDL's offscreen driver, a window like the
// program's with a procedure that answers as the program's does, and what it was sent.
#pragma once

#include "platform/native/hooks.h"
#include "platform/native/native.h"

#include <gtest/gtest.h>
#include <vector>

// One window-procedure call as the observer saw it.
struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen &o) const
    {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};
std::ostream &operator<<(std::ostream &out, const Seen &seen);

// LPARAM of two 16-bit halves.
#define PAIR(low, high) ((LPARAM)(((uint32_t)(uint16_t)(high) << 16) | (uint16_t)(low)))

// A fresh 640 x 400 window of style 0x00CB0000 at (650, 150) per test, shown as the
// program shows it when show is set, destroyed afterwards; the record starts empty.
class NativeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    HWND Open(bool show);
    // Takes and dispatches messages until the queue is empty; true when WM_QUIT came.
    bool Pump();
    // The calls recorded for the listed messages (all of them for an empty list).
    std::vector<Seen> Only(std::initializer_list<UINT> messages) const;
    HWND window = NULL;
};
