// Keyboard: SDL key events become WM_KEYDOWN / WM_KEYUP / WM_SYSKEYDOWN / WM_SYSKEYUP with
// Windows' virtual keys and PC scan codes, by the rules Wine follows; the key state.
#include "platform/sdl/focus.h"
#include "platform/sdl/input.h"
#include "platform/sdl/queue.h"

enum {
    KEY_EXTENDED = 0x100, // scan codes with the E0 prefix: lParam bit 24
    KEY_DOWN = 0x80,
    KEY_TOGGLED = 0x01
};

// One key: its SDL scancode, virtual key, scan code, and the virtual key with Num Lock on.
typedef struct {
    uint16_t scancode;
    uint8_t vk;
    uint16_t scan;
    uint8_t numLockVk;
} KeyRow;

static const KeyRow KEY_ROWS[] = {
    {SDL_SCANCODE_A, 'A', 0x1E, 0},
    {SDL_SCANCODE_B, 'B', 0x30, 0},
    {SDL_SCANCODE_C, 'C', 0x2E, 0},
    {SDL_SCANCODE_D, 'D', 0x20, 0},
    {SDL_SCANCODE_E, 'E', 0x12, 0},
    {SDL_SCANCODE_F, 'F', 0x21, 0},
    {SDL_SCANCODE_G, 'G', 0x22, 0},
    {SDL_SCANCODE_H, 'H', 0x23, 0},
    {SDL_SCANCODE_I, 'I', 0x17, 0},
    {SDL_SCANCODE_J, 'J', 0x24, 0},
    {SDL_SCANCODE_K, 'K', 0x25, 0},
    {SDL_SCANCODE_L, 'L', 0x26, 0},
    {SDL_SCANCODE_M, 'M', 0x32, 0},
    {SDL_SCANCODE_N, 'N', 0x31, 0},
    {SDL_SCANCODE_O, 'O', 0x18, 0},
    {SDL_SCANCODE_P, 'P', 0x19, 0},
    {SDL_SCANCODE_Q, 'Q', 0x10, 0},
    {SDL_SCANCODE_R, 'R', 0x13, 0},
    {SDL_SCANCODE_S, 'S', 0x1F, 0},
    {SDL_SCANCODE_T, 'T', 0x14, 0},
    {SDL_SCANCODE_U, 'U', 0x16, 0},
    {SDL_SCANCODE_V, 'V', 0x2F, 0},
    {SDL_SCANCODE_W, 'W', 0x11, 0},
    {SDL_SCANCODE_X, 'X', 0x2D, 0},
    {SDL_SCANCODE_Y, 'Y', 0x15, 0},
    {SDL_SCANCODE_Z, 'Z', 0x2C, 0},
    {SDL_SCANCODE_1, '1', 0x02, 0},
    {SDL_SCANCODE_2, '2', 0x03, 0},
    {SDL_SCANCODE_3, '3', 0x04, 0},
    {SDL_SCANCODE_4, '4', 0x05, 0},
    {SDL_SCANCODE_5, '5', 0x06, 0},
    {SDL_SCANCODE_6, '6', 0x07, 0},
    {SDL_SCANCODE_7, '7', 0x08, 0},
    {SDL_SCANCODE_8, '8', 0x09, 0},
    {SDL_SCANCODE_9, '9', 0x0A, 0},
    {SDL_SCANCODE_0, '0', 0x0B, 0},
    {SDL_SCANCODE_RETURN, 0x0D, 0x1C, 0},
    {SDL_SCANCODE_ESCAPE, 0x1B, 0x01, 0},
    {SDL_SCANCODE_BACKSPACE, 0x08, 0x0E, 0},
    {SDL_SCANCODE_TAB, 0x09, 0x0F, 0},
    {SDL_SCANCODE_SPACE, 0x20, 0x39, 0},
    {SDL_SCANCODE_MINUS, 0xBD, 0x0C, 0},          // VK_OEM_MINUS
    {SDL_SCANCODE_EQUALS, 0xBB, 0x0D, 0},         // VK_OEM_PLUS
    {SDL_SCANCODE_LEFTBRACKET, 0xDB, 0x1A, 0},    // VK_OEM_4
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD, 0x1B, 0},   // VK_OEM_6
    {SDL_SCANCODE_BACKSLASH, 0xDC, 0x2B, 0},      // VK_OEM_5
    {SDL_SCANCODE_NONUSHASH, 0xDC, 0x2B, 0},      // the same key on ISO keyboards
    {SDL_SCANCODE_SEMICOLON, 0xBA, 0x27, 0},      // VK_OEM_1
    {SDL_SCANCODE_APOSTROPHE, 0xDE, 0x28, 0},     // VK_OEM_7
    {SDL_SCANCODE_GRAVE, 0xC0, 0x29, 0},          // VK_OEM_3
    {SDL_SCANCODE_COMMA, 0xBC, 0x33, 0},          // VK_OEM_COMMA
    {SDL_SCANCODE_PERIOD, 0xBE, 0x34, 0},         // VK_OEM_PERIOD
    {SDL_SCANCODE_SLASH, 0xBF, 0x35, 0},          // VK_OEM_2
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0x56, 0}, // VK_OEM_102
    {SDL_SCANCODE_CAPSLOCK, 0x14, 0x3A, 0},
    {SDL_SCANCODE_F1, 0x70, 0x3B, 0},
    {SDL_SCANCODE_F2, 0x71, 0x3C, 0},
    {SDL_SCANCODE_F3, 0x72, 0x3D, 0},
    {SDL_SCANCODE_F4, 0x73, 0x3E, 0},
    {SDL_SCANCODE_F5, 0x74, 0x3F, 0},
    {SDL_SCANCODE_F6, 0x75, 0x40, 0},
    {SDL_SCANCODE_F7, 0x76, 0x41, 0},
    {SDL_SCANCODE_F8, 0x77, 0x42, 0},
    {SDL_SCANCODE_F9, 0x78, 0x43, 0},
    {SDL_SCANCODE_F10, 0x79, 0x44, 0},
    {SDL_SCANCODE_F11, 0x7A, 0x57, 0},
    {SDL_SCANCODE_F12, 0x7B, 0x58, 0},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C, 0x137, 0},
    {SDL_SCANCODE_SCROLLLOCK, 0x91, 0x46, 0},
    {SDL_SCANCODE_PAUSE, 0x13, 0x45, 0}, // Wine gives Pause the Num Lock scan code, unextended
    {SDL_SCANCODE_INSERT, 0x2D, 0x152, 0},
    {SDL_SCANCODE_HOME, 0x24, 0x147, 0},
    {SDL_SCANCODE_PAGEUP, 0x21, 0x149, 0},
    {SDL_SCANCODE_DELETE, 0x2E, 0x153, 0},
    {SDL_SCANCODE_END, 0x23, 0x14F, 0},
    {SDL_SCANCODE_PAGEDOWN, 0x22, 0x151, 0},
    {SDL_SCANCODE_RIGHT, 0x27, 0x14D, 0},
    {SDL_SCANCODE_LEFT, 0x25, 0x14B, 0},
    {SDL_SCANCODE_DOWN, 0x28, 0x150, 0},
    {SDL_SCANCODE_UP, 0x26, 0x148, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x145, 0},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F, 0x135, 0},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A, 0x37, 0},
    {SDL_SCANCODE_KP_MINUS, 0x6D, 0x4A, 0},
    {SDL_SCANCODE_KP_PLUS, 0x6B, 0x4E, 0},
    {SDL_SCANCODE_KP_ENTER, 0x0D, 0x11C, 0},
    {SDL_SCANCODE_KP_1, 0x23, 0x4F, 0x61},      // End, or VK_NUMPAD1 with Num Lock
    {SDL_SCANCODE_KP_2, 0x28, 0x50, 0x62},      // Down
    {SDL_SCANCODE_KP_3, 0x22, 0x51, 0x63},      // Page Down
    {SDL_SCANCODE_KP_4, 0x25, 0x4B, 0x64},      // Left
    {SDL_SCANCODE_KP_5, 0x0C, 0x4C, 0x65},      // VK_CLEAR
    {SDL_SCANCODE_KP_6, 0x27, 0x4D, 0x66},      // Right
    {SDL_SCANCODE_KP_7, 0x24, 0x47, 0x67},      // Home
    {SDL_SCANCODE_KP_8, 0x26, 0x48, 0x68},      // Up
    {SDL_SCANCODE_KP_9, 0x21, 0x49, 0x69},      // Page Up
    {SDL_SCANCODE_KP_0, 0x2D, 0x52, 0x60},      // Insert
    {SDL_SCANCODE_KP_PERIOD, 0x2E, 0x53, 0x6E}, // Delete, or VK_DECIMAL
    {SDL_SCANCODE_APPLICATION, 0x5D, 0x15D, 0}, // VK_APPS
    {SDL_SCANCODE_LCTRL, VK_LCONTROL, 0x1D, 0},
    {SDL_SCANCODE_LSHIFT, VK_LSHIFT, 0x2A, 0},
    {SDL_SCANCODE_LALT, VK_LMENU, 0x38, 0},
    {SDL_SCANCODE_LGUI, VK_LWIN, 0x15B, 0},
    {SDL_SCANCODE_RCTRL, VK_RCONTROL, 0x11D, 0},
    {SDL_SCANCODE_RSHIFT, VK_RSHIFT, 0x36, 0}, // the right Shift is not an extended key
    {SDL_SCANCODE_RALT, VK_RMENU, 0x138, 0},
    {SDL_SCANCODE_RGUI, 0x5C, 0x15C, 0}, // VK_RWIN
};

static struct {
    uint8_t state[256]; // what GetKeyState answers: follows the messages taken
    uint8_t input[256]; // the keyboard as the input arrives: decides the message kind
    bool altAlone;      // Alt went down and no other key since: its release is a system key
} s_keys;

static const KeyRow *Keys_Find(int scancode)
{
    for (size_t i = 0; i < sizeof KEY_ROWS / sizeof KEY_ROWS[0]; i++)
        if (KEY_ROWS[i].scancode == scancode)
            return &KEY_ROWS[i];
    return NULL;
}

// The generic key a sided modifier stands for in key messages; the key itself otherwise.
static int Keys_Generic(int vk)
{
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    }
    return vk;
}

// One key goes down or up in a state table: a press from up flips its toggle bit; a
// sided modifier carries its generic key along.
static void Keys_Update(uint8_t *table, int vk, bool down)
{
    if (down && !(table[vk] & KEY_DOWN))
        table[vk] ^= KEY_TOGGLED;
    table[vk] = (uint8_t)(down ? table[vk] | KEY_DOWN : table[vk] & ~KEY_DOWN);
    int generic = Keys_Generic(vk);
    if (generic == vk)
        return;
    int left = generic == VK_SHIFT ? VK_LSHIFT : generic == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
    bool any = ((table[left] | table[left + 1]) & KEY_DOWN) != 0;
    if (any && !(table[generic] & KEY_DOWN))
        table[generic] ^= KEY_TOGGLED;
    table[generic] = (uint8_t)(any ? table[generic] | KEY_DOWN : table[generic] & ~KEY_DOWN);
}

void Keys_Apply(int vk, bool down)
{
    Keys_Update(s_keys.state, vk & 0xFF, down);
}

// Wine's rules: Alt (without Ctrl) makes system keys, F10 always; Alt's own release is one
// only when no other key came since it went down, and Ctrl's release while Alt is held.
static UINT Keys_MessageFor(int vk, bool down)
{
    const uint8_t *in = s_keys.input;
    bool alt = (in[VK_MENU] & KEY_DOWN) != 0, ctrl = (in[VK_CONTROL] & KEY_DOWN) != 0;
    UINT plain = down ? WM_KEYDOWN : WM_KEYUP, system = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    switch (vk) {
    case VK_LMENU:
    case VK_RMENU:
        if (!down) {
            bool alone = alt && s_keys.altAlone;
            s_keys.altAlone = false;
            return alone ? system : plain;
        }
        if (ctrl)
            return plain;
        s_keys.altAlone = true;
        return system;
    case VK_LCONTROL:
    case VK_RCONTROL:
        if (down || !alt)
            return plain;
        s_keys.altAlone = false;
        return system;
    default:
        if (vk != VK_F10 && (ctrl || !alt))
            return plain;
        s_keys.altAlone = false;
        return system;
    }
}

void Keys_FromSdl(const SDL_KeyboardEvent *key)
{
    const KeyRow *row = Keys_Find(key->keysym.scancode);
    if (!row)
        return;
    int vk = row->numLockVk && (key->keysym.mod & KMOD_NUM) ? row->numLockVk : row->vk;
    bool down = key->state == SDL_PRESSED;
    bool wasDown = (s_keys.input[vk] & KEY_DOWN) != 0;
    UINT message = Keys_MessageFor(vk, down);
    Keys_Update(s_keys.input, vk, down);
    uint32_t lParam = 1u | (uint32_t)(row->scan & 0xFF) << 16;
    if (row->scan & KEY_EXTENDED)
        lParam |= 1u << 24;
    if (s_keys.input[VK_MENU] & KEY_DOWN)
        lParam |= 1u << 29;
    if (!down || key->repeat || wasDown)
        lParam |= 1u << 30;
    if (!down)
        lParam |= 1u << 31;
    // Keys go to the focus; with no focus, to the active window as system keys.
    HWND target = Focus_Keyboard();
    if (!target) {
        target = Focus_Active();
        message = message == WM_KEYDOWN ? WM_SYSKEYDOWN
                  : message == WM_KEYUP ? WM_SYSKEYUP
                                        : message;
    }
    if (!target)
        return;
    NativeQueued item;
    memset(&item, 0, sizeof item);
    item.msg.hwnd = target;
    item.msg.message = message;
    item.msg.wParam = (WPARAM)Keys_Generic(vk);
    item.msg.lParam = (LPARAM)lParam;
    item.msg.time = GetTickCount();
    item.keyVk = (int16_t)vk;
    item.keyDown = down;
    Queue_PostInput(&item);
}

WPARAM Keys_MouseFlags(void)
{
    return ((s_keys.input[VK_SHIFT] & KEY_DOWN) ? MK_SHIFT : 0) |
           ((s_keys.input[VK_CONTROL] & KEY_DOWN) ? MK_CONTROL : 0);
}

void Keys_Set(int vk, uint8_t state)
{
    s_keys.state[vk & 0xFF] = state;
    s_keys.input[vk & 0xFF] = state;
}

SHORT WINAPI GetKeyState(int key)
{
    if (key < 0 || key > 0xFF)
        return 0;
    // Windows widens the state byte as a signed char: down gives 0xFF80.
    return (SHORT)(signed char)(s_keys.state[key] & (KEY_DOWN | KEY_TOGGLED));
}

bool Keys_NumLock(void)
{
    return (s_keys.input[VK_NUMLOCK] & KEY_TOGGLED) != 0;
}

int Keys_ScancodeOf(int vk)
{
    for (size_t i = 0; i < sizeof KEY_ROWS / sizeof KEY_ROWS[0]; i++)
        if (KEY_ROWS[i].vk == vk)
            return KEY_ROWS[i].scancode;
    return SDL_SCANCODE_UNKNOWN;
}
