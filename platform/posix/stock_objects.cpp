// The stock objects: made once, registered like any other object, never deleted.
#include <array>
#include <cstring>

#include "platform/posix/handles.h"
#include "platform/posix/objects.h"

namespace tamvel::posix {

namespace {

constexpr int kStockCount = 20;  // indexes 0..19; 9 is not used by GDI

std::shared_ptr<GdiObject> MakeBrush(UINT style, COLORREF colour) {
  auto brush = std::make_shared<Brush>();
  brush->style = style;
  brush->colour = colour;
  return brush;
}

std::shared_ptr<GdiObject> MakePen(DWORD style, COLORREF colour) {
  auto pen = std::make_shared<Pen>();
  pen->style = style;
  pen->colour = colour;
  return pen;
}

std::shared_ptr<GdiObject> MakeFont(LONG height, LONG width, LONG weight, BYTE charset, BYTE pitch,
                                    const char *face) {
  auto font = std::make_shared<Font>();
  font->log.lfHeight = height;
  font->log.lfWidth = width;
  font->log.lfWeight = weight;
  font->log.lfCharSet = charset;
  font->log.lfPitchAndFamily = pitch;
  std::strncpy(font->log.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

// The twenty static colours of the system's default palette.
std::shared_ptr<GdiObject> MakeDefaultPalette() {
  static constexpr BYTE kColours[20][3] = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  auto palette = std::make_shared<Palette>();
  for (const auto &c : kColours) palette->entries.push_back({c[0], c[1], c[2], 0});
  return palette;
}

constexpr BYTE kFixedPitch = 1;
constexpr BYTE kVariablePitch = 2;
constexpr BYTE kOemCharset = 255;

std::shared_ptr<GdiObject> MakeStock(int id) {
  switch (id) {
    case WHITE_BRUSH:
      return MakeBrush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH:
      return MakeBrush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH:
      return MakeBrush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH:
      return MakeBrush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH:
      return MakeBrush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH:
      return MakeBrush(BS_NULL, 0);
    case WHITE_PEN:
      return MakePen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN:
      return MakePen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN:
      return MakePen(PS_NULL, 0);
    case OEM_FIXED_FONT:
      return MakeFont(12, 8, FW_NORMAL, kOemCharset, kFixedPitch, "Terminal");
    case ANSI_FIXED_FONT:
      return MakeFont(12, 9, FW_NORMAL, ANSI_CHARSET, kFixedPitch, "Courier");
    case ANSI_VAR_FONT:
      return MakeFont(12, 9, FW_NORMAL, ANSI_CHARSET, kVariablePitch, "MS Sans Serif");
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      return MakeFont(16, 7, FW_BOLD, ANSI_CHARSET, kVariablePitch, "System");
    case DEFAULT_PALETTE:
      return MakeDefaultPalette();
    case SYSTEM_FIXED_FONT:
      return MakeFont(16, 8, FW_NORMAL, ANSI_CHARSET, kFixedPitch, "Fixedsys");
    case DEFAULT_GUI_FONT:
      return MakeFont(-11, 0, FW_NORMAL, ANSI_CHARSET, kVariablePitch, "MS Shell Dlg");
    case 18:
      return MakeBrush(BS_SOLID, RGB(255, 255, 255));  // DC_BRUSH
    case 19:
      return MakePen(PS_SOLID, RGB(0, 0, 0));  // DC_PEN
    default:
      return nullptr;
  }
}

}  // namespace

std::shared_ptr<GdiObject> StockObject(int id) {
  static std::array<std::shared_ptr<GdiObject>, kStockCount> *table =
      new std::array<std::shared_ptr<GdiObject>, kStockCount>;
  if (id < 0 || id >= kStockCount) return nullptr;
  auto &slot = (*table)[id];
  if (!slot) {
    auto object = MakeStock(id);
    if (!object) return nullptr;
    object->stock_id = id;
    if (!AddObject(object)) return nullptr;
    slot = std::move(object);
  }
  return slot;
}

}  // namespace tamvel::posix

HGDIOBJ GetStockObject(int index) {
  auto object = tamvel::posix::StockObject(index);
  return object ? HandleFromValue<HGDIOBJ>(object->handle) : nullptr;
}
