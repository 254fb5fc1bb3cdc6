// The key encoding against a direct comparison of the rules: components in
// order, numbers by value, strings over their full width (folded when NOCASE),
// descending components reversed. Random values stress the space handling.
#include "store/key_codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "store/codepage.h"
#include "store/field_types.h"

namespace {

using store::FieldType;

// A record of a short string, a long, another short string and a decimal.
constexpr store::FieldDesc kFields[] = {
    {"T:A", FieldType::String, 0, 6},
    {"T:N", FieldType::Long, 6, 4},
    {"T:B", FieldType::String, 10, 3},
    {"T:D", FieldType::Decimal, 13, 4},
};

store::KeyDesc makeKey(bool nocase, bool descA, bool descN, bool descB) {
  return {"T:K", {{{0, descA}, {1, descN}, {2, descB}, {3, false}}}, 4, true, false, nocase, false};
}

int sign(int v) { return (v > 0) - (v < 0); }

int reference(const store::KeyDesc& key, const unsigned char* x, const unsigned char* y) {
  for (const store::KeyPart& part : key.components()) {
    const store::FieldDesc& f = kFields[part.field];
    int c = 0;
    if (f.type == FieldType::String) {
      for (std::size_t i = 0; i < f.size && c == 0; ++i) {
        unsigned char a = x[f.offset + i], b = y[f.offset + i];
        if (key.nocase) a = store::cp::oemUpper(a), b = store::cp::oemUpper(b);
        c = sign(static_cast<int>(a) - static_cast<int>(b));
      }
    } else if (f.type == FieldType::Long) {
      const auto a = reinterpret_cast<const store::Long*>(x + f.offset)->get();
      const auto b = reinterpret_cast<const store::Long*>(y + f.offset)->get();
      c = (a > b) - (a < b);
    } else {
      const auto a = store::packed::decode(x + f.offset, f.size), b = store::packed::decode(y + f.offset, f.size);
      c = (a > b) - (a < b);
    }
    if (part.descending) c = -c;
    if (c != 0) return c;
  }
  return 0;
}

int encodedCompare(const std::string& a, const std::string& b) {
  const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (c != 0) return sign(c);
  return (a.size() > b.size()) - (a.size() < b.size());
}

TEST(KeyCodec, RandomRecordsCompareAsTheRulesSay) {
  // Spaces dominate, as in padded names, with control bytes, upper and lower
  // case, accented letters (OEM) and the highest byte mixed in.
  const unsigned char alphabet[] = {' ', ' ', ' ', ' ', 'a', 'A', 'b', 'z', 0x01, 0x1F, 0x00, 0xA4, 0xA5, 0xFF, '!'};
  std::mt19937 rng(2026);
  auto randomRecord = [&](unsigned char* r) {
    for (int i = 0; i < 6; ++i) r[i] = alphabet[rng() % sizeof alphabet];
    reinterpret_cast<store::Long*>(r + 6)->set(static_cast<std::int32_t>(rng() % 5) - 2);
    for (int i = 10; i < 13; ++i) r[i] = alphabet[rng() % sizeof alphabet];
    (void)store::packed::encode(store::Dec::fromCents(static_cast<std::int64_t>(rng() % 7) - 3), r + 13, 4);
  };
  const store::FileDesc file{"T", "T", "T.TPS", 17, kFields, {}, {"", 0}};
  for (const bool nocase : {false, true})
    for (const bool descA : {false, true})
      for (const bool descN : {false, true})
        for (const bool descB : {false, true}) {
          const store::KeyDesc key = makeKey(nocase, descA, descN, descB);
          SCOPED_TRACE(testing::Message() << "nocase=" << nocase << " desc=" << descA << descN << descB);
          for (int trial = 0; trial < 4000; ++trial) {
            unsigned char x[17], y[17];
            randomRecord(x);
            if (trial % 3 == 0) {
              std::memcpy(y, x, 17);  // mostly equal: differences late in the key
              y[rng() % 17] = alphabet[rng() % sizeof alphabet];
            } else {
              randomRecord(y);
            }
            std::string ex, ey;
            store::encodeKey(file, key, x, ex);
            store::encodeKey(file, key, y, ey);
            ASSERT_EQ(encodedCompare(ex, ey), reference(key, x, y))
                << "x=" << std::string(reinterpret_cast<char*>(x), 17) << " y=" << std::string(reinterpret_cast<char*>(y), 17);
            ASSERT_LE(ex.size(), store::keyWidth(file, key));
          }
        }
}

TEST(KeyCodec, PaddingIsNotStored) {
  constexpr store::FieldDesc fields[] = {{"T:S", FieldType::String, 0, 30}};
  const store::KeyDesc key{"T:K", {{{0, false}}}, 1, true, false, false, false};
  const store::FileDesc file{"T", "T", "T.TPS", 30, fields, {}, {"", 0}};
  unsigned char r[30];
  std::memset(r, ' ', 30);
  std::memcpy(r, "PEREZ, JUAN", 11);
  std::string e;
  store::encodeKey(file, key, r, e);
  EXPECT_EQ(e, std::string("PEREZ, JUAN \x01", 13));
}

}  // namespace
