// Order-preserving byte encoding of key values: comparing two encoded values
// byte by byte (memcmp, then length) gives the order of the key's declaration.
//
// Every component's encoding is self-delimiting, so components are simply
// concatenated:
//   LONG     4 bytes  big-endian, sign bit flipped
//   SHORT    2 bytes  big-endian, sign bit flipped
//   DECIMAL  4 bytes  the value in hundredths, big-endian, sign bit flipped
//                     (so -0.01 < 0 < 0.01 and a negative zero is zero)
//   DATE     4 bytes  the day number, big-endian, sign bit flipped; no date
//                     is all zero bytes and sorts before every date
//   STRING   the OEM bytes (folded to upper case in a NOCASE key), compared
//            as if padded with spaces to the full width, but written without
//            the padding. A run of spaces is written by what follows it:
//              one space, then a byte above 0x20   0x20 (itself)
//              k >= 2 spaces, then a byte > 0x20   0x20 0x02 (255-k)
//              k spaces, then a byte below 0x20    0x20 0x00 k
//              the end of the text (the padding)   0x20 0x01
//            so that (control bytes) < (space padding) < (printable bytes)
//            holds wherever a run of spaces meets a difference, exactly as
//            in a comparison over the full width.
// A descending ("-") component has every byte of its encoding inverted; as
// no component's encoding is a prefix of another's, that reverses its order.
// Equal values are ordered by record number by the container, not here.
#pragma once

#include <string>

#include "store/layout.h"

namespace store {

// The longest encoding of the key's first `parts` components (all when parts < 0).
std::size_t keyWidth(const FileDesc& file, const KeyDesc& key, int parts = -1);

// True when an OPT key leaves the record out: all its components are empty
// (strings all spaces, other fields all zero bytes).
bool keyLeavesOut(const FileDesc& file, const KeyDesc& key, const unsigned char* oemImage);

// Appends the encoding of the first `parts` components (all when parts < 0)
// of the record's value in the key to `out`. The image is in the OEM page.
void encodeKey(const FileDesc& file, const KeyDesc& key, const unsigned char* oemImage, std::string& out,
               int parts = -1);

}  // namespace store
