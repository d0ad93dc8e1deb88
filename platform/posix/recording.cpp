// CreateEnhMetaFileA and CloseEnhMetaFile: a DC with a metafile recorder behind it.
#include <cstring>

#include "platform/posix/code_page.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/metafiles.h"
#include "platform/posix/recorder.h"
#include "platform/posix/safe_file.h"

using namespace tamvel::posix;

namespace {

// "application\0title\0\0": both strings with their NULs and the final NUL, as UTF-16.
std::u16string DescriptionOf(LPCSTR description) {
  if (!description) return {};
  const size_t first = std::strlen(description) + 1;
  const size_t second = std::strlen(description + first) + 1;
  std::u16string wide = Cp932ToUtf16({description, first + second});
  wide.push_back(u'\0');
  return wide;
}

ReferenceDevice ReferenceOf(HDC hdc) {
  ReferenceDevice reference;
  if (hdc) {
    reference.pixels = {GetDeviceCaps(hdc, HORZRES), GetDeviceCaps(hdc, VERTRES)};
    reference.millimetres = {GetDeviceCaps(hdc, HORZSIZE), GetDeviceCaps(hdc, VERTSIZE)};
    reference.dpi_x = GetDeviceCaps(hdc, LOGPIXELSX);
    reference.dpi_y = GetDeviceCaps(hdc, LOGPIXELSY);
  }
  return reference;
}

bool UsableReference(const ReferenceDevice &r) {
  return r.pixels.cx > 0 && r.pixels.cy > 0 && r.millimetres.cx > 0 && r.millimetres.cy > 0;
}

}  // namespace

HDC CreateEnhMetaFileA(HDC reference_dc, LPCSTR file, const RECT *frame, LPCSTR description) {
  if (reference_dc && !LookupDc(reference_dc)) return nullptr;
  const ReferenceDevice reference = ReferenceOf(reference_dc);
  if (!UsableReference(reference)) return nullptr;
  std::string file_name = file ? file : "";
  // The file is written whole when the recording closes; here only its folder is tried, so
  // that a name that cannot be written fails now, as on Windows, without touching the file.
  if (file && !AtomicFile().Open(file_name, 0666)) return nullptr;
  std::optional<RECT> frame_rect;
  if (frame) frame_rect = *frame;
  auto recorder = std::make_unique<MetafileRecorder>(reference, frame_rect,
                                                     DescriptionOf(description), file_name);
  return CreateDcHandle(std::move(recorder), reference);
}

HENHMETAFILE CloseEnhMetaFile(HDC hdc) {
  Dc *dc = LookupDc(hdc);
  MetafileRecorder *recorder = dc ? dc->Recorder() : nullptr;
  if (!recorder) return nullptr;
  ImageBuffer image = recorder->Finish();
  const std::string file_name = recorder->file_name();
  DestroyDcHandle(hdc);
  if (image.size() == 0) return nullptr;  // memory ran out while recording
  if (!file_name.empty() && !WriteFileImage(file_name, image.bytes())) return nullptr;
  return AddMetafile(std::move(image));
}
