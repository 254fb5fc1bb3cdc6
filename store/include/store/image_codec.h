// Record images are stored run-length encoded: most of a record is the
// padding of its string fields. The encoding is PackBits:
//   control byte c < 128   the next c+1 bytes are literal
//   control byte c >= 128  the next byte is repeated c-125 times (3 to 130)
// Decoding checks every length, so a damaged image is reported, never
// read past its end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace store {

void packImage(std::string_view image, std::string& out);
// False when `packed` does not decode to exactly `size` bytes.
bool unpackImage(std::string_view packed, std::size_t size, std::string& out);

}  // namespace store
