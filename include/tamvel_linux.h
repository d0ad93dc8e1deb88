/*
 * tamvel_linux.h - playback targets of the Linux build.
 *
 * On Windows the playback calls of tamvel.h (PasteEmf, PrintEmf, ...) take the caller's own
 * device contexts and windows. On Linux these calls make the targets they can play into:
 *
 *   TAMVEL_HWND window = TamvelCreateWindow(800, 600);      a client area of 800 x 600
 *   TAMVEL_HDC image = TamvelCreateImageDC(800, 600);       raster image, 96 dpi, white
 *   PasteEmf(image, window);                                the page over the client area
 *   TamvelSaveImageDC(image, "page.png");
 *   TamvelDeleteDC(image);
 *   TamvelDestroyWindow(window);
 *
 *   TAMVEL_HDC printer = TamvelCreatePrinterDC("out.pdf", 210.0, 297.0, 600, 100, 100);
 *   PrintEmf(printer);                                      first page
 *   TamvelEndPrinterPage(printer);                          next page
 *   TamvelDeleteDC(printer);                                writes out.pdf
 *
 * A printer DC answers GetDeviceCaps PHYSICALWIDTH/HEIGHT/OFFSETX/OFFSETY from its paper
 * size, resolution and offsets; nothing is drawn outside the printable area (the paper less
 * the offsets on every side). A window is only a client area of a given size, for the calls
 * that play into a window's client rectangle. Every call returns null or non-zero on a bad
 * argument; none of them throws.
 */
#ifndef TAMVEL_LINUX_H
#define TAMVEL_LINUX_H

#include "tamvel.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------- linux targets ---- */

/* Makes a raster image of width_px x height_px pixels at 96 dpi, white, to play pages into
 * (PasteEmf0, PasteEmf1, ...). Returns null if either side is below 1, or the image would
 * be larger than 32767 pixels a side or 64 million pixels. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateImageDC(int32_t width_px, int32_t height_px);
/* Writes the image of an image DC as a PNG file. Returns 0 written, 1 not an image DC,
 * 2 writing failed (or a null path): a file already under that name is left as it was, and
 * no partial file is left. */
TAMVEL_API int32_t TAMVEL_CALL TamvelSaveImageDC(TAMVEL_HDC dc, const char *png_path);
/* Chooses how an image DC paints lines and fills from now on. With on = 0 (what a new image
 * DC does) they are crisp on whole pixels as GDI paints them, one-pixel pens one pixel wide
 * in full colour; with on != 0 they are anti-aliased at their exact positions. Text is
 * anti-aliased either way. Returns 0 done, 1 not an image DC. */
TAMVEL_API int32_t TAMVEL_CALL TamvelSetImageAntialias(TAMVEL_HDC dc, int32_t on);
/* Makes a printer that writes a PDF file, for PrintEmf and its variants: paper of
 * paper_width_mm x paper_height_mm (above 0, at most 10 m), printed at `dpi` (10..4800),
 * with a margin of offset_x_px printer pixels on the left and right and offset_y_px at the
 * top and bottom (at least 0, less than half the paper). GetDeviceCaps answers
 * PHYSICALWIDTH, PHYSICALHEIGHT, PHYSICALOFFSETX and PHYSICALOFFSETY from these; nothing is
 * drawn outside the printable area. Returns null for a bad argument or a file that cannot be
 * made. The file is complete after TamvelDeleteDC. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreatePrinterDC(const char *pdf_path, double paper_width_mm,
                                                        double paper_height_mm, int32_t dpi,
                                                        int32_t offset_x_px, int32_t offset_y_px);
/* Ends the printer's page; what is printed afterwards goes onto a new page. Returns 0 done,
 * 1 not a printer DC. */
TAMVEL_API int32_t TAMVEL_CALL TamvelEndPrinterPage(TAMVEL_HDC dc);
/* Makes an SVG drawing of width_px x height_px pixels (96 dpi), written to svg_path when
 * the DC is deleted. Returns null if either side is below 1 or above 32767, or the file
 * cannot be made (for instance its folder does not exist). */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateSvgDC(const char *svg_path, int32_t width_px,
                                                    int32_t height_px);
/* Deletes a DC made by the calls above; printer and SVG files are completed first and only
 * then put under their names. Returns 0 done, 1 not such a DC, 2 the DC is deleted but its
 * PDF or SVG file could not be completed (the disk was full, or the drawing failed): the name
 * holds whatever it held before, never a partial file. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDeleteDC(TAMVEL_HDC dc);
/* Makes a window whose client area is client_width x client_height pixels, for the calls
 * that play into a window's client area (PasteEmf, PasteEmf1, PasteEmf2). It is not shown on
 * any screen. Returns null if either size is negative. */
TAMVEL_API TAMVEL_HWND TAMVEL_CALL TamvelCreateWindow(int32_t client_width, int32_t client_height);
/* Destroys a window of TamvelCreateWindow. Returns 0 destroyed, 1 not such a window. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDestroyWindow(TAMVEL_HWND window);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_LINUX_H */
