#include "store/decimal.h"

#include <gtest/gtest.h>

#include <string>

using store::Dec;

namespace {

TEST(Decimal, ParsesTypedMarks) {
  const struct {
    const char* text;
    std::int64_t cents;
  } cases[] = {
      {"8", 800},   {"8.5", 850},  {"8,5", 850},     {"8,50", 850},  {"-5.50", -550}, {"+3", 300},
      {".5", 50},   {"0", 0},      {"0.01", 1},      {"-0", 0},      {"10.00", 1000}, {"99999.99", 9999999},
      {"5.99", 599}, {"6.", 600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Dec d;
    ASSERT_TRUE(Dec::parse(c.text, d).ok());
    EXPECT_EQ(d.cents(), c.cents);
  }
}

TEST(Decimal, RefusesWhatIsNotADecimalWithTwoPlaces) {
  for (const char* text : {"", "-", ".", "8.555", "1e3", "8 5", "8.5.1", "abc", "1,000.00", " 8", "0x10"}) {
    SCOPED_TRACE(text);
    Dec d = Dec::fromCents(123);
    EXPECT_FALSE(Dec::parse(text, d).ok());
    EXPECT_EQ(d.cents(), 123);  // untouched
  }
}

TEST(Decimal, FormatsWithTwoDecimals) {
  EXPECT_EQ(Dec::fromCents(850).toString(), "8.50");
  EXPECT_EQ(Dec::fromCents(-550).toString(), "-5.50");
  EXPECT_EQ(Dec::fromCents(-5).toString(), "-0.05");
  EXPECT_EQ(Dec::fromCents(0).toString(), "0.00");
  EXPECT_EQ(Dec::fromCents(9999999).toString(), "99999.99");
}

TEST(Decimal, PackedBytesAreSignNibbleThenBcdDigits) {
  const struct {
    std::int64_t cents;
    std::size_t bytes;
    unsigned char image[4];
  } cases[] = {
      {850, 4, {0x00, 0x00, 0x08, 0x50}},
      {-550, 4, {0xF0, 0x00, 0x05, 0x50}},
      {0, 4, {0x00, 0x00, 0x00, 0x00}},
      {9999999, 4, {0x09, 0x99, 0x99, 0x99}},
      {-9999999, 4, {0xF9, 0x99, 0x99, 0x99}},
      {1234567, 4, {0x01, 0x23, 0x45, 0x67}},
      {12345, 3, {0x01, 0x23, 0x45}},
      {-99999, 3, {0xF9, 0x99, 0x99}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cents);
    unsigned char b[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    ASSERT_TRUE(store::packed::encode(Dec::fromCents(c.cents), b, c.bytes).ok());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(b), c.bytes), std::string(reinterpret_cast<const char*>(c.image), c.bytes));
    EXPECT_EQ(store::packed::decode(b, c.bytes).cents(), c.cents);
  }
}

TEST(Decimal, TooManyIntegerDigitsIsRefusedAndNothingWritten) {
  const struct {
    std::int64_t cents;
    std::size_t bytes;
  } cases[] = {{10000000, 4}, {-10000000, 4}, {100000, 3}, {-100000, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cents);
    unsigned char b[4] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(store::packed::encode(Dec::fromCents(c.cents), b, c.bytes).code(), store::kDecimalOverflow);
    EXPECT_EQ(b[0], 0x01);
    EXPECT_EQ(b[c.bytes - 1], c.bytes == 4 ? 0x04 : 0x03);
  }
}

TEST(Decimal, ComparesExactlyToTheHundredth) {
  Dec a, b;
  ASSERT_TRUE(Dec::parse("5.99", a).ok());
  ASSERT_TRUE(Dec::parse("6", b).ok());
  EXPECT_LT(a, b);
  EXPECT_EQ(Dec::fromCents(600), b);
  EXPECT_LT(Dec::fromCents(-1), Dec::fromCents(0));
}

}  // namespace
