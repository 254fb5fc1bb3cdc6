#include "store/codepage.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace cp = store::cp;

namespace {

struct Mapping {
  const char* utf8;
  unsigned char ansi;
  unsigned char oem;
};

// Characters a Spanish school's names and subjects use, with their bytes in
// Windows-1252 and in code page 850.
const Mapping kSpanish[] = {
    {"á", 0xE1, 0xA0}, {"é", 0xE9, 0x82}, {"í", 0xED, 0xA1}, {"ó", 0xF3, 0xA2}, {"ú", 0xFA, 0xA3},
    {"Á", 0xC1, 0xB5}, {"É", 0xC9, 0x90}, {"Í", 0xCD, 0xD6}, {"Ó", 0xD3, 0xE0}, {"Ú", 0xDA, 0xE9},
    {"ñ", 0xF1, 0xA4}, {"Ñ", 0xD1, 0xA5}, {"ü", 0xFC, 0x81}, {"Ü", 0xDC, 0x9A}, {"¿", 0xBF, 0xA8},
    {"¡", 0xA1, 0xAD}, {"º", 0xBA, 0xA7}, {"ª", 0xAA, 0xA6}, {"ƒ", 0x83, 0x9F}, {"A", 0x41, 0x41},
};

TEST(CodePage, SpanishCharactersMapBetweenUtf8AnsiAndOem) {
  for (const Mapping& m : kSpanish) {
    SCOPED_TRACE(m.utf8);
    std::string ansi;
    ASSERT_TRUE(cp::utf8ToAnsi(m.utf8, ansi).ok());
    ASSERT_EQ(ansi.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(ansi[0]), m.ansi);
    EXPECT_EQ(cp::ansiToOem(m.ansi), m.oem);
    EXPECT_EQ(cp::oemToAnsi(m.oem), m.ansi);
    EXPECT_EQ(cp::ansiToUtf8(ansi), m.utf8);
  }
}

TEST(CodePage, TablesArePermutationsSoAnyImageSurvivesReadAndWrite) {
  std::set<unsigned char> oemSeen;
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    EXPECT_EQ(cp::oemToAnsi(cp::ansiToOem(c)), c);
    oemSeen.insert(cp::ansiToOem(c));
  }
  EXPECT_EQ(oemSeen.size(), 256u);
}

TEST(CodePage, OnlyCharactersOfBothPagesAreStorable) {
  int storable = 0;
  for (int b = 0; b < 256; ++b) storable += cp::ansiStorable(static_cast<unsigned char>(b));
  EXPECT_EQ(storable, 128 + 96 + 1);  // ASCII, all of Latin-1, the florin
  EXPECT_FALSE(cp::ansiStorable(0x80));  // euro sign
  EXPECT_FALSE(cp::ansiStorable(0x93));  // left double quotation mark
}

TEST(CodePage, Utf8ThatTheFileCannotHoldIsRefused) {
  const struct {
    const char* text;
    int code;
  } cases[] = {
      {"5 €", store::kTextNotStorable},       // in Windows-1252, not in code page 850
      {"“hola”", store::kTextNotStorable},    // same
      {"Ωmega", store::kTextNotStorable},     // in neither
      {"😀", store::kTextNotStorable},
      {"\xC3", store::kInvalidValue},         // cut UTF-8 sequence
      {"\xC0\xAF", store::kInvalidValue},     // overlong encoding
      {"\xED\xA0\x80", store::kInvalidValue}, // surrogate
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string out;
    EXPECT_EQ(cp::utf8ToAnsi(c.text, out).code(), c.code);
  }
}

TEST(CodePage, NocaseFoldsAccentedLettersToTheirCapitals) {
  auto fold = [](const char* utf8) {
    std::string ansi;
    EXPECT_TRUE(cp::utf8ToAnsi(utf8, ansi).ok());
    std::string oem(ansi.size(), ' ');
    cp::ansiToOem(ansi.data(), oem.data(), ansi.size());
    for (char& c : oem) c = static_cast<char>(cp::oemUpper(static_cast<unsigned char>(c)));
    std::string back(oem.size(), ' ');
    cp::oemToAnsi(oem.data(), back.data(), oem.size());
    return cp::ansiToUtf8(back);
  };
  EXPECT_EQ(fold("peña núñez"), "PEÑA NÚÑEZ");
  EXPECT_EQ(fold("José María Güemes"), "JOSÉ MARÍA GÜEMES");
  EXPECT_EQ(fold("ß ÿ 1º"), "ß ÿ 1º");  // no capital in the page: unchanged
}

}  // namespace

namespace {

TEST(CodePage, BufferConversionAgreesWithTheTablesByteForByte) {
  std::mt19937 rng(850);
  for (int trial = 0; trial < 2000; ++trial) {
    std::string in(rng() % 40, ' ');
    for (char& c : in) c = static_cast<char>(rng() % 4 == 0 ? rng() % 256 : ' ' + rng() % 90);  // mostly ASCII
    std::string oem(in.size(), '\0'), back(in.size(), '\0');
    cp::ansiToOem(in.data(), oem.data(), in.size());
    cp::oemToAnsi(oem.data(), back.data(), in.size());
    for (std::size_t i = 0; i < in.size(); ++i)
      ASSERT_EQ(static_cast<unsigned char>(oem[i]), cp::ansiToOem(static_cast<unsigned char>(in[i])));
    ASSERT_EQ(back, in);
    std::string inPlace = in;  // the store converts record images in place
    cp::ansiToOem(inPlace.data(), inPlace.data(), inPlace.size());
    ASSERT_EQ(inPlace, oem);
  }
}

}  // namespace
