// The painting devices behind a DC: a raster image (saved as PNG), a printer (a PDF file with
// a paper size, a resolution and physical offsets) and an SVG drawing. They paint what GDI
// paints for the DC's state: cosmetic and geometric pens with their caps, joins and styles,
// solid, hatched and mono pattern brushes, the raster operation, the fill mode, the clip
// region, and text through the font module.
//
// Device pixels are the DC's device units; on PDF and SVG surfaces one device pixel is
// 1/dpi inch (PDF) or 1/96 inch (SVG).
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/posix/device.h"
#include "platform/posix/mapping.h"
#include "platform/posix/safe_file.h"
#include "platform/posix/surface_pixels.h"
#include "platform/posix/thin_lines.h"

namespace tamvel::posix {

class CairoDevice final : public Device {
 public:
  enum class Surface { kImage, kPrinter, kSvg };

  struct Geometry {
    int width_px = 0;  // drawable area (image, SVG) or whole paper (printer), device pixels
    int height_px = 0;
    int dpi = 96;
    int offset_x_px = 0;  // printer: the unprintable margin on the left and top
    int offset_y_px = 0;
    int margin_right_px = 0;  // printer: the unprintable margin on the right and bottom
    int margin_bottom_px = 0;

    int PrintableWidth() const { return width_px - offset_x_px - margin_right_px; }
    int PrintableHeight() const { return height_px - offset_y_px - margin_bottom_px; }
  };

  // Takes the surface (and releases it when destroyed) and, for PDF and SVG, the file the
  // surface streams into, committed by Finish.
  CairoDevice(Surface kind, cairo_surface_t *surface, const Geometry &geometry,
              std::unique_ptr<AtomicFile> file = nullptr);
  // Paints through a context someone else made (a print dialog's page), in printer pixels
  // of `geometry.dpi` from the context's origin; the context's pages stay its owner's.
  CairoDevice(cairo_t *borrowed, const Geometry &geometry);
  ~CairoDevice() override;

  // Makes the DC handles; null when the size is unusable or the surface cannot be made.
  static HDC CreateImageDc(int width_px, int height_px);
  // A DC painting into an existing image surface (a window's pixels), not cleared.
  static HDC CreateImageDc(cairo_surface_t *image);
  // A printer on a PDF file whose printable area is the paper less the given margins.
  static HDC CreatePrinterDc(const std::string &pdf_path, double paper_width_mm,
                             double paper_height_mm, const Geometry &margins_at_dpi);
  static HDC CreatePrinterDc(const std::string &pdf_path, double paper_width_mm,
                             double paper_height_mm, int dpi, int offset_x_px, int offset_y_px);
  static HDC CreateSvgDc(const std::string &svg_path, int width_px, int height_px);
  // A printer DC on someone else's page context (a print dialog's), whose units are points
  // from the paper's corner: device pixels of `dpi` on paper of the given size.
  static HDC CreateContextDc(cairo_t *page, double paper_width_mm, double paper_height_mm, int dpi);
  // The painting device behind `hdc`, or null for every other DC.
  static CairoDevice *Of(HDC hdc);

  Surface kind() const { return kind_; }
  const Geometry &geometry() const { return geometry_; }
  // The surface with everything drawn so far on it.
  cairo_surface_t *surface() {
    StrokeRun();
    pixels_.Publish();
    return surface_;
  }
  // The reference values the DC's metric mapping modes use: exact at the device resolution.
  static ReferenceDevice ReferenceFor(int dpi);

  // Raster images paint crisp on whole pixels as GDI does; with anti-aliasing on, lines and
  // fills keep their exact positions and smooth edges instead.
  void SetAntialias(bool on) { antialias_ = on; }
  // Crisp one-pixel lines in an opaque colour are written straight into an image's pixels;
  // off, cairo fills them (the same pixels: the tests compare the two).
  void SetDirectPixels(bool on) { direct_pixels_ = on; }
  // Images only: writes a PNG through an AtomicFile; false (nothing changed under the name)
  // when it cannot be written.
  bool SavePng(const std::string &path);
  void EndPage();  // printers: the next page starts empty
  // Ends the surface (no painting after): a PDF or SVG file is put under its name when cairo
  // drew and wrote everything; otherwise no file is left. Then the finisher runs. True when
  // written (always for an image) and the finisher succeeded; the same answer on every later
  // call.
  bool Finish();
  // Runs once when the surface has ended, told whether the file was written (a print job
  // sends it); its answer is Finish's.
  void SetFinisher(std::function<bool(bool written)> finisher) { finisher_ = std::move(finisher); }
  // Runs after every painting step (a window shows what changed).
  void SetPaintObserver(std::function<void()> observer) { painted_ = std::move(observer); }

  int DeviceCaps(int index) const override;
  bool WholePixels() const override { return Crisp(); }
  void LineTo(Dc &dc, POINT from, POINT to) override;
  void Polyline(Dc &dc, std::span<const POINT> points) override;
  void PolyPolyline(Dc &dc, std::span<const POINT> points, std::span<const DWORD> counts) override;
  void Polygon(Dc &dc, std::span<const POINT> points) override;
  void StrokePath(Dc &dc) override;
  void DrawText(Dc &dc, const TextRun &run) override;
  void DrawImage(Dc &dc, const POINT (&corners)[3], const ImagePixels &image) override;

 private:
  // Whether a painting step changes anything: not after Finish, nor with R2_NOP.
  bool Paints(const Dc &dc) const;
  // Opens a painting step: cairo state saved, the DC's clip applied; false if it paints
  // nothing.
  bool Begin(Dc &dc);
  void End();
  struct Figure {
    std::span<const POINT> points;
    bool closed = false;
  };
  bool Crisp() const;  // a raster painted on whole pixels
  // Device coordinates of a logical point on the surface (whole pixels when crisp).
  void ToSurface(const Dc &dc, POINT p, double *x, double *y) const;
  void AddFigure(const Dc &dc, const Figure &figure, double shift);
  bool IsThinPen(const Dc &dc) const;  // crisp, and the pen is one pixel wide
  // Sets the stroke source, width, caps, joins and dashes; false for a null pen.
  bool SetUpPen(const Dc &dc, double *shift);
  // Sets the fill source; false for a null brush.
  bool SetUpBrush(const Dc &dc);
  void SetColour(const Dc &dc, COLORREF colour);  // the raster operation applied
  // Stroke, Fill and DrawText paint nothing inside a path bracket: there GDI only collects
  // figures (the DC keeps them in dc.path for StrokePath and the player's fills and clips).
  void Stroke(Dc &dc, std::span<const Figure> figures);
  void StrokeThin(Dc &dc, std::span<const Figure> figures);
  // The pixel runs of one-pixel lines through the figures, in thin_runs_.
  void CollectThinRuns(const Dc &dc, std::span<const Figure> figures);
  bool PaintsDirectly(const Dc &dc) const;  // thin lines may go straight into the pixels
  void Fill(Dc &dc, std::span<const Figure> figures);

  // Runs of LineTo segments drawn with the same pen, clip and opaque raster operation are
  // stroked together, each segment a sub-path of its own (so drawn as it would be alone):
  // a page of a million plotted segments is a few hundred strokes, not a million. With a
  // solid pen that is cosmetic or has round caps and joins, a segment that starts where the
  // last one ended continues its sub-path: the same pixels (GDI draws a cosmetic pen's lines
  // as one polyline, round joins are the round caps), and PDF and SVG get half the numbers.
  struct SegmentRun {
    bool open = false;
    uint64_t pen = 0, palette = 0;
    int rop2 = 0;
    double x_scale = 0, shift = 0;
    size_t segments = 0;
    bool joins = false;  // segments may continue a sub-path
    POINT last{0, 0};    // logical end of the last segment
  };
  bool ContinuesRun(const Dc &dc) const;
  void ClipToPrintableArea();
  void StrokeRun();  // strokes and closes the open run, if any

  Surface kind_;
  cairo_surface_t *surface_ = nullptr;
  cairo_t *cr_ = nullptr;
  Geometry geometry_;
  std::unique_ptr<AtomicFile> file_;
  bool borrowed_ = false;  // the context and its surface belong to someone else
  bool finished_ = false;
  bool antialias_ = false;
  bool written_ = false;
  std::function<bool(bool)> finisher_;
  std::function<void()> painted_;
  SegmentRun run_;
  // One-pixel lines: the pattern of the last pen (by serial and scale) and the buffers that
  // every stroke reuses.
  struct ThinStyle {
    uint64_t pen = 0;
    double x_scale = 0;
    LineStyle style;
  };
  LineStyle &ThinStyleOf(const Dc &dc);
  ThinStyle thin_style_;
  std::vector<POINT> thin_points_;
  std::vector<PixelRun> thin_runs_;
  SurfacePixels pixels_;
  bool direct_pixels_ = true;
  std::optional<std::vector<RECT>> run_clip_;
  PageMapping run_mapping_;  // at the last segment
};

// Writes an image surface as a PNG file through an AtomicFile: false, with nothing changed
// under the name, when it cannot be written whole.
bool WritePngFile(cairo_surface_t *surface, const std::string &path);

}  // namespace tamvel::posix
