// The gdi32 subset the display engine calls (and LoadImageA of user32): device contexts on
// DirectDraw surfaces and in memory, bitmaps from BMP files, fonts, text, brushes, pens,
// ellipses and pixels. Real names, signatures and values.
#pragma once

#include "platform/compat/user32_api.h"
#include "platform/compat/win32_types.h"

using COLORREF = DWORD;
using HBITMAP = HGDIOBJ;
using HFONT = HGDIOBJ;
using HPEN = HGDIOBJ;

inline constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red | (green << 8) | (blue << 16));
}
inline constexpr BYTE GetRValue(COLORREF colour) { return static_cast<BYTE>(colour & 0xFF); }
inline constexpr BYTE GetGValue(COLORREF colour) { return static_cast<BYTE>((colour >> 8) & 0xFF); }
inline constexpr BYTE GetBValue(COLORREF colour) { return static_cast<BYTE>((colour >> 16) & 0xFF); }

inline constexpr DWORD SRCCOPY = 0x00CC0020;
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int PS_SOLID = 0;
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Stock objects (GetStockObject), besides WHITE_BRUSH and BLACK_BRUSH
inline constexpr int NULL_BRUSH = 5;
inline constexpr int WHITE_PEN = 6;
inline constexpr int BLACK_PEN = 7;
inline constexpr int NULL_PEN = 8;
inline constexpr int SYSTEM_FONT = 13;
inline constexpr int DEFAULT_GUI_FONT = 17;

// Fonts
inline constexpr DWORD ANSI_CHARSET = 0;
inline constexpr DWORD DEFAULT_CHARSET = 1;
inline constexpr DWORD SHIFTJIS_CHARSET = 128;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

// LoadImageA
inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

HGDIOBJ WINAPI GetStockObject(int object);
HDC WINAPI CreateCompatibleDC(HDC dc);
BOOL WINAPI DeleteDC(HDC dc);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
BOOL WINAPI BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop);
HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int width, int height,
                         UINT load);
int WINAPI SetBkMode(HDC dc, int mode);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour);
COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour);
HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                         DWORD outputPrecision, DWORD clipPrecision, DWORD quality,
                         DWORD pitchAndFamily, LPCSTR faceName);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, SIZE* size);
HBRUSH WINAPI CreateSolidBrush(COLORREF colour);
HPEN WINAPI CreatePen(int style, int width, COLORREF colour);
BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF WINAPI GetPixel(HDC dc, int x, int y);
