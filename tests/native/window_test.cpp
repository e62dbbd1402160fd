// Windows and messages as the program sees them under Wine: orders, sizes, queue priority,
// painting and the virtual display mode.
#include "native_fixture.h"

enum : UINT { ANY = 0xFFFFFFFFu, WM_MOVE_ = 0x0003, WM_SETFOCUS_ = 0x0007, WM_KILLFOCUS_ = 0x0008 };

// The messages the program handles, and the focus pair that frames them.
#define HANDLED                                                                                    \
    {                                                                                              \
        WM_SIZE, WM_MOVE_, WM_ACTIVATE, WM_SETFOCUS_, WM_KILLFOCUS_, WM_PAINT, WM_ERASEBKGND,      \
            WM_CLOSE, WM_DESTROY                                                                   \
    }

// Compares recorded calls with expected ones; ANY matches any wParam or lParam.
static void ExpectCalls(const std::vector<Seen> &got, const std::vector<Seen> &want)
{
    bool same = got.size() == want.size();
    for (size_t i = 0; same && i < got.size(); i++)
        same = got[i].message == want[i].message &&
               (want[i].wParam == ANY || got[i].wParam == want[i].wParam) &&
               ((UINT)want[i].lParam == ANY || got[i].lParam == want[i].lParam);
    EXPECT_TRUE(same) << ::testing::PrintToString(got) << "\n  wanted "
                      << ::testing::PrintToString(want);
}

TEST_F(NativeTest, CreationSendsNoSizeAndTheFirstShowingSendsItLast)
{
    Open(false);
    ExpectCalls(Only({}), {{NATIVE_WM_NCCREATE, 0, ANY}, {WM_CREATE, 0, ANY}});
    SetUp(); // a fresh record
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    std::vector<UINT> order;
    for (const Seen &s : Only({}))
        order.push_back(s.message);
    std::vector<UINT> wine = {NATIVE_WM_SHOWWINDOW,
                              NATIVE_WM_WINDOWPOSCHANGING,
                              WM_QUERYNEWPALETTE,
                              NATIVE_WM_ACTIVATEAPP,
                              NATIVE_WM_NCACTIVATE,
                              WM_ACTIVATE,
                              WM_SETFOCUS_,
                              WM_ERASEBKGND,
                              NATIVE_WM_WINDOWPOSCHANGED,
                              WM_SIZE,
                              WM_MOVE_,
                              WM_PAINT};
    EXPECT_EQ(order, wine);
    ExpectCalls(Only({WM_SIZE, WM_MOVE_, WM_ACTIVATE}),
                {{WM_ACTIVATE, 1, 0}, {WM_SIZE, 0, PAIR(640, 400)}, {WM_MOVE_, 0, PAIR(650, 150)}});
}

// A change of the window's state, what the program's procedure hears of it and where the
// window ends (Wine 8 on a 1600 x 1200 desktop).
struct StateCase {
    const char *what;
    void (*act)(HWND);
    std::vector<Seen> handled;
    RECT rect;
    bool iconic, focused;
};

static const StateCase STATE_CASES[] = {
    {"maximize",
     [](HWND w) { ShowWindow(w, SW_SHOWMAXIMIZED); },
     {{WM_ERASEBKGND, ANY, 0},
      {WM_MOVE_, 0, PAIR(0, 19)},
      {WM_SIZE, 2, PAIR(1600, 1181)},
      {WM_PAINT, 0, 0}},
     {-3, -3, 1603, 1203},
     false,
     true},
    {"minimize",
     [](HWND w) {
         ShowWindow(w, SW_MINIMIZE);
         RedrawWindow(w, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW); // no paint when iconic
     },
     {{WM_KILLFOCUS_, 0, 0}, {WM_MOVE_, 0, PAIR(-32000, -32000)}, {WM_SIZE, 1, 0}},
     {-32000, -32000, -31840, -31976},
     true,
     false},
    {"restore from minimized",
     [](HWND w) {
         ShowWindow(w, SW_MINIMIZE);
         ShowWindow(w, SW_RESTORE);
     },
     {{WM_KILLFOCUS_, 0, 0},
      {WM_MOVE_, 0, PAIR(-32000, -32000)},
      {WM_SIZE, 1, 0},
      {WM_ERASEBKGND, ANY, 0},
      {WM_MOVE_, 0, PAIR(650, 150)},
      {WM_SIZE, 0, PAIR(640, 400)},
      {WM_SETFOCUS_, 0, 0},
      {WM_ACTIVATE, 1, 0},
      {WM_PAINT, 0, 0}},
     {647, 128, 1293, 553},
     false,
     true},
    {"focus lost and gained",
     [](HWND w) {
         Hooks_Focus(w, 0);
         Hooks_Focus(w, 1);
     },
     {{WM_ACTIVATE, 0, 0}, {WM_KILLFOCUS_, 0, 0}, {WM_ACTIVATE, 1, 0}, {WM_SETFOCUS_, 0, 0}},
     {647, 128, 1293, 553},
     false,
     true},
    {"popup style then maximized, as fullscreen does",
     [](HWND w) {
         SetWindowLongA(w, GWL_STYLE, (LONG)(WS_POPUP | WS_VISIBLE));
         ShowWindow(w, SW_SHOWMAXIMIZED);
     },
     {{WM_ERASEBKGND, ANY, 0}, {WM_MOVE_, 0, 0}, {WM_SIZE, 2, PAIR(1600, 1200)}, {WM_PAINT, 0, 0}},
     {0, 0, 1600, 1200},
     false,
     true},
};

TEST_F(NativeTest, StateChangesSendWinesMessagesAndPlaceTheWindow)
{
    for (const StateCase &c : STATE_CASES) {
        SCOPED_TRACE(c.what);
        Open(true);
        c.act(window);
        Pump();
        ExpectCalls(Only(HANDLED), c.handled);
        HooksWindowState state;
        ASSERT_TRUE(Hooks_GetWindowState(window, &state));
        EXPECT_EQ(state.window.left, c.rect.left);
        EXPECT_EQ(state.window.top, c.rect.top);
        EXPECT_EQ(state.window.right, c.rect.right);
        EXPECT_EQ(state.window.bottom, c.rect.bottom);
        EXPECT_EQ(state.iconic, c.iconic);
        EXPECT_EQ(state.focused, c.focused);
        TearDown();
        SetUp();
    }
}

TEST_F(NativeTest, CloseButtonDestroysTheWindowAndQuitComesLast)
{
    Open(true);
    Hooks_Close(window);
    EXPECT_TRUE(Pump());
    // The record takes a call when it returns: WM_CLOSE after what it caused.
    ExpectCalls(Only(HANDLED),
                {{WM_ACTIVATE, 0, 0}, {WM_KILLFOCUS_, 0, 0}, {WM_DESTROY, 0, 0}, {WM_CLOSE, 0, 0}});
    HooksWindowState state;
    ASSERT_TRUE(Hooks_GetWindowState(window, &state));
    EXPECT_TRUE(state.destroyed);
    EXPECT_FALSE(state.active || state.focused);
    EXPECT_FALSE(UnregisterClassA("NOSUCHCLASS", NULL));
}

TEST_F(NativeTest, QueueGivesPostedThenInputThenQuitThenPaint)
{
    Open(true);
    InvalidateRect(window, NULL, TRUE);
    PostQuitMessage(7);
    Hooks_Key(SDL_SCANCODE_A, 1, 0);
    Hooks_PostMessage(window, WM_USER + 1, 0, 0);
    Hooks_PostMessage(NULL, WM_USER + 2, 0, 0);
    std::vector<UINT> order;
    MSG msg;
    while (order.size() < 8 && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message == WM_QUIT)
            EXPECT_EQ(msg.wParam, 7u);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_KEYDOWN, WM_QUIT, WM_PAINT}));
    // The erase was asked for with the invalidation: BeginPaint sent it inside WM_PAINT.
    ExpectCalls(Only({WM_PAINT, WM_ERASEBKGND}), {{WM_ERASEBKGND, ANY, 0}, {WM_PAINT, 0, 0}});
}

TEST_F(NativeTest, RedrawWindowPaintsBeforeItReturns)
{
    Open(true);
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Only({WM_PAINT}).size(), 1u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)); // nothing left to paint
}

TEST_F(NativeTest, WindowTextGoesThroughTheProcedure)
{
    Open(true);
    SetWindowTextA(window, "Video Out FPS: 60");
    SetWindowTextA(window, "Video Out FPS: 60");
    EXPECT_EQ(Only({WM_SETTEXT}).size(), 2u);
    HooksWindowState state;
    Hooks_GetWindowState(window, &state);
    EXPECT_STREQ(state.title, "Video Out FPS: 60");
}

TEST_F(NativeTest, FrameMetricsAreWines)
{
    struct {
        DWORD style;
        RECT adjusted;
    } cases[] = {
        {0x00CB0000, {647, 128, 1293, 553}},            // caption, system menu, boxes
        {WS_POPUP | WS_VISIBLE, {650, 150, 1290, 550}}, // no frame at all
        {0x00CF0000, {646, 127, 1294, 554}},            // with a sizing frame
    };
    for (auto &c : cases) {
        RECT r = {650, 150, 1290, 550};
        AdjustWindowRect(&r, c.style, FALSE);
        EXPECT_TRUE(r.left == c.adjusted.left && r.top == c.adjusted.top &&
                    r.right == c.adjusted.right && r.bottom == c.adjusted.bottom)
            << std::hex << c.style;
    }
}

TEST_F(NativeTest, DisplayListsClassicModesAndSetsThemVirtually)
{
    DEVMODEA mode;
    std::vector<std::pair<DWORD, DWORD>> listed;
    for (DWORD n = 0; EnumDisplaySettingsA(NULL, n, &mode); n++) {
        listed.push_back({mode.dmPelsWidth, mode.dmPelsHeight});
        EXPECT_EQ(mode.dmBitsPerPel, 32u);
        EXPECT_EQ(mode.dmDisplayFrequency, 60u);
    }
    EXPECT_EQ(listed, (std::vector<std::pair<DWORD, DWORD>>{{640, 400}, {640, 480}, {1600, 1200}}));

    struct {
        DWORD width, height;
        LONG result;
        int screenWidth, screenHeight;
    } changes[] = {
        {640, 400, DISP_CHANGE_SUCCESSFUL, 640, 400},
        {123, 77, -2, 640, 400}, // not listed: refused, the mode in force stays
        {640, 480, DISP_CHANGE_SUCCESSFUL, 640, 480},
        {1600, 1200, DISP_CHANGE_SUCCESSFUL, 1600, 1200}, // the desktop's own
    };
    for (auto &c : changes) {
        memset(&mode, 0, sizeof mode);
        mode.dmPelsWidth = c.width;
        mode.dmPelsHeight = c.height;
        EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), c.result);
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.screenWidth);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.screenHeight);
    }
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
}

TEST_F(NativeTest, CoveringPopupIsScaledOverTheDesktopAndTheMouseMapsBack)
{
    Open(true);
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 400;
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
    SetWindowLongA(window, GWL_STYLE, (LONG)(WS_POPUP | WS_VISIBLE));
    ShowWindow(window, SW_SHOWMAXIMIZED);
    NativeWindow *w = Window_Get(window);
    int width = 0, height = 0;
    SDL_GetWindowSize(w->sdl, &width, &height);
    EXPECT_EQ(width, 1600);
    EXPECT_EQ(height, 1200);
    SDL_Rect r = Display_ScaledRect(640, 400); // 2.5 times, 100 rows of black above and below
    EXPECT_TRUE(r.x == 0 && r.y == 100 && r.w == 1600 && r.h == 1000);
    struct {
        int sx, sy, x, y;
    } points[] = {{0, 100, 0, 0}, {1599, 1099, 639, 399}, {800, 600, 320, 200}, {0, 99, 0, -1}};
    for (auto &p : points) {
        int x, y;
        Mouse_SdlToClient(w, p.sx, p.sy, &x, &y);
        EXPECT_TRUE(x == p.x && y == p.y) << p.sx << "," << p.sy << " -> " << x << "," << y;
    }
    Pump();
    Hooks_MouseTo(window, 320, 200);
    Pump();
    ExpectCalls(Only({WM_MOUSEMOVE}), {{WM_MOUSEMOVE, 0, PAIR(320, 200)}});
    ChangeDisplaySettingsA(NULL, 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1600);
}
