// The device-context calls the drawing code is written against, over CDC, CRgn and CBitmap.
// Each call is recorded in the context's call log (CallLog) under its own name.
//
// Ownership: regions and bitmaps returned by the Create calls belong to the caller until
// DeleteObject; memory contexts until DeleteDC; window contexts until ReleaseDC. A bitmap
// selected into a context cannot be deleted. Every call tolerates a null context or object
// and then fails (0 / false / null) without effect.
#pragma once

#include <cstdint>

#include "platform/gdi/BitmapTypes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiTypes.h"

// ---- Window contexts: the whole surface of a window or control --------------------------
HDC GetWindowDC(CSurface *window);
int ReleaseDC(CSurface *window, HDC dc);

// ---- State --------------------------------------------------------------------------------
// Returns the new save level, 0 on failure.
int SaveDC(HDC dc);
// level > 0: that level; level < 0: relative to the current one (-1 = the last save).
bool RestoreDC(HDC dc, int level);
// Writes the bounding box of the drawable clip region; returns its kind or RGN_ERROR.
int GetClipBox(HDC dc, RECT *box);
// Returns the previous mode, 0 on failure.
int SetStretchBltMode(HDC dc, int mode);

// ---- Regions ------------------------------------------------------------------------------
HRGN CreateRectRgnIndirect(const RECT *rect);
// Combines region into the clip region (RGN_AND, RGN_OR, RGN_COPY; RGN_COPY with a null
// region resets the clip to the whole surface). Returns the new region's kind or RGN_ERROR.
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
bool DeleteObject(HRGN region);

// ---- Memory contexts and DIB sections -----------------------------------------------------
HDC CreateCompatibleDC(HDC dc);
// A bottom-up 24- or 32-bit section of info's size, rows zeroed; *bits gets its pixel rows
// (null on failure).
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO *info, uint32_t usage, void **bits);
// Returns the previously selected bitmap; null on failure (a bitmap selected elsewhere, a
// window context).
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
// False while the bitmap is selected into a context.
bool DeleteObject(HBITMAP bitmap);
bool DeleteDC(HDC dc);

// ---- Transfers ------------------------------------------------------------------------------
// Copies a packed bottom-up DIB (1, 4, 8 bits with palette; 24 or 32 bits) unscaled:
// destination row yDest + i shows DIB row ySrc + height - 1 - i; bits hold the scan lines
// startScan to startScan + lines - 1. Returns the number of lines, 0 on failure.
int SetDIBitsToDevice(HDC dc, int32_t xDest, int32_t yDest, uint32_t width, uint32_t height,
                      int32_t xSrc, int32_t ySrc, uint32_t startScan, uint32_t lines,
                      const void *bits, const BITMAPINFO *info, uint32_t usage);
// Stretches the source rectangle (xSrc, ySrc: its bottom-left corner in DIB rows) onto the
// destination, nearest pixel. A destination height of opposite sign to the source's flips
// the picture: with a negative height, row yDest shows the top source row and the picture
// extends upwards from it (likewise for widths, leftwards). Returns |srcHeight|, 0 on failure.
int StretchDIBits(HDC dc, int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight,
                  int32_t xSrc, int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const void *bits,
                  const BITMAPINFO *info, uint32_t usage, uint32_t rop);
// Copies a rectangle of source's surface (only SRCCOPY).
bool BitBlt(HDC dest, int32_t x, int32_t y, int32_t width, int32_t height, HDC source, int32_t xSrc,
            int32_t ySrc, uint32_t rop);
