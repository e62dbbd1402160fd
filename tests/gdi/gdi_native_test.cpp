// The native GDI's own promises beyond what Wine shows: bad handles fail cleanly, objects are
// counted and freed when they should be, creation failures can be asked for, and the window
// DC draws only into its pixels and says when it did.
#include "platform/native/gdi.h"
#include "platform/native/gdi_internal.h"
#include "tests/gdi/gdi_cases.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

HDC g_screen; // a window DC for the calls that need one

HBITMAP MakeDib(int width, int height, uint32_t **bits)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return CreateDIBSection(0, &info, DIB_RGB_COLORS, (void **)bits, 0, 0);
}

TEST(GdiHandles, StaleAndMadeUpHandlesFailWithTheDocumentedResult)
{
    HDC dc = CreateCompatibleDC(0), staleDC = CreateCompatibleDC(0);
    uint32_t *bits;
    HBITMAP staleBitmap = MakeDib(2, 2, &bits);
    ASSERT_TRUE(DeleteObject(staleBitmap) && DeleteDC(staleDC));
    HDC reuser = CreateCompatibleDC(0); // where the stale DC was
    int local = 0;
    const void *bad[] = {staleDC, staleBitmap, (void *)1, (void *)0x40001011, &local};
    const struct {
        const char *call;
        bool (*fails)(HDC good, const void *bad);
    } calls[] = {
        {"SelectObject", [](HDC g, const void *b) { return !SelectObject(g, (HGDIOBJ)b); }},
        {"SelectObject into", [](HDC, const void *b) { return !SelectObject((HDC)b, 0); }},
        {"DeleteObject", [](HDC, const void *b) { return !DeleteObject((HGDIOBJ)b); }},
        {"DeleteDC", [](HDC, const void *b) { return !DeleteDC((HDC)b); }},
        {"SetBkColor", [](HDC, const void *b) { return SetBkColor((HDC)b, 1) == 0xFFFFFFFF; }},
        {"BitBlt to", [](HDC, const void *b) { return !BitBlt((HDC)b, 0, 0, 1, 1, 0, 0, 0, 0); }},
        {"BitBlt from",
         [](HDC g, const void *b) { return !BitBlt(g, 0, 0, 1, 1, (HDC)b, 0, 0, SRCCOPY); }},
        {"MaskBlt mask",
         [](HDC g, const void *b) {
             return !MaskBlt(g, 0, 0, 1, 1, g, 0, 0, (HBITMAP)b, 0, 0, 0xCCAA0000);
         }},
        {"CreateCompatibleDC", [](HDC, const void *b) { return !CreateCompatibleDC((HDC)b); }},
        {"CreateCompatibleBitmap",
         [](HDC, const void *b) { return !CreateCompatibleBitmap((HDC)b, 4, 4); }},
        {"SetBitmapBits", [](HDC, const void *b) { return !SetBitmapBits((HBITMAP)b, 4, "abcd"); }},
        {"GetDIBColorTable",
         [](HDC, const void *b) {
             RGBQUAD q[2];
             return !GetDIBColorTable((HDC)b, 0, 2, q);
         }},
        {"SelectPalette", [](HDC g, const void *b) { return !SelectPalette(g, (HPALETTE)b, 0); }},
        {"GetDeviceCaps", [](HDC, const void *b) { return !GetDeviceCaps((HDC)b, RASTERCAPS); }},
    };
    uint32_t live = Gdi_LiveObjects();
    for (const auto &call : calls)
        for (const void *handle : bad)
            EXPECT_TRUE(call.fails(dc, handle)) << call.call << " with " << handle;
    EXPECT_EQ(Gdi_LiveObjects(), live); // nothing made on the way
    DeleteDC(reuser);
    DeleteDC(dc);
}

TEST(GdiObjects, LiveCountFollowsCreationAndTheDeferredDeletionOfSelectedBitmaps)
{
    uint32_t start = Gdi_LiveObjects();
    HDC surface = Gdi_CreateSurfaceDC();
    GetStockObject(WHITE_BRUSH);
    EXPECT_EQ(Gdi_LiveObjects(), start) << "window DCs and stock objects are not counted";
    HDC dc = CreateCompatibleDC(0);
    uint32_t *bits;
    HBITMAP bitmap = MakeDib(4, 4, &bits), spare = CreateBitmap(8, 8, 1, 1, 0);
    HGDIOBJ original = SelectObject(dc, bitmap);
    EXPECT_EQ(Gdi_LiveObjects(), start + 3);
    EXPECT_TRUE(DeleteObject(bitmap)); // selected: goes when it leaves the DC
    EXPECT_EQ(Gdi_LiveObjects(), start + 3);
    EXPECT_TRUE(BitBlt(dc, 0, 0, 4, 4, 0, 0, 0, WHITENESS));
    EXPECT_EQ(bits[15], 0xFFFFFFFFu) << "still drawn into";
    EXPECT_EQ(SelectObject(dc, spare), bitmap);
    EXPECT_EQ(Gdi_LiveObjects(), start + 2);
    EXPECT_FALSE(SelectObject(dc, bitmap)) << "deleted now";
    EXPECT_TRUE(DeleteObject(spare)); // selected again: goes with the DC
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(Gdi_LiveObjects(), start);
    EXPECT_NE(original, nullptr);
    EXPECT_FALSE(DeleteDC(surface)) << "window DCs go with their window";
    Gdi_DeleteSurfaceDC(surface);
    EXPECT_EQ(SetBkColor(surface, 0), 0xFFFFFFFFu) << "a deleted window DC is stale";
}

TEST(GdiObjects, TheAskedForCreationFailsAloneAndLeavesNothingBehind)
{
    const struct {
        const char *what;
        void *(*create)(void);
    } creators[] = {
        {"CreateCompatibleDC", [] { return (void *)CreateCompatibleDC(0); }},
        {"CreateBitmap", [] { return (void *)CreateBitmap(16, 16, 1, 1, 0); }},
        {"CreateCompatibleBitmap", [] { return (void *)CreateCompatibleBitmap(g_screen, 4, 4); }},
        {"CreateDIBSection",
         [] {
             uint32_t *bits = (uint32_t *)1;
             HBITMAP made = MakeDib(4, 4, &bits);
             return made || !bits ? (void *)made : (void *)1; // failing leaves bits null
         }},
        {"CreatePalette",
         [] {
             LOGPALETTE one = {0x300, 1, {{1, 2, 3, 0}}};
             return (void *)CreatePalette(&one);
         }},
    };
    g_screen = Gdi_CreateSurfaceDC();
    for (const auto &c : creators)
        for (uint32_t n = 1; n <= 3; n++) {
            uint32_t live = Gdi_LiveObjects();
            Gdi_FailCreationAt(n);
            void *made[4];
            for (uint32_t i = 1; i <= 4; i++) {
                made[i - 1] = c.create();
                EXPECT_EQ(made[i - 1] == nullptr, i == n) << c.what << " " << i << " of " << n;
            }
            EXPECT_EQ(Gdi_LiveObjects(), live + 3) << c.what;
            for (void *object : made)
                if (object && !DeleteObject(object))
                    DeleteDC((HDC)object);
            EXPECT_EQ(Gdi_LiveObjects(), live) << c.what;
        }
    Gdi_FailCreationAt(0);
    Gdi_DeleteSurfaceDC(g_screen);
}

TEST(GdiSurface, DrawsOnlyIntoItsPixelsAndSaysWhenItDid)
{
    HDC surface = Gdi_CreateSurfaceDC();
    EXPECT_TRUE(BitBlt(surface, 0, 0, 8, 8, 0, 0, 0, WHITENESS)) << "no pixels: nothing drawn";
    uint32_t pixels[4 * 6];
    for (uint32_t &p : pixels)
        p = 0x12345678;
    Gdi_SetSurface(surface, pixels, 3, 4, 6 * 4); // rows of 3 pixels, 6 apart
    EXPECT_FALSE(Gdi_TakeSurfaceDrawn(surface));
    EXPECT_TRUE(BitBlt(surface, -5, -5, 100, 100, 0, 0, 0, BLACKNESS));
    EXPECT_TRUE(Gdi_TakeSurfaceDrawn(surface));
    EXPECT_FALSE(Gdi_TakeSurfaceDrawn(surface)) << "once per drawing";
    for (int i = 0; i < 4 * 6; i++)
        EXPECT_EQ(pixels[i], i % 6 < 3 ? 0u : 0x12345678u) << "pixel " << i;
    Gdi_SetSurface(surface, 0, 3, 4, 12);
    EXPECT_TRUE(BitBlt(surface, 0, 0, 3, 4, 0, 0, 0, WHITENESS));
    EXPECT_EQ(pixels[0], 0u) << "dropped pixels are not drawn into";
    Gdi_DeleteSurfaceDC(surface);
}

std::map<std::string, uint32_t> g_digests;

TEST(GdiFastPaths, DrawWhatTheGeneralPathDrawsInEveryConformanceCase)
{
    static uint32_t pixels[640 * 400];
    HDC screen = Gdi_CreateSurfaceDC();
    Gdi_SetSurface(screen, pixels, 640, 400, 640 * 4);
    for (int fast = 1; fast >= 0; fast--) {
        Gdi_SetFastPaths(fast != 0);
        g_digests.clear();
        GdiCases_Run(screen, [](const char *name, uint32_t digest, const uint32_t *, int) {
            g_digests[name] = digest;
        });
        static std::map<std::string, uint32_t> withFastPaths;
        if (fast)
            withFastPaths = g_digests;
        else
            for (const auto &c : withFastPaths)
                EXPECT_EQ(g_digests[c.first], c.second) << c.first;
    }
    Gdi_SetFastPaths(true);
    Gdi_DeleteSurfaceDC(screen);
}

} // namespace
