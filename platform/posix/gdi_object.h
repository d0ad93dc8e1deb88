// The objects behind the stand-in's handles. Every kind of GDI object derives from GdiObject;
// the handle table owns them through shared pointers, and a DC keeps a shared pointer to each
// object selected into it, so deleting a selected object invalidates its handle but never
// pulls the object out from under the DC.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/posix/win32_api.h"

namespace tamvel::posix {

class Dc;

// The kind is part of every handle value; a handle of the wrong kind is rejected on lookup.
// Values 1..15 fit the four bits the handle value keeps for it.
enum class ObjectKind : uint8_t {
  kDc = 1,
  kPen = 2,
  kBrush = 3,
  kBitmap = 4,
  kFont = 5,
  kRegion = 6,
  kPalette = 7,
  kMetafile = 8,
  kWindow = 9,
  kRegistryKey = 10,
  kOther = 11,
  kModule = 12,         // a running program's executable (GetModuleFileNameA)
  kProgramWindow = 13,  // a running program as EnumWindows reports it; no client area
  kFile = 14,           // a file CreateFileA opened for writing
};

class GdiObject {
 public:
  virtual ~GdiObject();
  virtual ObjectKind Kind() const = 0;
  // What GetObjectType answers (OBJ_PEN, OBJ_EXTPEN, OBJ_ENHMETADC, ...).
  virtual DWORD Win32Type() const = 0;
  // The finished record that creates this object in a metafile's object table at `index`
  // (EMR_CREATEPEN, EMR_CREATEBRUSHINDIRECT, ...), written with `dc`'s state at that moment.
  // Empty for objects that are not metafile objects (bitmaps, regions, DCs).
  virtual std::vector<uint8_t> EncodeCreateRecord(uint32_t index, const Dc &dc) const;

  uint32_t handle = 0;  // value of this object's handle, set by the handle table
  uint64_t serial = 0;  // unique for the life of the process; keys metafile object tables
  int stock_id = -1;    // GetStockObject index, or -1: stock objects are never deleted
  bool IsStock() const { return stock_id >= 0; }
};

}  // namespace tamvel::posix
