/*
 * demo - draws a few A4 pages with the plotting interface and saves each as an enhanced
 * metafile: demo-page-1.emf, demo-page-2.emf, ... in the folder given on the command line
 * (default "out", made when it does not exist).
 *
 * Each page is one function; add a page by writing a function and listing it in kPages.
 * The pages follow each other with pen code 5 (move, then go on to the next page), which
 * keeps the paper size but starts every page with a fresh coordinate system and the pen
 * its page slot held last; every page therefore sets its own pen.
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

/* Page 4: a chart of patterned lines, fills, wedges, marks, arrows and clipping. */
static void draw_page_shapes(void) {
  static const float pie[6] = {0.0f, 70.0f, 150.0f, 200.0f, 270.0f, 360.0f};
  static const float clip_x[3] = {180.0f, 198.0f, 162.0f};
  static const float clip_y[3] = {15.0f, 36.0f, 36.0f};
  float x[60], y[60];
  int i, pattern, code;

  /* A grid and one sine curve in each dash pattern of LINE6, with a DASHP base line. */
  PENW(0.1f);
  PENC(GREY, 0, 0, 0);
  GRID(20.0f, 195.0f, 10.0f, 10.0f, 17, 8);
  PENW(0.3f);
  for (pattern = 1; pattern <= 11; ++pattern) {
    for (i = 0; i < 60; ++i) {
      x[i] = 20.0f + 2.8f * (float)i;
      y[i] = 197.0f + 6.5f * (float)pattern + 2.5f * sinf(0.25f * (float)i + (float)pattern);
    }
    PENC(pattern % 6, 0, 0, 0);
    LINE6(pattern, x, y, 60);
  }
  PENC(BLACK, 0, 0, 0);
  PLOT(20.0f, 190.0f, 3);
  DASHP(190.0f, 190.0f, 2.0f);

  /* Hatched bars, one for each fill pattern 2..15, in the text and background colours. */
  TEXTC(12, 0, 0, 0);
  SETBKC(7, 0, 0, 0);
  PENW(0.2f);
  for (pattern = 2; pattern <= 15; ++pattern) {
    const float left = 20.0f + 12.0f * (float)(pattern - 2);
    RECTF(left, 120.0f, left + 9.0f, 130.0f + 4.0f * (float)(pattern % 7 + 1), pattern);
  }

  /* A pie of wedges, solid and patterned, with an arc around it. */
  for (i = 0; i < 5; ++i) {
    FILLC(i + 1, 0, 0, 0);
    TEXTC(i + 9, 0, 0, 0);
    WEDGE(55.0f, 70.0f, 30.0f, pie[i], pie[i + 1], 0, i % 2 ? 1 : 3 + i);
  }
  PENC(RED, 0, 0, 0);
  ARC(55.0f, 70.0f, 34.0f, 0.0f, 270.0f, 0);
  ARCC(55.0f, 70.0f, 36.0f, 0.0f, 90.0f);

  /* Every drawn mark at data points, joined by lines (ipen -2). */
  PENC(10, 0, 0, 0);
  FILLC(7, 0, 0, 0);
  PLOT(18.0f, 280.0f, 3);
  for (code = 0; code <= 11; ++code) {
    CTSYM2(25.0f + 14.0f * (float)code, 275.0f + 3.0f * (float)(code % 3), 5.0f, code, 0.0f, -2);
  }
  PENC(9, 0, 0, 0);
  for (code = 0; code <= 14; ++code) {
    CTSYMB(25.0f + 11.0f * (float)code, 262.0f, 5.0f, code, 0.0f, 0);
  }

  /* Arrows in the eight head styles: head only, with shaft, with a second head. */
  PENC(BLACK, 0, 0, 0);
  for (i = 1; i <= 8; ++i) {
    AROWHD(105.0f, 110.0f - 6.0f * (float)i, 160.0f, 110.0f - 6.0f * (float)i, 4.0f, 3.0f,
           i + 10 * (i % 3));
  }

  /* A clipped region: a frame with a hole and a triangle added, crossed by red lines. */
  SETCLIP(165.0f, 40.0f, 195.0f, 110.0f);
  DIFFCLIP(172.0f, 50.0f, 188.0f, 100.0f);
  ADDCLIPP(clip_x, clip_y, 3);
  PENC(RED, 0, 0, 0);
  for (i = 0; i < 40; ++i) {
    PLOT(140.0f, 5.0f + 3.0f * (float)i, 3);
    PLOT(200.0f, 35.0f + 3.0f * (float)i, 2);
  }
  RESETCLIP();
  PENC(BLACK, 0, 0, 0);
}

/* Shift-JIS texts of the text page. */
#define TEXT_TITLE /* 文字の描画：日本語と英数字 */ \
  "\x95\xB6\x8E\x9A\x82\xCC\x95`\x89\xE6\x81"                    \
  "F\x93\xFA\x96{\x8C\xEA\x82\xC6\x89p\x90\x94\x8E\x9A"
#define TEXT_TIME /* 時間 (秒) */ \
  "\x8E\x9E\x8A\xD4 (\x95"           \
  "b)"
#define TEXT_TEMPERATURE /* 温度 [℃] */ "\x89\xB7\x93x [\x81\x8E]"
#define TEXT_VERTICAL /* 縦書きの説明文ＡＢ12 */      \
  "\x8F"                                                       \
  "c\x8F\x91\x82\xAB\x82\xCC\x90\xE0\x96\xBE\x95\xB6\x82`\x82" \
  "a12"
#define TEXT_ENCLOSED /* 囲み文字 */ "\x88\xCD\x82\xDD\x95\xB6\x8E\x9A"
#define TEXT_MARKS /* 記号マーク（CTSYM1） */ "\x8BL\x8D\x86\x83}\x81[\x83N\x81iCTSYM1\x81j"
#define TEXT_ROUND /* 丸ゴシックの文字 */ \
  "\x8A\xDB\x83S\x83V\x83"                        \
  "b\x83N\x82\xCC\x95\xB6\x8E\x9A"
#define TEXT_SLANTED /* 斜め30度の文字 */ \
  "\x8E\xCE\x82\xDF"                            \
  "30\x93x\x82\xCC\x95\xB6\x8E\x9A"
#define TEXT_ROOT /* 平方根： */ \
  "\x95\xBD\x95\xFB\x8D\xAA\x81"     \
  "F"
#define TEXT_RADICAND /* ｘ＋１ */ "\x82\x98\x81{\x82P"

/* Page: text - a Japanese title, a chart whose axes are labelled with SYMBOL and NUMBER,
 * a vertical caption, an enclosed label, a root-sign expression and a row of symbol marks. */
static void draw_page_text(void) {
  int32_t i;
  draw_frame_and_grid();
  PEN(2);
  PENC(BLACK, 0, 0, 0);
  TEXTC(BLACK, 0, 0, 0);

  /* The title, 8 mm high, centred on the page. */
  SETFON(0, 0);
  KANJI2(105.0f, 262.0f, 8.0f, TEXT_TITLE, 0.0f, 0, 1);

  /* A chart: time 0..10 s along x (30..150 mm), temperature 0..40 along y (150..230 mm). */
  PLOT(30.0f, 230.0f, 3);
  PLOT(30.0f, 150.0f, 2);
  PLOT(150.0f, 150.0f, 2);
  for (i = 0; i <= 10; i += 2) {
    const float x = 30.0f + 12.0f * (float)i;
    PLOT(x, 150.0f, 3);
    PLOT(x, 148.0f, 2);
    NUMBR2(x, 143.0f, 3.0f, (float)i, 0.0f, -1, 1);
  }
  for (i = 0; i <= 40; i += 10) {
    const float y = 150.0f + 2.0f * (float)i;
    PLOT(30.0f, y, 3);
    PLOT(28.0f, y, 2);
    NUMBR2(26.0f, y - 1.5f, 3.0f, (float)i, 0.0f, 1, 0);
  }
  SETFON(6, 0);
  SYMBL2(90.0f, 136.0f, 4.0f, "time t [s]", 0.0f, 10, 1);
  SYMBL2(12.0f, 190.0f, 4.0f, "temperature T", 90.0f, 13, 1);
  KANJI2(150.0f, 136.0f, 3.5f, TEXT_TIME, 0.0f, 0, 0);
  PENC(RED, 0, 0, 0);
  PEN(3);
  PLOT(30.0f, 150.0f, 3);
  for (i = 0; i <= 50; ++i) {
    const float t = 0.2f * (float)i;
    PLOT(30.0f + 12.0f * t, 150.0f + 2.0f * 40.0f * (1.0f - expf(-t / 3.0f)), 2);
  }
  /* The last value, written where the curve ended (999 continues at the last point). */
  SYMBOL(999.0f, 999.0f, 3.0f, " T=", 0.0f, 3);
  NUMBER(999.0f, 999.0f, 3.0f, 40.0f * (1.0f - expf(-10.0f / 3.0f)), 0.0f, 2);
  PENC(BLACK, 0, 0, 0);
  PEN(2);
  KANJI2(30.0f, 232.0f, 3.5f, TEXT_TEMPERATURE, 0.0f, 0, 2);

  /* A vertical caption down the right-hand side. */
  SETFON(0, 0);
  KANJI(180.0f, 240.0f, 6.0f, TEXT_VERTICAL, 0.0f, -10);

  /* An enclosed label, a slanted text, a round gothic text. */
  KANJI2(50.0f, 112.0f, 5.0f, TEXT_ENCLOSED, 0.0f, 0, 1001);
  KANJI(100.0f, 100.0f, 5.0f, TEXT_SLANTED, 30.0f, 0);
  SETFON(2, 0);
  KANJI(100.0f, 85.0f, 5.0f, TEXT_ROUND, 0.0f, 0);

  /* A root-sign expression continuing a text. */
  SETFON(0, 0);
  KANJI(30.0f, 85.0f, 5.0f, TEXT_ROOT, 0.0f, 0);
  ROOTK2(999.0f, 999.0f, 5.0f, TEXT_RADICAND, 0.0f, 0, 2);

  /* The sixteen symbol marks in a row, in blue, with their caption. */
  KANJI(30.0f, 62.0f, 4.0f, TEXT_MARKS, 0.0f, 0);
  PENC(BLUE, 0, 0, 0);
  for (i = 0; i < 16; ++i) CTSYM1(34.0f + 9.0f * (float)i, 50.0f, 6.0f, i, 0.0f, 3);
  PENC(BLACK, 0, 0, 0);
}

/* Saves the current page; when writing fails (3) the folder may be missing: it is made with
   the shell's mkdir, which both Windows and POSIX shells know, and the page saved again. */
static int32_t save_page(const char *folder, const char *path) {
  char command[1100];
  int32_t result = SAVEFILE(path);
  if (result != 3 || strchr(folder, '"') != NULL) return result;
  snprintf(command, sizeof command, "mkdir \"%s\"", folder);
  if (system(command) != 0) return result;
  return SAVEFILE(path);
}

typedef void (*PageFunction)(void);
static const PageFunction kPages[] = {draw_page_frame, draw_page_lines, draw_page_transforms,
                                      draw_page_text, draw_page_shapes};
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
    result = save_page(folder, path);
    if (result == 0) {
      printf("%s\n", path);
    } else {
      fprintf(stderr, "demo: saving %s failed with code %d\n", path, (int)result);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
