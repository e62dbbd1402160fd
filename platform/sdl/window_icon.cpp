// The program's icon (icon group 101, embedded from resources/main.ico at build time):
// LoadImageA decodes the picture nearest the size asked, the window shows it through SDL.
#include "platform/sdl/icon.h"

// The icon file's bytes, placed by the assembler (NATIVE_ICON_FILE names the file).
__asm__(".pushsection .rodata\n"
        ".balign 4\n"
        ".globl NativeIcon_Begin\n"
        ".hidden NativeIcon_Begin\n"
        "NativeIcon_Begin:\n"
        ".incbin \"" NATIVE_ICON_FILE "\"\n"
        ".globl NativeIcon_End\n"
        ".hidden NativeIcon_End\n"
        "NativeIcon_End:\n"
        ".popsection\n");
extern "C" const uint8_t NativeIcon_Begin[];
extern "C" const uint8_t NativeIcon_End[];

enum {
    ICON_RESOURCE = 101,
    ICON_DEFAULT_SIZE = 32, // SM_CXICON, for a size of 0
    ICON_MAX_SIZE = 256,
    ICON_SLOTS = 8,
    ICON_CURSOR_HANDLE = 0x00010003 // the arrow: a handle that is never drawn
};

typedef struct {
    int size;         // 0: free slot
    uint32_t *pixels; // size x size, 0xAARRGGBB, top row first
} IconPicture;

static struct {
    IconPicture pictures[ICON_SLOTS];
} s_icon;

static uint32_t Icon_U32(const uint8_t *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static uint16_t Icon_U16(const uint8_t *p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

// Decodes one DIB icon image (colour rows, then the AND mask, both bottom-up); false when
// the image is not one (PNG images are not read).
static bool Icon_Decode(const uint8_t *image, size_t length, int size, uint32_t *out)
{
    if (length < 40 || Icon_U32(image) < 40)
        return false;
    uint32_t header = Icon_U32(image);
    int width = (int)Icon_U32(image + 4), height = (int)Icon_U32(image + 8) / 2;
    int bits = Icon_U16(image + 14);
    if (width != size || height != size ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return false;
    uint32_t colours = bits <= 8 ? (Icon_U32(image + 32) ? Icon_U32(image + 32) : 1u << bits) : 0;
    size_t colourStride = (((size_t)width * bits + 31) / 32) * 4;
    size_t maskStride = (((size_t)width + 31) / 32) * 4;
    const uint8_t *table = image + header;
    const uint8_t *xorBits = table + colours * 4;
    const uint8_t *andBits = xorBits + colourStride * height;
    if ((size_t)(andBits + maskStride * height - image) > length)
        return false;
    for (int y = 0; y < height; y++) {
        const uint8_t *row = xorBits + colourStride * (height - 1 - y);
        const uint8_t *mask = andBits + maskStride * (height - 1 - y);
        for (int x = 0; x < width; x++) {
            uint32_t rgb;
            if (bits <= 8) {
                uint32_t index =
                    (row[x * bits / 8] >> (8 - bits - (x * bits) % 8)) & ((1u << bits) - 1);
                const uint8_t *c = table + 4 * (index < colours ? index : 0);
                rgb = (uint32_t)c[2] << 16 | (uint32_t)c[1] << 8 | c[0];
            } else {
                const uint8_t *c = row + x * (bits / 8);
                rgb = (uint32_t)c[2] << 16 | (uint32_t)c[1] << 8 | c[0];
            }
            bool transparent = (mask[x / 8] >> (7 - x % 8)) & 1;
            uint32_t alpha = bits == 32 ? (uint32_t)row[x * 4 + 3] << 24 : 0xFF000000u;
            out[y * width + x] = transparent && bits != 32 ? 0 : (alpha | rgb);
        }
    }
    return true;
}

HICON Icon_Load(int size)
{
    const uint8_t *file = NativeIcon_Begin;
    size_t length = (size_t)(NativeIcon_End - NativeIcon_Begin);
    if (length < 6 || Icon_U16(file + 2) != 1)
        return NULL;
    int count = Icon_U16(file + 4), best = -1, bestSide = 0;
    for (int i = 0; i < count && 6 + 16 * (size_t)(i + 1) <= length; i++) {
        int side = file[6 + 16 * i] ? (int)file[6 + 16 * i] : (int)ICON_MAX_SIZE;
        int distance = side > size ? side - size : size - side;
        int bestDistance = bestSide > size ? bestSide - size : size - bestSide;
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestSide = side;
        }
    }
    if (best < 0)
        return NULL;
    for (int s = 0; s < ICON_SLOTS; s++)
        if (s_icon.pictures[s].size == bestSide)
            return (HICON)&s_icon.pictures[s]; // decoded once per size
    const uint8_t *entry = file + 6 + 16 * best;
    uint32_t bytes = Icon_U32(entry + 8), offset = Icon_U32(entry + 12);
    if (offset > length || bytes > length - offset)
        return NULL;
    for (int s = 0; s < ICON_SLOTS; s++) {
        IconPicture *p = &s_icon.pictures[s];
        if (p->size)
            continue;
        p->pixels = (uint32_t *)calloc((size_t)bestSide * bestSide, sizeof(uint32_t));
        if (!p->pixels || !Icon_Decode(file + offset, bytes, bestSide, p->pixels)) {
            free(p->pixels);
            p->pixels = NULL;
            return NULL;
        }
        p->size = bestSide;
        return (HICON)p;
    }
    return NULL;
}

int Icon_Side(HICON icon)
{
    for (int s = 0; s < ICON_SLOTS; s++)
        if (icon && icon == (HICON)&s_icon.pictures[s])
            return s_icon.pictures[s].size;
    return 0;
}

void Icon_Apply(SDL_Window *window, HICON icon)
{
    for (int s = 0; s < ICON_SLOTS; s++) {
        IconPicture *p = &s_icon.pictures[s];
        if ((HICON)p != icon || !p->size)
            continue;
        SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormatFrom(
            p->pixels, p->size, p->size, 32, p->size * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            SDL_SetWindowIcon(window, surface);
            SDL_FreeSurface(surface);
        }
    }
}

HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags)
{
    (void)instance;
    (void)cy;
    (void)flags;
    if (type != IMAGE_ICON || (uintptr_t)name != ICON_RESOURCE)
        return NULL;
    return (HANDLE)Icon_Load(cx > 0 ? cx : ICON_DEFAULT_SIZE);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    // The system's arrow; SDL's default cursor is one.
    if (instance || name != IDC_ARROW)
        return NULL;
    return (HCURSOR)(uintptr_t)ICON_CURSOR_HANDLE;
}
