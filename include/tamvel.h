/*
 * tamvel.h - the plotting interface of tamvel.
 *
 * A program opens a drawing of a paper size (PLOTS), moves and draws in millimetres
 * (PLOT), writes text, numbers, dashed lines, arcs, fills, marks and arrows. Every page is
 * recorded into an enhanced metafile; the library keeps 100 pages at once. Finished pages
 * are saved, played into windows and onto printers, put on the clipboard or edited.
 *
 * Units:
 *  - plot units: the caller's millimetres, before the current page's rotation (ROTATE),
 *    scale factor (FACTOR) and origin (PLOT with a negative pen code);
 *  - millimetres on the paper: after them; dash lengths and text widths are measured there;
 *  - page units: the recording's units, 1/1440 inch (56.6929 per millimetre), x to the
 *    right and y upwards from the lower-left corner of the paper; points are clamped to
 *    about 1 mm beyond each paper edge (they are moved onto that limit, not clipped);
 *  - 0.01 mm: sizes and positions of the playback and editing calls, the unit of a
 *    metafile's frame.
 *
 * Conventions of every call below:
 *  - numbers are 32-bit floats or 32-bit integers passed by value unless a pointer is shown;
 *    angles are degrees, counter-clockwise from the x axis;
 *  - text is Shift-JIS (code page 932); calls ending in F take a Fortran string descriptor;
 *  - drawing calls act on the current page and report nothing; they do nothing while the
 *    page does not record (before PLOTS, after PLOT pen code 999);
 *  - a coordinate of exactly 999.0 stands for the page's last x or last y: the last point
 *    that went through PLOT or a drawing call, so that a call can continue where one ended;
 *  - a coordinate that is NaN lands on the page's lower limit, an infinite one (or one beyond
 *    what 32-bit page units hold) on the nearer limit, as a point beyond the paper does;
 *    heights, sizes and angles that are not finite are described with each call. No call
 *    lets a number overflow: results beyond 32 bits stop at the 32-bit limits;
 *  - page numbers are 1..100, clamped into that range; MHEMF and MHDC take indexes 0..99;
 *  - resources are bounded, and a call that meets a bound gives its own failure result (or
 *    draws less), never ends the program: on Linux a page records at most 256 MB of metafile
 *    records (drawing beyond that is left out; the page still closes, saves and plays as a
 *    whole metafile), and pages, pens, fonts, palettes, DCs and windows share 65,535 handles,
 *    as GDI's quota bounds them on Windows (PLOTS and the calls that make DCs then fail, and
 *    drawing goes on without new pens or fonts); a page's palette (PALC) keeps 235 colours;
 *  - result codes are 0 for success and small numbers for the failure met, in the order in
 *    which the call checks them.
 *
 * How this header documents itself (tools/gen-reference.py writes docs/reference.md from
 * it): the comment right above a declaration documents it, and the declarations that follow
 * it without a blank line share that comment (a call and its Fortran-string form). In a
 * comment, a line indented by two or more blanks is kept as it stands (tables of codes); a
 * rule such as the one above CHPAGE starts a group of calls.
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

/* Makes page number `page` (1..100; below 1 counts as 1, above 100 as 100) the current
 * page. Opens, closes and clears nothing: every drawing call then works on that page, with
 * its own recording, pen, font, origin and scale. Page 1 is current when the library loads. */
TAMVEL_API void TAMVEL_CALL CHPAGE(int32_t page);
/* Makes the next page current; page 100 is followed by page 1. Opens or closes nothing. */
TAMVEL_API void TAMVEL_CALL NEXTPAGE(void);
/* The finished metafile (HENHMETAFILE) of the page with 0-based index 0..99, as a 32-bit
 * value; 0 if that page has none or the index is outside 0..99. It stays valid until the
 * page is cleared or opened again. */
TAMVEL_API int32_t TAMVEL_CALL MHEMF(int32_t index);
/* The recording DC (HDC) of the page with 0-based index 0..99, as a 32-bit value; 0 if that
 * page does not record or the index is outside 0..99. It stays valid until the page closes;
 * what is drawn into it goes into the page. */
TAMVEL_API int32_t TAMVEL_CALL MHDC(int32_t index);
/* The finished metafile of page number 1..100 (clamped), as a 32-bit value; 0 while the page
 * records or when it holds none. Non-zero means the page is closed and ready for output. The
 * current page does not change. */
TAMVEL_API int32_t TAMVEL_CALL IsStandby(int32_t page);
/* Writes the width and height of one pixel of the reference screen in tenths of a
 * millimetre (2.646 for a 96-dpi screen); the same for every page. */
TAMVEL_API void TAMVEL_CALL GPIXEL(float *width, float *height);

/* ---------------------------------------------------------- coordinates ---- */

/* Opens a drawing of width x height millimetres on the current page, discarding what the
 * page held, and returns its recording DC as a 32-bit value (0 if no recording could be
 * made: drawing on the page is then ignored). The third argument is ignored; DIMTAB is the
 * same call. The page gets every default: origin at the lower-left corner of the paper,
 * factor 1, no rotation, no data offsets, character spacing 6, kanji spacings 35 and 40,
 * outlines on, pen width code 1 (0.1 mm), black solid pen, white solid brush, black text,
 * typeface 0 horizontal, bottom-left text reference, transparent background. The font keeps
 * the height, weight and angle its page slot last had. The pen stands at (0, 0). A width or
 * height below 0.05 mm makes a recording whose frame is the extent of what is drawn. */
TAMVEL_API int32_t TAMVEL_CALL PLOTS(float width, float height, int32_t unused);
TAMVEL_API int32_t TAMVEL_CALL DIMTAB(float width, float height, int32_t unused);
/* Opens a drawing as PLOTS does, sized by a device: when pixel_width and pixel_height are
 * both at least 1, the page is that many pixels of `device` (converted through its
 * millimetre mapping, which leaves `device` in MM_TEXT); otherwise it is *width x *height
 * millimetres. The size used is written back through width and height in whole millimetres
 * (cut, not rounded), and the page has that size. Returns the recording DC or 0. */
TAMVEL_API int32_t TAMVEL_CALL DIMTABR(float *width, float *height, TAMVEL_HDC device,
                                       int32_t pixel_width, int32_t pixel_height);
/* Moves or draws the pen to (x, y), in plot units, by the pen code:
 *       2  draws a line from the pen position to (x, y)
 *       3  moves there without drawing
 *      -2  draws, then makes (x, y) the origin      -3  moves, then makes it the origin
 *      12, 13, -12, -13  as 2, 3, -2, -3 after the data mapping of OFFSET:
 *          x := (x - x_offset) / x_factor, y := (y - y_offset) / y_factor
 *       4  draws, then goes on to the next page       5  moves, then goes on
 *     999  closes the page: its metafile is finished; the page stays current and ignores
 *          drawing until PLOTS opens it again
 *   other  only makes (x, y) the last point
 * Every code makes (x, y) the last point. A new origin is where (x, y) lies on the paper;
 * later points, ROTATE and FACTOR work about it. Going on to the next page (page 100 is
 * followed by page 1) closes this one, opens the next with the same paper size, spacings and
 * outline switch, discarding what it held, and makes it current with origin, rotation,
 * factor and offsets reset; its pen, brush and font are those its slot had last, and the pen
 * stands at (0, 0). */
TAMVEL_API void TAMVEL_CALL PLOT(float x, float y, int32_t pen);
/* Writes the pen position in plot units (back through origin, rotation and factor, not
 * through OFFSET) and the scale factor. The position is where the pen really is: clamped
 * to the page limits, rounded to page units, at the end of the last text; on a page that
 * does not record, the lower-left corner of the paper. */
TAMVEL_API void TAMVEL_CALL WHERE(float *x, float *y, float *factor);
/* Sets the current page's scale factor: plot coordinates and lengths (text heights, mark
 * and arrow sizes, radii) are divided by it, about the origin; 2 halves the drawing. Dash
 * patterns keep their size on the paper. Applies to what is drawn afterwards and lasts until
 * the page is opened again. A factor of 0 sends every point onto a page limit, so does a NaN
 * factor (the lower-left one); an infinite factor draws everything at the origin. */
TAMVEL_API void TAMVEL_CALL FACTOR(float factor);
/* Sets the data mapping that PLOT applies to pen codes 12, 13, -12 and -13 only:
 * x := (x - x_offset) / x_factor, y := (y - y_offset) / y_factor. A new page has 0, 1, 0, 1. */
TAMVEL_API void TAMVEL_CALL OFFSET(float x_offset, float x_factor, float y_offset, float y_factor);
/* Writes the four values of OFFSET and, fifth, the character spacing of SPACE. */
TAMVEL_API void TAMVEL_CALL GETOFF(float *x_offset, float *x_factor, float *y_offset,
                                   float *y_factor, float *spacing);
/* Turns plot coordinates counter-clockwise by `angle` degrees about the origin (each call
 * sets the angle; it does not add to it). Arc and wedge angles turn with it, and it is
 * added to the text angle. Applies to what is drawn afterwards. A NaN or infinite angle
 * sends every point onto the page's lower-left limit and draws no arcs; text is written at
 * angle 0. */
TAMVEL_API void TAMVEL_CALL ROTATE(float angle);

/* ----------------------------------------------------------------- text ---- */

/* Sets the typeface of the page font by code; vertical != 0 takes its vertical-writing form
 * (the "@" face). Height, weight, angle and styles stay.
 *     0  ＭＳ 明朝 (MS Mincho)         3  ｺﾞｼｯｸ (Gothic)
 *     1  明朝 (Mincho)                 6, 20, 21  ＭＳ ゴシック (MS Gothic)
 *     2  丸ｺﾞｼｯｸ (Round Gothic)        other  as 0
 * The text calls take the typeface from here and choose the horizontal or vertical form by
 * the sign of their count. On Linux the faces are drawn with installed Japanese fonts (IPA
 * Mincho and Gothic, or Noto CJK). A new drawing starts with code 0. */
TAMVEL_API void TAMVEL_CALL SETFON(int32_t code, int32_t vertical);
/* The same as SETFON(code, 0). */
TAMVEL_API void TAMVEL_CALL ACSSET(int32_t code);
/* Writes the typeface code of the page font (6 for codes 20 and 21, which share its face; 1
 * for a face not in the table) and 1 if it is the vertical form, else 0. */
TAMVEL_API void TAMVEL_CALL GETFON(int32_t *code, int32_t *vertical);
/* Sets the weight of the page font, 0..1000 (clamped): 400 regular, 700 bold; 0 lets the
 * font choose (regular). */
TAMVEL_API void TAMVEL_CALL SETWEIGHT(int32_t weight);
/* Writes the weight of the page font. */
TAMVEL_API void TAMVEL_CALL GETWEIGHT(int32_t *weight);
/* Sets italic, underline and strike-out of the page font: each is on when the low byte of
 * its argument is not 0. */
TAMVEL_API void TAMVEL_CALL SETFONETC(int32_t italic, int32_t underline, int32_t strikeout);
/* Sets the text angle of the page font in degrees, counter-clockwise; the font turns by
 * this plus the rotation of ROTATE, kept to a tenth of a degree (cut toward zero). TEXTOUT
 * writes at this angle; the KANJI, SYMBOL, NUMBER and ROOTK2 calls use their own angle and
 * put this one back. An angle that is NaN or infinite counts as 0; one whose tenths do not
 * fit 32 bits is taken within one turn, so it keeps its direction (3e9 degrees writes as
 * 120). */
TAMVEL_API void TAMVEL_CALL SETDEG(float angle);
/* Writes the text angle: the font's angle less the rotation of ROTATE. */
TAMVEL_API void TAMVEL_CALL GETDEG(float *angle);
/* Sets extra space after every character, in plot units (divided by FACTOR, cut to page
 * units). It lasts for TEXTOUT until the next KANJI, SYMBOL, NUMBER or ROOTK2 call, which
 * sets its own spacing from SPACE or KSPACE. */
TAMVEL_API void TAMVEL_CALL SETSPC(float spacing);
/* Sets which edge of the text lies on the given point vertically: 1 top, 2 baseline, any
 * other value bottom (the default). The horizontal reference stays. */
TAMVEL_API void TAMVEL_CALL SETALG(int32_t vertical);
/* Writes the text reference as a code: tens digit vertical (0 bottom, 1 top, 2 baseline),
 * units digit horizontal (0 right, 1 centre, 2 left). A new drawing has 2; a page that does
 * not record reports 12. */
TAMVEL_API void TAMVEL_CALL GETALG(int32_t *code);
/* Sets the advance of a half-width character for the SYMBOL and NUMBER calls, in sevenths
 * of the character height: 3.5..69.0 (clamped); a new drawing has 6 (6/7 of the height). */
TAMVEL_API void TAMVEL_CALL SPACE(float spacing);
/* Sets the advance of SPACE as a multiple of the character height: 0.5714286..9.857142
 * (clamped; 4/7 to 69/7). SPACEC(1.0) is SPACE(7.0). */
TAMVEL_API void TAMVEL_CALL SPACEC(float ratio);
/* Sets the advance of a full-width character for the KANJI calls and ROOTK2, in 32nds of
 * the character height: a positive value sets horizontal writing (a new drawing has 35), a
 * negative one sets vertical writing to its magnitude (40), 0 restores both. No limits. */
TAMVEL_API void TAMVEL_CALL KSPACE(float spacing);
/* Sets the advance of KSPACE as a multiple of the character height (ratio x 32 32nds). */
TAMVEL_API void TAMVEL_CALL KSPACC(float ratio);
/* Writes the horizontal and vertical advances of KSPACE in 32nds of the character height. */
TAMVEL_API void TAMVEL_CALL GETKSP(float *horizontal, float *vertical);
/* Writes Shift-JIS text at (x, y) (plot units) in characters `height` tall (plot units),
 * turned by `angle` degrees, in the page's typeface, weight, styles and text colour. n counts
 * full-width characters (2 bytes each): n > 0 writes the first n, n < 0 the first |n|
 * downwards in the vertical "@" face, 0 the whole text. Each character advances its own
 * width plus (KSPACE - 32)/32 of the height: 35/32 of the height for a full-width one by
 * default. (x, y) is the text's reference point: vertically the edge chosen by SETALG
 * (bottom by default), horizontally its left end, or for KANJI2 the one `align` chooses:
 *     units digit 0  right end      1  centre      other  left end
 *     1000 or more   also draws an ellipse around the text with the page pen
 * KANJIF and KANJI2F take a Fortran string, without its trailing blanks, and never split a
 * double-byte character. At most 1024 bytes are written. Leaves the page font at this
 * height and face, the horizontal reference as chosen, the text angle as it was, and the pen
 * and the last point at the end of the text, so that x = y = 999.0 continues there. A NaN
 * height writes nothing and changes nothing; an infinite one, or one beyond what 32-bit page
 * units hold, writes in the largest font they hold. The angle is taken as SETDEG takes it
 * (NaN and infinities count as 0), vertical writing turning it a quarter from there. */
TAMVEL_API void TAMVEL_CALL KANJI(float x, float y, float height, const char *text, float angle,
                                  int32_t n);
TAMVEL_API void TAMVEL_CALL KANJI2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL KANJIF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                   float angle, int32_t n);
TAMVEL_API void TAMVEL_CALL KANJI2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);
/* Writes text as KANJI does, counted in bytes and spaced for half-width characters: each
 * byte advances SPACE/7 of the height (6/7 by default). n > 0 writes the first n bytes,
 * n < 0 the first |n| downwards; with n = 0 SYMBOL writes the first byte, SYMBL2 nothing,
 * SYMBOLF and SYMBL2F the text without its trailing blanks. `align` as for KANJI2. Leaves
 * the font, the horizontal reference, the pen and the last point as KANJI does. */
TAMVEL_API void TAMVEL_CALL SYMBOL(float x, float y, float height, const char *text, float angle,
                                   int32_t n);
TAMVEL_API void TAMVEL_CALL SYMBL2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL SYMBOLF(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n);
TAMVEL_API void TAMVEL_CALL SYMBL2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);
/* Writes |n| bytes of text (n = 0: all of it; TEXTOUTF: without trailing blanks) at (x, y)
 * in the page font as the last text call, SETFON, SETDEG and SETSPC left it: no sizing and
 * no vertical writing. Moves the pen to the end of the text; the last point is (x, y). */
TAMVEL_API void TAMVEL_CALL TEXTOUT(float x, float y, const char *text, int32_t n);
TAMVEL_API void TAMVEL_CALL TEXTOUTF(float x, float y, const TAMVEL_FSTRING *text, int32_t n);
/* The width, in millimetres on the paper (not multiplied by FACTOR), of the text that KANJI
 * writes with this height and count, measured in horizontal writing (with the vertical
 * spacing for n < 0). 0.0 for an empty text, a NaN height or a page that does not record.
 * Leaves the page font sized as KANJI does. */
TAMVEL_API float TAMVEL_CALL KANJIWID(float height, const char *text, int32_t n);
TAMVEL_API float TAMVEL_CALL KANJIWIDF(float height, const TAMVEL_FSTRING *text, int32_t n);
/* The width, in millimetres on the paper, of the text that SYMBL2 writes with this height
 * and count; n = 0 measures the whole text (SYMBLWIDF: without trailing blanks). */
TAMVEL_API float TAMVEL_CALL SYMBLWID(float height, const char *text, int32_t n);
TAMVEL_API float TAMVEL_CALL SYMBLWIDF(float height, const TAMVEL_FSTRING *text, int32_t n);
/* Length of a Fortran string without its trailing blanks (and stray bytes of 0x80 and above
 * at its end; a full-width blank stays); at least 1, even for an empty or blank string. */
TAMVEL_API int32_t TAMVEL_CALL LEN2(const TAMVEL_FSTRING *text);
/* Writes text under a square-root sign at (x, y): the tick, the stroke and a bar over the
 * whole text are drawn from the page font's measures, in the text colour with the pen's
 * width. n counts bytes (0: the whole text; ROOTK2F: without trailing blanks, never
 * splitting a double-byte character); n < 0 writes vertically. Height, angle, spacing
 * (KSPACE) and `align` as for KANJI2, without the ellipse. With an opaque background
 * (SETBKG(2)) the text's cell is first filled in the background colour. Leaves the page font
 * at this height, the horizontal reference at right (a following TEXTOUT is right-aligned)
 * and the pen at the end of the text; the last point is (x, y). */
TAMVEL_API void TAMVEL_CALL ROOTK2(float x, float y, float height, const char *text, float angle,
                                   int32_t n, int32_t align);
TAMVEL_API void TAMVEL_CALL ROOTK2F(float x, float y, float height, const TAMVEL_FSTRING *text,
                                    float angle, int32_t n, int32_t align);

/* -------------------------------------------------------------- numbers ---- */

/* Writes `value` as text at (x, y) as SYMBL2 writes text (height, angle, spacing, `align`;
 * NUMBER aligns left). digits chooses the form (values below -2 count as -2, above 7 as 7):
 *    1..7  fixed point with that many decimals, at most 6: 3.14159 with 2 gives 3.14
 *       0  rounded to a whole number, with a point: 2.5 gives 3.
 *      -1  rounded to a whole number: 2.5 gives 3, -0.4 gives 0
 *      -2  divided by 10, then rounded: 1234.0 gives 123
 * Rounding is half away from zero (0.125 with 2 decimals gives 0.13). Leaves the font, the
 * pen and the last point as SYMBL2 does: x = y = 999.0 continues after the number. */
TAMVEL_API void TAMVEL_CALL NUMBER(float x, float y, float height, float value, float angle,
                                   int32_t digits);
TAMVEL_API void TAMVEL_CALL NUMBR2(float x, float y, float height, float value, float angle,
                                   int32_t digits, int32_t align);
/* The width, in millimetres on the paper, of the number that NUMBR2 writes horizontally
 * with this height, value and digits. */
TAMVEL_API float TAMVEL_CALL NUMBRWID(float height, float value, int32_t digits);

/* ---------------------------------------------------------------- lines ---- */

/* Sets the line type of the page pen, used by PLOT, GRID, ARC and the strokes of marks and
 * arrows, and returns the previous one. The first argument is ignored.
 *     0 solid   1 dotted   2 dashed   3 dash-dot   4 dash-dot-dot   5 none (invisible)
 * Any other code sets solid; a pen style not in the table reads back as 0. Width and colour
 * stay; PENC makes the line solid again. */
TAMVEL_API int32_t TAMVEL_CALL LNTYPE0(int32_t unused, int32_t code);
/* Draws a polyline through `count` points in page units (1/1440 inch from the lower-left
 * corner of the paper, y upwards) in line type `code` (as LNTYPE0), exactly there: no
 * origin, rotation, factor, clamping or 999 rule. The line type is put back; the pen
 * position and the last point do not change. Fewer than two points draw nothing. */
TAMVEL_API void TAMVEL_CALL LINE0(int32_t code, const TAMVEL_POINT *points, int32_t count);
/* Draws a polyline through `count` points (x[i], y[i]) (plot units) in dash pattern 1..11,
 * with the page pen's width and colour, flat dash ends and bevelled corners. The dashes are
 * measured in millimetres on the paper (FACTOR and ROTATE do not change them) and run on
 * across corners; every call starts with a dash:
 *     1  1.0 dash, 0.5 gap          6  0.5, 0.25
 *     2  2.5, 0.5                   7  1.0, 0.25
 *     3  5.5, 0.5                   8  2.0, 0.25
 *     4  5.0, 0.5, 0.5, 0.5         9  1.75, 0.25, 0.25, 0.25     (dash-dot)
 *     5  4.5, 0.5 x 5              10  1.5, 0.25 x 5              (dash-dot-dot)
 *    11  2.0, 1.5
 * Each gap grows by the pen width (to 0.1 mm) so that wide pens keep it open. Pattern 0,
 * negative patterns and patterns above 11 draw the polyline solid. The line type, the pen
 * position and the last point are as before the call. A count of 0 or less, or a null
 * array, draws nothing and reads no element, but the line-type changes and the closing
 * move are recorded all the same. */
TAMVEL_API void TAMVEL_CALL LINE6(int32_t pattern, const float *x, const float *y, int32_t count);
/* Draws a dashed line from the last point to (x, y): equal dashes and gaps `dash`
 * millimetres long on the paper (FACTOR does not change them), starting with a dash; the
 * last dash stops at (x, y). A dash shorter than a page unit (0.0176 mm) draws a solid line;
 * one longer than half the line is cut to half. The pen ends at (x, y), the last point; a
 * line shorter than 0.01 mm draws nothing and leaves the pen where it was (the last point is
 * (x, y) all the same). */
TAMVEL_API void TAMVEL_CALL DASHP(float x, float y, float dash);
/* Draws the lines of a grid of nx x ny cells of dx x dy (plot units) with one corner at
 * (x, y) (999.0: the last point): nx + 1 lines along y, then ny + 1 lines along x, with the
 * page pen and its line type. At most 100000 cells are drawn each way, alike in both
 * directions: every line spans the cells drawn across it. The pen position and the last
 * point are as before the call. */
TAMVEL_API void TAMVEL_CALL GRID(float x, float y, float dx, float dy, int32_t nx, int32_t ny);

/* ----------------------------------------------------------------- arcs ---- */

/* Draws a circular arc about (x, y) with `radius` (plot units; divided by FACTOR) with the
 * page pen, counter-clockwise from angle1 to angle2 (degrees from the x axis, turned by
 * ROTATE); direction -1 exchanges the two angles, any other value keeps them. Equal angles
 * draw the whole circle. A radius below half a page unit, a NaN radius and an angle that is
 * NaN or infinite draw nothing; a radius beyond 2^29 page units (infinite included) is cut to
 * that. The pen returns to the last point, which stays as it was. */
TAMVEL_API void TAMVEL_CALL ARC(float x, float y, float radius, float angle1, float angle2,
                                int32_t direction);
/* Draws an arc as ARC does, counter-clockwise from `start` to start + sweep: the sign of
 * the sweep does not change the direction (a sweep of -90 draws three quarters). */
TAMVEL_API void TAMVEL_CALL ARCC(float x, float y, float radius, float start, float sweep);
/* Draws a circular sector (a pie) as ARC draws its arc, filled with fill pattern |pattern|
 * (the codes of FILLPT) and outlined with the page pen: a negative pattern, or
 * OPTION("NOOUTLINE"), leaves out the outline; pattern 0 draws the outline only. Leaves the
 * page brush set to that pattern, as FILLPT does. */
TAMVEL_API void TAMVEL_CALL WEDGE(float x, float y, float radius, float angle1, float angle2,
                                  int32_t direction, int32_t pattern);
/* Draws the sector of WEDGE aligned to the pixels of the reference screen: the centre on a
 * pixel, the left and top sides of its box one pixel closer to the centre. A radius below
 * one screen pixel draws nothing. */
TAMVEL_API void TAMVEL_CALL WEDGEG(float x, float y, float radius, float angle1, float angle2,
                                   int32_t direction, int32_t pattern);

/* ---------------------------------------------------------------- fills ---- */

/* Sets the page brush to a fill pattern, which PATRN, RECTF, WEDGE and WEDGEG then use:
 *       0  hollow (nothing is filled)
 *       1  solid in the fill colour (FILLC)
 *    2..15  8 x 8 device pixels in the text colour (TEXTC) on the background colour (SETBKC):
 *           2 horizontal lines      7 diagonal grid      12 staggered 2 x 2 blocks
 *           3 diagonals, rising     8 bricks             13 very sparse dots
 *           4 vertical lines        9 staggered dots     14 broad diagonal bands
 *           5 diagonals, falling   10 checkerboard       15 staggered 4 x 2 blocks
 *           6 square grid          11 sparse dots
 *   other  hollow
 * The fill colour stays; the brush stays set after the call. */
TAMVEL_API void TAMVEL_CALL FILLPT(int32_t pattern);
/* Fills the polygon through `count` points (x[i], y[i]) (plot units; at least 3) with fill
 * pattern |pattern| (FILLPT) under the nonzero winding rule, and outlines it with the page
 * pen unless the pattern is negative or OPTION("NOOUTLINE") is in force. Its corners may
 * reach about 3 mm beyond the paper, 2 mm further than lines. Leaves the page brush set to
 * the pattern; the pen position and the last point are as before the call. */
TAMVEL_API void TAMVEL_CALL PATRN(const float *x, const float *y, int32_t count, int32_t pattern);
/* PATRN of the rectangle with the opposite corners (x1, y1) and (x2, y2). */
TAMVEL_API void TAMVEL_CALL RECTF(float x1, float y1, float x2, float y2, int32_t pattern);
/* Switches the outlines of filled shapes (PATRN, RECTF, WEDGE, WEDGEG, filled arrow heads)
 * on the current page: a keyword that begins "OUTLINE" switches them on (the default of a
 * new drawing), one that begins "NOOUTLINE" off; case matters, anything else changes
 * nothing. Takes a Fortran string: from C, TAMVEL_FSTRING k = {"NOOUTLINE", 9}; OPTION(&k). */
TAMVEL_API void TAMVEL_CALL OPTION(const TAMVEL_FSTRING *keyword);

/* ---------------------------------------------------------------- marks ---- */

/* Puts mark `code`, a full-width symbol `height` tall (plot units), centred on (x, y) and
 * turned by `angle` degrees, in the pen colour:
 *     0 □   1 ○   2 △   3 ＋   4 ×   5 ◇   6 ■   7 ●
 *     8 ▲   9 ◆  10 ※  11 ▽  12 ◎  13 ☆  14 ▼  15 ★
 * ipen -2 first draws a line from the pen position to (x, y); any other value moves there.
 * A code outside 0..15 only moves (or draws) the pen. The symbol is written in
 * ＭＳ ゴシック, transparently; typeface, text angle, reference, background mode and text
 * colour are put back, and the page font keeps this height. The pen ends at (x, y), the last
 * point. A 999.0 applies to the pen moves only; the symbol is placed at the value 999. Height
 * and angle are taken as KANJI takes them: a NaN height puts no symbol, only moves the pen. */
TAMVEL_API void TAMVEL_CALL CTSYM1(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);
/* Draws mark `code`, 0.8 x `height` across (plot units), centred on (x, y) and turned by
 * `angle` degrees, in strokes and fills of the pen colour:
 *     0 square            4 diagonal cross       8 filled triangle
 *     1 circle            5 diamond              9 filled diamond
 *     2 triangle          6 filled square       10 eight-armed asterisk
 *     3 plus              7 filled circle       11 triangle, apex down
 * ipen as for CTSYM1. The outlines of 0, 2 and 5 are solid; the strokes of 1, 3, 4, 10 and
 * 11 use the pen's line type; fills have no outline. Code 7 leaves the pen's line type
 * solid. A code outside 0..11 draws nothing. The brush is put back; the pen ends at (x, y),
 * the last point. A height or angle that is NaN or infinite draws nothing and moves nothing. */
TAMVEL_API void TAMVEL_CALL CTSYM2(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);
/* Draws line mark `code`, 0.75 x `height` across, as CTSYM2 draws its marks:
 *     0 square, stroke from the centre up       8 Z with a bar through the centre
 *     1 octagon, stroke from the centre up      9 Y
 *     2 triangle, stroke from the centre up    10 small square with rays to the corners
 *     3 plus                                   11 asterisk with longer diagonals
 *     4 diagonal cross                         12 hourglass closed at top and bottom
 *     5 diamond, stroke from the centre up     13 vertical bar
 *     6 plus with a chevron over the top       14 vertical bar
 *     7 two diagonals joined across the top
 * Every stroke uses the pen's line type. A code outside 0..14 draws nothing; so does a height
 * or angle that is NaN or infinite, which moves nothing either. */
TAMVEL_API void TAMVEL_CALL CTSYMB(float x, float y, float height, int32_t code, float angle,
                                   int32_t ipen);

/* --------------------------------------------------------------- arrows ---- */

/* Draws an arrow from (x1, y1) to (x2, y2) (plot units) with a head at (x2, y2), `length`
 * long and `width` wide (plot units). type % 10 is the head:
 *     1 closed triangle                 5 single barb with its axis
 *     2 closed triangle, shaft through  6 filled triangle
 *     3 left half, closed               7 filled left half
 *     4 open, with its axis             8 open
 * and type / 10 what comes with it: 0 the head only, 1 the shaft, 2 or more the shaft and a
 * second head at (x1, y1). Types 1, 6, 7 and 8 draw the shaft between the two head bases,
 * types 2 to 5 to (x1, y1). Lines use the page pen and its line type; filled heads are solid
 * in the pen colour, outlined with the page pen unless OPTION("NOOUTLINE") is in force.
 * Head 0, 9 and negative types draw nothing. The brush is put back; the pen ends at the tip,
 * the last point. Equal start and end points, and a length or width that is NaN or infinite,
 * draw nothing and move nothing. */
TAMVEL_API void TAMVEL_CALL AROWHD(float x1, float y1, float x2, float y2, float length,
                                   float width, int32_t type);

/* ----------------------------------------------------- pens and colours ---- */

/* Sets the pen width by code: 0 and above in tenths of a millimetre (PEN(3) is 0.3 mm),
 * below 0 in dots of 1/300 inch (PEN(-3) is 3 dots); 0 is the thinnest line the device
 * draws. Line type and colour stay. A new drawing has 1. */
TAMVEL_API void TAMVEL_CALL PEN(int32_t width_code);
/* Sets the pen width in millimetres (rounded to page units; below 0 gives 0). Line type and
 * colour stay. */
TAMVEL_API void TAMVEL_CALL PENW(float width);
/* Sets the pen colour by colour code and makes the line solid (replacing a line type of
 * LNTYPE0); r, g and b count for code -1 only:
 *     -1  red, green, blue on a 0..996 scale (clamped; 996 is full)
 *      0 black      4 green       8 dark grey     12 dark green
 *      1 blue       5 cyan        9 dark blue     13 dark cyan
 *      2 red        6 yellow     10 dark red      14 dark yellow
 *      3 magenta    7 white      11 dark magenta  15 grey
 *     -2 and below: no pen (lines are invisible; width and colour are kept)
 *     other: black
 * FILLC, TEXTC, ALLC, SETBKC and PALC take the same codes. A new drawing has 0. */
TAMVEL_API void TAMVEL_CALL PENC(int32_t code, int32_t r, int32_t g, int32_t b);
/* Sets the fill colour by colour code (PENC) and makes the brush solid, replacing a pattern
 * of FILLPT; -2 and below make it hollow, keeping colour and pattern. The patterns 2..15 are
 * drawn in the text and background colours instead. A new drawing has 7 (white). */
TAMVEL_API void TAMVEL_CALL FILLC(int32_t code, int32_t r, int32_t g, int32_t b);
/* Sets the text colour by colour code (PENC); -2 and below change nothing. The text colour
 * also paints the fill patterns 2..15 and the root sign of ROOTK2. A new drawing has 0. */
TAMVEL_API void TAMVEL_CALL TEXTC(int32_t code, int32_t r, int32_t g, int32_t b);
/* PENC, FILLC and TEXTC with the same arguments. */
TAMVEL_API void TAMVEL_CALL ALLC(int32_t code, int32_t r, int32_t g, int32_t b);
/* Sets the background colour by colour code (PENC; -2 and below give black): the paper of
 * the fill patterns 2..15 and, with SETBKG(2), the box behind text. A new drawing has white. */
TAMVEL_API void TAMVEL_CALL SETBKC(int32_t code, int32_t r, int32_t g, int32_t b);
/* Registers a colour (colour code; -2 and below are ignored) in the current page's palette,
 * so that pens, brushes and text of that colour are recorded as palette indexes, for
 * displays of 256 colours. Nothing is registered where the screen shows the colour exactly,
 * as every Linux target does. At most 235 colours; the list empties when the page closes. */
TAMVEL_API void TAMVEL_CALL PALC(int32_t code, int32_t r, int32_t g, int32_t b);
/* Writes the background mode: 1 transparent (the default), 2 opaque; 0 when the page does
 * not record. */
TAMVEL_API void TAMVEL_CALL GETBKG(int32_t *mode);
/* Sets the background mode: 1 transparent, 2 opaque (text is written on a box of the
 * background colour, and ROOTK2 fills its cell). Other values are ignored. */
TAMVEL_API void TAMVEL_CALL SETBKG(int32_t mode);
/* Sets the raster operation of later drawing, a Windows R2_ code 1..16: 13 copies the pen
 * (the default), 7 exclusive-or, 6 inverts, 1 black, 16 white, 11 draws nothing. Other
 * values are ignored. */
TAMVEL_API void TAMVEL_CALL SETMODE(int32_t mode);
/* Empties the process palette, the one palette of the library that UpPalette0 and UpPalette
 * fill and realize. */
TAMVEL_API void TAMVEL_CALL InitPalette(void);
/* Adds a colour, 0x00BBGGRR, to the process palette; colours already in it and colours
 * beyond 235 are ignored. */
TAMVEL_API void TAMVEL_CALL UpPalette0(int32_t colour);
/* Adds the palette colours of the finished metafile of page number 1..100 (clamped) to the
 * process palette, then selects and realizes that palette in `dc`, for playing pages on a
 * display of 256 colours. Does nothing for a null dc or a page without finished metafile or
 * without palette colours (PALC). */
TAMVEL_API void TAMVEL_CALL UpPalette(TAMVEL_HDC dc, int32_t page);

/* ------------------------------------------------------------- clipping ---- */

/* Clips what is drawn afterwards on the current page to the rectangle from its lower-left
 * corner (x1, y1) to its upper-right corner (x2, y2) (plot units, clamped to the page
 * limits), replacing any clip region; 999.0 in the second corner stands for the first
 * corner's value. While a region is set, nothing beyond -88 mm and 441 mm from the paper's
 * lower-left corner is drawn. The pen position and the last point are as before the call. */
TAMVEL_API void TAMVEL_CALL SETCLIP(float x1, float y1, float x2, float y2);
/* Adds the rectangle of SETCLIP to the clip region (a page without one is clipped to the
 * rectangle). */
TAMVEL_API void TAMVEL_CALL ADDCLIP(float x1, float y1, float x2, float y2);
/* Limits the clip region to its overlap with the rectangle of SETCLIP (a page without one
 * is clipped to the rectangle). */
TAMVEL_API void TAMVEL_CALL ANDCLIP(float x1, float y1, float x2, float y2);
/* Cuts the rectangle of SETCLIP out of the clip region; a page without clip region stays
 * unclipped. */
TAMVEL_API void TAMVEL_CALL DIFFCLIP(float x1, float y1, float x2, float y2);
/* ADDCLIP, ANDCLIP and DIFFCLIP with the polygon through the n points (x[i], y[i]) (plot
 * units, nonzero winding) instead of a rectangle. */
TAMVEL_API void TAMVEL_CALL ADDCLIPP(const float *x, const float *y, int32_t n);
TAMVEL_API void TAMVEL_CALL ANDCLIPP(const float *x, const float *y, int32_t n);
TAMVEL_API void TAMVEL_CALL DIFFCLIPP(const float *x, const float *y, int32_t n);
/* Removes the clip region of the current page. */
TAMVEL_API void TAMVEL_CALL RESETCLIP(void);

/* ---------------------------------------------------------------- files ---- */

/* Closes the current page if it records and writes its finished metafile to the file
 * `path`, replacing an existing file. Returns:
 *     0  saved
 *     1  the page has no finished metafile (nothing was opened, or it was cleared)
 *     2  an existing file of that name could not be deleted
 *     3  writing failed (no such folder, no permission, an empty path)
 *     4  written, but releasing the written copy failed
 * The page keeps its metafile, to be saved, played or edited again; drawing on it is ignored
 * until PLOTS. On Linux the file is written under a temporary name in the same folder and
 * renamed once every byte is written: a crash of the program or a full disk never leaves part
 * of a file under the name. It is not flushed to the disk before the rename (the system GDI
 * does not flush its metafile files either), so saving costs what writing to memory does; a
 * crash of the whole system just after may lose the file. SAVEFILEF takes the path from a
 * Fortran string: |n| bytes of it, or without trailing blanks when n is 0 or longer than the
 * string; at most 256 bytes. */
TAMVEL_API int32_t TAMVEL_CALL SAVEFILE(const char *path);
TAMVEL_API int32_t TAMVEL_CALL SAVEFILEF(const TAMVEL_FSTRING *path, int32_t n);
/* Clears the current page and loads the enhanced metafile file `path` into it as its
 * finished metafile, as if drawn and closed with pen code 999. Returns:
 *     0  loaded
 *     1  the file cannot be read as an enhanced metafile (the page is left empty)
 *     2  it could not be copied into memory (the page is left empty)
 *     3  as 2, and releasing the file failed too
 *    -1  loaded, but releasing the file failed
 * LOADFILEF takes the path from a Fortran string as SAVEFILEF does. */
TAMVEL_API int32_t TAMVEL_CALL LOADFILE(const char *path);
TAMVEL_API int32_t TAMVEL_CALL LOADFILEF(const TAMVEL_FSTRING *path, int32_t n);

/* ------------------------------------------------------------- playback ---- */

/* Writes the frame size of the current page's finished metafile in 0.01 mm (an A4 page
 * gives 21000 x 29700). Returns 0, or 1 when the page has no finished metafile (nothing is
 * written). */
TAMVEL_API int32_t TAMVEL_CALL GetEmfSize(int32_t *width, int32_t *height);
/* Writes the size of one reference-screen pixel in 0.01 mm while the current page records
 * (a SaveDC/RestoreDC pair is recorded into it). Returns 0, or -1 with both sizes 0 when the
 * page does not record. */
TAMVEL_API int32_t TAMVEL_CALL GetPixelSize(int32_t *width, int32_t *height);
/* Plays the current page's finished metafile into `dc`, stretched over the client area of
 * `window`, in the mapping mode dc has. Returns:
 *     0  played          2  window is null               4  playing failed
 *     1  dc is null      3  no finished metafile
 * On Linux dc and window come from tamvel_linux.h. */
TAMVEL_API int32_t TAMVEL_CALL PasteEmf(TAMVEL_HDC dc, TAMVEL_HWND window);
/* Plays the page as PasteEmf does into the rectangle (left, top)-(right, bottom) in dc's
 * logical units; the window is only checked for null. Result codes as PasteEmf. */
TAMVEL_API int32_t TAMVEL_CALL PasteEmf0(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t left,
                                         int32_t top, int32_t right, int32_t bottom);
/* Plays the page onto a window whose client area shows a sheet of sheet_width x
 * sheet_height (0.01 mm), with the frame's lower-left corner at (x, y) from the sheet's
 * lower-left corner (0.01 mm, y upwards), at the sheet's scale. dc's state is saved and
 * restored. Returns:
 *     0  played                  4  frame width or height below 1
 *     1  dc is null              5  sheet width or height below 1
 *     2  window is null          6  playing failed
 *     3  no finished metafile */
TAMVEL_API int32_t TAMVEL_CALL PasteEmf1(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y);
/* PasteEmf1 without its margin of 3 pixels, the rectangle's top edge raised by
 * 4 x widen - 1 pixels and its right edge moved right by 4 x widen - 2 (widen 0: the top 1
 * pixel lower, the right 2 pixels further left). Result codes as PasteEmf1. */
TAMVEL_API int32_t TAMVEL_CALL PasteEmf2(TAMVEL_HDC dc, TAMVEL_HWND window, int32_t sheet_width,
                                         int32_t sheet_height, int32_t x, int32_t y, int32_t widen);
/* Prints the current page's finished metafile onto a printer DC at its true size, the
 * frame's lower-left corner on the lower-left corner of the printable area (a drawing
 * taller than that area runs off its top). Starts and ends no document or page (on Windows
 * StartDoc/StartPage/EndPage, on Linux TamvelEndPrinterPage). Returns:
 *     0  printed          2  no finished metafile                  4  playing failed, or
 *     1  printer is null  3  frame width or height below 1            the printer has no size */
TAMVEL_API int32_t TAMVEL_CALL PrintEmf(TAMVEL_HDC printer);
/* PrintEmf with the frame's lower-left corner on the paper's lower-left corner (the
 * printer's margins are not taken into account). */
TAMVEL_API int32_t TAMVEL_CALL PrintEmf0(TAMVEL_HDC printer);
/* PrintEmf fitted to the printable area, keeping the aspect ratio, on its lower-left corner. */
TAMVEL_API int32_t TAMVEL_CALL PrintEmfF(TAMVEL_HDC printer);
/* Prints a window of the drawing fitted to the printable area (aspect ratio kept) and
 * clipped to it: the window_width x window_height (0.01 mm) whose lower-left corner lies at
 * (x, y) from the frame's lower-left corner. Result codes as PrintEmf; 3 also for a window
 * width or height below 1. */
TAMVEL_API int32_t TAMVEL_CALL PrintEmfF1(TAMVEL_HDC printer, int32_t window_width,
                                          int32_t window_height, int32_t x, int32_t y);
/* Puts a copy of the current page's finished metafile on the clipboard as an enhanced
 * metafile. Returns 0; 1 no finished metafile; 2 copying failed; 3 the clipboard cannot be
 * opened (another program holds it); otherwise the sum of 4 (emptying the clipboard
 * failed), 10 (handing the copy over failed) and 100 (closing the clipboard failed). On
 * Linux the clipboard is the process's own. */
TAMVEL_API int32_t TAMVEL_CALL PasteClipboard(void);

/* -------------------------------------------------------------- editing ---- */

/* Copies the finished metafile of page `source` to page `destination` (page numbers
 * 1..100, clamped), which is cleared first (a recording there is discarded). Returns 0, or 1
 * when the source page has no finished metafile (nothing changes). A page copied onto
 * itself stays as it is. */
TAMVEL_API int32_t TAMVEL_CALL CopyEmf(int32_t destination, int32_t source);
/* CopyEmf that hands the metafile over: the source page is left without one. */
TAMVEL_API int32_t TAMVEL_CALL MoveEmf(int32_t destination, int32_t source);
/* Clears page number 1..100 (clamped): ends and discards its recording, deletes its
 * metafile. */
TAMVEL_API void TAMVEL_CALL ClearEmf(int32_t page);
/* Gives the finished metafile of page number 1..100 (clamped) the frame width x height
 * (0.01 mm) from its lower-left corner; the drawing is not changed: a larger frame adds room
 * to the right and above, a smaller one leaves the rest outside what is played. Returns:
 *     0  done
 *     1  width or height below 1 (checked first)
 *     2  the page has no finished metafile, or its header cannot be read
 *     3  rewriting the metafile failed (the page is unchanged) */
TAMVEL_API int32_t TAMVEL_CALL ResizeEmf(int32_t page, int32_t width, int32_t height);
/* Moves the drawing of page number 1..100 (clamped) dx tenths of a millimetre to the left
 * and dy down (negative values: right and up) within its frame, into a new metafile with the
 * same frame and description. Returns:
 *     0  done                                 4  no new recording could be made
 *     1  the page has no finished metafile    5  playing the old drawing failed
 *     2  its frame cannot be read             6  finishing failed: the page is left
 *     3  it has no description                   without a finished metafile
 * For 2 to 5 the page is unchanged. */
TAMVEL_API int32_t TAMVEL_CALL ShiftEmf(int32_t page, int32_t dx, int32_t dy);
/* Draws the drawing of page `source` over that of page `destination` (page numbers 1..100,
 * clamped), shifted dx tenths of a millimetre to the right and dy down; both are placed by
 * their frames, so pages of equal size meet at their lower-left corners. The destination
 * gets the result with its own frame and description; the source is not changed. Returns:
 *     0  done                                     6  playing the destination failed
 *     1  either page has no finished metafile     7  the source's frame cannot be read
 *     2  the destination has no description       8  playing the source failed
 *     3  the destination's frame cannot be read   9  finishing failed: the destination is
 *     4  no new recording could be made              left without a finished metafile
 * For 2 to 8 the destination is unchanged. There is no code 5. */
TAMVEL_API int32_t TAMVEL_CALL WriteEmf(int32_t destination, int32_t source, int32_t dx,
                                        int32_t dy);
/* Creates a new empty file with a unique name in the temporary folder (on Linux $TMPDIR or
 * /tmp), named after the first three characters of `prefix`, and writes its path into
 * `buffer` (at least 260 bytes). Returns the length of the path; 0 when no file could be
 * made. */
TAMVEL_API int32_t TAMVEL_CALL GetTmpFileName(char *buffer, const char *prefix);

/* ----------------------------------------------------------------- host ---- */

/* Stores `text` as the string value `name` in the key
 * `HKEY_CURRENT_USER\Software\Nelvar Inc.\<application>\<section>`, creating the keys.
 * Returns 0 (the write itself is not checked), or 1, 2 or 3 when the maker's, the
 * application's or the section's key cannot be created, after showing the message
 * "Unable to create key "<key>"" (on Linux a line on standard error). On Linux the
 * registry is a file of the library's own (`docs/registry.md`). */
TAMVEL_API int32_t TAMVEL_CALL SetNelvarReg(const char *application, const char *section,
                                            const char *name, const char *text);
/* Reads the string value `name` of SetNelvarReg into `buffer` (at least 255 bytes; longer
 * values are not read). Returns 0; 1 when the section's key does not exist (buffer is
 * untouched); 2 when the value does not exist or is too long (buffer is emptied). */
TAMVEL_API int32_t TAMVEL_CALL GetNelvarReg(const char *application, const char *section,
                                            const char *name, char *buffer);
/* SetNelvarReg for `size` bytes of data, stored as a binary value. */
TAMVEL_API int32_t TAMVEL_CALL SetNelvarRegB(const char *application, const char *section,
                                             const char *name, const void *data, int32_t size);
/* Fills `size` bytes of `buffer` with zeros, then reads the binary value `name` into it.
 * Returns 0; 1 when the section's key does not exist; 2 when the value does not exist or
 * is larger than size. */
TAMVEL_API int32_t TAMVEL_CALL GetNelvarRegB(const char *application, const char *section,
                                             const char *name, void *buffer, int32_t size);
/* Registers a file type under HKEY_CLASSES_ROOT: the extension (with its dot, ".xyz")
 * names class_name, and the class gets the description, the open command
 * `"<program_path>" "%1"` and the icon `<program_path>,0`. Returns 0, or, when the extension
 * named another class before, the length of that class name, which is left in `buffer`
 * (read with at most buffer_size bytes). Shows no message; failed writes are not reported. */
TAMVEL_API int32_t TAMVEL_CALL SetFileType(const char *description, const char *extension,
                                           const char *class_name, const char *program_path,
                                           char *buffer, int32_t buffer_size);
/* Sets the default value of the key `HKEY_CLASSES_ROOT\<key>`, creating the key. Returns -1
 * when the value was set, 0 when not. */
TAMVEL_API int32_t TAMVEL_CALL SetClassRoot(const char *key, const char *value);
/* Reads the default value of `HKEY_CLASSES_ROOT\<key>` into `buffer` (at most `size` bytes).
 * Returns its length without the NUL; 0 when it cannot be read or is empty. */
TAMVEL_API int32_t TAMVEL_CALL GetClassRoot(const char *key, char *buffer, int32_t size);
/* -1 on a system of the Windows NT family, 0 otherwise (0 on Linux). */
TAMVEL_API int32_t TAMVEL_CALL IsWindowsNT(void);
/* Sets the application name written into the description of every metafile opened
 * afterwards (a new drawing, pen code 4 or 5): at most 40 bytes, a double-byte character cut
 * by that limit dropped; "tamvel" until set. SETAPPNAMEF takes a Fortran string, trailing
 * blanks included. */
TAMVEL_API void TAMVEL_CALL SETAPPNAME(const char *name);
TAMVEL_API void TAMVEL_CALL SETAPPNAMEF(const TAMVEL_FSTRING *name);
/* Sets the corporation name of the description as SETAPPNAME sets the application name;
 * "株式会社 ネルヴァー" until set. */
TAMVEL_API void TAMVEL_CALL SETCORPNAME(const char *name);
TAMVEL_API void TAMVEL_CALL SETCORPNAMEF(const TAMVEL_FSTRING *name);
/* 1 when a top-level window belongs to the program file `program_path` (compared as short,
 * lower-case paths); 0 when none does or the file does not exist. Writes what it compared
 * into "task.lst" in the current folder: the program's path, then one line per window up to
 * the one that matched. On Linux the windows are the current user's running processes. */
TAMVEL_API int32_t TAMVEL_CALL TaskActiv(const char *program_path);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_H */
