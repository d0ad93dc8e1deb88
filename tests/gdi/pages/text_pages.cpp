// Text: Latin and Japanese text turned to many angles, vertical writing with the "@" faces,
// and each of the five faces of the typeface table plain, bold, italic and plain again (the
// last line catches a style that leaks from one text to the next).
#include <cstring>
#include <string>

#include "tamvel.h"
#include "tests/gdi/pages/feature_pages.h"

namespace tamvel::feature_pages {
namespace {

#define TEXT_JAPANESE /* 日本語テキスト */ \
  "\x93\xfa\x96\x7b\x8c\xea\x83\x65\x83\x4c\x83\x58\x83\x67"
#define TEXT_VERTICAL /* 縦書き「ー」ＡＢ12 */               \
  "\x8f\x63\x8f\x91\x82\xab\x81\x75\x81\x5b\x81\x76\x82\x60\x82\x61" \
  "12"
#define TEXT_FACE /* Face 字体かなカナ */ "Face \x8e\x9a\x91\xcc\x82\xa9\x82\xc8\x83\x4a\x83\x69"

// SYMBOL counts bytes, KANJI full-width characters; both take the whole text with these.
int32_t Bytes(const char *text) { return static_cast<int32_t>(std::strlen(text)); }

struct Face {
  int32_t code;
  const char *name;
};
const Face kFaces[] = {
    {0, "ms-mincho"}, {1, "mincho"}, {2, "maru-gothic"}, {3, "gothic"}, {6, "ms-gothic"}};

void FacePage(int32_t code) {
  SETFON(code, 0);
  TEXTC(0, 0, 0, 0);
  struct Style {
    int32_t weight;
    int32_t italic;
  };
  const Style styles[] = {{400, 0}, {700, 0}, {400, 1}, {700, 1}, {400, 0}};
  for (int i = 0; i < 5; ++i) {
    SETWEIGHT(styles[i].weight);
    SETFONETC(styles[i].italic, 0, 0);
    KANJI(6.0f, 58.0f - 13.0f * i, 8.0f, TEXT_FACE, 0.0f, 0);
  }
}

}  // namespace

void AddTextPages(Pages &pages) {
  pages.push_back({"text-angles-latin", [] {
                     SETFON(6, 0);
                     TEXTC(10, 0, 0, 0);
                     for (int i = 0; i < 12; ++i) {
                       SYMBOL(50.0f, 35.0f, 4.0f, "  Angle", 30.0f * i, Bytes("  Angle"));
                     }
                   }});
  pages.push_back({"text-angles-japanese", [] {
                     SETFON(0, 0);
                     TEXTC(9, 0, 0, 0);
                     static const float kAngles[] = {0.0f, 15.0f, 45.0f, 90.0f, 160.0f, -30.0f};
                     for (int i = 0; i < 6; ++i) {
                       KANJI(8.0f + 15.0f * i, 35.0f, 5.0f, TEXT_JAPANESE, kAngles[i], 0);
                     }
                   }});
  pages.push_back({"text-vertical", [] {
                     TEXTC(0, 0, 0, 0);
                     SETFON(0, 1);
                     KANJI(15.0f, 66.0f, 4.5f, TEXT_VERTICAL, 0.0f, -10);
                     SETFON(6, 1);
                     KANJI(35.0f, 66.0f, 4.5f, TEXT_VERTICAL, 0.0f, -10);
                     SYMBOL(55.0f, 65.0f, 5.0f, "ABC 123", 0.0f, -Bytes("ABC 123"));
                     SETFON(2, 1);
                     KANJI(70.0f, 66.0f, 4.5f, TEXT_VERTICAL, 20.0f, -10);
                   }});
  for (const Face &face : kFaces) {
    pages.push_back({std::string("face-") + face.name, [code = face.code] { FacePage(code); }});
  }
}

}  // namespace tamvel::feature_pages
