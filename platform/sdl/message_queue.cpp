// The thread's message queue: posted messages, then input, then WM_QUIT, then WM_PAINT;
// sending, dispatching and the default window procedure.
#include "platform/sdl/input.h"
#include "platform/sdl/paint.h"
#include "platform/sdl/queue.h"
#include "platform/sdl/window.h"

enum { QUEUE_MAX = 1 << 24, HWND_THREAD_ONLY = -1 };

// A growable first-in first-out list.
typedef struct {
    NativeQueued *items;
    size_t head;
    size_t count;
    size_t capacity;
} QueueList;

static struct {
    QueueList posted;
    QueueList input;
    bool quitPending;
    int quitCode;
} s_queue;

static bool Queue_Append(QueueList *list, const NativeQueued *item)
{
    if (list->head + list->count == list->capacity) {
        if (list->head > 0) {
            memmove(list->items, list->items + list->head, list->count * sizeof *list->items);
            list->head = 0;
        }
        if (list->count == list->capacity) {
            size_t capacity = list->capacity ? list->capacity * 2 : 256;
            if (capacity > QUEUE_MAX)
                return false;
            NativeQueued *items =
                (NativeQueued *)realloc(list->items, capacity * sizeof *list->items);
            if (!items)
                return false;
            list->items = items;
            list->capacity = capacity;
        }
    }
    list->items[list->head + list->count++] = *item;
    return true;
}

static void Queue_Remove(QueueList *list, size_t index)
{
    if (index == 0) {
        list->head++;
    } else {
        NativeQueued *at = list->items + list->head + index;
        memmove(at, at + 1, (list->count - index - 1) * sizeof *at);
    }
    if (--list->count == 0)
        list->head = 0;
}

static bool Queue_Matches(const MSG *msg, HWND window, UINT first, UINT last)
{
    if ((intptr_t)window == HWND_THREAD_ONLY) {
        if (msg->hwnd)
            return false;
    } else if (window && msg->hwnd != window) {
        return false;
    }
    return (first == 0 && last == 0) || (msg->message >= first && msg->message <= last);
}

// A move outside the client queued while the window held the capture, which it has since
// released (a release outside): Windows routes a move when it is taken, and sends this none.
static bool Queue_Stale(const MSG *msg)
{
    NativeWindow *w = Window_Get(msg->hwnd);
    if (msg->message != WM_MOUSEMOVE || !w || Mouse_Capture() == msg->hwnd)
        return false;
    int x = (int16_t)LOWORD(msg->lParam), y = (int16_t)HIWORD(msg->lParam), width, height;
    Window_ClientSize(w, &width, &height);
    return x < 0 || y < 0 || x >= width || y >= height;
}

// Takes the first matching message of a list; true when there was one.
static bool Queue_Take(QueueList *list, MSG *msg, HWND window, UINT first, UINT last, bool remove)
{
    for (size_t i = 0; i < list->count; i++) {
        NativeQueued *item = &list->items[list->head + i];
        if (Queue_Stale(&item->msg)) {
            Queue_Remove(list, i--);
            continue;
        }
        if (!Queue_Matches(&item->msg, window, first, last))
            continue;
        *msg = item->msg;
        if (remove) {
            // The key state follows the messages the thread has taken.
            if (item->keyVk >= 0)
                Keys_Apply(item->keyVk, item->keyDown);
            Queue_Remove(list, i);
        }
        return true;
    }
    return false;
}

bool Queue_Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window && !Window_Get(window))
        return false;
    NativeQueued item;
    memset(&item, 0, sizeof item);
    item.msg.hwnd = window;
    item.msg.message = message;
    item.msg.wParam = wParam;
    item.msg.lParam = lParam;
    item.msg.time = GetTickCount();
    item.keyVk = -1;
    return Queue_Append(&s_queue.posted, &item);
}

void Queue_PostInput(const NativeQueued *input)
{
    QueueList *list = &s_queue.input;
    if (input->msg.message == WM_MOUSEMOVE && list->count > 0) {
        NativeQueued *last = &list->items[list->head + list->count - 1];
        if (last->msg.message == WM_MOUSEMOVE && last->msg.hwnd == input->msg.hwnd &&
            last->msg.wParam == input->msg.wParam) {
            *last = *input; // the pointer's latest position stands for the moves before it
            return;
        }
    }
    Queue_Append(list, input);
}

void Queue_DropKeys(HWND window)
{
    QueueList *list = &s_queue.input;
    for (size_t i = 0; i < list->count;) {
        NativeQueued *item = &list->items[list->head + i];
        if (item->msg.hwnd != window || item->keyVk < 0) {
            i++;
            continue;
        }
        Keys_Apply(item->keyVk, item->keyDown);
        Queue_Remove(list, i);
    }
}

BOOL WINAPI PeekMessageA(MSG *msg, HWND window, UINT first, UINT last, UINT remove)
{
    if (!msg)
        return FALSE;
    bool removing = (remove & PM_REMOVE) != 0;
    // Posted messages come before input anyway: the window system is asked only when none
    // waits, which keeps a long run of posted messages cheap.
    if (s_queue.posted.count == 0)
        Events_Pump();
    Paint_PresentDrawn();
    if (Queue_Take(&s_queue.posted, msg, window, first, last, removing) ||
        Queue_Take(&s_queue.input, msg, window, first, last, removing))
        return TRUE;
    if (s_queue.quitPending &&
        ((first == 0 && last == 0) || (WM_QUIT >= first && WM_QUIT <= last))) {
        memset(msg, 0, sizeof *msg);
        msg->message = WM_QUIT;
        msg->wParam = (WPARAM)(intptr_t)s_queue.quitCode;
        msg->time = GetTickCount();
        if (removing)
            s_queue.quitPending = false;
        return TRUE;
    }
    NativeWindow *due = Paint_NextDue();
    if (due && (!window || window == Window_Handle(due)) &&
        ((first == 0 && last == 0) || (WM_PAINT >= first && WM_PAINT <= last))) {
        // WM_PAINT stays due until the update region is validated.
        memset(msg, 0, sizeof *msg);
        msg->hwnd = Window_Handle(due);
        msg->message = WM_PAINT;
        msg->time = GetTickCount();
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *msg)
{
    // Characters are not made: the front-end reads keys only.
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP ||
                   msg->message == WM_SYSKEYDOWN || msg->message == WM_SYSKEYUP);
}

LRESULT WINAPI DispatchMessageA(const MSG *msg)
{
    if (!msg)
        return 0;
    NativeWindow *w = Window_Get(msg->hwnd);
    if (!w)
        return 0;
    HWND handle = msg->hwnd;
    uint32_t paintsBegun = Paint_BegunCount();
    LRESULT result = Window_Call(w, msg->message, msg->wParam, msg->lParam);
    // A WM_PAINT the procedure left unanswered is not sent again and again; after one it
    // answered with BeginPaint, what was invalidated since stays pending, as on Windows.
    if (msg->message == WM_PAINT && Paint_BegunCount() == paintsBegun &&
        (w = Window_Get(handle)) != NULL)
        w->updatePending = w->updateErase = false;
    return result;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NativeWindow *w = Window_Get(window);
    return w ? Window_Call(w, message, wParam, lParam) : 0;
}

void WINAPI PostQuitMessage(int code)
{
    s_queue.quitPending = true;
    s_queue.quitCode = code;
}

// WM_WINDOWPOSCHANGED's default: WM_MOVE and WM_SIZE for what changed.
static void Queue_DefaultPosChanged(NativeWindow *w, const NativeWindowPos *pos)
{
    HWND handle = Window_Handle(w);
    int x, y, width, height;
    if (!(pos->flags & SWP_NOCLIENTMOVE)) {
        Window_ClientOrigin(w, &x, &y);
        Window_Call(w, WM_MOVE, 0, (LPARAM)(((uint32_t)(uint16_t)y << 16) | (uint16_t)x));
    }
    if (!Window_Get(handle))
        return;
    if ((pos->flags & SWP_STATECHANGED) || !(pos->flags & SWP_NOCLIENTSIZE)) {
        Window_ClientSize(w, &width, &height);
        WPARAM kind = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                      : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                 : SIZE_RESTORED;
        Window_Call(w, WM_SIZE, kind, Window_SizeParam(width, height));
    }
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    NativeWindow *w = Window_Get(window);
    if (!w)
        return 0;
    switch (message) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
    case WM_QUERYOPEN:
        return TRUE;
    case WM_CLOSE:
        Window_Destroy(window);
        return 0;
    case WM_SETTEXT:
        return Window_SetTitle(w, (const char *)lParam);
    case WM_WINDOWPOSCHANGING:
        if (lParam)
            Window_KeepTrackSize(w, (NativeWindowPos *)lParam);
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (lParam)
            Queue_DefaultPosChanged(w, (const NativeWindowPos *)lParam);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return Paint_EraseBackground(w);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE))
            SetFocus(window);
        return 0;
    case WM_CANCELMODE:
        if (Mouse_Capture() == window)
            ReleaseCapture();
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 closes the window through the system menu's command.
        if (wParam == VK_F4 && ((uint32_t)lParam & 0x20000000u))
            SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            return SendMessageA(window, WM_CLOSE, 0, 0);
        case SC_MINIMIZE:
            ShowWindow(window, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            ShowWindow(window, SW_SHOWMAXIMIZED);
            return 0;
        case SC_RESTORE:
            ShowWindow(window, SW_RESTORE);
            return 0;
        }
        return 0;
    }
    return 0;
}
