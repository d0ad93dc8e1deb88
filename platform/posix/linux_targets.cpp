// The Linux-only exported calls that make playback targets (include/tamvel_linux.h).
#include <memory>
#include <string>

#include "include/tamvel_linux.h"
#include "platform/posix/cairo_device.h"
#include "platform/posix/dc.h"
#include "platform/posix/handles.h"
#include "platform/posix/window.h"

using tamvel::posix::CairoDevice;

extern "C" {

TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateImageDC(int32_t width_px, int32_t height_px) {
  return CairoDevice::CreateImageDc(width_px, height_px);
}

TAMVEL_API int32_t TAMVEL_CALL TamvelSaveImageDC(TAMVEL_HDC dc, const char *png_path) {
  CairoDevice *device = CairoDevice::Of(dc);
  if (device == nullptr || device->kind() != CairoDevice::Surface::kImage) return 1;
  if (png_path == nullptr) return 2;
  return device->SavePng(png_path) ? 0 : 2;
}

TAMVEL_API int32_t TAMVEL_CALL TamvelSetImageAntialias(TAMVEL_HDC dc, int32_t on) {
  CairoDevice *device = CairoDevice::Of(dc);
  if (device == nullptr || device->kind() != CairoDevice::Surface::kImage) return 1;
  device->SetAntialias(on != 0);
  return 0;
}

TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreatePrinterDC(const char *pdf_path, double paper_width_mm,
                                                        double paper_height_mm, int32_t dpi,
                                                        int32_t offset_x_px, int32_t offset_y_px) {
  if (pdf_path == nullptr) return nullptr;
  return CairoDevice::CreatePrinterDc(pdf_path, paper_width_mm, paper_height_mm, dpi, offset_x_px,
                                      offset_y_px);
}

TAMVEL_API int32_t TAMVEL_CALL TamvelEndPrinterPage(TAMVEL_HDC dc) {
  CairoDevice *device = CairoDevice::Of(dc);
  if (device == nullptr || device->kind() != CairoDevice::Surface::kPrinter) return 1;
  device->EndPage();
  return 0;
}

TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelCreateSvgDC(const char *svg_path, int32_t width_px,
                                                    int32_t height_px) {
  if (svg_path == nullptr) return nullptr;
  return CairoDevice::CreateSvgDc(svg_path, width_px, height_px);
}

TAMVEL_API int32_t TAMVEL_CALL TamvelDeleteDC(TAMVEL_HDC dc) {
  CairoDevice *device = CairoDevice::Of(dc);
  if (device == nullptr) return 1;
  const bool written = device->Finish();
  tamvel::posix::DestroyDcHandle(dc);
  return written ? 0 : 2;
}

TAMVEL_API TAMVEL_HWND TAMVEL_CALL TamvelCreateWindow(int32_t client_width, int32_t client_height) {
  if (client_width < 0 || client_height < 0) return nullptr;
  auto window = std::make_shared<tamvel::posix::Window>(client_width, client_height);
  window->Show();
  return tamvel::posix::AddHandle<HWND>(std::move(window));
}

TAMVEL_API TAMVEL_HDC TAMVEL_CALL TamvelGetWindowDC(TAMVEL_HWND window) {
  std::shared_ptr<tamvel::posix::Window> object =
      tamvel::posix::Lookup<tamvel::posix::Window>(window);
  return object ? object->NewDc() : nullptr;
}

TAMVEL_API int32_t TAMVEL_CALL TamvelDestroyWindow(TAMVEL_HWND window) {
  std::shared_ptr<tamvel::posix::Window> object =
      tamvel::posix::Lookup<tamvel::posix::Window>(window);
  if (!object) return 1;
  object->Close();
  tamvel::posix::RemoveObject(tamvel::posix::ValueOf(window));
  return 0;
}

}  // extern "C"
