#include "store/field_types.h"
#include "store/image_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace store;

namespace {

template <typename T>
std::string bytesOf(const T& v) {
  return {reinterpret_cast<const char*>(&v), sizeof v};
}

TEST(FieldTypes, IntegersAreLittleEndianAndSigned) {
  Long l{};
  l = -2;
  EXPECT_EQ(bytesOf(l), std::string("\xFE\xFF\xFF\xFF", 4));
  l = 0x01020304;
  EXPECT_EQ(bytesOf(l), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(l.get(), 0x01020304);
  l = INT32_MIN;
  EXPECT_EQ(l.get(), INT32_MIN);
  Short s{};
  s = -32768;
  EXPECT_EQ(bytesOf(s), std::string("\x00\x80", 2));
  EXPECT_EQ(s.get(), -32768);
}

TEST(FieldTypes, StringsArePaddedWithSpacesAndCut) {
  String<6> s{};
  s = "ab";
  EXPECT_EQ(bytesOf(s), "ab    ");
  EXPECT_EQ(s.trimmed(), "ab");
  s = "abcdefgh";
  EXPECT_EQ(bytesOf(s), "abcdef");
  s = "";
  EXPECT_TRUE(s.blank());
}

TEST(FieldTypes, DateBytesAreDayMonthAndLittleEndianYear) {
  Date d{};
  d.set(9, 7, 1816);
  EXPECT_EQ(bytesOf(d), std::string("\x09\x07\x18\x07", 4));
  EXPECT_EQ(d.toString(), "09/07/1816");
  d.clear();
  EXPECT_TRUE(d.empty());
  EXPECT_EQ(d.toString(), "");
  EXPECT_EQ(d.dayNumber(), 0);
}

TEST(FieldTypes, DayNumbersCountConsecutiveDays) {
  EXPECT_EQ(dayNumber(1, 1, 1), 1);
  EXPECT_EQ(dayNumber(1, 3, 2024) - dayNumber(28, 2, 2024), 2);  // 29 February between
  EXPECT_EQ(dayNumber(1, 3, 2023) - dayNumber(28, 2, 2023), 1);
  EXPECT_EQ(dayNumber(1, 1, 2001) - dayNumber(1, 1, 2000), 366);
  EXPECT_LT(dayNumber(31, 12, 1999), dayNumber(1, 1, 2000));
}

TEST(FieldTypes, DatesParseFromDayMonthYearOnly) {
  const struct {
    const char* text;
    bool ok;
    int d, m, y;
  } cases[] = {
      {"09/07/1816", true, 9, 7, 1816}, {"9/7/1816", true, 9, 7, 1816},   {"29/02/2024", true, 29, 2, 2024},
      {"29/02/2023", false, 0, 0, 0},   {"31/04/2020", false, 0, 0, 0},   {"00/01/2020", false, 0, 0, 0},
      {"01/13/2020", false, 0, 0, 0},   {"1/1/20", false, 0, 0, 0},       {"2020-01-01", false, 0, 0, 0},
      {"01/01/2020x", false, 0, 0, 0},  {"001/01/2020", false, 0, 0, 0},  {"1/1/2020/1", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Date d{};
    d.set(1, 2, 3);
    const Status s = Date::parse(c.text, d);
    EXPECT_EQ(s.ok(), c.ok);
    if (c.ok) {
      EXPECT_EQ(d.day(), c.d);
      EXPECT_EQ(d.month(), c.m);
      EXPECT_EQ(d.year(), c.y);
    } else {
      EXPECT_EQ(d.day(), 1);  // untouched
    }
  }
  Date empty{};
  empty.set(1, 1, 2000);
  EXPECT_TRUE(Date::parse("", empty).ok());
  EXPECT_TRUE(empty.empty());
}

TEST(FieldTypes, DecimalFieldRefusesOverflowAndKeepsItsValue) {
  Decimal<4> d{};
  ASSERT_TRUE(d.set(Dec::fromCents(700)).ok());
  EXPECT_EQ(d.set(Dec::fromUnits(100000)).code(), kDecimalOverflow);
  EXPECT_EQ(d.get(), Dec::fromCents(700));
  Decimal<3> h{};
  EXPECT_TRUE(h.set(Dec::fromCents(99999)).ok());
  EXPECT_EQ(h.set(Dec::fromCents(100000)).code(), kDecimalOverflow);
}

}  // namespace



namespace {

TEST(ImageCodec, RoundTripsAndRefusesDamagedImages) {
  const std::string images[] = {
      std::string(1624, ' '),
      "",
      std::string("\x00\x01\x02", 3),
      std::string(200, 'x') + "abcabc" + std::string(3, 'z') + "ab" + std::string(131, '\0'),
      [] {
        std::string s;
        for (int i = 0; i < 600; ++i) s += static_cast<char>(i * 7);
        return s;
      }(),
  };
  for (const std::string& image : images) {
    std::string packed, back;
    store::packImage(image, packed);
    ASSERT_TRUE(store::unpackImage(packed, image.size(), back));
    EXPECT_EQ(back, image);
    EXPECT_LE(packed.size(), image.size() + image.size() / 128 + 1);
    if (!packed.empty()) {
      EXPECT_FALSE(store::unpackImage(packed.substr(0, packed.size() - 1), image.size(), back));
      EXPECT_FALSE(store::unpackImage(packed, image.size() + 1, back));
    }
  }
  std::string back;
  EXPECT_FALSE(store::unpackImage(std::string("\x05" "ab", 3), 6, back));  // literal block cut short
  EXPECT_FALSE(store::unpackImage(std::string("\xFF", 1), 130, back));     // repeat block without its byte
}

}  // namespace
