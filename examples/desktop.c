/*
 * desktop - the desktop calls of the Linux build, one per command:
 *
 *   desktop page OUT.emf                draws a test page: A4, a 100 mm square at (20, 20) mm
 *   desktop window PAGE.emf SECONDS     shows the page in a window of its size at 96 dpi
 *   desktop clipboard PAGE.emf          copies the page to the desktop clipboard
 *   desktop print PAGE.emf [QUEUE]      prints it at true size on a CUPS queue (default one):
 *                                       on the printable area and on the paper
 *   desktop show PAGE.emf...            shows the pages in the viewer until it is closed
 *
 * Each prints the result codes of the calls it made; the exit status is 0 when all were 0.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tamvel_linux.h"

static int test_page(const char *path) {
  PLOTS(210.0f, 297.0f, 0);
  PENW(0.5f);
  PLOT(20.0f, 20.0f, 3);
  PLOT(120.0f, 20.0f, 2);
  PLOT(120.0f, 120.0f, 2);
  PLOT(20.0f, 120.0f, 2);
  PLOT(20.0f, 20.0f, 2);
  SYMBOL(25.0f, 130.0f, 6.0f, "100 mm", 0.0f, 6);
  PLOT(0.0f, 0.0f, 999);
  return SAVEFILE(path);
}

static int load(const char *path) {
  int result = LOADFILE(path);
  if (result != 0) printf("LOADFILE %s: %d\n", path, result);
  return result;
}

static int window(const char *path, int seconds) {
  int width, height, result;
  TAMVEL_HWND shown;
  TAMVEL_HDC dc;
  if (load(path) != 0) return 1;
  GetEmfSize(&width, &height);
  /* The frame at 96 dpi, rounded as `tamvel render` rounds it. */
  width = (int)(width / 2540.0 * 96 + 0.5);
  height = (int)(height / 2540.0 * 96 + 0.5);
  shown = TamvelCreateWindow(width, height);
  dc = TamvelGetWindowDC(shown);
  result = PasteEmf(dc, shown);
  printf("PasteEmf: %d\n", result);
  fflush(stdout);
  sleep((unsigned)seconds);
  TamvelDeleteDC(dc);
  TamvelDestroyWindow(shown);
  return result;
}

/* One job of two pages: true size on the printable area, then on the paper. */
static int print(const char *path, const char *queue) {
  TAMVEL_HDC printer;
  int on_printable_area, on_paper, sent;
  if (load(path) != 0) return 1;
  printer = TamvelCreateCupsPrinterDC(queue, NULL, 0);
  if (printer == NULL) {
    printf("TamvelCreateCupsPrinterDC: no such queue\n");
    return 1;
  }
  on_printable_area = PrintEmf(printer);
  TamvelEndPrinterPage(printer);
  on_paper = PrintEmf0(printer);
  sent = TamvelDeleteDC(printer);
  printf("PrintEmf: %d\nPrintEmf0: %d\nTamvelDeleteDC: %d\n", on_printable_area, on_paper, sent);
  return on_printable_area || on_paper || sent;
}

int main(int argc, char **argv) {
  const char *command = argc > 2 ? argv[1] : "";
  int i, result;
  if (strcmp(command, "page") == 0) return test_page(argv[2]);
  if (strcmp(command, "window") == 0 && argc == 4) return window(argv[2], atoi(argv[3]));
  if (strcmp(command, "print") == 0) return print(argv[2], argc > 3 ? argv[3] : NULL);
  if (strcmp(command, "clipboard") == 0) {
    if (load(argv[2]) != 0) return 1;
    result = PasteClipboard();
    printf("PasteClipboard: %d\n", result);
    return result;
  }
  if (strcmp(command, "show") == 0) {
    for (i = 2; i < argc; ++i) {
      if (load(argv[i]) != 0) return 1;
      if (i + 1 < argc) CHPAGE(i); /* the next file into the next page */
    }
    result = TamvelShowPages(1, argc - 2, 0);
    printf("TamvelShowPages: %d\n", result);
    return result;
  }
  fprintf(stderr, "usage: desktop page|window|clipboard|print|show ...\n");
  return 2;
}
