// GDI objects behind handles: the handle table, stock objects, deletion and the live count.
#include "platform/gdi/gdi_internal.h"

#include <stdlib.h>

// A handle is 0x40000000 | slot << 12 | generation << 4 | kind, with the generation's higher
// bits from bit 32 where pointers are that wide: never a valid pointer to dereference, and a
// stale or made-up value fails the slot, generation or kind check. Freed slots wait in a queue
// and come back oldest first, only once enough wait, so a deleted handle stays dead for
// millions of creations rather than coming back to life as another object.
enum {
    GDI_HANDLE_TAG = 0x40000000,
    GDI_MAX_SLOTS = 0x3FFFF,
    GDI_STOCK_SLOTS = 16,    // stock ids 0..15 of GetStockObject; slot 16: the default bitmap
    GDI_DEFAULT_BITMAP = 21, // GetStockObject's id of the default 1 x 1 monochrome bitmap
    GDI_QUARANTINE = 1024,   // freed slots that wait before the oldest is reused
};

typedef struct {
    void *object;
    uint8_t kind;
    bool stock;
    bool counted; // in Gdi_LiveObjects
    uint32_t generation;
    uint32_t nextFree;
} GdiSlot;

static struct {
    GdiSlot *slots;
    uint32_t capacity;
    uint32_t used;     // slots ever handed out
    uint32_t freeHead; // 1 + the oldest free slot, or 0
    uint32_t freeTail; // 1 + the newest free slot, or 0
    uint32_t freeCount;
    uint32_t live;
    uint32_t failIn; // counted creations until the one that fails; 0: none fails
    HGDIOBJ stock[GDI_STOCK_SLOTS + 1];
    bool stockMade;
} s_objects;

// The generation bits a handle can carry.
static const uint32_t GDI_GENERATION_MASK = sizeof(uintptr_t) > 4 ? 0xFFFFFFFFu : 0xFFu;

// The 20 colours of the default palette.
static const PALETTEENTRY GDI_DEFAULT_PALETTE[20] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0xC0, 0xDC, 0xC0, 0}, // money green
    {0xA6, 0xCA, 0xF0, 0}, // sky blue
    {0xFF, 0xFB, 0xF0, 0}, // cream
    {0xA0, 0xA0, 0xA4, 0}, // medium grey
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

// The colours of the stock brushes WHITE_BRUSH .. NULL_BRUSH.
static const COLORREF GDI_STOCK_BRUSHES[6] = {0xFFFFFF, 0xC0C0C0, 0x808080,
                                              0x404040, 0x000000, 0x000000};

// Frees an object's memory: a bitmap's pixels with it.
static void Gdi_Destroy(int kind, void *object)
{
    if (kind == GDI_BITMAP && object) {
        GdiBitmap *bitmap = (GdiBitmap *)object;
        Gdi_FreeBits(bitmap->bits, (size_t)bitmap->stride * bitmap->height);
    }
    free(object);
}

static uint32_t Gdi_HandleSlot(const void *handle, uint32_t *generation, uint32_t *kind)
{
    uint64_t v = (uintptr_t)handle;
    if ((v & 0xC0000000u) != GDI_HANDLE_TAG)
        return UINT32_MAX;
    *kind = v & 0xF;
    *generation = (uint32_t)((v >> 4) & 0xFF) | (uint32_t)((v >> 32) << 8);
    return (uint32_t)(v >> 12) & GDI_MAX_SLOTS;
}

static void *Gdi_Handle(uint32_t slot, uint32_t generation, uint32_t kind)
{
    uint64_t high = (uint64_t)(generation >> 8) << 32;
    return (void *)(uintptr_t)(high | GDI_HANDLE_TAG | slot << 12 | (generation & 0xFF) << 4 |
                               kind);
}

static GdiSlot *Gdi_Slot(const void *handle)
{
    uint32_t generation, kind;
    uint32_t slot = Gdi_HandleSlot(handle, &generation, &kind);
    if (slot >= s_objects.used)
        return 0;
    GdiSlot *entry = &s_objects.slots[slot];
    if (!entry->object || entry->generation != generation || entry->kind != kind)
        return 0;
    return entry;
}

// A slot for a new object: the oldest freed one once enough wait, else a new one (or, when
// the table is full, the oldest freed one all the same). UINT32_MAX when there is none.
static uint32_t Gdi_TakeSlot(void)
{
    bool full = s_objects.used == GDI_MAX_SLOTS;
    if (s_objects.freeHead && (s_objects.freeCount > GDI_QUARANTINE || full)) {
        uint32_t slot = s_objects.freeHead - 1;
        s_objects.freeHead = s_objects.slots[slot].nextFree;
        if (!s_objects.freeHead)
            s_objects.freeTail = 0;
        s_objects.freeCount--;
        return slot;
    }
    if (full)
        return UINT32_MAX;
    if (s_objects.used == s_objects.capacity) {
        uint32_t capacity = s_objects.capacity ? 2 * s_objects.capacity : 256;
        capacity = capacity > GDI_MAX_SLOTS ? (uint32_t)GDI_MAX_SLOTS : capacity;
        GdiSlot *grown = (GdiSlot *)realloc(s_objects.slots, capacity * sizeof(GdiSlot));
        if (!grown)
            return UINT32_MAX;
        s_objects.slots = grown;
        s_objects.capacity = capacity;
    }
    s_objects.slots[s_objects.used].generation = 0;
    return s_objects.used++;
}

static void *Gdi_Add(GdiKind kind, void *object, bool counted, bool stock)
{
    if (!object)
        return 0;
    uint32_t slot = Gdi_TakeSlot();
    if (slot == UINT32_MAX) {
        Gdi_Destroy(kind, object);
        return 0;
    }
    GdiSlot *entry = &s_objects.slots[slot];
    entry->object = object;
    entry->kind = (uint8_t)kind;
    entry->generation = (entry->generation + 1) & GDI_GENERATION_MASK;
    entry->stock = stock;
    entry->counted = counted;
    if (counted)
        s_objects.live++;
    return Gdi_Handle(slot, entry->generation, kind);
}

static void Gdi_MakeStock(void)
{
    if (s_objects.stockMade)
        return;
    s_objects.stockMade = true;
    for (int i = 0; i <= NULL_BRUSH; i++) {
        GdiBrush *brush = (GdiBrush *)calloc(1, sizeof(GdiBrush));
        if (brush) {
            brush->color = GDI_STOCK_BRUSHES[i];
            brush->hollow = i == NULL_BRUSH;
        }
        s_objects.stock[i] = Gdi_Add(GDI_BRUSH, brush, false, true);
    }
    GdiPalette *palette = (GdiPalette *)calloc(1, sizeof(GdiPalette));
    if (palette) {
        palette->count = 20;
        memcpy(palette->entries, GDI_DEFAULT_PALETTE, sizeof GDI_DEFAULT_PALETTE);
    }
    s_objects.stock[DEFAULT_PALETTE] = Gdi_Add(GDI_PALETTE, palette, false, true);
    GdiBitmap *bitmap = (GdiBitmap *)calloc(1, sizeof(GdiBitmap));
    if (bitmap) {
        bitmap->bits = (uint8_t *)calloc(1, 2);
        bitmap->width = bitmap->height = bitmap->bpp = 1;
        bitmap->stride = 2;
        if (!bitmap->bits) {
            free(bitmap);
            bitmap = 0;
        }
    }
    s_objects.stock[GDI_STOCK_SLOTS] = Gdi_Add(GDI_BITMAP, bitmap, false, true);
}

void *Gdi_Register(GdiKind kind, void *object, bool counted)
{
    Gdi_MakeStock();
    if (counted && s_objects.failIn && --s_objects.failIn == 0) {
        Gdi_Destroy(kind, object);
        return 0;
    }
    return Gdi_Add(kind, object, counted, false);
}

void *Gdi_Lookup(const void *handle, GdiKind kind)
{
    GdiSlot *entry = Gdi_Slot(handle);
    return entry && entry->kind == kind ? entry->object : 0;
}

int Gdi_KindOf(const void *handle)
{
    GdiSlot *entry = Gdi_Slot(handle);
    return entry ? entry->kind : 0;
}

bool Gdi_IsStock(const void *handle)
{
    GdiSlot *entry = Gdi_Slot(handle);
    return entry && entry->stock;
}

void Gdi_Unregister(const void *handle)
{
    GdiSlot *entry = Gdi_Slot(handle);
    if (!entry || entry->stock)
        return;
    Gdi_Destroy(entry->kind, entry->object);
    entry->object = 0;
    if (entry->counted)
        s_objects.live--;
    uint32_t generation, kind;
    uint32_t slot = Gdi_HandleSlot(handle, &generation, &kind);
    entry->nextFree = 0;
    if (s_objects.freeTail)
        s_objects.slots[s_objects.freeTail - 1].nextFree = slot + 1;
    else
        s_objects.freeHead = slot + 1;
    s_objects.freeTail = slot + 1;
    s_objects.freeCount++;
}

HBITMAP Gdi_DefaultBitmap(void)
{
    Gdi_MakeStock();
    return (HBITMAP)s_objects.stock[GDI_STOCK_SLOTS];
}

void Gdi_ReleaseBitmap(HBITMAP handle)
{
    GdiBitmap *bitmap = (GdiBitmap *)Gdi_Lookup(handle, GDI_BITMAP);
    if (!bitmap || Gdi_IsStock(handle))
        return;
    bitmap->owner = 0;
    if (bitmap->doomed)
        Gdi_Unregister(handle);
}

HGDIOBJ WINAPI GetStockObject(int object)
{
    Gdi_MakeStock();
    if (object == GDI_DEFAULT_BITMAP)
        return s_objects.stock[GDI_STOCK_SLOTS];
    if (object < 0 || object >= GDI_STOCK_SLOTS)
        return 0;
    return s_objects.stock[object]; // null for the kinds this GDI does not have (pens, fonts)
}

BOOL WINAPI DeleteObject(HGDIOBJ object)
{
    GdiSlot *entry = Gdi_Slot(object);
    if (!entry || entry->kind == GDI_DC)
        return FALSE;
    if (entry->stock)
        return TRUE; // stock objects stay
    if (entry->kind == GDI_BITMAP) {
        GdiBitmap *bitmap = (GdiBitmap *)entry->object;
        if (bitmap->owner) {
            // Still drawn through its device context: gone once it leaves it.
            bitmap->doomed = true;
            return TRUE;
        }
    }
    Gdi_Unregister(object);
    return TRUE;
}

uint32_t Gdi_LiveObjects(void)
{
    return s_objects.live;
}

void Gdi_FailCreationAt(uint32_t n)
{
    s_objects.failIn = n;
}
