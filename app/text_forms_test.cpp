#include "app/text_forms.h"

#include <gtest/gtest.h>

namespace {

TEST(TextForms, DecimalTextOfLocationCodes) {
  EXPECT_EQ(decimalText(10), "10");
  EXPECT_EQ(decimalText(140), "140");
}

TEST(TextForms, HexTextIsUnsignedUpperCaseWithoutLeadingZeros) {
  const struct {
    std::uint32_t status;
    const char* text;
  } cases[] = {
      {0x103, "103"},           {0xC0000225, "C0000225"}, {0x80000000, "80000000"},
      {0xFFFFFFFF, "FFFFFFFF"}, {0x0000ABCD, "ABCD"},     {0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hexText(c.status), c.text) << std::hex << c.status;
  }
}

TEST(TextForms, ElapsedSecondsBecomeWholeMillisecondsWithLeadingSpace) {
  const struct {
    double seconds;
    const char* text;
  } cases[] = {
      {0.5678, " 567"},    {0.0, " 0"},
      {0.0009, " 0"},      {-0.0005, "-1"},
      {-0.0, " 0"},        {1.0, " 1000"},
      {205.25, " 205250"}, {0.001, " 1"},
      {-2.5, "-2500"},     {1e12, " 1000000000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(elapsedText(wholeMilliseconds(c.seconds)), c.text) << c.seconds;
  }
}

TEST(TextForms, LargeMillisecondCountsKeepSixteenSignificantDigits) {
  EXPECT_EQ(elapsedText(1e17), " 1e+17");
  EXPECT_EQ(elapsedText(123456789012345.0), " 123456789012345");
}

}  // namespace
