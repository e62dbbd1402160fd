// The conformance cases over the native software GDI: drawn into a 640 x 400 pixel buffer.
#include "scripts/gdi/gdi_driver.h"
#include "platform/gdi/gdi.h"

static uint32_t s_pixels[640 * 400];

int main(int argc, char **argv)
{
    HDC screen = Gdi_CreateSurfaceDC();
    Gdi_SetSurface(screen, s_pixels, 640, 400, 640 * 4);
    int status = GdiDriver_Main(screen, argc, argv);
    Gdi_DeleteSurfaceDC(screen);
    return status;
}
