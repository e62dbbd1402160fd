// The conformance cases on Windows (or Wine): drawn into a 640 x 400 window's device context.
#include "scripts/gdi/gdi_driver.h"

int main(int argc, char **argv)
{
    HWND window = CreateWindowExA(0, "STATIC", "GDI cases", WS_POPUP | WS_VISIBLE, 0, 0, 640, 400,
                                  0, 0, GetModuleHandleA(0), 0);
    if (!window) {
        printf("no window\n");
        return 2;
    }
    return GdiDriver_Main(GetDC(window), argc, argv);
}
