// The one header through which Korvanth reaches GDI+: the real flat API on Windows,
// the project's own subset elsewhere. Code above this layer needs no per-host #ifdef for
// GDI+; the host differences that are not GDI+'s (path separators, a lock, temporary files,
// the terminal, the local clock, a 32-bit process's memory budget) keep theirs beside the
// code they change, in convert/ and cli/.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#define WIDE_TEXT(s) L##s
#else
#include "imaging/linux/gdiplus_flat.h"
#define WIDE_TEXT(s) u##s
#endif

// The names Korvanth uses, one by one: a header brings no whole namespace into its users.
using Gdiplus::AccessDenied;
using Gdiplus::ARGB;
using Gdiplus::BitmapData;
using Gdiplus::CombineModeIntersect;
using Gdiplus::CombineModeReplace;
using Gdiplus::CombineModeXor;
using Gdiplus::EncoderParameters;
using Gdiplus::FileNotFound;
using Gdiplus::GdiplusShutdown;
using Gdiplus::GdiplusStartup;
using Gdiplus::GdiplusStartupInput;
using Gdiplus::GenericError;
using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpPen;
using Gdiplus::GpRect;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpUnit;
using Gdiplus::ImageCodecInfo;
using Gdiplus::ImageLockModeRead;
using Gdiplus::ImageLockModeUserInputBuf;
using Gdiplus::ImageLockModeWrite;
using Gdiplus::InterpolationModeNearestNeighbor;
using Gdiplus::InvalidParameter;
using Gdiplus::NotImplemented;
using Gdiplus::Ok;
using Gdiplus::OutOfMemory;
using Gdiplus::PixelFormat;
using Gdiplus::PixelOffsetModeHalf;
using Gdiplus::REAL;
using Gdiplus::Rect;
using Gdiplus::Status;
using Gdiplus::Unit;
using Gdiplus::UnitInch;
using Gdiplus::UnitPixel;
using Gdiplus::UnitWorld;
using Gdiplus::UnknownImageFormat;
using Gdiplus::UnsupportedGdiplusVersion;
using Gdiplus::ValueOverflow;
using Gdiplus::Win32Error;
using Gdiplus::WrongState;
#ifndef _WIN32
// Macros in the Windows headers; constants of the subset here.
using Gdiplus::PixelFormat24bppRGB;
using Gdiplus::PixelFormat32bppARGB;
using Gdiplus::PixelFormat32bppRGB;
#endif
using Gdiplus::DllExports::GdipAlloc;
using Gdiplus::DllExports::GdipBitmapGetPixel;
using Gdiplus::DllExports::GdipBitmapLockBits;
using Gdiplus::DllExports::GdipBitmapSetResolution;
using Gdiplus::DllExports::GdipBitmapUnlockBits;
using Gdiplus::DllExports::GdipCreateBitmapFromFile;
using Gdiplus::DllExports::GdipCreateBitmapFromScan0;
using Gdiplus::DllExports::GdipCreateFromHDC;
using Gdiplus::DllExports::GdipCreatePen1;
using Gdiplus::DllExports::GdipCreateSolidFill;
using Gdiplus::DllExports::GdipDeleteBrush;
using Gdiplus::DllExports::GdipDeleteGraphics;
using Gdiplus::DllExports::GdipDeletePen;
using Gdiplus::DllExports::GdipDisposeImage;
using Gdiplus::DllExports::GdipDrawImagePointRectI;
using Gdiplus::DllExports::GdipDrawImageRectI;
using Gdiplus::DllExports::GdipDrawImageRectRectI;
using Gdiplus::DllExports::GdipDrawRectangleI;
using Gdiplus::DllExports::GdipFillRectangleI;
using Gdiplus::DllExports::GdipFree;
using Gdiplus::DllExports::GdipGetImageEncoders;
using Gdiplus::DllExports::GdipGetImageEncodersSize;
using Gdiplus::DllExports::GdipGetImageGraphicsContext;
using Gdiplus::DllExports::GdipGetImageHeight;
using Gdiplus::DllExports::GdipGetImageHorizontalResolution;
using Gdiplus::DllExports::GdipGetImagePixelFormat;
using Gdiplus::DllExports::GdipGetImageVerticalResolution;
using Gdiplus::DllExports::GdipGetImageWidth;
using Gdiplus::DllExports::GdipResetClip;
using Gdiplus::DllExports::GdipSaveImageToFile;
using Gdiplus::DllExports::GdipSetClipRectI;
using Gdiplus::DllExports::GdipSetInterpolationMode;
using Gdiplus::DllExports::GdipSetPixelOffsetMode;
