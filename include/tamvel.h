/*
 * tamvel.h - the plotting interface of tamvel.
 *
 * A program opens a drawing of a paper size (PLOTS), moves and draws in millimetres
 * (PLOT), writes text, numbers, dashed lines, arcs, fills, marks and arrows. Every page is
 * recorded into an enhanced metafile; the library keeps 100 pages at once. Finished pages
 * are saved, played into windows and onto printers, put on the clipboard or edited.
 *
 * Conventions of every call below:
 *  - numbers are 32-bit floats or 32-bit integers passed by value unless a pointer is shown;
 *  - text is Shift-JIS (code page 932); calls ending in F take a Fortran string descriptor;
 *  - drawing calls act on the current page and do nothing while it does not record;
 *  - result codes are 0 for success and small positive numbers for the failure met.
 *
 * On 32-bit Windows every call uses the __stdcall convention and is exported decorated with
 * the size of its arguments (_PLOT@12).
 */
#ifndef TAMVEL_H
#define TAMVEL_H

#include <stdint.h>

/* The calling convention is the one platform choice the public header has to make. */
#if defined(_WIN32) && !defined(_WIN64)
#define TAMVEL_CALL __stdcall
#else
#define TAMVEL_CALL
#endif
#if defined(_WIN32)
#define TAMVEL_API
#else
#define TAMVEL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Device contexts and windows are the platform's handles (HDC, HWND). */
typedef struct HDC__ *TAMVEL_HDC;
typedef struct HWND__ *TAMVEL_HWND;

/* A Fortran string: a pointer to the (unterminated) text and its length in bytes. */
typedef struct TAMVEL_FSTRING {
  const char *text;
  int32_t length;
} TAMVEL_FSTRING;

/* A point in page units (1/1440 inch), the layout of the platform's POINT. */
typedef struct TAMVEL_POINT {
  int32_t x;
  int32_t y;
} TAMVEL_POINT;

/* ---------------------------------------------------------------- pages ---- */

/* Makes page number 1..100 current (clamped). Opens or closes nothing. */
TAMVEL_API void TAMVEL_CALL CHPAGE(int32_t page);
/* Makes the next page current; after index 99 comes index 0. */
TAMVEL_API void TAMVEL_CALL NEXTPAGE(void);
/* Finished metafile of the page with 0-based index 0..99 as a 32-bit value; 0 if none. */
TAMVEL_API int32_t TAMVEL_CALL MHEMF(int32_t index);
/* Recording DC of the page with 0-based index 0..99; 0 if the page does not record. */
TAMVEL_API int32_t TAMVEL_CALL MHDC(int32_t index);
/* Finished metafile of page number 1..100 (clamped); 0 if the page is not finished. */
TAMVEL_API int32_t TAMVEL_CALL IsStandby(int32_t page);
/* Width and height of one reference-screen pixel in tenths of a millimetre. */
TAMVEL_API void TAMVEL_CALL GPIXEL(float *width, float *height);

/* ------------------------------------------------ coordinates and plot call ---- */

/* Moves or draws to (x, y) by the pen code: 2 draw, 3 move, -2/-3 also set the origin,
 * 12/13 map through OFFSET first, 4/5 draw/move then go on to the next page, 999 closes
 * the page. A coordinate of exactly 999.0 stands for the last one. */
TAMVEL_API void TAMVEL_CALL PLOT(float x, float y, int32_t pen);
/* Pen position in plot units and the scale factor. */
TAMVEL_API void TAMVEL_CALL WHERE(float *x, float *y, float *factor);

/* Opens a drawing of width x height millimetres on the current page with every default;
 * returns the recording DC as a 32-bit value, 0 if no recording could be made. */
TAMVEL_API int32_t TAMVEL_CALL DIMTAB(float width, float height, int32_t unused);
/* The same call as DIMTAB. */
TAMVEL_API int32_t TAMVEL_CALL PLOTS(float width, float height, int32_t unused);
/* Opens a drawing sized by a device's pixel extent (both pixel values >= 1) or by the
 * variables; writes the size used back in whole millimetres. */
TAMVEL_API int32_t TAMVEL_CALL DIMTABR(float *width, float *height, TAMVEL_HDC device,
                                       int32_t pixel_width, int32_t pixel_height);
/* Plot coordinates are divided by the factor. */
TAMVEL_API void TAMVEL_CALL FACTOR(float factor);
/* Data offsets and factors used by pen codes 12 and 13. */
TAMVEL_API void TAMVEL_CALL OFFSET(float x_offset, float x_factor, float y_offset, float y_factor);
/* Reads the data offsets and factors and the character spacing. */
TAMVEL_API void TAMVEL_CALL GETOFF(float *x_offset, float *x_factor, float *y_offset,
                                   float *y_factor, float *spacing);
/* Rotates plot coordinates by the angle in degrees about the origin. */
TAMVEL_API void TAMVEL_CALL ROTATE(float angle);

/* ------------------------------------------------------------- text state ---- */

TAMVEL_API void TAMVEL_CALL SETFON(int32_t code, int32_t vertical);
TAMVEL_API void TAMVEL_CALL GETFON(int32_t *code, int32_t *vertical);
TAMVEL_API void TAMVEL_CALL ACSSET(int32_t code);
TAMVEL_API void TAMVEL_CALL SETWEIGHT(int32_t weight);
TAMVEL_API void TAMVEL_CALL GETWEIGHT(int32_t *weight);
TAMVEL_API void TAMVEL_CALL SETFONETC(int32_t italic, int32_t underline, int32_t strikeout);
TAMVEL_API void TAMVEL_CALL SETDEG(float angle);
TAMVEL_API void TAMVEL_CALL GETDEG(float *angle);
TAMVEL_API void TAMVEL_CALL SETSPC(float spacing);
TAMVEL_API void TAMVEL_CALL SETALG(int32_t vertical);
TAMVEL_API void TAMVEL_CALL GETALG(int32_t *code);
TAMVEL_API void TAMVEL_CALL SPACE(float spacing);
TAMVEL_API void TAMVEL_CALL SPACEC(float ratio);
TAMVEL_API void TAMVEL_CALL KSPACE(float spacing);
TAMVEL_API void TAMVEL_CALL KSPACC(float ratio);
TAMVEL_API void TAMVEL_CALL GETKSP(float *horizontal, float *vertical);

/* ----------------------------------------------------------- text drawing ---- */

TAMVEL_API void TAMVEL_CALL KANJI(float x, float y, float height, const char *text, float angle,
                                  int32_t n);
TAMVEL_API void TAMVEL_CALL KANJI2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL KANJIF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                   float angle, int32_t n);
TAMVEL_API void TAMVEL_CALL KANJI2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL SYMBOL(float x, float y, float height, const char *text, float angle,
                                   int32_t n);
TAMVEL_API void TAMVEL_CALL SYMBL2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL SYMBOLF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n);
TAMVEL_API void TAMVEL_CALL SYMBL2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL TEXTOUT(float x, float y, const char *text, int32_t n);
TAMVEL_API void TAMVEL_CALL TEXTOUTF(float x, float y, const TAMVEL_FSTRING *text, int32_t n);
TAMVEL_API float TAMVEL_CALL KANJIWID(float height, const char *text, int32_t n);
TAMVEL_API float TAMVEL_CALL KANJIWIDF(float height, const TAMVEL_FSTRING *text, int32_t n);
TAMVEL_API float TAMVEL_CALL SYMBLWID(float height, const char *text, int32_t n);
TAMVEL_API float TAMVEL_CALL SYMBLWIDF(float height, const TAMVEL_FSTRING *text, int32_t n);
/* Length of a Fortran string without trailing blanks; at least 1. */
TAMVEL_API int32_t TAMVEL_CALL LEN2(const TAMVEL_FSTRING *text);

/* ---------------------------------------------------------------- numbers ---- */

TAMVEL_API void TAMVEL_CALL NUMBER(float x, float y, float height, float value, float angle,
                                   int32_t digits);
TAMVEL_API void TAMVEL_CALL NUMBR2(float x, float y, float height, float value, float angle,
                                   int32_t digits, int32_t align);
TAMVEL_API float TAMVEL_CALL NUMBRWID(float height, float value, int32_t digits);

/* -------------------------------------------------------- root-sign text ---- */

TAMVEL_API void TAMVEL_CALL ROOTK2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL ROOTK2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);

/* ------------------------------------------------------------------ marks ---- */

TAMVEL_API void TAMVEL_CALL CTSYM1(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);
TAMVEL_API void TAMVEL_CALL CTSYM2(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);
TAMVEL_API void TAMVEL_CALL CTSYMB(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);

/* ------------------------------------------------------- lines and shapes ---- */

TAMVEL_API int32_t TAMVEL_CALL LNTYPE0(int32_t unused, int32_t code);
TAMVEL_API void TAMVEL_CALL LINE0(int32_t code, const TAMVEL_POINT *points, int32_t count);
TAMVEL_API void TAMVEL_CALL LINE6(int32_t pattern, const float *x, const float *y, int32_t count);
TAMVEL_API void TAMVEL_CALL DASHP(float x, float y, float dash);
/* The lines of nx x ny cells of dx x dy with a corner at (x, y); at most 100000 cells are
   drawn each way (further lines would lie far off any page). */
TAMVEL_API void TAMVEL_CALL GRID(float x, float y, float dx, float dy, int32_t nx, int32_t ny);
TAMVEL_API void TAMVEL_CALL ARC(float x, float y, float radius, float angle1, float angle2,
                                int32_t direction);
TAMVEL_API void TAMVEL_CALL ARCC(float x, float y, float radius, float start, float sweep);
TAMVEL_API void TAMVEL_CALL WEDGE(float x, float y, float radius, float angle1, float angle2,
                                  int32_t direction, int32_t pattern);
TAMVEL_API void TAMVEL_CALL WEDGEG(float x, float y, float radius, float angle1, float angle2,
                                   int32_t direction, int32_t pattern);
TAMVEL_API void TAMVEL_CALL FILLPT(int32_t pattern);
TAMVEL_API void TAMVEL_CALL PATRN(const float *x, const float *y, int32_t count, int32_t pattern);
TAMVEL_API void TAMVEL_CALL RECTF(float x1, float y1, float x2, float y2, int32_t pattern);
TAMVEL_API void TAMVEL_CALL OPTION(const TAMVEL_FSTRING *keyword);
TAMVEL_API void TAMVEL_CALL AROWHD(float x1, float y1, float x2, float y2, float length,
                                   float width, int32_t type);

/* ------------------------------------------------------ pens and colours ---- */

TAMVEL_API void TAMVEL_CALL PEN(int32_t width_code);
TAMVEL_API void TAMVEL_CALL PENW(float width);
TAMVEL_API void TAMVEL_CALL PENC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL FILLC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL TEXTC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL ALLC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL SETBKC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL PALC(int32_t code, int32_t r, int32_t g, int32_t b);
TAMVEL_API void TAMVEL_CALL GETBKG(int32_t *mode);
TAMVEL_API void TAMVEL_CALL SETBKG(int32_t mode);
TAMVEL_API void TAMVEL_CALL SETMODE(int32_t mode);

/* ---------------------------------------------------------------- palette ---- */

TAMVEL_API void TAMVEL_CALL InitPalette(void);
TAMVEL_API void TAMVEL_CALL UpPalette0(int32_t colour);
TAMVEL_API void TAMVEL_CALL UpPalette(TAMVEL_HDC dc, int32_t page);

/* --------------------------------------------------------------- clipping ---- */

TAMVEL_API void TAMVEL_CALL SETCLIP(float x1, float y1, float x2, float y2);
TAMVEL_API void TAMVEL_CALL ADDCLIP(float x1, float y1, float x2, float y2);
TAMVEL_API void TAMVEL_CALL ANDCLIP(float x1, float y1, float x2, float y2);
TAMVEL_API void TAMVEL_CALL DIFFCLIP(float x1, float y1, float x2, float y2);
TAMVEL_API void TAMVEL_CALL ADDCLIPP(const float *x, const float *y, int32_t n);
TAMVEL_API void TAMVEL_CALL ANDCLIPP(const float *x, const float *y, int32_t n);
TAMVEL_API void TAMVEL_CALL DIFFCLIPP(const float *x, const float *y, int32_t n);
TAMVEL_API void TAMVEL_CALL RESETCLIP(void);

/* ------------------------------------------------------------- EMF files ---- */

TAMVEL_API int32_t TAMVEL_CALL SAVEFILE(const char *path);
TAMVEL_API int32_t TAMVEL_CALL SAVEFILEF(const TAMVEL_FSTRING *path, int32_t n);
TAMVEL_API int32_t TAMVEL_CALL LOADFILE(const char *path);
TAMVEL_API int32_t TAMVEL_CALL LOADFILEF(const TAMVEL_FSTRING *path, int32_t n);

/* -------------------------------------------------------------- playback ---- */

TAMVEL_API int32_t TAMVEL_CALL GetEmfSize(int32_t *width, int32_t *height);
TAMVEL_API int32_t TAMVEL_CALL GetPixelSize(int32_t *width, int32_t *height);
TAMVEL_API int32_t TAMVEL_CALL PasteEmf(TAMVEL_HDC dc, TAMVEL_HWND window);
TAMVEL_API int32_t TAMVEL_CALL PasteEmf0(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t left,
                                         int32_t top, int32_t right, int32_t bottom);
TAMVEL_API int32_t TAMVEL_CALL PasteEmf1(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y);
TAMVEL_API int32_t TAMVEL_CALL PasteEmf2(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y, int32_t widen);
TAMVEL_API int32_t TAMVEL_CALL PrintEmf(TAMVEL_HDC printer);
TAMVEL_API int32_t TAMVEL_CALL PrintEmf0(TAMVEL_HDC printer);
TAMVEL_API int32_t TAMVEL_CALL PrintEmfF(TAMVEL_HDC printer);
TAMVEL_API int32_t TAMVEL_CALL PrintEmfF1(TAMVEL_HDC printer, int32_t window_width,
                                          int32_t window_height, int32_t x, int32_t y);
TAMVEL_API int32_t TAMVEL_CALL PasteClipboard(void);

/* ----------------------------------------------------------- EMF editing ---- */

TAMVEL_API int32_t TAMVEL_CALL CopyEmf(int32_t destination, int32_t source);
TAMVEL_API int32_t TAMVEL_CALL MoveEmf(int32_t destination, int32_t source);
TAMVEL_API void TAMVEL_CALL ClearEmf(int32_t page);
TAMVEL_API int32_t TAMVEL_CALL ResizeEmf(int32_t page, int32_t width, int32_t height);
TAMVEL_API int32_t TAMVEL_CALL ShiftEmf(int32_t page, int32_t dx, int32_t dy);
TAMVEL_API int32_t TAMVEL_CALL WriteEmf(int32_t destination, int32_t source, int32_t dx,
                                        int32_t dy);
TAMVEL_API int32_t TAMVEL_CALL GetTmpFileName(char *buffer, const char *prefix);

/* --------------------------------------------------------- host services ---- */

TAMVEL_API int32_t TAMVEL_CALL SetNelvarReg(const char *application, const char *section,
                                            const char *name, const char *text);
TAMVEL_API int32_t TAMVEL_CALL GetNelvarReg(const char *application, const char *section,
                                            const char *name, char *buffer);
TAMVEL_API int32_t TAMVEL_CALL SetNelvarRegB(const char *application, const char *section,
                                             const char *name, const void *data, int32_t size);
TAMVEL_API int32_t TAMVEL_CALL GetNelvarRegB(const char *application, const char *section,
                                             const char *name, void *buffer, int32_t size);
TAMVEL_API int32_t TAMVEL_CALL SetFileType(const char *description, const char *extension,
                                           const char *class_name, const char *program_path,
                                           char *buffer, int32_t buffer_size);
TAMVEL_API int32_t TAMVEL_CALL SetClassRoot(const char *key, const char *value);
TAMVEL_API int32_t TAMVEL_CALL GetClassRoot(const char *key, char *buffer, int32_t size);
TAMVEL_API int32_t TAMVEL_CALL IsWindowsNT(void);
TAMVEL_API void TAMVEL_CALL SETAPPNAME(const char *name);
TAMVEL_API void TAMVEL_CALL SETAPPNAMEF(const TAMVEL_FSTRING *name);
TAMVEL_API void TAMVEL_CALL SETCORPNAME(const char *name);
TAMVEL_API void TAMVEL_CALL SETCORPNAMEF(const TAMVEL_FSTRING *name);
TAMVEL_API int32_t TAMVEL_CALL TaskActiv(const char *program_path);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_H */
