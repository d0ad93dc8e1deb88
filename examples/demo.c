/*
 * demo - draws a few A4 pages with the plotting interface and saves each as an enhanced
 * metafile: demo-page-1.emf, demo-page-2.emf, ... in the folder given on the command line
 * (default "out"; the folder must exist).
 *
 * Each page is one function; add a page by writing a function and listing it in kPages.
 * The pages follow each other with pen code 5 (move, then go on to the next page), which
 * keeps the paper size but starts every page with a fresh coordinate system and the pen
 * its page slot held last; every page therefore sets its own pen.
 */
#include <math.h>
#include <stdio.h>

#include "tamvel.h"

#define PAGE_WIDTH 210.0f
#define PAGE_HEIGHT 297.0f
#define MARGIN 10.0f

/* Pen colour codes of the fixed table. */
enum { BLACK = 0, BLUE = 1, RED = 2, MAGENTA = 3, GREEN = 4, CYAN = 5, DARK_GREY = 8, GREY = 15 };

static void rectangle(float x1, float y1, float x2, float y2) {
  PLOT(x1, y1, 3);
  PLOT(x2, y1, 2);
  PLOT(x2, y2, 2);
  PLOT(x1, y2, 2);
  PLOT(x1, y1, 2);
}

/* A frame 10 mm inside the paper edge and a grid of 10 mm squares inside it. */
static void draw_frame_and_grid(void) {
  float x, y;
  PENW(0.05f);
  PENC(-1, 700, 800, 996); /* light blue, from an RGB triple on the 0..996 scale */
  for (x = MARGIN; x <= PAGE_WIDTH - MARGIN + 0.01f; x += 10.0f) {
    PLOT(x, MARGIN, 3);
    PLOT(x, PAGE_HEIGHT - MARGIN, 2);
  }
  for (y = MARGIN; y <= PAGE_HEIGHT - MARGIN + 0.01f; y += 10.0f) {
    PLOT(MARGIN, y, 3);
    PLOT(PAGE_WIDTH - MARGIN, y, 2);
  }
  PEN(5); /* 0.5 mm */
  PENC(BLACK, 0, 0, 0);
  rectangle(MARGIN, MARGIN, PAGE_WIDTH - MARGIN, PAGE_HEIGHT - MARGIN);
}

/* Page 1: the framed grid with a red box and its diagonals. */
static void draw_page_frame(void) {
  draw_frame_and_grid();
  PEN(3);
  PENC(RED, 0, 0, 0);
  rectangle(50.0f, 100.0f, 160.0f, 200.0f);
  PLOT(50.0f, 100.0f, 3);
  PLOT(160.0f, 200.0f, 2);
  PLOT(50.0f, 200.0f, 3);
  PLOT(160.0f, 100.0f, 2);
}

/* Page 2: lines in pen width codes, widths in millimetres and colours. */
static void draw_page_lines(void) {
  static const int32_t width_codes[] = {0, 1, 3, 5, 10, -3, -10};
  static const int32_t colours[] = {BLACK, BLUE, RED, MAGENTA, GREEN, CYAN, DARK_GREY, GREY};
  size_t i;
  float y = 270.0f;
  draw_frame_and_grid();

  PENC(BLACK, 0, 0, 0);
  for (i = 0; i < sizeof width_codes / sizeof width_codes[0]; ++i, y -= 10.0f) {
    PEN(width_codes[i]); /* tenths of a millimetre, negative: dots of 1/300 inch */
    PLOT(30.0f, y, 3);
    PLOT(180.0f, y, 2);
  }
  for (i = 0; i < 6; ++i, y -= 10.0f) {
    PENW(0.2f + 0.3f * (float)i); /* millimetres */
    PLOT(30.0f, y, 3);
    PLOT(180.0f, y, 2);
  }
  PEN(8);
  for (i = 0; i < sizeof colours / sizeof colours[0]; ++i, y -= 10.0f) {
    PENC(colours[i], 0, 0, 0);
    PLOT(30.0f, y, 3);
    PLOT(180.0f, y, 2);
  }
  /* A colour ramp from RGB triples. */
  PEN(20);
  for (i = 0; i <= 15; ++i) {
    const int32_t level = (int32_t)(i * 996 / 15);
    PENC(-1, level, 300, 996 - level);
    PLOT(30.0f + 9.0f * (float)i, 40.0f, 3);
    PLOT(39.0f + 9.0f * (float)i, 40.0f, 2);
  }
}

/* A square of side `size` centred on the origin. */
static void centred_square(float size) {
  const float h = size / 2.0f;
  rectangle(-h, -h, h, h);
}

/* Page 3: origin shifts, scale factor and rotation. */
static void draw_page_transforms(void) {
  int i;
  draw_frame_and_grid();

  /* A fan of rotated squares about an origin moved to (60, 220). */
  PEN(2);
  PLOT(60.0f, 220.0f, -3);
  for (i = 0; i < 9; ++i) {
    PENC(-1, 996 - i * 110, i * 110, 500);
    ROTATE(10.0f * (float)i);
    centred_square(60.0f);
  }
  ROTATE(0.0f);

  /* The same square at factors 1, 2, 4 about an origin moved by (90, 0) from there. */
  PENC(BLUE, 0, 0, 0);
  PLOT(90.0f, 0.0f, -3);
  for (i = 1; i <= 4; i *= 2) {
    FACTOR((float)i);
    centred_square(60.0f);
  }
  FACTOR(1.0f);

  /* A spiral drawn in polar steps, continuing with the last-point rule (999). */
  PENC(RED, 0, 0, 0);
  PLOT(-45.0f, -120.0f, -3);
  PLOT(0.0f, 0.0f, 3);
  for (i = 1; i <= 720; ++i) {
    const float a = (float)i * 3.14159265f / 90.0f;
    const float r = 0.06f * (float)i;
    PLOT(r * cosf(a), r * sinf(a), 2);
  }
  PLOT(999.0f, -60.0f, 2); /* straight down from the spiral's end */
}

typedef void (*PageFunction)(void);
static const PageFunction kPages[] = {draw_page_frame, draw_page_lines, draw_page_transforms};
#define PAGE_COUNT ((int)(sizeof kPages / sizeof kPages[0]))

int main(int argc, char **argv) {
  const char *folder = argc > 1 ? argv[1] : "out";
  char path[1024];
  int page;
  int failures = 0;

  PLOTS(PAGE_WIDTH, PAGE_HEIGHT, 0);
  for (page = 0; page < PAGE_COUNT; ++page) {
    if (page > 0) PLOT(0.0f, 0.0f, 5); /* close this page, open the next of the same size */
    kPages[page]();
  }
  PLOT(0.0f, 0.0f, 999);

  for (page = 0; page < PAGE_COUNT; ++page) {
    int32_t result;
    CHPAGE(page + 1);
    snprintf(path, sizeof path, "%s/demo-page-%d.emf", folder, page + 1);
    result = SAVEFILE(path);
    if (result == 0) {
      printf("%s\n", path);
    } else {
      fprintf(stderr, "demo: saving %s failed with code %d%s\n", path, (int)result,
              result == 3 ? " (does the folder exist?)" : "");
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
