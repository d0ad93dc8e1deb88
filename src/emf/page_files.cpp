// Saving a page's finished metafile as a file and loading a metafile file into a page.
#include <filesystem>
#include <system_error>

#include "src/pages/emf_page.h"

namespace tamvel {
namespace {

// Whether a file or directory of that name exists (its status can be read).
bool NameExists(const char *path) {
  try {
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(std::filesystem::path(path), error);
    return !error && std::filesystem::exists(status);
  } catch (...) {
    return false;  // no memory for the path: treat as absent, writing will tell
  }
}

}  // namespace

// 0 saved; 1 no finished metafile; 2 an existing file of that name could not be deleted;
// 3 writing failed (also for a null or empty path); 4 written, but releasing the copy failed.
int EmfPage::SavePageToFile(const char *path) {
  CloseRecording();  // saving also ends a drawing
  if (finished_metafile_ == nullptr) return 1;
  if (path == nullptr || path[0] == '\0') return 3;
  if (NameExists(path) && !DeleteFileA(path)) return 2;
  HENHMETAFILE written = CopyEnhMetaFileA(finished_metafile_, path);
  if (written == nullptr) return 3;
  return DeleteEnhMetaFile(written) ? 0 : 4;
}

// 0 loaded; 1 the file could not be opened as a metafile (also for a null path); 2 it could
// not be copied into memory; 3 as 2 and releasing the file failed too; -1 loaded, but
// releasing the file failed. Whatever the page held is gone in every case.
int EmfPage::LoadPageFromFile(const char *path) {
  ClearPage();
  if (path == nullptr) return 1;
  HENHMETAFILE file = GetEnhMetaFileA(path);
  if (file == nullptr) return 1;
  finished_metafile_ = CopyEnhMetaFileA(file, nullptr);
  const bool released = DeleteEnhMetaFile(file);
  if (finished_metafile_ != nullptr) return released ? 0 : -1;
  return released ? 2 : 3;
}

}  // namespace tamvel
