// Render modes as data: the one place that says what each mode does.
#include "render/modes.h"

static const RenderMode RENDER_MODES[] = {
    // 0: the core draws into the surfaces, and nothing reaches the window: the window keeps
    // what it showed (on the buffered path, the buffer as it was made)
    {RENDER_FETCH_SEPARATE, RENDER_COMPOSE_NOTHING, false},
    // 1: the planes are fetched and merged on every paint, and still nothing is drawn
    {RENDER_FETCH_PLANES, RENDER_COMPOSE_NOTHING, false},
    {RENDER_FETCH_SEPARATE, RENDER_COMPOSE_MASKBLT, false},  // 2
    {RENDER_FETCH_PLANES, RENDER_COMPOSE_MASKBLT, false},    // 3, the default build's
    {RENDER_FETCH_SEPARATE, RENDER_COMPOSE_EMULATED, false}, // 4
    {RENDER_FETCH_PLANES, RENDER_COMPOSE_EMULATED, false},   // 5, also after a failed creation
    // 6: the only mode composed off screen at every client size: at 640 x 400 the buffer is
    // then copied 1:1
    {RENDER_FETCH_SEPARATE, RENDER_COMPOSE_OR, true},
    {RENDER_FETCH_PLANES, RENDER_COMPOSE_OR, false},       // 7: as 6, but drawn directly
    {RENDER_FETCH_SEPARATE, RENDER_COMPOSE_AND_OR, false}, // 8
    {RENDER_FETCH_PLANES, RENDER_COMPOSE_AND_OR, false},   // 9
};

// 10 and above (and any mode below 0): no surfaces, the placeholder on one paint in 64.
static const RenderMode RENDER_PLACEHOLDER_MODE = {RENDER_FETCH_NONE, RENDER_COMPOSE_PLACEHOLDER,
                                                   false};

const RenderMode *Render_GetMode(int32_t mode)
{
    if (mode < 0 || mode >= (int32_t)(sizeof RENDER_MODES / sizeof RENDER_MODES[0]))
        return &RENDER_PLACEHOLDER_MODE;
    return &RENDER_MODES[mode];
}
