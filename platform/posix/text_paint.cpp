// Painting text runs with cairo: glyphs from the FreeType faces of the font module, placed
// where PlaceGlyphs puts them, so that painted text has exactly the recorded advances.
#include <cairo-ft.h>

#include <cmath>
#include <map>

#include "platform/posix/dc.h"
#include "platform/posix/text.h"

namespace tamvel::posix {
namespace {

// cairo font faces, one per FreeType face and synthesis, kept for the process like the
// FreeType faces they use. Each synthesis has an FT_Face of its own (FaceInstance): cairo
// hands out the same font face for the same FT_Face, so a bold flag set on a shared one
// would turn plain text bold, and its cached scaled fonts would keep bold text plain.
cairo_font_face_t *CairoFace(const ResolvedFace &face, bool bold, bool oblique) {
  static std::map<std::tuple<FT_Face, bool, bool>, cairo_font_face_t *> faces;
  const auto key = std::make_tuple(face.ft_face, bold, oblique);
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  FT_Face instance = FaceInstance(face, (bold ? 1 : 0) | (oblique ? 2 : 0));
  const bool own = instance != nullptr;
  cairo_font_face_t *created =
      cairo_ft_font_face_create_for_ft_face(own ? instance : face.ft_face, 0);
  unsigned int synthesize = (bold ? static_cast<unsigned int>(CAIRO_FT_SYNTHESIZE_BOLD) : 0u) |
                            (oblique ? static_cast<unsigned int>(CAIRO_FT_SYNTHESIZE_OBLIQUE) : 0u);
  if (own && synthesize != 0) cairo_ft_font_face_set_synthesize(created, synthesize);
  faces[key] = created;
  return created;
}

void FillBox(cairo_t *cr, double x, double y, double bx, double by, double width, double below,
             double above) {
  const double ux = by;
  const double uy = -bx;
  cairo_move_to(cr, x - below * ux, y - below * uy);
  cairo_line_to(cr, x + width * bx - below * ux, y + width * by - below * uy);
  cairo_line_to(cr, x + width * bx + above * ux, y + width * by + above * uy);
  cairo_line_to(cr, x + above * ux, y + above * uy);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace

void PaintTextRun(cairo_t *cr, const Dc &dc, const TextRun &run,
                  const std::function<void(COLORREF)> &set_colour) {
  if (cr == nullptr || run.text.empty()) return;
  const RealizedFont &font = run.font;
  const std::vector<PlacedGlyph> glyphs = PlaceGlyphs(dc, run);
  if (glyphs.empty()) return;
  const PlacedGlyph &first = glyphs.front();
  // The run's own baseline: that of its first glyph, or the column of a vertical face.
  const double bx = first.upright ? -first.by : first.bx;
  const double by = first.upright ? first.bx : first.by;
  double start_x = first.x;
  double start_y = first.y;
  if (first.upright) {
    // Back from the upright glyph's origin to the column's baseline-left origin.
    const double em = font.full_advance;
    const double down = font.ascent;
    const double across = -font.descent + (font.height - em) / 2.0;
    start_x = first.x - down * bx - across * by;
    start_y = first.y - down * by + across * bx;
  }

  cairo_save(cr);
  if (dc.state.bk_mode == OPAQUE) {
    set_colour(dc.state.bk_colour);
    FillBox(cr, start_x, start_y, bx, by, run.width, font.descent, font.ascent);
  }
  set_colour(dc.state.text_colour);
  cairo_font_options_t *options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  const double size_x = font.ppem * font.x_scale;
  const double size_y = font.ppem;
  for (const PlacedGlyph &g : glyphs) {
    if (g.face == nullptr || g.face->ft_face == nullptr) continue;
    // The code page's 0x5C is the yen sign in the Japanese faces.
    const char16_t unit = g.unit == u'\\' && g.face->japanese ? u'\u00A5' : g.unit;
    const FT_UInt index = FT_Get_Char_Index(g.face->ft_face, unit);
    if (index == 0 && (unit == u' ' || unit == 0x3000 || unit == 0)) continue;
    cairo_set_font_face(cr, CairoFace(*g.face, font.synthetic_bold, font.synthetic_italic));
    cairo_matrix_t matrix;
    // Glyph x along the baseline, glyph y (down in font space) against the baseline's up.
    cairo_matrix_init(&matrix, g.bx * size_x, g.by * size_x, -g.by * size_y, g.bx * size_y, 0, 0);
    cairo_set_font_matrix(cr, &matrix);
    cairo_glyph_t glyph{index, g.x, g.y};
    cairo_show_glyphs(cr, &glyph, 1);
  }
  // Underline and strike-out follow the run's baseline.
  const double thickness = std::fmax(1.0, std::round(font.ppem / 20.0));
  if (font.underline) {
    const double offset = std::fmax(1.0, std::round(font.descent / 2.0));
    FillBox(cr, start_x, start_y, bx, by, run.width, offset + thickness / 2.0,
            -(offset - thickness / 2.0));
  }
  if (font.strike_out) {
    const double offset = std::round(font.ascent / 3.0);
    FillBox(cr, start_x, start_y, bx, by, run.width, -(offset - thickness / 2.0),
            offset + thickness / 2.0);
  }
  cairo_restore(cr);
}

}  // namespace tamvel::posix
