// Printer DCs on CUPS queues: the pages go into a temporary PDF laid out on the queue's paper,
// resolution and printable area, and are sent as one job when the DC is deleted. libcups
// lives in a module loaded on the first such DC (platform/cups/cups_module.h).
#include <errno.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/cups/cups_module.h"
#include "platform/posix/cairo_device.h"
#include "platform/posix/desktop_link.h"

using namespace tamvel::posix;

namespace {

// A new empty file for the job's PDF; empty when none can be made.
std::string TemporaryPdf() {
  const char *folder = std::getenv("TMPDIR");
  std::string path = std::string(folder && *folder ? folder : "/tmp") + "/tamvel-job-XXXXXX.pdf";
  const int fd = mkstemps(path.data(), 4);
  if (fd < 0) return {};
  close(fd);
  return path;
}

int Pixels(int hundredths_mm, int dpi) {
  return static_cast<int>(std::lround(hundredths_mm / 2540.0 * dpi));
}

}  // namespace

extern "C" {

TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateCupsPrinterDC(const char *queue, const char *paper,
                                                            int32_t dpi) {
  if (dpi != 0 && (dpi < 10 || dpi > 4800)) return nullptr;
  auto describe = reinterpret_cast<TamvelCupsDescribeFn>(
      desktop::ModuleSymbol(TAMVEL_CUPS_MODULE, TAMVEL_CUPS_DESCRIBE));
  auto submit = reinterpret_cast<TamvelCupsSubmitFn>(
      desktop::ModuleSymbol(TAMVEL_CUPS_MODULE, TAMVEL_CUPS_SUBMIT));
  TamvelCupsPaper described{};
  if (describe == nullptr || submit == nullptr || describe(queue, paper, dpi, &described) != 0 ||
      described.dpi < 10 || described.dpi > 4800) {
    return nullptr;
  }
  const std::string pdf = TemporaryPdf();
  if (pdf.empty()) return nullptr;
  CairoDevice::Geometry margins;
  margins.dpi = described.dpi;
  margins.offset_x_px = Pixels(described.left_hmm, described.dpi);
  margins.offset_y_px = Pixels(described.top_hmm, described.dpi);
  margins.margin_right_px = Pixels(described.right_hmm, described.dpi);
  margins.margin_bottom_px = Pixels(described.bottom_hmm, described.dpi);
  HDC dc = CairoDevice::CreatePrinterDc(pdf, described.width_hmm / 100.0,
                                        described.length_hmm / 100.0, margins);
  if (dc == nullptr) {
    unlink(pdf.c_str());
    return nullptr;
  }
  CairoDevice::Of(dc)->SetFinisher([described, pdf, submit](bool written) {
    const bool sent = written && submit(&described, pdf.c_str(), program_invocation_short_name) > 0;
    unlink(pdf.c_str());
    return sent;
  });
  return dc;
}

}  // extern "C"
