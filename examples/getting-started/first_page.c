/* The first page in C: a framed A5 sheet (landscape) with a title, two axes with numbered
 * ticks and a damped wave, saved as an enhanced metafile.
 *
 *   cc first_page.c -o first_page $(pkg-config --cflags --libs tamvel) -lm
 *   ./first_page                  writes first_page.emf (or the file named on the command line)
 */
#include <math.h>
#include <stdio.h>
#include <tamvel.h>

int main(int argc, char **argv) {
  const char *path = argc > 1 ? argv[1] : "first_page.emf";
  int i;
  int32_t status;

  if (PLOTS(210.0f, 148.0f, 0) == 0) return 1; /* an A5 sheet, landscape, in millimetres */

  /* A frame 10 mm inside the paper: move to a corner (pen code 3), draw (pen code 2). */
  PEN(5); /* 0.5 mm */
  PLOT(10.0f, 10.0f, 3);
  PLOT(200.0f, 10.0f, 2);
  PLOT(200.0f, 138.0f, 2);
  PLOT(10.0f, 138.0f, 2);
  PLOT(10.0f, 10.0f, 2);

  SYMBOL(20.0f, 122.0f, 7.0f, "tamvel from C", 0.0f, 13);

  /* Axes with the origin moved to (30, 70): pen code -3 moves and makes the point (0, 0). */
  PEN(2);
  PLOT(30.0f, 70.0f, -3);
  PLOT(160.0f, 0.0f, 2);
  PLOT(0.0f, -40.0f, 3);
  PLOT(0.0f, 40.0f, 2);
  for (i = 0; i <= 8; ++i) {
    PLOT(20.0f * i, -1.5f, 3);
    PLOT(20.0f * i, 1.5f, 2);
    NUMBR2(20.0f * i, -7.0f, 3.0f, (float)i, 0.0f, -1, 1); /* whole numbers, centred */
  }

  /* The wave in red, 0.3 mm wide. */
  PENC(2, 0, 0, 0);
  PEN(3);
  PLOT(0.0f, 35.0f, 3);
  for (i = 1; i <= 320; ++i) {
    const float t = 0.5f * (float)i;
    PLOT(t, 35.0f * expf(-t / 60.0f) * cosf(t / 8.0f), 2);
  }

  PLOT(0.0f, 0.0f, 999); /* pen code 999 closes the page */
  status = SAVEFILE(path);
  if (status != 0) {
    fprintf(stderr, "first_page: SAVEFILE %s failed with code %d\n", path, (int)status);
    return 1;
  }
  printf("wrote %s\n", path);
  return 0;
}
