// Compiled by the Windows build only (mingw-w64, against the real headers): every constant,
// base type width and record layout that platform/compat declares for the portable layers,
// checked at compile time against the real <windows.h>, <ddraw.h> and <mmsystem.h> for the
// 64-bit layout. A wrong flag in compat would make Linux and Windows differ silently; here it
// stops the build. tests/layers/check_value_table.py checks that nothing compat declares is
// missing from the tables.
//
// Our declarations are read first, inside a namespace, and each value is copied under a name of
// its own; only then come the real headers, whose macros would otherwise rewrite our names.
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace ours {
#include "platform/compat/ddraw_api.h"
#include "platform/compat/gdi_api.h"
#include "platform/compat/user32_api.h"
#include "platform/compat/virtual_keys.h"
#include "platform/compat/win32_types.h"
}  // namespace ours
#undef WINAPI
#undef STDMETHODCALLTYPE

// The tables: each constant, and each record with its fields.
// clang-format off
#define WIN32_VALUES(X) \
  /* win32_types.h */ \
  X(TRUE) \
  X(FALSE) \
  X(S_OK) \
  X(E_NOTIMPL) \
  X(E_FAIL) \
  X(E_OUTOFMEMORY) \
  X(E_INVALIDARG) \
  X(CLASS_E_NOAGGREGATION) \
  /* ddraw_api.h */ \
  X(DD_OK) \
  X(DDERR_GENERIC) \
  X(DDERR_INVALIDPARAMS) \
  X(DDERR_OUTOFMEMORY) \
  X(DDERR_UNSUPPORTED) \
  X(DDERR_INVALIDCAPS) \
  X(DDERR_INVALIDMODE) \
  X(DDERR_INVALIDOBJECT) \
  X(DDERR_INVALIDPIXELFORMAT) \
  X(DDERR_INVALIDRECT) \
  X(DDERR_NOCOOPERATIVELEVELSET) \
  X(DDERR_NOCOLORKEY) \
  X(DDERR_NOCOLORKEYHW) \
  X(DDERR_NOEXCLUSIVEMODE) \
  X(DDERR_NOTFOUND) \
  X(DDERR_NOSTRETCHHW) \
  X(DDERR_SURFACEBUSY) \
  X(DDERR_SURFACELOST) \
  X(DDERR_NODIRECTDRAWHW) \
  X(DDERR_PRIMARYSURFACEALREADYEXISTS) \
  X(DDERR_BLTFASTCANTCLIP) \
  X(DDERR_NOTFLIPPABLE) \
  X(DDERR_NOTLOCKED) \
  X(DDERR_NODC) \
  X(DDERR_DCALREADYCREATED) \
  X(DDERR_WRONGMODE) \
  X(DDERR_UNSUPPORTEDMODE) \
  X(DDSCL_FULLSCREEN) \
  X(DDSCL_ALLOWREBOOT) \
  X(DDSCL_NOWINDOWCHANGES) \
  X(DDSCL_NORMAL) \
  X(DDSCL_EXCLUSIVE) \
  X(DDSCL_ALLOWMODEX) \
  X(DDSD_CAPS) \
  X(DDSD_HEIGHT) \
  X(DDSD_WIDTH) \
  X(DDSD_PITCH) \
  X(DDSD_BACKBUFFERCOUNT) \
  X(DDSD_LPSURFACE) \
  X(DDSD_PIXELFORMAT) \
  X(DDSD_CKSRCBLT) \
  X(DDSCAPS_BACKBUFFER) \
  X(DDSCAPS_COMPLEX) \
  X(DDSCAPS_FLIP) \
  X(DDSCAPS_FRONTBUFFER) \
  X(DDSCAPS_OFFSCREENPLAIN) \
  X(DDSCAPS_PALETTE) \
  X(DDSCAPS_PRIMARYSURFACE) \
  X(DDSCAPS_SYSTEMMEMORY) \
  X(DDSCAPS_VIDEOMEMORY) \
  X(DDPF_PALETTEINDEXED8) \
  X(DDPF_RGB) \
  X(DDBLT_COLORFILL) \
  X(DDBLT_KEYSRC) \
  X(DDBLT_WAIT) \
  X(DDBLTFAST_NOCOLORKEY) \
  X(DDBLTFAST_SRCCOLORKEY) \
  X(DDBLTFAST_DESTCOLORKEY) \
  X(DDBLTFAST_WAIT) \
  X(DDLOCK_SURFACEMEMORYPTR) \
  X(DDLOCK_WAIT) \
  X(DDFLIP_WAIT) \
  X(DDWAITVB_BLOCKBEGIN) \
  X(DDWAITVB_BLOCKBEGINEVENT) \
  X(DDPCAPS_8BIT) \
  X(DDPCAPS_ALLOW256) \
  X(DDCKEY_COLORSPACE) \
  X(DDCKEY_DESTBLT) \
  X(DDCKEY_SRCBLT) \
  /* gdi_api.h */ \
  X(SRCCOPY) \
  X(TRANSPARENT) \
  X(OPAQUE) \
  X(PS_SOLID) \
  X(CLR_INVALID) \
  X(NULL_BRUSH) \
  X(WHITE_PEN) \
  X(BLACK_PEN) \
  X(NULL_PEN) \
  X(SYSTEM_FONT) \
  X(DEFAULT_GUI_FONT) \
  X(ANSI_CHARSET) \
  X(DEFAULT_CHARSET) \
  X(SHIFTJIS_CHARSET) \
  X(FW_NORMAL) \
  X(FW_BOLD) \
  X(IMAGE_BITMAP) \
  X(LR_DEFAULTCOLOR) \
  X(LR_LOADFROMFILE) \
  X(LR_CREATEDIBSECTION) \
  /* user32_api.h */ \
  X(WM_NULL) \
  X(WM_CREATE) \
  X(WM_DESTROY) \
  X(WM_MOVE) \
  X(WM_SIZE) \
  X(WM_PAINT) \
  X(WM_CLOSE) \
  X(WM_QUIT) \
  X(WM_SHOWWINDOW) \
  X(WM_SETCURSOR) \
  X(WM_NCCREATE) \
  X(WM_NCDESTROY) \
  X(WM_KEYDOWN) \
  X(WM_KEYUP) \
  X(WM_CHAR) \
  X(WM_SYSKEYDOWN) \
  X(WM_SYSKEYUP) \
  X(WM_SYSCOMMAND) \
  X(WM_MOUSEMOVE) \
  X(WM_LBUTTONDOWN) \
  X(WM_LBUTTONUP) \
  X(WM_RBUTTONDOWN) \
  X(WM_RBUTTONUP) \
  X(SC_CLOSE) \
  X(HTCLIENT) \
  X(MK_LBUTTON) \
  X(MK_RBUTTON) \
  X(CS_VREDRAW) \
  X(CS_HREDRAW) \
  X(WS_POPUP) \
  X(WS_VISIBLE) \
  X(WS_BORDER) \
  X(WS_SYSMENU) \
  X(WS_EX_APPWINDOW) \
  X(CW_USEDEFAULT) \
  X(SW_HIDE) \
  X(SW_SHOWNORMAL) \
  X(SW_SHOW) \
  X(SW_SHOWDEFAULT) \
  X(SM_CXSCREEN) \
  X(SM_CYSCREEN) \
  X(SM_CYCAPTION) \
  X(SM_CXBORDER) \
  X(SM_CYBORDER) \
  X(PM_NOREMOVE) \
  X(PM_REMOVE) \
  X(MB_OK) \
  X(IDOK) \
  X(WHITE_BRUSH) \
  X(BLACK_BRUSH) \
  /* virtual_keys.h */ \
  X(VK_LBUTTON) \
  X(VK_RBUTTON) \
  X(VK_BACK) \
  X(VK_TAB) \
  X(VK_CLEAR) \
  X(VK_RETURN) \
  X(VK_SHIFT) \
  X(VK_CONTROL) \
  X(VK_MENU) \
  X(VK_PAUSE) \
  X(VK_CAPITAL) \
  X(VK_KANA) \
  X(VK_KANJI) \
  X(VK_ESCAPE) \
  X(VK_CONVERT) \
  X(VK_NONCONVERT) \
  X(VK_SPACE) \
  X(VK_PRIOR) \
  X(VK_NEXT) \
  X(VK_END) \
  X(VK_HOME) \
  X(VK_LEFT) \
  X(VK_UP) \
  X(VK_RIGHT) \
  X(VK_DOWN) \
  X(VK_SNAPSHOT) \
  X(VK_INSERT) \
  X(VK_DELETE) \
  X(VK_LWIN) \
  X(VK_RWIN) \
  X(VK_APPS) \
  X(VK_NUMPAD0) \
  X(VK_MULTIPLY) \
  X(VK_ADD) \
  X(VK_SEPARATOR) \
  X(VK_SUBTRACT) \
  X(VK_DECIMAL) \
  X(VK_DIVIDE) \
  X(VK_F1) \
  X(VK_F4) \
  X(VK_F5) \
  X(VK_F10) \
  X(VK_F12) \
  X(VK_F13) \
  X(VK_F24) \
  X(VK_NUMLOCK) \
  X(VK_SCROLL) \
  X(VK_LSHIFT) \
  X(VK_RSHIFT) \
  X(VK_LCONTROL) \
  X(VK_RCONTROL) \
  X(VK_LMENU) \
  X(VK_RMENU) \
  X(VK_OEM_1) \
  X(VK_OEM_PLUS) \
  X(VK_OEM_COMMA) \
  X(VK_OEM_MINUS) \
  X(VK_OEM_PERIOD) \
  X(VK_OEM_2) \
  X(VK_OEM_3) \
  X(VK_OEM_4) \
  X(VK_OEM_5) \
  X(VK_OEM_6) \
  X(VK_OEM_7) \
  X(VK_OEM_102)

#define WIN32_RECORDS(RECORD, FIELD) \
  RECORD(RECT) \
  FIELD(RECT, left) \
  FIELD(RECT, top) \
  FIELD(RECT, right) \
  FIELD(RECT, bottom) \
  RECORD(POINT) \
  FIELD(POINT, x) \
  FIELD(POINT, y) \
  RECORD(SIZE) \
  FIELD(SIZE, cx) \
  FIELD(SIZE, cy) \
  RECORD(PALETTEENTRY) \
  FIELD(PALETTEENTRY, peRed) \
  FIELD(PALETTEENTRY, peGreen) \
  FIELD(PALETTEENTRY, peBlue) \
  FIELD(PALETTEENTRY, peFlags) \
  RECORD(GUID) \
  FIELD(GUID, Data1) \
  FIELD(GUID, Data2) \
  FIELD(GUID, Data3) \
  FIELD(GUID, Data4) \
  RECORD(DDCOLORKEY) \
  FIELD(DDCOLORKEY, dwColorSpaceLowValue) \
  FIELD(DDCOLORKEY, dwColorSpaceHighValue) \
  RECORD(DDSCAPS) \
  FIELD(DDSCAPS, dwCaps) \
  RECORD(DDPIXELFORMAT) \
  FIELD(DDPIXELFORMAT, dwSize) \
  FIELD(DDPIXELFORMAT, dwFlags) \
  FIELD(DDPIXELFORMAT, dwFourCC) \
  FIELD(DDPIXELFORMAT, dwRGBBitCount) \
  FIELD(DDPIXELFORMAT, dwYUVBitCount) \
  FIELD(DDPIXELFORMAT, dwZBufferBitDepth) \
  FIELD(DDPIXELFORMAT, dwAlphaBitDepth) \
  FIELD(DDPIXELFORMAT, dwRBitMask) \
  FIELD(DDPIXELFORMAT, dwYBitMask) \
  FIELD(DDPIXELFORMAT, dwGBitMask) \
  FIELD(DDPIXELFORMAT, dwUBitMask) \
  FIELD(DDPIXELFORMAT, dwBBitMask) \
  FIELD(DDPIXELFORMAT, dwVBitMask) \
  FIELD(DDPIXELFORMAT, dwRGBAlphaBitMask) \
  FIELD(DDPIXELFORMAT, dwYUVAlphaBitMask) \
  RECORD(DDSURFACEDESC) \
  FIELD(DDSURFACEDESC, dwSize) \
  FIELD(DDSURFACEDESC, dwFlags) \
  FIELD(DDSURFACEDESC, dwHeight) \
  FIELD(DDSURFACEDESC, dwWidth) \
  FIELD(DDSURFACEDESC, lPitch) \
  FIELD(DDSURFACEDESC, dwLinearSize) \
  FIELD(DDSURFACEDESC, dwBackBufferCount) \
  FIELD(DDSURFACEDESC, dwMipMapCount) \
  FIELD(DDSURFACEDESC, dwZBufferBitDepth) \
  FIELD(DDSURFACEDESC, dwRefreshRate) \
  FIELD(DDSURFACEDESC, dwAlphaBitDepth) \
  FIELD(DDSURFACEDESC, dwReserved) \
  FIELD(DDSURFACEDESC, lpSurface) \
  FIELD(DDSURFACEDESC, ddckCKDestOverlay) \
  FIELD(DDSURFACEDESC, ddckCKDestBlt) \
  FIELD(DDSURFACEDESC, ddckCKSrcOverlay) \
  FIELD(DDSURFACEDESC, ddckCKSrcBlt) \
  FIELD(DDSURFACEDESC, ddpfPixelFormat) \
  FIELD(DDSURFACEDESC, ddsCaps) \
  RECORD(DDBLTFX) \
  FIELD(DDBLTFX, dwSize) \
  FIELD(DDBLTFX, dwDDFX) \
  FIELD(DDBLTFX, dwROP) \
  FIELD(DDBLTFX, dwDDROP) \
  FIELD(DDBLTFX, dwRotationAngle) \
  FIELD(DDBLTFX, dwZBufferOpCode) \
  FIELD(DDBLTFX, dwZBufferLow) \
  FIELD(DDBLTFX, dwZBufferHigh) \
  FIELD(DDBLTFX, dwZBufferBaseDest) \
  FIELD(DDBLTFX, dwZDestConstBitDepth) \
  FIELD(DDBLTFX, dwZDestConst) \
  FIELD(DDBLTFX, lpDDSZBufferDest) \
  FIELD(DDBLTFX, dwZSrcConstBitDepth) \
  FIELD(DDBLTFX, dwZSrcConst) \
  FIELD(DDBLTFX, lpDDSZBufferSrc) \
  FIELD(DDBLTFX, dwAlphaEdgeBlendBitDepth) \
  FIELD(DDBLTFX, dwAlphaEdgeBlend) \
  FIELD(DDBLTFX, dwReserved) \
  FIELD(DDBLTFX, dwAlphaDestConstBitDepth) \
  FIELD(DDBLTFX, dwAlphaDestConst) \
  FIELD(DDBLTFX, lpDDSAlphaDest) \
  FIELD(DDBLTFX, dwAlphaSrcConstBitDepth) \
  FIELD(DDBLTFX, dwAlphaSrcConst) \
  FIELD(DDBLTFX, lpDDSAlphaSrc) \
  FIELD(DDBLTFX, dwFillColor) \
  FIELD(DDBLTFX, dwFillDepth) \
  FIELD(DDBLTFX, dwFillPixel) \
  FIELD(DDBLTFX, lpDDSPattern) \
  FIELD(DDBLTFX, ddckDestColorkey) \
  FIELD(DDBLTFX, ddckSrcColorkey) \
  RECORD(WNDCLASSA) \
  FIELD(WNDCLASSA, style) \
  FIELD(WNDCLASSA, lpfnWndProc) \
  FIELD(WNDCLASSA, cbClsExtra) \
  FIELD(WNDCLASSA, cbWndExtra) \
  FIELD(WNDCLASSA, hInstance) \
  FIELD(WNDCLASSA, hIcon) \
  FIELD(WNDCLASSA, hCursor) \
  FIELD(WNDCLASSA, hbrBackground) \
  FIELD(WNDCLASSA, lpszMenuName) \
  FIELD(WNDCLASSA, lpszClassName) \
  RECORD(MSG) \
  FIELD(MSG, hwnd) \
  FIELD(MSG, message) \
  FIELD(MSG, wParam) \
  FIELD(MSG, lParam) \
  FIELD(MSG, time) \
  FIELD(MSG, pt)
// clang-format on

#define OUR_VALUE(name) constexpr auto our_##name = ours::name;
#define OUR_RECORD(record) constexpr std::size_t our_size_##record = sizeof(ours::record);
#define OUR_FIELD(record, field) \
  constexpr std::size_t our_offset_##record##_##field = offsetof(ours::record, field);
WIN32_VALUES(OUR_VALUE)
WIN32_RECORDS(OUR_RECORD, OUR_FIELD)
constexpr auto ourRgb = ours::RGB(0x12, 0x34, 0x56);
constexpr auto ourLoword = ours::LOWORD(0x12345678u);
constexpr auto ourHiword = ours::HIWORD(0x12345678u);
constexpr auto ourLparam = ours::MAKELPARAM(0x1234, 0x5678);

#include <ddraw.h>
#include <mmsystem.h>
#include <windows.h>

namespace {

// Equal as numbers, whatever the types the two sides spell them in.
template <typename A, typename B>
constexpr bool sameValue(A a, B b) {
  return std::cmp_equal(a, b);
}

// A base type as wide as the real one, with the same signedness.
template <typename Ours, typename Theirs>
constexpr bool sameType() {
  return sizeof(Ours) == sizeof(Theirs) && std::is_signed_v<Ours> == std::is_signed_v<Theirs>;
}

}  // namespace

#define CHECK_VALUE(name) static_assert(sameValue(our_##name, name), #name " differs");
#define CHECK_RECORD(record) \
  static_assert(our_size_##record == sizeof(record), "sizeof " #record " differs");
#define CHECK_FIELD(record, field)                                        \
  static_assert(our_offset_##record##_##field == offsetof(record, field), \
                #record "::" #field " is at another offset");
WIN32_VALUES(CHECK_VALUE)
WIN32_RECORDS(CHECK_RECORD, CHECK_FIELD)

static_assert(ourRgb == RGB(0x12, 0x34, 0x56));
static_assert(ourLoword == LOWORD(0x12345678u) && ourHiword == HIWORD(0x12345678u));
static_assert(ourLparam == MAKELPARAM(0x1234, 0x5678));

static_assert(sameType<ours::BYTE, BYTE>() && sameType<ours::WORD, WORD>() &&
              sameType<ours::DWORD, DWORD>() && sameType<ours::LONG, LONG>() &&
              sameType<ours::ULONG, ULONG>() && sameType<ours::UINT, UINT>() &&
              sameType<ours::BOOL, BOOL>() && sameType<ours::HRESULT, HRESULT>() &&
              sameType<ours::WPARAM, WPARAM>() && sameType<ours::LPARAM, LPARAM>() &&
              sameType<ours::LRESULT, LRESULT>() && sameType<ours::COLORREF, COLORREF>() &&
              sameType<ours::ATOM, ATOM>());
static_assert(sizeof(ours::HANDLE) == sizeof(HANDLE) && sizeof(ours::HWND) == sizeof(HWND) &&
              sizeof(ours::HDC) == sizeof(HDC) && sizeof(ours::HGDIOBJ) == sizeof(HGDIOBJ));
