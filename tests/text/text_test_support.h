// Helpers of the text tests: a drawing opened on page 1, and the decoded records of the
// finished metafile.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "include/tamvel.h"
#include "platform/emf/emf_decoder.h"
#include "platform/win32.h"
#include "src/pages/page_table.h"
#include "tests/common/emf_test_util.h"

namespace tamvel::testing {

inline int32_t DxSum(const emf::Text &text) {
  int32_t sum = 0;
  for (int32_t d : text.dx) sum += d;
  return sum;
}

// Page index 0 with an A4 drawing open; Close() finishes it and decodes its records.
class TextPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LibraryAttached()) {
      ASSERT_TRUE(AttachLibrary());
    }
    CHPAGE(1);
    ASSERT_NE(PLOTS(210.0f, 297.0f, 0), 0);
    SETDEG(0.0f);  // a new drawing keeps the page font's angle
  }
  HDC Dc() const { return CurrentPage().RecordingDc(); }
  POINT Position() const {
    POINT p{};
    GetCurrentPositionEx(Dc(), &p);
    return p;
  }
  void Close() {
    PLOT(0.0f, 0.0f, 999);
    result_ = test::DecodeMetafile(HandleFromValue<HENHMETAFILE>(static_cast<uint32_t>(MHEMF(0))));
    ASSERT_TRUE(result_.ok()) << test::ProblemsText(result_);
  }
  std::vector<emf::Text> Texts() const {
    std::vector<emf::Text> texts;
    for (const emf::Text *t : test::Views<emf::Text>(result_, emf::EMR_EXTTEXTOUTW)) {
      texts.push_back(*t);
    }
    return texts;
  }
  // All text written, the records joined.
  std::u16string AllText() const {
    std::u16string all;
    for (const emf::Text &t : Texts()) all += t.text;
    return all;
  }
  size_t Count(uint32_t type) const { return test::CountRecords(result_, type); }
  const emf::DecodeResult &Result() const { return result_; }

 private:
  emf::DecodeResult result_;
};

}  // namespace tamvel::testing
