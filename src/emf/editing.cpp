// Editing calls: copy, move and clear pages' metafiles, change a metafile's frame, move a
// drawing inside its frame, and draw one page's metafile over another's.
//
// A rewrite builds the new metafile completely before it replaces the page's old one, so a
// failure leaves the page as it was (except where closing the new recording fails after
// the old metafile was already released).
#include "src/emf/editing.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "include/tamvel.h"
#include "src/emf/playback.h"
#include "src/pages/page_table.h"

namespace tamvel {

namespace {

// Ends a new recording that will not be used.
void DiscardRecording(HDC recording) {
  HENHMETAFILE unused = CloseEnhMetaFile(recording);
  if (unused != nullptr) DeleteEnhMetaFile(unused);
}

// Plays `metafile` into the new recording; on failure the recording is discarded.
bool PlayOrDiscard(HDC recording, HENHMETAFILE metafile, const RECT &rect) {
  if (PlayEnhMetaFile(recording, metafile, &rect)) return true;
  DiscardRecording(recording);
  return false;
}

// Deletes the page's old metafile, closes the new recording and gives its metafile to the
// page; false when closing produced none (the page is then left without a metafile).
bool FinishRewrite(EmfPage &page, HDC recording) {
  DeleteEnhMetaFile(page.ReleaseFinishedMetafile());
  HENHMETAFILE rewritten = CloseEnhMetaFile(recording);
  page.AdoptFinishedMetafile(rewritten);
  return rewritten != nullptr;
}

// The frame of a metafile (0.01 mm, y downwards) as a rectangle of reference-device pixels
// on the recording `dc`, 3 pixels larger to the right and upwards so that the inclusive
// edges of the played picture are not cut.
RECT FrameToDeviceRect(HDC dc, const RECT &frame) {
  POINT corners[2] = {{frame.left, frame.top}, {frame.right, frame.bottom}};
  SetMapMode(dc, MM_HIMETRIC);
  LPtoDP(dc, corners, 2);
  SetMapMode(dc, MM_TEXT);
  SetROP2(dc, R2_COPYPEN);
  // HIMETRIC counts y upwards, the frame downwards.
  return RECT{corners[0].x, SaturatingSubtract(SaturatingSubtract(0, corners[0].y), 3),
              SaturatingAdd(corners[1].x, 3), SaturatingSubtract(0, corners[1].y)};
}

RECT OffsetFrame(const RECT &frame, int64_t dx, int64_t dy) {
  auto shift = [](LONG v, int64_t d) { return SaturateToInt32(v + d); };
  return {shift(frame.left, dx), shift(frame.top, dy), shift(frame.right, dx),
          shift(frame.bottom, dy)};
}

}  // namespace

int ReadDescription(HENHMETAFILE metafile, char *buffer) {
  if (metafile == nullptr) return 1;
  std::memset(buffer, 0, kDescriptionBufferBytes);
  ENHMETAHEADER header{};
  if (GetEnhMetaFileHeader(metafile, sizeof(header), &header) == 0) return 2;
  // The whole buffer less its two last bytes is offered: nDescription counts UTF-16 units,
  // and the Shift-JIS form of a Japanese name needs more bytes than that. A description
  // longer than the buffer is cut and still ends with two NULs.
  UINT copied = GetEnhMetaFileDescriptionA(metafile, kDescriptionBufferBytes - 2, buffer);
  buffer[kDescriptionBufferBytes - 2] = '\0';
  buffer[kDescriptionBufferBytes - 1] = '\0';
  if (copied == 0 || copied == GDI_ERROR) return 3;
  return 0;
}

bool ReplaceFrame(HENHMETAFILE *metafile, const RECT &frame) {
  UINT size = GetEnhMetaFileBits(*metafile, 0, nullptr);
  if (size < sizeof(ENHMETAHEADER) || size == GDI_ERROR) return false;
  HANDLE heap = GetProcessHeap();
  auto *bits = static_cast<BYTE *>(HeapAlloc(heap, 0, size));
  if (bits == nullptr) return false;
  HENHMETAFILE rewritten = nullptr;
  if (GetEnhMetaFileBits(*metafile, size, bits) == size) {
    const int32_t fields[4] = {frame.left, frame.top, frame.right, frame.bottom};
    std::memcpy(bits + 24, fields, sizeof(fields));  // rclFrame of the header record
    rewritten = SetEnhMetaFileBits(size, bits);
  }
  HeapFree(heap, 0, bits);
  if (rewritten == nullptr) return false;
  DeleteEnhMetaFile(*metafile);
  *metafile = rewritten;
  return true;
}

namespace {

// CopyEmf and MoveEmf: the source page's finished metafile goes to the destination page,
// copied or handed over. A page given onto itself already holds it: nothing to do.
int32_t TransferMetafile(int32_t destination, int32_t source, bool move) {
  if (!LibraryAttached()) return 1;
  EmfPage &from = Page(ClampPageNumberToIndex(source));
  if (from.FinishedMetafile() == nullptr) return 1;
  EmfPage &to = Page(ClampPageNumberToIndex(destination));
  if (&to == &from) return 0;
  to.ClearPage();
  to.AdoptFinishedMetafile(move ? from.ReleaseFinishedMetafile()
                                : CopyEnhMetaFileA(from.FinishedMetafile(), nullptr));
  return 0;
}

}  // namespace

}  // namespace tamvel

using tamvel::ClampPageNumberToIndex;
using tamvel::DiscardRecording;
using tamvel::FinishRewrite;
using tamvel::FrameToDeviceRect;
using tamvel::LibraryAttached;
using tamvel::OffsetFrame;
using tamvel::Page;
using tamvel::PlayOrDiscard;

extern "C" {

TAMVEL_API int32_t TAMVEL_CALL CopyEmf(int32_t destination, int32_t source) {
  return tamvel::TransferMetafile(destination, source, /*move=*/false);
}

TAMVEL_API int32_t TAMVEL_CALL MoveEmf(int32_t destination, int32_t source) {
  return tamvel::TransferMetafile(destination, source, /*move=*/true);
}

TAMVEL_API void TAMVEL_CALL ClearEmf(int32_t page) {
  if (!LibraryAttached()) return;
  Page(ClampPageNumberToIndex(page)).ClearPage();
}

TAMVEL_API int32_t TAMVEL_CALL ResizeEmf(int32_t page, int32_t width, int32_t height) {
  if (!LibraryAttached()) return 2;
  if (width < 1 || height < 1) return 1;
  tamvel::EmfPage &target = Page(ClampPageNumberToIndex(page));
  HENHMETAFILE metafile = target.FinishedMetafile();
  RECT frame;
  if (tamvel::GetEmfFrame(metafile, &frame) != 0) return 2;
  if (!tamvel::ReplaceFrame(&metafile, RECT{0, -height, width, 0})) return 3;
  target.ReleaseFinishedMetafile();  // already deleted by ReplaceFrame
  target.AdoptFinishedMetafile(metafile);
  return 0;
}

TAMVEL_API int32_t TAMVEL_CALL ShiftEmf(int32_t page, int32_t dx, int32_t dy) {
  if (!LibraryAttached()) return 1;
  tamvel::EmfPage &target = Page(ClampPageNumberToIndex(page));
  HENHMETAFILE metafile = target.FinishedMetafile();
  if (metafile == nullptr) return 1;
  RECT frame;
  if (tamvel::GetEmfFrame(metafile, &frame) != 0) return 2;
  char description[tamvel::kDescriptionBufferBytes];
  if (tamvel::ReadDescription(metafile, description) != 0) return 3;
  HDC recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, description);
  if (recording == nullptr) return 4;

  // Frame size in 0.1 mm; the old drawing is played into the frame moved left by dx and
  // down by dy, in MM_LOMETRIC (0.1 mm, y upwards).
  const int64_t w = std::llabs(static_cast<int64_t>(frame.right) - frame.left) / 10;
  const int64_t h = std::llabs(static_cast<int64_t>(frame.bottom) - frame.top) / 10;
  SetMapMode(recording, MM_LOMETRIC);
  SetROP2(recording, R2_COPYPEN);
  using tamvel::SaturateToInt32;
  RECT rect{SaturateToInt32(-int64_t{dx}), SaturateToInt32(h - dy), SaturateToInt32(w - dx),
            SaturateToInt32(-int64_t{dy})};
  if (!PlayOrDiscard(recording, metafile, rect)) return 5;
  return FinishRewrite(target, recording) ? 0 : 6;
}

TAMVEL_API int32_t TAMVEL_CALL WriteEmf(int32_t destination, int32_t source, int32_t dx,
                                        int32_t dy) {
  if (!LibraryAttached()) return 1;
  tamvel::EmfPage &to = Page(ClampPageNumberToIndex(destination));
  tamvel::EmfPage &from = Page(ClampPageNumberToIndex(source));
  HENHMETAFILE under = to.FinishedMetafile();
  HENHMETAFILE over = from.FinishedMetafile();
  if (under == nullptr || over == nullptr) return 1;
  char description[tamvel::kDescriptionBufferBytes];
  if (tamvel::ReadDescription(under, description) != 0) return 2;
  RECT frame;
  if (tamvel::GetEmfFrame(under, &frame) != 0) return 3;
  HDC recording = CreateEnhMetaFileA(nullptr, nullptr, &frame, description);
  if (recording == nullptr) return 4;

  RECT rect = FrameToDeviceRect(recording, frame);
  if (!PlayOrDiscard(recording, under, rect)) return 6;
  RECT source_frame;
  if (tamvel::GetEmfFrame(over, &source_frame) != 0) {
    DiscardRecording(recording);
    return 7;
  }
  // Frame units grow downwards: a positive dy moves the source down.
  RECT moved = OffsetFrame(source_frame, 10 * int64_t{dx}, 10 * int64_t{dy});
  rect = FrameToDeviceRect(recording, moved);
  if (!PlayOrDiscard(recording, over, rect)) return 8;
  return FinishRewrite(to, recording) ? 0 : 9;
}

TAMVEL_API int32_t TAMVEL_CALL GetTmpFileName(char *buffer, const char *prefix) {
  if (!LibraryAttached() || buffer == nullptr) return 0;
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  // A failed temporary file leaves an empty name: the result is then 0.
  buffer[0] = '\0';
  if (GetTempFileNameA(folder, prefix != nullptr ? prefix : "", 0, buffer) == 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<int32_t>(strnlen(buffer, MAX_PATH));
}

}  // extern "C"
