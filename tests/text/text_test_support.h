// Helpers of the text tests: a drawing opened on page 1, and the texts of the finished
// metafile.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/common/page_test_util.h"

namespace tamvel::testing {

inline int32_t DxSum(const emf::Text &text) {
  int32_t sum = 0;
  for (int32_t d : text.dx) sum += d;
  return sum;
}

// The text state as the GET calls give it back.
inline std::pair<int32_t, int32_t> Getfon() {
  int32_t code = -1, vertical = -1;
  GETFON(&code, &vertical);
  return {code, vertical};
}
inline int32_t Getalg() {
  int32_t code = -1;
  GETALG(&code);
  return code;
}
inline float Getdeg() {
  float angle = -1.0f;
  GETDEG(&angle);
  return angle;
}

// Page index 0 with an A4 drawing open at font angle 0; Finish() closes it and decodes it.
class TextPageTest : public test::A4PageTest {
 protected:
  void SetUp() override {
    test::A4PageTest::SetUp();
    SETDEG(0.0f);  // a new drawing keeps the page font's angle
  }
  HDC Dc() const { return CurrentPage().RecordingDc(); }
  POINT Position() const {
    POINT p{};
    GetCurrentPositionEx(Dc(), &p);
    return p;
  }
  std::vector<emf::Text> Texts() const {
    std::vector<emf::Text> texts;
    for (const emf::Text *t : test::Views<emf::Text>(result_, emf::kExtTextOutW)) {
      texts.push_back(*t);
    }
    return texts;
  }
  // The text of every text record, in order.
  std::vector<std::u16string> Strings() const {
    std::vector<std::u16string> strings;
    for (const emf::Text &t : Texts()) strings.push_back(t.text);
    return strings;
  }
  // All text written, the records joined.
  std::u16string AllText() const {
    std::u16string all;
    for (const emf::Text &t : Texts()) all += t.text;
    return all;
  }
  size_t Count(uint32_t type) const { return test::CountRecords(result_, type); }
};

}  // namespace tamvel::testing
