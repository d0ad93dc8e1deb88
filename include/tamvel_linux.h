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
 *   TAMVEL_HWND window = TamvelCreateWindow(800, 600);      on the screen when there is one
 *   PasteEmf(TamvelGetWindowDC(window), window);
 *   TamvelShowPages(1, 5, 0);                               the viewer, until it is closed
 *
 * A printer DC answers GetDeviceCaps PHYSICALWIDTH/HEIGHT/OFFSETX/OFFSETY from its paper
 * size, resolution and offsets; nothing is drawn outside the printable area (the paper less
 * its unprintable margins). Every call returns null or non-zero on a bad argument; none of
 * them throws.
 *
 * The desktop calls (windows on the screen, CUPS queues, the viewer, and the desktop
 * clipboard that PasteClipboard also fills) use programs and modules installed with the
 * library (tamvel-viewer, libtamvel-cups.so) and start or load them only when called, so a
 * program that never uses them loads no toolkit, no printing library and opens no display.
 * A desktop session is one where WAYLAND_DISPLAY or DISPLAY is set.
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

/* A printer on a CUPS queue: queue is its name (null: the default queue), paper the paper's
   name as the queue knows it ("A4", "iso_a4_210x297mm", "na_letter_8.5x11in"; null: the
   queue's default paper), dpi the resolution of the DC's device pixels (10..4800; 0: the
   queue's default, 300 when it announces none). GetDeviceCaps answers PHYSICALWIDTH/HEIGHT
   with the paper in device pixels, PHYSICALOFFSETX/Y with the left and top unprintable
   margins, HORZRES/VERTRES with the printable area and LOGPIXELSX/Y with dpi; the printable
   area is the paper less the margins the queue gives for it. Pages end with
   TamvelEndPrinterPage; TamvelDeleteDC sends all pages as one job on that paper. Null when
   the queue or the paper is unknown, dpi is out of range, no CUPS scheduler answers or
   the CUPS module is not installed. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateCupsPrinterDC(const char *queue, const char *paper,
                                                            int32_t dpi);

/* Deletes a DC made by the calls above; printer and SVG files are completed first, and a
   CUPS printer's job is sent. 0 done; 1 not such a DC; 2 the CUPS queue refused the job (the
   DC is deleted all the same). */
TAMVEL_API int32_t TAMVEL_CALL TamvelDeleteDC(TAMVEL_HDC dc);

/* A window whose client area is client_width x client_height pixels, white; null if either
   is negative. In a desktop session it is a top-level window on the screen, titled with the
   program's name, showing what its DC draws until it is destroyed (when the window cannot be
   shown the window still works off the screen); elsewhere it is that client area in memory. */
TAMVEL_API TAMVEL_HWND TAMVEL_CALL TamvelCreateWindow(int32_t client_width, int32_t client_height);
/* The window's DC: 96 dpi device pixels on its client area (0, 0 top left), which PasteEmf,
   PasteEmf0, PasteEmf1 and PasteEmf2 draw into; TamvelSaveImageDC saves what it shows. Each
   call gives a new DC on the same client area; delete it with TamvelDeleteDC (the window
   deletes those left when destroyed). Null if window is not a window or the client area is
   empty. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelGetWindowDC(TAMVEL_HWND window);
/* Closes the window and deletes its DCs. 0 destroyed, 1 not a window. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDestroyWindow(TAMVEL_HWND window);

/* TamvelShowPages flag: return as soon as the viewer shows the pages. */
#define TAMVEL_SHOW_NO_WAIT 1

/* Shows the finished pages first..last (page numbers 1..100, clamped; pages without a
   finished metafile are left out) in the viewer, one thumbnail each and one page large, as
   `tamvel view` shows files. Without TAMVEL_SHOW_NO_WAIT the call returns when the viewer is
   closed. 0 shown (and closed, when waited for); 1 no page in the range has a finished
   metafile; 2 no desktop session; 3 the viewer is not installed or could not show the pages;
   4 the pages could not be handed to the viewer (temporary files). */
TAMVEL_API int32_t TAMVEL_CALL TamvelShowPages(int32_t first, int32_t last, int32_t flags);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_LINUX_H */
