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
 *   PasteEmf(TamvelGetWindowDC(window), window);            the window's own client area,
 *                                                           on the screen when there is one
 *   TamvelDestroyWindow(window);
 *
 *   TAMVEL_HDC printer = TamvelCreatePrinterDC("out.pdf", 210.0, 297.0, 600, 100, 100);
 *   PrintEmf(printer);                                      first page
 *   TamvelEndPrinterPage(printer);                          next page
 *   TamvelDeleteDC(printer);                                writes out.pdf
 *
 *   TamvelShowPages(1, 5, 0);                               pages 1..5 in the viewer
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
 * then put under their names, and a CUPS printer's pages are sent as one job. Returns 0 done,
 * 1 not such a DC, 2 the DC is deleted but its PDF or SVG file could not be completed (the
 * disk was full, or the drawing failed): the name holds whatever it held before, never a
 * partial file; for a CUPS printer, the job could not be sent. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDeleteDC(TAMVEL_HDC dc);
/* Makes a window whose client area is client_width x client_height pixels, white, for the
 * calls that play into a window's client area (PasteEmf, PasteEmf1, PasteEmf2). In a desktop
 * session it is a window on the screen, titled with the program's name, that shows what its
 * DCs draw until it is destroyed; elsewhere, or when it cannot be shown, the client area is
 * kept in memory only. Returns null if either size is negative. */
TAMVEL_API TAMVEL_HWND TAMVEL_CALL TamvelCreateWindow(int32_t client_width, int32_t client_height);
/* Makes a DC that draws into the window's client area: device pixels of 96 dpi, (0, 0) at the
 * top left, for PasteEmf, PasteEmf0, PasteEmf1 and PasteEmf2; TamvelSaveImageDC saves what
 * the client area shows. Each call makes another DC on the same client area; delete it with
 * TamvelDeleteDC (TamvelDestroyWindow deletes those left). Returns null if window is not a
 * window of TamvelCreateWindow or its client area is empty or larger than an image may be. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelGetWindowDC(TAMVEL_HWND window);
/* Destroys a window of TamvelCreateWindow, closing it on the screen and deleting its DCs.
 * Returns 0 destroyed, 1 not such a window. */
TAMVEL_API int32_t TAMVEL_CALL TamvelDestroyWindow(TAMVEL_HWND window);

/* ---------------------------------------------------------------- desktop ---- */

/* Makes a printer on a CUPS queue, for PrintEmf, PrintEmf0, PrintEmfF and PrintEmfF1: `queue`
 * is the queue's name (null: the default queue), `paper` the paper's name as the queue knows
 * it ("A4", "Letter", "iso_a4_210x297mm"; null: the queue's default paper), `dpi` the
 * resolution of the DC's device pixels (10..4800; 0: the queue's default resolution, 300
 * when it announces none). GetDeviceCaps answers PHYSICALWIDTH and PHYSICALHEIGHT with the
 * paper, PHYSICALOFFSETX and PHYSICALOFFSETY with its left and top unprintable margins,
 * HORZRES and VERTRES with the printable area (the paper less the margins the queue gives
 * on each side) in device pixels, and LOGPIXELSX and LOGPIXELSY with dpi. Pages end with
 * TamvelEndPrinterPage; TamvelDeleteDC sends them as one job on that paper. Returns null
 * when the queue or its paper is unknown, dpi is out of range, no CUPS scheduler answers or
 * the CUPS module (libtamvel-cups.so) is not installed. */
TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateCupsPrinterDC(const char *queue, const char *paper,
                                                            int32_t dpi);

/* TamvelShowPages flag: return as soon as the viewer shows the pages. */
#define TAMVEL_SHOW_NO_WAIT 1

/* Shows the finished pages first..last (page numbers 1..100, clamped; pages without a
 * finished metafile are left out) in the viewer, as thumbnails and one page large, as
 * `tamvel view` shows files. Without TAMVEL_SHOW_NO_WAIT in `flags` the call returns when
 * the viewer is closed. Returns 0 shown (and closed, when waited for), 1 no page in the
 * range has a finished metafile, 2 no desktop session, 3 the viewer (tamvel-viewer) is not
 * installed or could not show the pages, 4 the pages could not be handed to the viewer
 * (its temporary files could not be written). */
TAMVEL_API int32_t TAMVEL_CALL TamvelShowPages(int32_t first, int32_t last, int32_t flags);

#ifdef __cplusplus
}
#endif

#endif /* TAMVEL_LINUX_H */
