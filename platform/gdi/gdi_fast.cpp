// Fast row functions for what the render modes do every frame: copy, OR, AND and AND-NOT of
// 32-bit, 4-bit and 1-bit sources into 32 bits, and 1-bit planes into 4-bit indices.
#include "platform/gdi/gdi_internal.h"

static struct {
    bool off; // tests compare the general path
} s_fast;

void Gdi_SetFastPaths(bool on)
{
    s_fast.off = !on;
}

bool Gdi_FastPaths(void)
{
    return !s_fast.off;
}

// The four operations, on one 32-bit destination pixel.
#define GDI_OP_COPY(d, s) (d) = (s)
#define GDI_OP_OR(d, s) (d) |= (s)
#define GDI_OP_AND(d, s) (d) &= (s)
#define GDI_OP_ANDNOT(d, s) (d) &= ~(s)

// 32-bit source pixels as they are.
#define GDI_ROW_32(name, OP)                                                                       \
    static void name(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c)     \
    {                                                                                              \
        (void)c;                                                                                   \
        uint32_t *dp = (uint32_t *)d + dx;                                                         \
        const uint32_t *sp = (const uint32_t *)s + sx;                                             \
        for (int i = 0; i < n; i++)                                                                \
            OP(dp[i], sp[i]);                                                                      \
    }
GDI_ROW_32(Gdi_Row32Or, GDI_OP_OR)
GDI_ROW_32(Gdi_Row32And, GDI_OP_AND)
GDI_ROW_32(Gdi_Row32AndNot, GDI_OP_ANDNOT)

static void Gdi_Row32Copy(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c)
{
    (void)c;
    memcpy((uint32_t *)d + dx, (const uint32_t *)s + sx, (size_t)n * 4);
}

// 4-bit indices through the conversion's tables, four pixels from two bytes at once.
#define GDI_ROW_4(name, OP)                                                                        \
    static void name(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c)     \
    {                                                                                              \
        uint32_t *dp = (uint32_t *)d + dx;                                                         \
        int i = 0;                                                                                 \
        if (sx & 1) {                                                                              \
            OP(dp[0], c->lut[s[sx >> 1] & 0xF]);                                                   \
            i = 1;                                                                                 \
        }                                                                                          \
        const uint8_t *sp = s + ((sx + i) >> 1);                                                   \
        for (; i + 4 <= n; i += 4, sp += 2) {                                                      \
            const uint64_t pair[2] = {c->pairs[sp[0]], c->pairs[sp[1]]};                           \
            GdiQuad v = Gdi_Load4(dp + i);                                                         \
            OP(v, Gdi_Load4(pair));                                                                \
            memcpy(dp + i, &v, sizeof v);                                                          \
        }                                                                                          \
        for (int k = 0; i < n; i++, k++)                                                           \
            OP(dp[i], c->lut[(sp[k >> 1] >> (k & 1 ? 0 : 4)) & 0xF]);                              \
    }
GDI_ROW_4(Gdi_Row4Copy, GDI_OP_COPY)
GDI_ROW_4(Gdi_Row4Or, GDI_OP_OR)
GDI_ROW_4(Gdi_Row4And, GDI_OP_AND)
GDI_ROW_4(Gdi_Row4AndNot, GDI_OP_ANDNOT)

// 1-bit pixels through the conversion's tables, eight a byte.
#define GDI_ROW_1(name, OP)                                                                        \
    static void name(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c)     \
    {                                                                                              \
        uint32_t *dp = (uint32_t *)d + dx;                                                         \
        const uint32_t v0 = c->lut[0], v1 = c->lut[1];                                             \
        int i = 0;                                                                                 \
        for (; i < n && ((sx + i) & 7); i++)                                                       \
            OP(dp[i], ((s[(sx + i) >> 3] >> (7 - ((sx + i) & 7))) & 1) ? v1 : v0);                 \
        const uint8_t *sp = s + ((sx + i) >> 3);                                                   \
        for (; i + 8 <= n; i += 8, sp++)                                                           \
            for (int k = 0; k < 2; k++) {                                                          \
                GdiQuad v = Gdi_Load4(dp + i + 4 * k);                                             \
                OP(v, Gdi_Load4(c->quads[(*sp >> (4 - 4 * k)) & 0xF]));                            \
                memcpy(dp + i + 4 * k, &v, sizeof v);                                              \
            }                                                                                      \
        for (int k = 0; i < n; i++, k++)                                                           \
            OP(dp[i], (*sp & (0x80 >> k)) ? v1 : v0);                                              \
    }
GDI_ROW_1(Gdi_Row1Copy, GDI_OP_COPY)
GDI_ROW_1(Gdi_Row1Or, GDI_OP_OR)
GDI_ROW_1(Gdi_Row1And, GDI_OP_AND)
GDI_ROW_1(Gdi_Row1AndNot, GDI_OP_ANDNOT)

// Plane merge: 1-bit source into 4-bit indices; from a source byte and onto a destination
// byte, eight source pixels become four destination bytes through c->wide.
static void Gdi_Row1To4(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c,
                        bool paint)
{
    int i = 0;
    if (!(dx & 1) && !(sx & 7)) {
        uint8_t *dp = d + (dx >> 1);
        const uint8_t *sp = s + (sx >> 3);
        for (; i + 8 <= n; i += 8, dp += 4, sp++) {
            uint32_t v = c->wide[*sp], old;
            if (paint) {
                memcpy(&old, dp, 4);
                v |= old;
            }
            memcpy(dp, &v, 4);
        }
    }
    for (; i < n; i++) {
        uint32_t v = c->lut[(s[(sx + i) >> 3] >> (7 - ((sx + i) & 7))) & 1] & 0xF;
        uint8_t *p = &d[(dx + i) >> 1];
        int shift = ((dx + i) & 1) ? 0 : 4;
        *p = paint ? (uint8_t)(*p | v << shift) : (uint8_t)((*p & ~(0xF << shift)) | v << shift);
    }
}

static void Gdi_Row1To4Copy(uint8_t *d, int dx, const uint8_t *s, int sx, int n,
                            const GdiConvert *c)
{
    Gdi_Row1To4(d, dx, s, sx, n, c, false);
}

static void Gdi_Row1To4Or(uint8_t *d, int dx, const uint8_t *s, int sx, int n, const GdiConvert *c)
{
    Gdi_Row1To4(d, dx, s, sx, n, c, true);
}

GdiFastRow Gdi_PickFastRow(GdiConvert *c, uint8_t rop)
{
    if (s_fast.off)
        return 0;
    int op = rop == 0xCC ? 0 : rop == 0xEE ? 1 : rop == 0x88 ? 2 : rop == 0x22 ? 3 : -1;
    if (op < 0)
        return 0;
    int sbpp = c->src->bpp, dbpp = c->dst->bpp;
    if (dbpp == 32) {
        static const GdiFastRow rows32[4] = {Gdi_Row32Copy, Gdi_Row32Or, Gdi_Row32And,
                                             Gdi_Row32AndNot};
        static const GdiFastRow rows4[4] = {Gdi_Row4Copy, Gdi_Row4Or, Gdi_Row4And, Gdi_Row4AndNot};
        static const GdiFastRow rows1[4] = {Gdi_Row1Copy, Gdi_Row1Or, Gdi_Row1And, Gdi_Row1AndNot};
        if (sbpp == 32 && c->identity)
            return rows32[op];
        if (sbpp == 4 && !c->identity) {
            for (int b = 0; b < 256; b++)
                c->pairs[b] = c->lut[b >> 4] | (uint64_t)c->lut[b & 0xF] << 32;
            return rows4[op];
        }
        if (sbpp == 1 && !c->identity) {
            for (int v = 0; v < 16; v++)
                for (int k = 0; k < 4; k++)
                    c->quads[v][k] = c->lut[(v >> (3 - k)) & 1];
            return rows1[op];
        }
    }
    if (dbpp == 4 && sbpp == 1 && !c->identity && op <= 1) {
        for (int b = 0; b < 256; b++) {
            uint32_t v = 0;
            for (int k = 0; k < 8; k++) // pixel k: byte k / 2, high nibble first
                v |= (c->lut[(b >> (7 - k)) & 1] & 0xF) << (8 * (k >> 1) + (k & 1 ? 0 : 4));
            c->wide[b] = v;
        }
        return op ? Gdi_Row1To4Or : Gdi_Row1To4Copy;
    }
    return 0;
}
