// DirectDraw, first generation: the records, interfaces, flags and results the engine uses,
// declared with the real names, field order and values so the same engine source builds
// against the real ddraw.h. Records carry their own size in dwSize: callers set it to
// sizeof the record, and the implementation refuses any other value as DirectDraw does.
#pragma once

#include "platform/compat/win32_types.h"

struct IDirectDraw;
struct IDirectDrawSurface;
struct IDirectDrawPalette;
struct IDirectDrawClipper;
using LPDIRECTDRAW = IDirectDraw*;
using LPDIRECTDRAWSURFACE = IDirectDrawSurface*;
using LPDIRECTDRAWPALETTE = IDirectDrawPalette*;
using LPDIRECTDRAWCLIPPER = IDirectDrawClipper*;

// ---- Results -------------------------------------------------------------------------------

constexpr HRESULT makeDirectDrawResult(DWORD code) {
  return static_cast<HRESULT>(0x88760000u | code);
}

inline constexpr HRESULT DD_OK = S_OK;
inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_INVALIDCAPS = makeDirectDrawResult(100);
inline constexpr HRESULT DDERR_INVALIDMODE = makeDirectDrawResult(120);
inline constexpr HRESULT DDERR_INVALIDOBJECT = makeDirectDrawResult(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = makeDirectDrawResult(145);
inline constexpr HRESULT DDERR_INVALIDRECT = makeDirectDrawResult(150);
inline constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = makeDirectDrawResult(212);
inline constexpr HRESULT DDERR_NOCOLORKEY = makeDirectDrawResult(215);
inline constexpr HRESULT DDERR_NOCOLORKEYHW = makeDirectDrawResult(220);
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = makeDirectDrawResult(225);
inline constexpr HRESULT DDERR_NOTFOUND = makeDirectDrawResult(255);
inline constexpr HRESULT DDERR_NOSTRETCHHW = makeDirectDrawResult(310);
inline constexpr HRESULT DDERR_SURFACEBUSY = makeDirectDrawResult(430);
inline constexpr HRESULT DDERR_SURFACELOST = makeDirectDrawResult(450);
inline constexpr HRESULT DDERR_NODIRECTDRAWHW = makeDirectDrawResult(563);
inline constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = makeDirectDrawResult(564);
inline constexpr HRESULT DDERR_BLTFASTCANTCLIP = makeDirectDrawResult(574);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = makeDirectDrawResult(582);
inline constexpr HRESULT DDERR_NOTLOCKED = makeDirectDrawResult(584);
inline constexpr HRESULT DDERR_NODC = makeDirectDrawResult(586);
inline constexpr HRESULT DDERR_DCALREADYCREATED = makeDirectDrawResult(620);
inline constexpr HRESULT DDERR_WRONGMODE = makeDirectDrawResult(587);
inline constexpr HRESULT DDERR_UNSUPPORTEDMODE = makeDirectDrawResult(590);

// ---- Flags ---------------------------------------------------------------------------------

// SetCooperativeLevel
inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;

// DDSURFACEDESC.dwFlags: which fields are valid
inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;

// DDSCAPS.dwCaps
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;

// DDPIXELFORMAT.dwFlags
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;

// Blt
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;

// BltFast
inline constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
inline constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
inline constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x00000002;
inline constexpr DWORD DDBLTFAST_WAIT = 0x00000010;

// Lock, Flip, WaitForVerticalBlank
inline constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDFLIP_WAIT = 0x00000001;
inline constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;
inline constexpr DWORD DDWAITVB_BLOCKBEGINEVENT = 0x00000002;

// Palettes and colour keys
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;
inline constexpr DWORD DDCKEY_COLORSPACE = 0x00000001;
inline constexpr DWORD DDCKEY_DESTBLT = 0x00000002;
inline constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// ---- Records -------------------------------------------------------------------------------

struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue;
  DWORD dwColorSpaceHighValue;
};
using LPDDCOLORKEY = DDCOLORKEY*;

struct DDSCAPS {
  DWORD dwCaps;
};
using LPDDSCAPS = DDSCAPS*;

struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwYUVBitCount;
    DWORD dwZBufferBitDepth;
    DWORD dwAlphaBitDepth;
  };
  union {
    DWORD dwRBitMask;
    DWORD dwYBitMask;
  };
  union {
    DWORD dwGBitMask;
    DWORD dwUBitMask;
  };
  union {
    DWORD dwBBitMask;
    DWORD dwVBitMask;
  };
  union {
    DWORD dwRGBAlphaBitMask;
    DWORD dwYUVAlphaBitMask;
  };
};

struct DDSURFACEDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  union {
    LONG lPitch;
    DWORD dwLinearSize;
  };
  DWORD dwBackBufferCount;
  union {
    DWORD dwMipMapCount;
    DWORD dwZBufferBitDepth;
    DWORD dwRefreshRate;
  };
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  LPVOID lpSurface;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
};
using LPDDSURFACEDESC = DDSURFACEDESC*;

struct DDBLTFX {
  DWORD dwSize;
  DWORD dwDDFX;
  DWORD dwROP;
  DWORD dwDDROP;
  DWORD dwRotationAngle;
  DWORD dwZBufferOpCode;
  DWORD dwZBufferLow;
  DWORD dwZBufferHigh;
  DWORD dwZBufferBaseDest;
  DWORD dwZDestConstBitDepth;
  union {
    DWORD dwZDestConst;
    LPDIRECTDRAWSURFACE lpDDSZBufferDest;
  };
  DWORD dwZSrcConstBitDepth;
  union {
    DWORD dwZSrcConst;
    LPDIRECTDRAWSURFACE lpDDSZBufferSrc;
  };
  DWORD dwAlphaEdgeBlendBitDepth;
  DWORD dwAlphaEdgeBlend;
  DWORD dwReserved;
  DWORD dwAlphaDestConstBitDepth;
  union {
    DWORD dwAlphaDestConst;
    LPDIRECTDRAWSURFACE lpDDSAlphaDest;
  };
  DWORD dwAlphaSrcConstBitDepth;
  union {
    DWORD dwAlphaSrcConst;
    LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
  };
  union {
    DWORD dwFillColor;
    DWORD dwFillDepth;
    DWORD dwFillPixel;
    LPDIRECTDRAWSURFACE lpDDSPattern;
  };
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
};
using LPDDBLTFX = DDBLTFX*;

// ---- Interfaces ----------------------------------------------------------------------------
// Only the methods the engine calls (plus AddRef/Release). The objects are owned by the
// DirectDraw object that created them: its last Release frees whatever is still alive.

struct IDirectDrawPalette : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetEntries(DWORD dwFlags, DWORD dwBase, DWORD dwNumEntries,
                                               LPPALETTEENTRY lpEntries) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetEntries(DWORD dwFlags, DWORD dwStartingEntry, DWORD dwCount,
                                               LPPALETTEENTRY lpEntries) = 0;

 protected:
  ~IDirectDrawPalette() = default;
};

struct IDirectDrawClipper : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetHWnd(HWND* lphWnd) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetHWnd(DWORD dwFlags, HWND hWnd) = 0;

 protected:
  ~IDirectDrawClipper() = default;
};

struct IDirectDrawSurface : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Blt(LPRECT lpDestRect, LPDIRECTDRAWSURFACE lpDDSrcSurface,
                                        LPRECT lpSrcRect, DWORD dwFlags, LPDDBLTFX lpDDBltFx) = 0;
  virtual HRESULT STDMETHODCALLTYPE BltFast(DWORD dwX, DWORD dwY,
                                            LPDIRECTDRAWSURFACE lpDDSrcSurface, LPRECT lpSrcRect,
                                            DWORD dwTrans) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE lpDDSurfaceTargetOverride,
                                         DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  GetAttachedSurface(LPDDSCAPS lpDDSCaps, LPDIRECTDRAWSURFACE* lplpDDAttachedSurface) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDC(HDC* lphDC) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC lpDDSurfaceDesc) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsLost() = 0;
  virtual HRESULT STDMETHODCALLTYPE ReleaseDC(HDC hDC) = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(LPRECT lpDestRect, LPDDSURFACEDESC lpDDSurfaceDesc,
                                         DWORD dwFlags, HANDLE hEvent) = 0;
  virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
  virtual HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER lpDDClipper) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetColorKey(DWORD dwFlags, LPDDCOLORKEY lpDDColorKey) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE lpDDPalette) = 0;
  virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID lpSurfaceData) = 0;

 protected:
  ~IDirectDrawSurface() = default;
};

struct IDirectDraw : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateClipper(DWORD dwFlags, LPDIRECTDRAWCLIPPER* lplpDDClipper,
                                                  IUnknown* pUnkOuter) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreatePalette(DWORD dwFlags, LPPALETTEENTRY lpColorTable,
                                                  LPDIRECTDRAWPALETTE* lplpDDPalette,
                                                  IUnknown* pUnkOuter) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC lpDDSurfaceDesc,
                                                  LPDIRECTDRAWSURFACE* lplpDDSurface,
                                                  IUnknown* pUnkOuter) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hWnd, DWORD dwFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD dwWidth, DWORD dwHeight, DWORD dwBPP) = 0;
  virtual HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD dwFlags, HANDLE hEvent) = 0;

 protected:
  ~IDirectDraw() = default;
};

HRESULT WINAPI DirectDrawCreate(GUID* lpGUID, LPDIRECTDRAW* lplpDD, IUnknown* pUnkOuter);
