/*
 * code_tables - draws the code tables of the reference with the library itself: fill
 * patterns, line types, dash patterns, marks, arrow heads, typefaces, colours and number
 * formats, one page each, saved as <folder>/<table>.emf (default folder "out"; it must
 * exist). docs/tables/ holds these pages as pictures, which docs/reference.md shows beside
 * the calls they belong to and the test suite compares with what this program draws.
 *
 * Each table is one function; add one by writing a function and listing it in kTables.
 */
#include <stdio.h>

#include "tamvel.h"

enum { BLACK = 0, BLUE = 1, WHITE = 7, GREY = 15, LIGHT = -1 };
enum { REGULAR = 400, BOLD = 700 };

/* Shift-JIS texts: 永日本語Abc123 and 日本語ＡＢ１２. */
#define SAMPLE_TEXT "\x89\x69\x93\xFA\x96\x7B\x8C\xEA\x41\x62\x63\x31\x32\x33"
#define VERTICAL_TEXT "\x93\xFA\x96\x7B\x8C\xEA\x82\x60\x82\x61\x82\x50\x82\x51"

/* The pen for frames and guides: thin, and light grey where it only guides the eye. */
static void guide_pen(int colour) {
  PEN(0);
  if (colour == LIGHT) {
    PENC(-1, 760, 760, 760);
  } else {
    PENC(colour, 0, 0, 0);
  }
}

/* Text in the gothic typeface, horizontal, black, spaced as KANJI spaces it (SYMBOL would
 * space every letter 6/7 of the height apart); align as for KANJI2 (0 right, 1 centre,
 * 2 left). */
static void label(float x, float y, float height, const char *text, int32_t align) {
  TEXTC(BLACK, 0, 0, 0);
  SETFON(6, 0);
  KANJI2(x, y, height, text, 0.0f, 0, align);
}

static void title(float x, float y, const char *text) {
  SETWEIGHT(BOLD);
  label(x, y, 4.0f, text, 2);
  SETWEIGHT(REGULAR);
}

/* Fine cross-hairs through a mark's centre. */
static void cross_hairs(float x, float y, float half) {
  guide_pen(LIGHT);
  PLOT(x - half, y, 3);
  PLOT(x + half, y, 2);
  PLOT(x, y - half, 3);
  PLOT(x, y + half, 2);
}

static void draw_fill_patterns(void) {
  static const char *const names[16] = {"0 hollow",           "1 solid",
                                        "2 horizontal lines", "3 diagonals, rising",
                                        "4 vertical lines",   "5 diagonals, falling",
                                        "6 square grid",      "7 diagonal grid",
                                        "8 bricks",           "9 staggered dots",
                                        "10 checkerboard",    "11 sparse dots",
                                        "12 staggered 2 x 2", "13 very sparse dots",
                                        "14 broad bands",     "15 staggered 4 x 2"};
  int code;
  title(6.0f, 100.0f, "FILLPT(pattern)   patterns 2..15 in TEXTC on SETBKC");
  for (code = 0; code < 16; ++code) {
    const float x = 6.0f + 45.0f * (float)(code % 4);
    const float y = 80.0f - 24.0f * (float)(code / 4);
    guide_pen(BLACK);
    FILLC(GREY, 0, 0, 0);
    TEXTC(BLACK, 0, 0, 0);
    SETBKC(WHITE, 0, 0, 0);
    RECTF(x, y, x + 40.0f, y + 14.0f, code);
    label(x, y - 5.0f, 3.0f, names[code], 2);
  }
}

static void draw_line_types(void) {
  static const char *const names[6] = {"0 solid",    "1 dotted",       "2 dashed",
                                       "3 dash-dot", "4 dash-dot-dot", "5 none"};
  int code;
  title(6.0f, 56.0f, "LNTYPE0(0, code)");
  for (code = 0; code < 6; ++code) {
    const float y = 46.0f - 8.0f * (float)code;
    label(6.0f, y - 1.2f, 3.0f, names[code], 2);
    guide_pen(BLACK);
    LNTYPE0(0, code);
    PLOT(45.0f, y, 3);
    PLOT(144.0f, y, 2);
    LNTYPE0(0, 0);
  }
}

static void draw_line_patterns(void) {
  static const char *const lengths[12] = {
      "0 solid",          "1  1.0 0.5",  "2  2.5 0.5",  "3  5.5 0.5",  "4  5.0 0.5 0.5 0.5",
      "5  4.5 0.5 x 5",   "6  0.5 0.25", "7  1.0 0.25", "8  2.0 0.25", "9  1.75 0.25 x 3",
      "10  1.5 0.25 x 5", "11  2.0 1.5"};
  int pattern;
  title(6.0f, 104.0f, "LINE6(pattern, x, y, n)   dash and gap lengths in mm");
  for (pattern = 0; pattern <= 11; ++pattern) {
    const float y = 94.0f - 8.0f * (float)pattern;
    const float x[3] = {62.0f, 128.0f, 144.0f};
    const float yy[3] = {y, y, y + 4.0f};
    label(6.0f, y - 1.2f, 3.0f, lengths[pattern], 2);
    PENC(BLACK, 0, 0, 0);
    PENW(0.3f);
    LINE6(pattern, x, yy, 3);
  }
}

/* One mark call drawn for codes 0..count-1, `columns` to a row. */
typedef void(TAMVEL_CALL *MarkCall)(float x, float y, float height, int32_t code, float angle,
                                    int32_t ipen);

static void draw_marks(MarkCall mark, int count, int columns) {
  int code;
  char text[12];
  for (code = 0; code < count; ++code) {
    const float x = 16.0f + 20.0f * (float)(code % columns);
    const float y = 40.0f - 26.0f * (float)(code / columns);
    cross_hairs(x, y, 7.0f);
    PEN(3);
    PENC(BLUE, 0, 0, 0);
    mark(x, y, 10.0f, code, 0.0f, 3);
    snprintf(text, sizeof text, "%d", code);
    label(x, y - 12.0f, 3.0f, text, 1);
  }
}

static void draw_marks_ctsym1(void) {
  title(6.0f, 58.0f, "CTSYM1(x, y, height, code, angle, ipen)");
  draw_marks(CTSYM1, 16, 8);
}

static void draw_marks_ctsym2(void) {
  title(6.0f, 58.0f, "CTSYM2(x, y, height, code, angle, ipen)");
  draw_marks(CTSYM2, 12, 6);
}

static void draw_marks_ctsymb(void) {
  title(6.0f, 58.0f, "CTSYMB(x, y, height, code, angle, ipen)");
  draw_marks(CTSYMB, 15, 8);
}

static void draw_arrow_heads(void) {
  static const char *const names[8] = {"1 closed",      "2 shaft through", "3 left half",
                                       "4 open, axis",  "5 barb, axis",    "6 filled",
                                       "7 filled half", "8 open"};
  static const char *const columns[3] = {"t: head only", "10 + t: with shaft", "20 + t: two heads"};
  int t, n;
  title(6.0f, 104.0f, "AROWHD(x1, y1, x2, y2, length, width, type)");
  for (n = 0; n < 3; ++n) label(70.0f + 45.0f * (float)n, 94.0f, 3.0f, columns[n], 1);
  for (t = 1; t <= 8; ++t) {
    const float y = 94.0f - 11.0f * (float)t;
    label(6.0f, y - 1.2f, 3.0f, names[t - 1], 2);
    for (n = 0; n < 3; ++n) {
      const float x = 52.0f + 45.0f * (float)n;
      PEN(3);
      PENC(BLACK, 0, 0, 0);
      AROWHD(x, y, x + 36.0f, y, 6.0f, 4.0f, 10 * n + t);
    }
  }
}

static void draw_typefaces(void) {
  static const int32_t codes[5] = {0, 1, 2, 3, 6};
  static const char *const faces[5] = {
      "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9", /* ＭＳ 明朝 */
      "\x96\xBE\x92\xA9",                     /* 明朝 */
      "\x8A\xDB\xBA\xDE\xBC\xAF\xB8",         /* 丸ｺﾞｼｯｸ */
      "\xBA\xDE\xBC\xAF\xB8",                 /* ｺﾞｼｯｸ */
      "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E" /* ＭＳ ゴシック */};
  static const char *const styles[3] = {"regular", "bold", "italic"};
  int face, style;
  char text[8];
  title(6.0f, 152.0f, "SETFON(code, vertical)   SETWEIGHT(700) bold, SETFONETC(1, 0, 0) italic");
  for (style = 0; style < 3; ++style) {
    label(62.0f + 45.0f * (float)style, 142.0f, 3.0f, styles[style], 2);
  }
  for (face = 0; face < 5; ++face) {
    const float y = 132.0f - 11.0f * (float)face;
    snprintf(text, sizeof text, "%d", (int)codes[face]);
    label(6.0f, y, 3.0f, text, 2);
    SETFON(6, 0);
    KANJI(14.0f, y, 3.0f, faces[face], 0.0f, 0);
    for (style = 0; style < 3; ++style) {
      SETWEIGHT(style == 1 ? BOLD : REGULAR);
      SETFONETC(style == 2, 0, 0);
      SETFON(codes[face], 0);
      KANJI(62.0f + 45.0f * (float)style, y, 5.0f, SAMPLE_TEXT, 0.0f, 0);
    }
    SETWEIGHT(REGULAR);
    SETFONETC(0, 0, 0);
  }
  /* Vertical writing: a column per typeface and style, written downwards. */
  label(6.0f, 72.0f, 3.0f, "vertical writing, n < 0: regular, bold, italic", 2);
  for (face = 0; face < 5; ++face) {
    const float x = 14.0f + 37.0f * (float)face;
    snprintf(text, sizeof text, "%d", (int)codes[face]);
    label(x + 14.5f, 64.0f, 3.0f, text, 1);
    for (style = 0; style < 3; ++style) {
      SETWEIGHT(style == 1 ? BOLD : REGULAR);
      SETFONETC(style == 2, 0, 0);
      SETFON(codes[face], 0);
      KANJI(x + 12.0f * (float)style, 58.0f, 5.0f, VERTICAL_TEXT, 0.0f, -7);
    }
    SETWEIGHT(REGULAR);
    SETFONETC(0, 0, 0);
  }
}

static void draw_pen_colours(void) {
  static const char *const names[16] = {
      "0 black",       "1 blue",       "2 red",          "3 magenta",
      "4 green",       "5 cyan",       "6 yellow",       "7 white",
      "8 dark grey",   "9 dark blue",  "10 dark red",    "11 dark magenta",
      "12 dark green", "13 dark cyan", "14 dark yellow", "15 grey"};
  static const int32_t rgb[3][3] = {{996, 500, 0}, {0, 500, 996}, {500, 500, 500}};
  static const char *const rgb_names[3] = {"-1 (996, 500, 0)", "-1 (0, 500, 996)",
                                           "-1 (500, 500, 500)"};
  int code;
  title(6.0f, 98.0f, "PENC(code, r, g, b)   also FILLC, TEXTC, ALLC, SETBKC");
  for (code = 0; code < 19; ++code) {
    const float x = 6.0f + 46.0f * (float)(code % 4);
    const float y = 82.0f - 18.0f * (float)(code / 4);
    guide_pen(BLACK);
    if (code < 16) {
      FILLC(code, 0, 0, 0);
    } else {
      FILLC(-1, rgb[code - 16][0], rgb[code - 16][1], rgb[code - 16][2]);
    }
    RECTF(x, y, x + 8.0f, y + 8.0f, 1);
    PEN(15);
    if (code < 16) {
      PENC(code, 0, 0, 0);
    } else {
      PENC(-1, rgb[code - 16][0], rgb[code - 16][1], rgb[code - 16][2]);
    }
    PLOT(x + 11.0f, y + 4.0f, 3);
    PLOT(x + 40.0f, y + 4.0f, 2);
    label(x, y - 4.5f, 3.0f, code < 16 ? names[code] : rgb_names[code - 16], 2);
  }
}

static void draw_number_formats(void) {
  static const float values[6] = {3.14159f, -0.5f, 2.5f, 0.125f, 25.0f, 1234.0f};
  static const char *const headings[6] = {"3.14159", "-0.5", "2.5", "0.125", "25.0", "1234.0"};
  char text[16];
  int digits, i;
  title(6.0f, 118.0f, "NUMBER(x, y, height, value, angle, digits)");
  label(6.0f, 108.0f, 3.0f, "digits", 2);
  for (i = 0; i < 6; ++i) label(28.0f + 31.0f * (float)i, 108.0f, 3.0f, headings[i], 2);
  guide_pen(LIGHT);
  PLOT(6.0f, 105.0f, 3);
  PLOT(209.0f, 105.0f, 2);
  for (digits = 7; digits >= -2; --digits) {
    const float y = 98.0f - 10.0f * (float)(7 - digits);
    snprintf(text, sizeof text, "%d", digits);
    label(14.0f, y, 3.0f, text, 0);
    for (i = 0; i < 6; ++i) {
      PENC(BLACK, 0, 0, 0);
      SETFON(0, 0);
      NUMBER(28.0f + 31.0f * (float)i, y, 3.0f, values[i], 0.0f, digits);
    }
  }
}

typedef struct {
  const char *name;
  float width, height; /* millimetres */
  void (*draw)(void);
} Table;

static const Table kTables[] = {
    {"fill-patterns", 190.0f, 106.0f, draw_fill_patterns},
    {"line-types", 150.0f, 62.0f, draw_line_types},
    {"line-patterns", 150.0f, 110.0f, draw_line_patterns},
    {"marks-ctsym1", 170.0f, 64.0f, draw_marks_ctsym1},
    {"marks-ctsym2", 130.0f, 64.0f, draw_marks_ctsym2},
    {"marks-ctsymb", 170.0f, 64.0f, draw_marks_ctsymb},
    {"arrow-heads", 200.0f, 110.0f, draw_arrow_heads},
    {"typefaces", 200.0f, 158.0f, draw_typefaces},
    {"pen-colours", 190.0f, 104.0f, draw_pen_colours},
    {"number-formats", 215.0f, 126.0f, draw_number_formats},
};

int main(int argc, char **argv) {
  const char *folder = argc > 1 ? argv[1] : "out";
  char path[1024];
  size_t i;
  int failures = 0;
  for (i = 0; i < sizeof kTables / sizeof kTables[0]; ++i) {
    const Table *table = &kTables[i];
    int32_t result;
    if (PLOTS(table->width, table->height, 0) == 0) {
      fprintf(stderr, "code_tables: no page for %s\n", table->name);
      return 1;
    }
    table->draw();
    PLOT(0.0f, 0.0f, 999);
    snprintf(path, sizeof path, "%s/%s.emf", folder, table->name);
    result = SAVEFILE(path);
    if (result == 0) {
      printf("%s\n", path);
    } else {
      fprintf(stderr, "code_tables: saving %s failed with code %d\n", path, (int)result);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
