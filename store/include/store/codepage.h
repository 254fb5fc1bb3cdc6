// Text in two code pages: record buffers hold Windows-1252 ("ANSI") text, the
// data files hold code page 850 ("OEM") text. The store converts every string
// field and memo on every read and write.
//
// Invariants:
//  1. ansiToOem and oemToAnsi are inverse permutations of the 256 byte values,
//     so any record image survives a read followed by a write unchanged.
//  2. Characters both pages hold (ASCII, all of Latin-1, the florin) map to the
//     same character; the rest of each page is paired in ascending order only to
//     keep invariant 1. Writing refuses such bytes (see ansiStorable).
//  3. UTF-8 text enters the ANSI world only through utf8ToAnsi, which refuses any
//     character the OEM page cannot hold (the euro sign, curly quotes, ...).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/status.h"

namespace store::cp {

unsigned char ansiToOem(unsigned char c);
unsigned char oemToAnsi(unsigned char c);
// True when the ANSI character has the same character in the OEM page.
bool ansiStorable(unsigned char c);
// NOCASE fold on OEM bytes: lower-case letters, accented ones included, to upper case.
unsigned char oemUpper(unsigned char c);

void ansiToOem(const char* in, char* out, std::size_t n);
void oemToAnsi(const char* in, char* out, std::size_t n);
// Index of the first byte of [text, text+n) that the OEM page cannot hold, or n.
std::size_t firstUnstorable(const char* text, std::size_t n);

char32_t ansiToUnicode(unsigned char c);
// The ANSI byte of a Unicode character, or -1 when Windows-1252 has none.
int unicodeToAnsi(char32_t u);

std::string ansiToUtf8(std::string_view ansi);
// Converts UTF-8 to ANSI. Refuses malformed UTF-8 (kInvalidValue) and any
// character that the ANSI page or the OEM page cannot hold (kTextNotStorable).
Status utf8ToAnsi(std::string_view utf8, std::string& out);

}  // namespace store::cp
