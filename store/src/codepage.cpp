#include "store/codepage.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace store::cp {
namespace {
#include "codepage_tables.inc"

struct UnicodeIndex {
  // Unicode code points below 0x2200 cover every Windows-1252 character.
  static constexpr char32_t kLimit = 0x2200;
  std::array<short, kLimit> ansiOf{};
  UnicodeIndex() {
    ansiOf.fill(-1);
    for (int b = 0; b < 256; ++b) ansiOf[kAnsiToUnicode[b]] = static_cast<short>(b);
  }
};
const UnicodeIndex& unicodeIndex() {
  static const UnicodeIndex index;
  return index;
}

void appendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}
}  // namespace

unsigned char ansiToOem(unsigned char c) { return kAnsiToOem[c]; }
unsigned char oemToAnsi(unsigned char c) { return kOemToAnsi[c]; }
bool ansiStorable(unsigned char c) { return kAnsiStorable[c]; }
unsigned char oemUpper(unsigned char c) { return kOemUpper[c]; }

namespace {
// Both pages keep ASCII in place, and most of a record is ASCII (padding
// spaces): eight bytes without a high bit are copied as they are.
void translate(const unsigned char (&table)[256], const char* in, char* out, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, in + i, 8);
    if ((word & 0x8080808080808080ULL) == 0) {
      if (in != out) std::memcpy(out + i, in + i, 8);
      continue;
    }
    for (std::size_t k = i; k < i + 8; ++k) out[k] = static_cast<char>(table[static_cast<unsigned char>(in[k])]);
  }
  for (; i < n; ++i) out[i] = static_cast<char>(table[static_cast<unsigned char>(in[i])]);
}
}  // namespace

void ansiToOem(const char* in, char* out, std::size_t n) { translate(kAnsiToOem, in, out, n); }

void oemToAnsi(const char* in, char* out, std::size_t n) { translate(kOemToAnsi, in, out, n); }

std::size_t firstUnstorable(const char* text, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    if (!kAnsiStorable[static_cast<unsigned char>(text[i])]) return i;
  return n;
}

char32_t ansiToUnicode(unsigned char c) { return kAnsiToUnicode[c]; }

int unicodeToAnsi(char32_t u) {
  if (u >= UnicodeIndex::kLimit) return -1;
  return unicodeIndex().ansiOf[u];
}

std::string ansiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (char c : ansi) appendUtf8(out, kAnsiToUnicode[static_cast<unsigned char>(c)]);
  return out;
}

Status utf8ToAnsi(std::string_view s, std::string& out) {
  out.clear();
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    char32_t u = 0;
    std::size_t len = 0;
    if (b0 < 0x80) {
      u = b0, len = 1;
    } else if ((b0 & 0xE0) == 0xC0) {
      u = b0 & 0x1F, len = 2;
    } else if ((b0 & 0xF0) == 0xE0) {
      u = b0 & 0x0F, len = 3;
    } else if ((b0 & 0xF8) == 0xF0) {
      u = b0 & 0x07, len = 4;
    } else {
      return {kInvalidValue, "texto UTF-8 mal formado"};
    }
    if (i + len > s.size()) return {kInvalidValue, "texto UTF-8 mal formado"};
    for (std::size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return {kInvalidValue, "texto UTF-8 mal formado"};
      u = (u << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMinOfLength[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (u < kMinOfLength[len] || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
      return {kInvalidValue, "texto UTF-8 mal formado"};
    const int a = unicodeToAnsi(u);
    if (a < 0 || !kAnsiStorable[a]) {
      std::string shown(s.substr(i, len));
      return {kTextNotStorable, "el carácter «" + shown + "» no se puede guardar en el archivo"};
    }
    out += static_cast<char>(a);
    i += len;
  }
  return {};
}

}  // namespace store::cp
