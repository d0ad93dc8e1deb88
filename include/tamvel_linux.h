/*
 * tamvel_linux.h - playback targets of the Linux build.
 *
 * On Windows the playback calls of tamvel.h (PasteEmf, PrintEmf, ...) take the caller's own
 * device contexts and windows. On Linux these calls make the targets they can play into:
 *
 *   TAMVEL_HDC image = TamvelCreateImageDC(800, 600);       raster image, 96 dpi, white
 *   PasteEmf0(image, window, 0, 0, 800, 600);
 *   TamvelSaveImageDC(image, "page.png");
 *   TamvelDeleteDC(image);
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

/* A raster image of width x height pixels at 96 dpi, white; null if either side is below 1
   or the image would be larger than 32767 pixels a side or 64 million pixels. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateImageDC(int32_t width_px, int32_t height_px);
/* Writes the image as PNG: 0 written, 1 not an image DC, 2 writing failed. */
TAMVEL_API int32_t TAMVEL_CALL TamvelSaveImageDC(TAMVEL_HDC dc, const char *png_path);
/* How an image DC paints lines and fills from now on: crisp on whole pixels as GDI paints
   them, one-pixel pens one pixel wide in full colour (on = 0, what a new image DC does), or
   anti-aliased at their exact positions (on != 0). Text is anti-aliased either way.
   0 done, 1 not an image DC. */
TAMVEL_API int32_t TAMVEL_CALL TamvelSetImageAntialias(TAMVEL_HDC dc, int32_t on);

/* A printer writing a PDF file: paper of width x height millimetres (at most 10 m), printed
   at dpi (10..4800) with physical offsets of the printable area in printer pixels (left and
   right by offset_x, top and bottom by offset_y). Null if the file cannot be made. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreatePrinterDC(const char *pdf_path, double paper_width_mm,
                                                        double paper_height_mm, int32_t dpi,
                                                        int32_t offset_x_px, int32_t offset_y_px);
/* Ends the printer's page; later drawing goes to a new page. 0 done, 1 not a printer DC. */
TAMVEL_API int32_t TAMVEL_CALL TamvelEndPrinterPage(TAMVEL_HDC dc);

/* An SVG drawing of width x height pixels (96 dpi) written to svg_path when deleted. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateSvgDC(const char *svg_path, int32_t width_px,
                                                    int32_t height_px);

/* Deletes a DC made by the calls above; printer and SVG files are completed first.
   0 done, 1 not such a DC. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDeleteDC(TAMVEL_HDC dc);

/* A window whose client area is client_width x client_height pixels; null if either is
   negative. */
TAMVEL_API TAMVEL_HWND TAMVEL_CALL TamvelCreateWindow(int32_t client_width, int32_t client_height);
/* 0 destroyed, 1 not a window. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDestroyWindow(TAMVEL_HWND window);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_LINUX_H */
