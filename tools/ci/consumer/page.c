/* A program built against an installed tamvel: draws a frame, a line of text and an arc on
 * an A5 page and saves it to the file named by its argument. */
#include <stdio.h>
#include <tamvel.h>

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: page_c FILE.emf\n");
    return 2;
  }
  CHPAGE(1);
  if (PLOTS(148.0f, 210.0f, 0) == 0) return 1;
  PLOT(10.0f, 10.0f, 3);
  PLOT(138.0f, 10.0f, 2);
  PLOT(138.0f, 200.0f, 2);
  PLOT(10.0f, 200.0f, 2);
  PLOT(10.0f, 10.0f, 2);
  SYMBOL(20.0f, 180.0f, 6.0f, "consumer C", 0.0f, 10);
  ARC(74.0f, 100.0f, 30.0f, 0.0f, 270.0f, 1);
  PLOT(0.0f, 0.0f, 999);
  int status = SAVEFILE(argv[1]);
  printf("page_c: SAVEFILE %s -> %d\n", argv[1], (int)status);
  return status == 0 ? 0 : 1;
}
