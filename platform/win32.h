// The Win32 subset the game calls, and nothing more.
//
// On Windows this header is <windows.h> and <vfw.h>. Elsewhere it declares the same names and
// the drivers under platform/ implement them: core/ (the calls on in-memory canvases, text
// through FreeType/fontconfig), x11/ or null/ (the display, or none) and capture/ (V4L2
// cameras and .y4m clips).
//
// Calls provided, and where the Linux side differs from Windows:
//
//   Windows and classes
//     RegisterClassA      class names are case-sensitive; cbClsExtra/cbWndExtra and the menu
//                         name are ignored.
//     CreateWindowExA     extended style, menu and lpParam are ignored; WM_CREATE is sent with
//                         lParam 0 (no CREATESTRUCT). A top-level window is an X window whose
//                         WM_NAME is the caption and whose WM_CLASS (name and class) is the Win32
//                         class name; it has no decorations, so its X size is its client size.
//                         A WS_CHILD window has no X window: its canvas is drawn into its
//                         parent's picture when presented. A top-level window fails (null)
//                         when the video driver's display cannot be opened.
//     DestroyWindow       destroys the children too; callable from any thread.
//     IsWindow, ShowWindow, UpdateWindow (sends WM_PAINT at once), SetFocus,
//     AdjustWindowRect    the rectangle is returned unchanged: there is no frame to add.
//     DefWindowProcA      WM_CLOSE destroys the window; WM_PAINT fills the window's canvas with
//                         the class background brush (the canvas is the window's only
//                         picture); everything else returns 0.
//     GetModuleHandleA    returns a fixed non-null handle for the program (any name).
//     GetModuleFileNameA  the running executable's path (module null or the program's), from
//                         /proc/self/exe; truncated and null-terminated like Windows' when the
//                         buffer is short; 0 when the path cannot be read.
//   Environment
//     SetEnvironmentVariableA  a null value removes the variable.
//     __argc, __argv      the command line, as MinGW's <stdlib.h> declares them; main() fills them.
//     LoadIconA, LoadCursorA   return fixed non-null handles; nothing is drawn with them.
//   Messages (one queue per thread, created on first use)
//     PeekMessageA        never waits. On the process's main thread it also runs the layer's
//                         idle work (capture previews), presents canvases changed since the
//                         last call and turns X events into messages: the close request
//                         (WM_DELETE_WINDOW) into WM_CLOSE, key presses into WM_KEYDOWN with
//                         VK_* codes (lParam carries the repeat count 1 and the X keycode as
//                         scan code), exposure into WM_PAINT. WM_QUIT is returned once the
//                         posted messages ahead of it are taken. hWnd filter: null = all.
//     PostMessageA        posts to the queue of the thread that created the window.
//     SendMessageA        calls the window procedure directly, on the calling thread.
//                         Capture messages (WM_CAP_*, WM_USER..WM_USER+0xFF) go to the capture
//                         driver instead, whatever the window: other windows get 0 for them
//                         and never see them in their procedure.
//     TranslateMessage    posts WM_CHAR for keys with a plain character (letters lower case).
//     DispatchMessageA, PostQuitMessage (posts WM_QUIT to the calling thread only).
//   Errors
//     GetLastError, SetLastError   per thread. CreateWindowExA and GetDC(NULL) set it when they
//                         fail; a display that cannot be opened is a code of our own
//                         (customer bit set).
//     FormatMessageA      FORMAT_MESSAGE_FROM_SYSTEM into the caller's buffer, for the codes
//                         this layer sets; inserts and languages are ignored.
//   GDI (every window owns a 32-bit canvas; calls may come from any thread)
//     GetDC, ReleaseDC    GetDC(NULL) is the screen: GetPixel reads CLR_INVALID from it and
//                         drawing into it does nothing; null when the video driver's display
//                         cannot be opened.
//     CreateCompatibleDC, DeleteDC, SelectObject, DeleteObject (an object still selected into a
//     DC stays usable by that DC until deselected; deleting it never crashes),
//     GetStockObject      brushes, pens and SYSTEM_FONT / DEFAULT_GUI_FONT only.
//     GetSysColorBrush, CreateSolidBrush, SetTextColor, SetBkMode, SetBkColor,
//     CreateFontIndirectA the face name is resolved through fontconfig; a missing face falls
//                         back to a close one ("Impact" to DejaVu Sans Condensed Bold). Height
//                         > 0 is the cell height, < 0 the character height, 0 means 16.
//                         Width, escapement, orientation, underline and strike-out are
//                         ignored.
//     TextOutA            bytes are Latin-1; the reference point is the top left of the cell.
//     Rectangle           the selected pen is 1 pixel wide (stock pens only); right and bottom
//                         edges are exclusive; an empty or 1 x 1 rectangle draws nothing.
//     CreateDIBSection, GetDIBits, SetDIBitsToDevice   32-bit BI_RGB only (other depths fail);
//                         GetDIBits converts to bottom-up or top-down by the sign of biHeight.
//     BitBlt              SRCCOPY only.
//     GetPixel
//   Capture window (Video for Windows)
//     capCreateCaptureWindowA  a child window whose canvas is the preview. Driver 0 is the
//                         device or .y4m clip named by VORLAXIS_CAMERA when it is set (then
//                         the only driver); otherwise driver N is the Nth V4L2 capture device.
//     capGetDriverDescriptionA  driver N is the Nth V4L2 device that captures video: its card
//                         name, and "<path>, driver <driver>, <formats with their sizes>".
//     WM_CAP_DRIVER_CONNECT, WM_CAP_SET_SCALE, WM_CAP_SET_PREVIEWRATE, WM_CAP_SET_PREVIEW
//                         through SendMessageA; the preview refreshes inside the main thread's
//                         PeekMessageA at the preview rate, as a timer would.
//   Sockets (Winsock 2): the system's own BSD sockets. A SOCKET is the file descriptor; the
//   structures, constants and sizes (sockaddr_in, sockaddr_in6, sockaddr_storage, addrinfo,
//   socklen_t, AF_*, IPPROTO_IPV6, IPV6_V6ONLY, NI_*, FIONBIO) are the system's values, so
//   only their names are portable. Address lengths must be socklen_t variables (int in
//   MinGW, unsigned here), and buffers passed as char* (Windows' type; void* here takes it).
//     WSAStartup          any version from 1.0 succeeds and reports min(asked, 2.2); nothing
//                         needs starting, and the socket calls work without it.
//     WSACleanup          always succeeds (Windows fails one without a WSAStartup).
//     socket, bind, sendto, recvfrom, setsockopt, getsockname, getaddrinfo, freeaddrinfo,
//     gai_strerror, getnameinfo, htons, ntohs   the C library's own calls. recvfrom cuts a
//                         datagram longer than the buffer to it and returns that length,
//                         where Windows fails with WSAEMSGSIZE: give a buffer longer than any
//                         datagram worth reading. An unconnected UDP socket never reports a
//                         peer's ICMP port-unreachable, where Windows fails the next recvfrom
//                         with WSAECONNRESET. IPV6_V6ONLY is off by default here, on by
//                         default on Windows: set it either way.
//     closesocket         refuses (WSAENOTSOCK) a descriptor that is not a socket.
//     ioctlsocket         FIONBIO only; other commands fail with WSAEINVAL.
//     WSAGetLastError     the errno of the calling thread's last failed call, as its Windows
//                         code: EAGAIN is WSAEWOULDBLOCK, ECONNREFUSED WSAECONNRESET, EBADF
//                         WSAENOTSOCK, and so on. An errno Windows has no code for is a code
//                         of our own (customer bit set). FormatMessageA gives the errno's
//                         text for them (the C library's wording, not Windows').
//   Entry point: the X11 driver supplies main(), which opens the display and calls WinMain.
//
// Tests run on the null video driver (no display; canvases, queues and capture keep working),
// chosen through platform/driver.h or with VORLAXIS_VIDEODRIVER=null in the environment.
#pragma once

#ifdef _WIN32
// Winsock 2 first: <windows.h> alone brings the old <winsock.h>, which cannot live with it.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <vfw.h>
#else

#include <cstdarg>
#include <cstdint>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/types.h>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef WORD ATOM;

typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HICON__* HICON;
typedef HICON HCURSOR;
typedef struct HMENU__* HMENU;
typedef void* HGDIOBJ;
typedef struct HBRUSH__* HBRUSH;
typedef struct HPEN__* HPEN;
typedef struct HFONT__* HFONT;
typedef struct HBITMAP__* HBITMAP;
typedef void* HANDLE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA;

#define LF_FACESIZE 32
typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

typedef struct tagRGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
} RGBQUAD;

typedef struct tagBITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
} BITMAPINFO;

// Messages
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_SETFOCUS 0x0007
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_USER 0x0400

// Capture window messages
#define WM_CAP_START WM_USER
#define WM_CAP_DRIVER_CONNECT (WM_CAP_START + 10)
#define WM_CAP_DRIVER_DISCONNECT (WM_CAP_START + 11)
#define WM_CAP_SET_PREVIEW (WM_CAP_START + 50)
#define WM_CAP_SET_PREVIEWRATE (WM_CAP_START + 52)
#define WM_CAP_SET_SCALE (WM_CAP_START + 53)
#define WM_CAP_END (WM_CAP_START + 0xFF)

// Virtual keys ('0'..'9' and 'A'..'Z' are their ASCII codes)
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_F1 0x70
#define VK_F12 0x7B

// Class and window styles, show commands, peek flags
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_OVERLAPPED 0x00000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define WS_VISIBLE 0x10000000L
#define WS_CHILD 0x40000000L
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOW 5
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// GDI
#define SRCCOPY 0x00CC0020
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define BI_RGB 0L
#define TRANSPARENT 1
#define OPAQUE 2
#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNFACE 15
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define HGDI_ERROR ((HGDIOBJ)(LONG_PTR)-1)
#define CLR_INVALID 0xFFFFFFFF

#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Errors
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MR_MID_NOT_FOUND 317L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000

// Sockets
typedef UINT_PTR SOCKET;
#define INVALID_SOCKET ((SOCKET)(~0))
#define SOCKET_ERROR (-1)
#define MAKEWORD(low, high) ((WORD)(((BYTE)(low)) | ((WORD)((BYTE)(high))) << 8))
#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128
typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
} WSADATA, *LPWSADATA;

#define WSAEINTR 10004L
#define WSAEACCES 10013L
#define WSAEFAULT 10014L
#define WSAEINVAL 10022L
#define WSAEMFILE 10024L
#define WSAEWOULDBLOCK 10035L
#define WSAENOTSOCK 10038L
#define WSAEMSGSIZE 10040L
#define WSAEPROTONOSUPPORT 10043L
#define WSAEAFNOSUPPORT 10047L
#define WSAEADDRINUSE 10048L
#define WSAEADDRNOTAVAIL 10049L
#define WSAENETUNREACH 10051L
#define WSAECONNRESET 10054L
#define WSAENOBUFS 10055L
#define WSAEHOSTUNREACH 10065L
#define WSAVERNOTSUPPORTED 10092L

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

// The program's entry point, called by the platform's main().
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// Windows and classes
ATOM WINAPI RegisterClassA(const WNDCLASSA* wc);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI IsWindow(HWND hWnd);
BOOL WINAPI ShowWindow(HWND hWnd, int cmdShow);
BOOL WINAPI UpdateWindow(HWND hWnd);
HWND WINAPI SetFocus(HWND hWnd);
BOOL WINAPI AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);

// Environment
BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value);

// Messages
BOOL WINAPI PeekMessageA(LPMSG msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg);
BOOL WINAPI PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI TranslateMessage(const MSG* msg);
LRESULT WINAPI DispatchMessageA(const MSG* msg);
void WINAPI PostQuitMessage(int exitCode);

// Errors
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD code);
DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                            LPSTR buffer, DWORD size, va_list* arguments);

// Sockets (the rest are the C library's own)
int WINAPI WSAStartup(WORD versionRequested, LPWSADATA data);
int WINAPI WSACleanup(void);
int WINAPI WSAGetLastError(void);
int WINAPI closesocket(SOCKET s);
int WINAPI ioctlsocket(SOCKET s, long cmd, u_long* argp);

// GDI
HDC WINAPI GetDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hdc);
HDC WINAPI CreateCompatibleDC(HDC hdc);
BOOL WINAPI DeleteDC(HDC hdc);
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ obj);
BOOL WINAPI DeleteObject(HGDIOBJ obj);
HGDIOBJ WINAPI GetStockObject(int index);
HBRUSH WINAPI GetSysColorBrush(int index);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf);
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color);
int WINAPI SetBkMode(HDC hdc, int mode);
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int length);
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits,
                                HANDLE section, DWORD offset);
BOOL WINAPI BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
int WINAPI GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* bmi,
                     UINT usage);
int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                             UINT startScan, UINT lines, const void* bits, const BITMAPINFO* bmi,
                             UINT colorUse);
COLORREF WINAPI GetPixel(HDC hdc, int x, int y);

// Capture window
HWND WINAPI capCreateCaptureWindowA(LPCSTR windowName, DWORD style, int x, int y, int width,
                                    int height, HWND parent, int id);
BOOL WINAPI capGetDriverDescriptionA(UINT index, LPSTR name, int nameSize, LPSTR version,
                                     int versionSize);

// The command line as MinGW's <stdlib.h> declares it; main() fills it before WinMain.
extern int __argc;
extern char** __argv;

#endif  // _WIN32
