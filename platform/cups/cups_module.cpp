// The CUPS module: queue description and job submission through libcups.
#include "platform/cups/cups_module.h"

#include <cups/cups.h>

#include <strings.h>
#include <cstdio>
#include <cstring>

namespace {

// The default resolution the queue announces, in dots per inch; 0 when it names none.
int DefaultDpi(cups_dest_t *dest, cups_dinfo_t *info) {
  ipp_attribute_t *attribute =
      cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
  if (attribute == nullptr || ippGetValueTag(attribute) != IPP_TAG_RESOLUTION) return 0;
  int y = 0;
  ipp_res_t units = IPP_RES_PER_INCH;
  const int x = ippGetResolution(attribute, 0, &y, &units);
  return units == IPP_RES_PER_CM ? static_cast<int>(x * 2.54 + 0.5) : x;
}

void Copy(char *to, size_t size, const char *from) { std::snprintf(to, size, "%s", from); }

// The queue's paper called `name` (its own name, a PWG name, or a legacy or PPD name such as
// "A4"); false when the queue has no such paper.
bool FindPaper(cups_dest_t *dest, cups_dinfo_t *info, const char *name, cups_size_t *size) {
  pwg_media_t *known = pwgMediaForPWG(name);
  if (known == nullptr) known = pwgMediaForLegacy(name);
  if (known == nullptr) known = pwgMediaForPPD(name);
  const int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, size) &&
        (strcasecmp(size->media, name) == 0 ||
         (known && std::strcmp(size->media, known->pwg) == 0))) {
      return true;
    }
  }
  return false;
}

// The name of the queue's default paper, or null.
const char *DefaultPaper(cups_dest_t *dest, cups_dinfo_t *info) {
  ipp_attribute_t *attribute = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media");
  return attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int tamvel_cups_describe(const char *queue,
                                                                const char *paper, int dpi,
                                                                TamvelCupsPaper *out) {
  cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue, nullptr);
  if (dest == nullptr) return 1;
  cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
  int result = info == nullptr ? 1 : 0;
  cups_size_t size{};
  if (result == 0) {
    if (paper == nullptr) paper = DefaultPaper(dest, info);
    if (paper == nullptr || !FindPaper(dest, info, paper, &size) || size.width <= 0 ||
        size.length <= 0) {
      result = 2;
    }
  }
  if (result == 0) {
    *out = {};
    Copy(out->queue, sizeof out->queue, dest->name);
    Copy(out->media, sizeof out->media, size.media);
    out->width_hmm = size.width;
    out->length_hmm = size.length;
    out->left_hmm = size.left;
    out->bottom_hmm = size.bottom;
    out->right_hmm = size.right;
    out->top_hmm = size.top;
    out->dpi = dpi > 0 ? dpi : DefaultDpi(dest, info);
    if (out->dpi <= 0) out->dpi = 300;
  }
  if (info) cupsFreeDestInfo(info);
  cupsFreeDests(1, dest);
  return result;
}

__attribute__((visibility("default"))) int tamvel_cups_submit(const TamvelCupsPaper *paper,
                                                              const char *pdf_path,
                                                              const char *title) {
  cups_option_t *options = nullptr;
  const int count = cupsAddOption("media", paper->media, 0, &options);
  const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, paper->queue, pdf_path, title, count, options);
  cupsFreeOptions(count, options);
  return job;
}

}  // extern "C"
