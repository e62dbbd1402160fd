// Pacing statistics: frame periods from consecutive frame steps, rates read from the title.
#include "platform/platform.h"
#include "pace.h"

#include <math.h>

static struct {
    uint32_t seconds;                // length of the run
    int active, started;             // a run is under way; its first frame has come
    uint32_t first, last, lastTitle; // times of frame steps and of the last title reading
    uint32_t frames;
    uint16_t periods[PACE_MAX_PERIODS];
    uint32_t periodCount;
    uint16_t sorted[PACE_MAX_PERIODS]; // scratch for the percentile
    uint32_t rates[PACE_MAX_RATES];
    uint32_t rateCount;
} s_pace;

int32_t Pace_ParseTitle(const char *title)
{
    const char *p = title ? strstr(title, "FPS:") : nullptr;
    if (!p)
        return -1;
    p += 4;
    while (*p == ' ')
        ++p;
    if (*p < '0' || *p > '9')
        return -1;
    int32_t rate = 0;
    for (; *p >= '0' && *p <= '9' && rate < 1000000; ++p)
        rate = rate * 10 + (*p - '0');
    return rate;
}

void Pace_Start(uint32_t seconds)
{
    s_pace.seconds = seconds;
    s_pace.active = seconds > 0;
    s_pace.started = 0;
    s_pace.frames = 0;
    s_pace.periodCount = 0;
    s_pace.rateCount = 0;
}

int Pace_Frame(uint32_t now)
{
    if (!s_pace.active)
        return 0;
    if (!s_pace.started) {
        s_pace.started = 1;
        s_pace.first = s_pace.last = s_pace.lastTitle = now;
        s_pace.frames = 1;
        return PACE_STARTED;
    }
    uint32_t period = now - s_pace.last;
    if (s_pace.periodCount < PACE_MAX_PERIODS)
        s_pace.periods[s_pace.periodCount++] = (uint16_t)(period > 0xFFFF ? 0xFFFF : period);
    s_pace.last = now;
    ++s_pace.frames;
    int flags = 0;
    if (now - s_pace.lastTitle >= PACE_TITLE_INTERVAL) {
        s_pace.lastTitle = now;
        flags |= PACE_READ_TITLE;
    }
    if (now - s_pace.first >= s_pace.seconds * 1000) {
        s_pace.active = 0;
        flags |= PACE_FINISHED;
    }
    return flags;
}

void Pace_AddRate(uint32_t rate)
{
    if (s_pace.rateCount < PACE_MAX_RATES)
        s_pace.rates[s_pace.rateCount++] = rate;
}

void Pace_Summarize(PaceSummary *out)
{
    memset(out, 0, sizeof *out);
    out->seconds = s_pace.seconds;
    out->frames = s_pace.frames;
    out->wallMs = s_pace.started ? s_pace.last - s_pace.first : 0;
    out->periods = s_pace.periodCount;
    memcpy(out->rates, s_pace.rates, s_pace.rateCount * sizeof s_pace.rates[0]);
    out->rateCount = s_pace.rateCount;
    if (out->wallMs > 0)
        out->fps = (s_pace.frames - 1) * 1000.0 / out->wallMs;
    uint32_t n = s_pace.periodCount;
    if (n == 0)
        return;
    double sum = 0;
    for (uint32_t i = 0; i < n; ++i)
        sum += s_pace.periods[i];
    out->meanMs = sum / n;
    double squares = 0;
    for (uint32_t i = 0; i < n; ++i) {
        double d = s_pace.periods[i] - out->meanMs;
        squares += d * d;
    }
    out->stdDevMs = sqrt(squares / n);
    // Insertion sort: a run holds a few hundred periods, almost all alike.
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t v = s_pace.periods[i];
        uint32_t j = i;
        for (; j > 0 && s_pace.sorted[j - 1] > v; --j)
            s_pace.sorted[j] = s_pace.sorted[j - 1];
        s_pace.sorted[j] = v;
    }
    uint32_t rank = (n * 99 + 99) / 100; // smallest rank covering 99 % of the periods
    out->p99Ms = s_pace.sorted[rank - 1];
    out->maxMs = s_pace.sorted[n - 1];
}

int Pace_Format(const PaceSummary *s, char *out, int size)
{
    int used =
        snprintf(out, (size_t)size,
                 "pacing report\n"
                 "run: %u s asked, %u ms measured, %u frame steps\n"
                 "real fps: %.2f\n"
                 "frame period: mean %.2f ms, std dev %.2f ms, p99 %u ms, max %u ms"
                 " (%u periods)\n"
                 "shown fps in title:",
                 (unsigned)s->seconds, (unsigned)s->wallMs, (unsigned)s->frames, s->fps, s->meanMs,
                 s->stdDevMs, (unsigned)s->p99Ms, (unsigned)s->maxMs, (unsigned)s->periods);
    for (uint32_t i = 0; i < s->rateCount && used < size; ++i)
        used += snprintf(out + used, (size_t)(size - used), " %u", (unsigned)s->rates[i]);
    if (used < size)
        used += snprintf(out + used, (size_t)(size - used),
                         "\ncpu: %.1f ms per second (%.1f %% of one core)\n", s->cpuMsPerSecond,
                         s->cpuMsPerSecond / 10.0);
    return used < size ? used : size - 1;
}
