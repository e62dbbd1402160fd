// Win32 constants the native backend answers or sends beyond those the front-end uses
// (platform/winapi.h): their Windows names and Windows' own values, declared here once for the
// software GDI and the window layer alike. Only the native backend includes this.
#pragma once

#include "platform/platform.h"

// Window messages the backend sends on its own.
#define WM_MOVE 0x0003
#define WM_SETFOCUS 0x0007
#define WM_QUERYOPEN 0x0013
#define WM_SHOWWINDOW 0x0018
#define WM_ACTIVATEAPP 0x001C
#define WM_CANCELMODE 0x001F
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCACTIVATE 0x0086
#define WM_SYSCOMMAND 0x0112
#define WM_CAPTURECHANGED 0x0215

// WM_SYSCOMMAND's commands, WM_ACTIVATE's and WM_SIZE's kinds.
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120
#define WA_ACTIVE 1
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1

// Mouse message flags and virtual keys.
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define VK_LWIN 0x5B
#define VK_F4 0x73
#define VK_F10 0x79
#define VK_NUMLOCK 0x90

// Window styles, GetWindowLong's index of the extended style, ShowWindow's commands.
#define WS_MINIMIZE 0x20000000u
#define WS_CLIPSIBLINGS 0x04000000u
#define WS_MAXIMIZE 0x01000000u
#define WS_BORDER 0x00800000u
#define WS_DLGFRAME 0x00400000u
#define WS_THICKFRAME 0x00040000u
#define WS_CHILD 0x40000000u
#define GWL_EXSTYLE (-20)
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWNOACTIVATE 4
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8

// SetWindowPos flags, including those only WM_WINDOWPOSCHANGED reports.
#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define SWP_SHOWWINDOW 0x0040u
#define SWP_HIDEWINDOW 0x0080u
#define SWP_NOCLIENTSIZE 0x0800u
#define SWP_NOCLIENTMOVE 0x1000u
#define SWP_STATECHANGED 0x8000u

// RedrawWindow flags.
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_ERASENOW 0x0200

// Display modes and system metrics.
#define DISP_CHANGE_BADMODE (-2)
#define CDS_TEST 0x00000002
#define DM_BITSPERPEL 0x00040000
#define ENUM_CURRENT_SETTINGS ((DWORD)-1)
#define ENUM_REGISTRY_SETTINGS ((DWORD)-2)
#define SM_CYCAPTION 4
#define SM_CXFIXEDFRAME 7
#define SM_CYFIXEDFRAME 8
#define SM_CXFRAME 32
#define SM_CYFRAME 33
#define SM_CXMINTRACK 34
#define SM_CYMINTRACK 35
#define SM_CXMAXTRACK 59
#define SM_CYMAXTRACK 60

// Joysticks and timers (WinMM).
#define MMSYSERR_INVALPARAM 11
#define JOYERR_PARMS 165
#define JOY_RETURNPOV 0x00000040
#define JOY_RETURNBUTTONS 0x00000080
#define JOY_RETURNPOVCTS 0x00000200
#define JOY_POVCENTERED 0xFFFF
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

// GDI: GetDeviceCaps indexes, and the colour no COLORREF is.
#define BITSPIXEL 12
#define PLANES 14
#define CLR_INVALID 0xFFFFFFFF
