// The stand-in for the Win32 calls the library uses, on systems without GDI.
//
// Same spellings, same struct layouts and the same results as Win32, so that the subsystems
// compile unchanged against either. Handles are opaque pointer types as under STRICT, but
// their values are 32-bit numbers from the stand-in's typed handle table (never addresses),
// so they survive the library's 32-bit results on 64-bit systems. Everything here has hidden
// visibility: none of it is exported from libtamvel.so.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/handle_value.h"

#define TAMVEL_PLATFORM_API __attribute__((visibility("hidden")))

// ------------------------------------------------------------------ basic types ----
typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef uint32_t COLORREF;
typedef char CHAR;
typedef uint16_t WCHAR;
typedef const char *LPCSTR;
typedef char *LPSTR;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef intptr_t LONG_PTR;
typedef size_t SIZE_T;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef CALLBACK
#define CALLBACK
#endif
#ifndef WINAPI
#define WINAPI
#endif

#define TAMVEL_DECLARE_HANDLE(name) \
  struct name##__;                  \
  typedef struct name##__ *name
TAMVEL_DECLARE_HANDLE(HDC);
TAMVEL_DECLARE_HANDLE(HWND);
TAMVEL_DECLARE_HANDLE(HPEN);
TAMVEL_DECLARE_HANDLE(HBRUSH);
TAMVEL_DECLARE_HANDLE(HFONT);
TAMVEL_DECLARE_HANDLE(HBITMAP);
TAMVEL_DECLARE_HANDLE(HRGN);
TAMVEL_DECLARE_HANDLE(HPALETTE);
TAMVEL_DECLARE_HANDLE(HENHMETAFILE);
TAMVEL_DECLARE_HANDLE(HINSTANCE);
TAMVEL_DECLARE_HANDLE(HKEY);
TAMVEL_DECLARE_HANDLE(HANDLE_);
#undef TAMVEL_DECLARE_HANDLE
typedef void *HGDIOBJ;
typedef void *HANDLE;
typedef HINSTANCE HMODULE;
typedef HKEY *PHKEY;
typedef LONG LSTATUS;
typedef DWORD REGSAM;

// ---------------------------------------------------------------------- structs ----
struct POINT {
  LONG x;
  LONG y;
};
typedef POINT *LPPOINT;
struct POINTS {
  int16_t x;
  int16_t y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
typedef SIZE *LPSIZE;
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT *LPRECT;
typedef RECT RECTL;
typedef POINT POINTL;
typedef SIZE SIZEL;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
};
struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  uintptr_t lbHatch;  // ULONG_PTR: a hatch style, or an HBITMAP for BS_PATTERN
};

#define LF_FACESIZE 32
struct LOGFONTA {
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
};

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};
struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};

struct ENHMETAHEADER {
  DWORD iType;
  DWORD nSize;
  RECTL rclBounds;
  RECTL rclFrame;
  DWORD dSignature;
  DWORD nVersion;
  DWORD nBytes;
  DWORD nRecords;
  WORD nHandles;
  WORD sReserved;
  DWORD nDescription;
  DWORD offDescription;
  DWORD nPalEntries;
  SIZEL szlDevice;
  SIZEL szlMillimeters;
  DWORD cbPixelFormat;
  DWORD offPixelFormat;
  DWORD bOpenGL;
  SIZEL szlMicrometers;
};
static_assert(sizeof(ENHMETAHEADER) == 108, "ENHMETAHEADER must match the file layout");

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
};

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES *LPSECURITY_ATTRIBUTES;
struct OVERLAPPED;
typedef OVERLAPPED *LPOVERLAPPED;

// -------------------------------------------------------------------- constants ----
// Mapping modes.
#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// GetDeviceCaps indexes.
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_METAFILE 5
#define RC_PALETTE 0x0100

// Raster operations, fill modes, background modes.
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16
#define ALTERNATE 1
#define WINDING 2
#define TRANSPARENT 1
#define OPAQUE 2

// Text alignment.
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_USERSTYLE 7
#define PS_ALTERNATE 8
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000
#define PS_TYPE_MASK 0x000F0000

// Brush styles and hatches.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3
#define BS_DIBPATTERN 5
#define HS_HORIZONTAL 0
#define HS_VERTICAL 1
#define HS_FDIAGONAL 2
#define HS_BDIAGONAL 3
#define HS_CROSS 4
#define HS_DIAGCROSS 5

// Stock objects.
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
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17

// Fonts.
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SHIFTJIS_CHARSET 128
#define CLIP_LH_ANGLES 16

// Regions.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

// Palettes.
#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFu

// Object types (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METADC 4
#define OBJ_ENHMETADC 12
#define OBJ_ENHMETAFILE 13
#define OBJ_EXTPEN 11

// USER, KERNEL, ADVAPI.
#define CF_ENHMETAFILE 14
#define MB_OK 0x00000000
#define GWL_HINSTANCE (-6)
#define GWLP_HINSTANCE (-6)
#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2
#define HEAP_ZERO_MEMORY 0x00000008
#define GENERIC_WRITE 0x40000000u
#define CREATE_ALWAYS 2
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#define MAX_PATH 260

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_MORE_DATA 234L
#define ERROR_BADDB 1009L

#define REG_NONE 0
#define REG_SZ 1
#define REG_BINARY 3
#define REG_OPTION_NON_VOLATILE 0x00000000
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define HKEY_CLASSES_ROOT (HandleFromValue<HKEY>(0x80000000u))
#define HKEY_CURRENT_USER (HandleFromValue<HKEY>(0x80000001u))

#define RGB(r, g, b)                                                                               \
  (static_cast<COLORREF>((static_cast<BYTE>(r)) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                         (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(c) (static_cast<BYTE>(c))
#define GetGValue(c) (static_cast<BYTE>((c) >> 8))
#define GetBValue(c) (static_cast<BYTE>((c) >> 16))
#define PALETTEINDEX(i) \
  (static_cast<COLORREF>(0x01000000u | static_cast<DWORD>(static_cast<WORD>(i))))

typedef BOOL(CALLBACK *WNDENUMPROC)(HWND, LPARAM);

// ------------------------------------------------------------------ GDI calls ----
// Enhanced metafiles.
TAMVEL_PLATFORM_API HDC CreateEnhMetaFileA(HDC ref, LPCSTR file, const RECT *frame,
                                           LPCSTR description);
TAMVEL_PLATFORM_API HENHMETAFILE CloseEnhMetaFile(HDC dc);
TAMVEL_PLATFORM_API BOOL DeleteEnhMetaFile(HENHMETAFILE emf);
TAMVEL_PLATFORM_API HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE emf, LPCSTR file);
TAMVEL_PLATFORM_API HENHMETAFILE GetEnhMetaFileA(LPCSTR file);
TAMVEL_PLATFORM_API UINT GetEnhMetaFileHeader(HENHMETAFILE emf, UINT size, ENHMETAHEADER *header);
TAMVEL_PLATFORM_API UINT GetEnhMetaFileBits(HENHMETAFILE emf, UINT size, BYTE *data);
TAMVEL_PLATFORM_API HENHMETAFILE SetEnhMetaFileBits(UINT size, const BYTE *data);
TAMVEL_PLATFORM_API UINT GetEnhMetaFileDescriptionA(HENHMETAFILE emf, UINT size, LPSTR text);
TAMVEL_PLATFORM_API UINT GetEnhMetaFilePaletteEntries(HENHMETAFILE emf, UINT count,
                                                      PALETTEENTRY *entries);
TAMVEL_PLATFORM_API BOOL PlayEnhMetaFile(HDC dc, HENHMETAFILE emf, const RECT *rect);

// Device-context state.
TAMVEL_PLATFORM_API int SaveDC(HDC dc);
TAMVEL_PLATFORM_API BOOL RestoreDC(HDC dc, int saved);
TAMVEL_PLATFORM_API int SetMapMode(HDC dc, int mode);
TAMVEL_PLATFORM_API int GetMapMode(HDC dc);
TAMVEL_PLATFORM_API BOOL DPtoLP(HDC dc, POINT *points, int count);
TAMVEL_PLATFORM_API BOOL LPtoDP(HDC dc, POINT *points, int count);
TAMVEL_PLATFORM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT *old);
TAMVEL_PLATFORM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT *old);
TAMVEL_PLATFORM_API int GetDeviceCaps(HDC dc, int index);
TAMVEL_PLATFORM_API int SetROP2(HDC dc, int mode);
TAMVEL_PLATFORM_API int GetROP2(HDC dc);
TAMVEL_PLATFORM_API int SetPolyFillMode(HDC dc, int mode);
TAMVEL_PLATFORM_API int GetPolyFillMode(HDC dc);
TAMVEL_PLATFORM_API UINT SetTextAlign(HDC dc, UINT align);
TAMVEL_PLATFORM_API UINT GetTextAlign(HDC dc);
TAMVEL_PLATFORM_API int SetBkMode(HDC dc, int mode);
TAMVEL_PLATFORM_API int GetBkMode(HDC dc);
TAMVEL_PLATFORM_API COLORREF SetBkColor(HDC dc, COLORREF colour);
TAMVEL_PLATFORM_API COLORREF GetBkColor(HDC dc);
TAMVEL_PLATFORM_API COLORREF SetTextColor(HDC dc, COLORREF colour);
TAMVEL_PLATFORM_API COLORREF GetTextColor(HDC dc);
TAMVEL_PLATFORM_API int SetTextCharacterExtra(HDC dc, int extra);
TAMVEL_PLATFORM_API int GetTextCharacterExtra(HDC dc);

// Drawing.
TAMVEL_PLATFORM_API BOOL MoveToEx(HDC dc, int x, int y, POINT *old);
TAMVEL_PLATFORM_API BOOL LineTo(HDC dc, int x, int y);
TAMVEL_PLATFORM_API BOOL GetCurrentPositionEx(HDC dc, POINT *position);
TAMVEL_PLATFORM_API BOOL Polyline(HDC dc, const POINT *points, int count);
TAMVEL_PLATFORM_API BOOL PolyPolyline(HDC dc, const POINT *points, const DWORD *counts,
                                      DWORD polylines);
TAMVEL_PLATFORM_API BOOL Polygon(HDC dc, const POINT *points, int count);
TAMVEL_PLATFORM_API BOOL Arc(HDC dc, int left, int top, int right, int bottom, int x_start,
                             int y_start, int x_end, int y_end);
TAMVEL_PLATFORM_API BOOL Pie(HDC dc, int left, int top, int right, int bottom, int x_start,
                             int y_start, int x_end, int y_end);
TAMVEL_PLATFORM_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
TAMVEL_PLATFORM_API BOOL BeginPath(HDC dc);
TAMVEL_PLATFORM_API BOOL EndPath(HDC dc);
TAMVEL_PLATFORM_API BOOL StrokePath(HDC dc);

// Objects.
TAMVEL_PLATFORM_API HPEN CreatePenIndirect(const LOGPEN *pen);
TAMVEL_PLATFORM_API HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH *brush,
                                      DWORD style_count, const DWORD *style_entries);
TAMVEL_PLATFORM_API HBRUSH CreateBrushIndirect(const LOGBRUSH *brush);
TAMVEL_PLATFORM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                                         const void *bits);
TAMVEL_PLATFORM_API HFONT CreateFontIndirectA(const LOGFONTA *font);
TAMVEL_PLATFORM_API HGDIOBJ GetStockObject(int index);
TAMVEL_PLATFORM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
TAMVEL_PLATFORM_API BOOL DeleteObject(HGDIOBJ object);
TAMVEL_PLATFORM_API DWORD GetObjectType(HGDIOBJ object);

// Regions and clipping.
TAMVEL_PLATFORM_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
TAMVEL_PLATFORM_API HRGN CreatePolygonRgn(const POINT *points, int count, int fill_mode);
TAMVEL_PLATFORM_API int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
TAMVEL_PLATFORM_API int SelectClipRgn(HDC dc, HRGN region);
TAMVEL_PLATFORM_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
TAMVEL_PLATFORM_API BOOL SelectClipPath(HDC dc, int mode);

// Palettes.
TAMVEL_PLATFORM_API HPALETTE CreatePalette(const LOGPALETTE *palette);
TAMVEL_PLATFORM_API UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           const PALETTEENTRY *entries);
TAMVEL_PLATFORM_API BOOL ResizePalette(HPALETTE palette, UINT count);
TAMVEL_PLATFORM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
TAMVEL_PLATFORM_API UINT RealizePalette(HDC dc);
TAMVEL_PLATFORM_API COLORREF GetNearestColor(HDC dc, COLORREF colour);
TAMVEL_PLATFORM_API UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                           PALETTEENTRY *entries);

// Text.
TAMVEL_PLATFORM_API BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
TAMVEL_PLATFORM_API BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE *size);
TAMVEL_PLATFORM_API BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, SIZE *size);
TAMVEL_PLATFORM_API BOOL GetTextMetricsA(HDC dc, TEXTMETRICA *metrics);
TAMVEL_PLATFORM_API int GetTextFaceA(HDC dc, int size, LPSTR face);

// ------------------------------------------------------------------ USER calls ----
TAMVEL_PLATFORM_API BOOL OpenClipboard(HWND owner);
TAMVEL_PLATFORM_API BOOL EmptyClipboard();
TAMVEL_PLATFORM_API HANDLE SetClipboardData(UINT format, HANDLE data);
TAMVEL_PLATFORM_API HANDLE GetClipboardData(UINT format);
TAMVEL_PLATFORM_API BOOL IsClipboardFormatAvailable(UINT format);
TAMVEL_PLATFORM_API BOOL CloseClipboard();
TAMVEL_PLATFORM_API BOOL GetClientRect(HWND window, RECT *rect);
TAMVEL_PLATFORM_API BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter);
TAMVEL_PLATFORM_API LONG GetWindowLongA(HWND window, int index);
// The pointer-sized form: on 32-bit Windows the same call, on 64-bit Windows the only one
// that reads GWLP_HINSTANCE.
TAMVEL_PLATFORM_API LONG_PTR GetWindowLongPtrA(HWND window, int index);
TAMVEL_PLATFORM_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// ---------------------------------------------------------------- KERNEL calls ----
TAMVEL_PLATFORM_API HANDLE GetProcessHeap();
TAMVEL_PLATFORM_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
TAMVEL_PLATFORM_API BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
TAMVEL_PLATFORM_API BOOL DeleteFileA(LPCSTR path);
// Only new files for writing (GENERIC_WRITE, CREATE_ALWAYS): the bytes reach the name whole
// when CloseHandle succeeds, never half-written (a failed write or close leaves what was
// there). Other uses fail with INVALID_HANDLE_VALUE.
TAMVEL_PLATFORM_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share,
                                       LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                       DWORD flags, HANDLE template_file);
TAMVEL_PLATFORM_API BOOL WriteFile(HANDLE file, LPCVOID data, DWORD count, DWORD *written,
                                   LPOVERLAPPED overlapped);
TAMVEL_PLATFORM_API BOOL CloseHandle(HANDLE object);
TAMVEL_PLATFORM_API DWORD GetTempPathA(DWORD size, LPSTR buffer);
TAMVEL_PLATFORM_API UINT GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR name);
TAMVEL_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR name, DWORD size);
TAMVEL_PLATFORM_API DWORD GetShortPathNameA(LPCSTR long_path, LPSTR short_path, DWORD size);
TAMVEL_PLATFORM_API BOOL GetVersionExA(OSVERSIONINFOA *info);

// ---------------------------------------------------------------- ADVAPI calls ----
TAMVEL_PLATFORM_API LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR cls,
                                            DWORD options, REGSAM access,
                                            SECURITY_ATTRIBUTES *security, PHKEY result,
                                            DWORD *disposition);
TAMVEL_PLATFORM_API LSTATUS RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access,
                                          PHKEY result);
TAMVEL_PLATFORM_API LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, DWORD *reserved, DWORD *type,
                                             BYTE *data, DWORD *size);
TAMVEL_PLATFORM_API LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                           const BYTE *data, DWORD size);
TAMVEL_PLATFORM_API LSTATUS RegCloseKey(HKEY key);
