/* Plays a page into a PNG image, a PDF file and an SVG drawing with the calls of
 * tamvel_linux.h: what `tamvel render` does, from a program.
 *
 *   cc render_page.c -o render_page $(pkg-config --cflags --libs tamvel)
 *   ./render_page first_page.emf      writes first_page.png, first_page.pdf, first_page.svg
 */
#include <stdio.h>
#include <string.h>
#include <tamvel_linux.h>

int main(int argc, char **argv) {
  char base[1000], path[1024];
  int32_t width, height; /* the page's frame in 0.01 mm */
  int32_t pixel_width, pixel_height;
  TAMVEL_HWND window;
  TAMVEL_HDC image, printer, svg;
  int failures = 0;

  if (argc != 2 || strlen(argv[1]) >= sizeof base) {
    fprintf(stderr, "usage: render_page PAGE.emf\n");
    return 2;
  }
  snprintf(base, sizeof base, "%s", argv[1]);
  if (strrchr(base, '.') != NULL) *strrchr(base, '.') = '\0';

  /* The file becomes the current page's finished metafile, as if just drawn. */
  if (LOADFILE(argv[1]) != 0 || GetEmfSize(&width, &height) != 0) {
    fprintf(stderr, "render_page: %s is not an enhanced metafile\n", argv[1]);
    return 1;
  }
  /* 150 dpi: 0.01 mm to pixels. */
  pixel_width = (int32_t)(width / 2540.0 * 150.0 + 0.5);
  pixel_height = (int32_t)(height / 2540.0 * 150.0 + 0.5);

  /* PNG: an image DC and a window of the same size; PasteEmf fills the client area. */
  window = TamvelCreateWindow(pixel_width, pixel_height);
  image = TamvelCreateImageDC(pixel_width, pixel_height);
  snprintf(path, sizeof path, "%s.png", base);
  if (PasteEmf(image, window) != 0 || TamvelSaveImageDC(image, path) != 0) ++failures;
  TamvelDeleteDC(image);
  TamvelDestroyWindow(window);

  /* PDF: a printer with paper of the page's size and no margins; PrintEmf prints at true
   * size. The file is complete when the DC is deleted. */
  snprintf(path, sizeof path, "%s.pdf", base);
  printer = TamvelCreatePrinterDC(path, width / 100.0, height / 100.0, 600, 0, 0);
  if (printer == NULL || PrintEmf(printer) != 0) ++failures;
  TamvelDeleteDC(printer);

  /* SVG: played into the rectangle of the whole drawing. */
  snprintf(path, sizeof path, "%s.svg", base);
  svg = TamvelCreateSvgDC(path, pixel_width, pixel_height);
  window = TamvelCreateWindow(pixel_width, pixel_height);
  if (svg == NULL || PasteEmf0(svg, window, 0, 0, pixel_width, pixel_height) != 0) ++failures;
  TamvelDeleteDC(svg);
  TamvelDestroyWindow(window);

  if (failures != 0) {
    fprintf(stderr, "render_page: %d of the three pictures failed\n", failures);
    return 1;
  }
  printf("wrote %s.png, %s.pdf and %s.svg\n", base, base, base);
  return 0;
}
