// The CUPS module (libtamvel-cups.so): what the library asks of a print queue and how it
// hands over a finished job. The library loads the module on the first CUPS printer DC, so
// libcups is loaded only by programs that print to a queue. Plain C types only: the module
// and the library share no C++ state.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// A queue's paper as the library lays pages out on it.
struct TamvelCupsPaper {
  char queue[256];  // the queue's own name (the default queue's, when none was asked for)
  char media[128];  // the paper's name, as the job asks for it
  int width_hmm;    // paper, 0.01 mm
  int length_hmm;
  int left_hmm;  // unprintable margins, 0.01 mm
  int bottom_hmm;
  int right_hmm;
  int top_hmm;
  int dpi;  // the queue's default resolution (or the one asked for)
};

// Describes `queue` (null: the default queue) for `paper` (a name such as "A4" or
// "iso_a4_210x297mm"; null: the queue's default paper) at `dpi` (0: the queue's default).
// 0 described; 1 no such queue (or no default); 2 the queue does not know the paper.
typedef int (*TamvelCupsDescribeFn)(const char *queue, const char *paper, int dpi,
                                    struct TamvelCupsPaper *out);
#define TAMVEL_CUPS_DESCRIBE "tamvel_cups_describe"

// Sends the PDF file as one job titled `title` on `paper` (a described paper); the job id,
// or 0 when the queue refused it.
typedef int (*TamvelCupsSubmitFn)(const struct TamvelCupsPaper *paper, const char *pdf_path,
                                  const char *title);
#define TAMVEL_CUPS_SUBMIT "tamvel_cups_submit"

#define TAMVEL_CUPS_MODULE "libtamvel-cups.so"

#ifdef __cplusplus
}
#endif
