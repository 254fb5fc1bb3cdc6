#include "store/image_codec.h"

namespace store {

void packImage(std::string_view in, std::string& out) {
  out.clear();
  out.reserve(in.size() / 2 + 16);
  std::size_t i = 0;
  const std::size_t n = in.size();
  while (i < n) {
    // A run of three or more equal bytes is worth a repeat block.
    std::size_t run = 1;
    while (i + run < n && run < 130 && in[i + run] == in[i]) ++run;
    if (run >= 3) {
      out += static_cast<char>(run + 125);
      out += in[i];
      i += run;
      continue;
    }
    // Otherwise gather literals up to the next run of three.
    std::size_t j = i;
    while (j < n && j - i < 128) {
      if (j + 2 < n && in[j] == in[j + 1] && in[j] == in[j + 2]) break;
      ++j;
    }
    out += static_cast<char>(j - i - 1);
    out.append(in.substr(i, j - i));
    i = j;
  }
}

bool unpackImage(std::string_view in, std::size_t size, std::string& out) {
  out.clear();
  out.reserve(size);
  std::size_t i = 0;
  while (i < in.size()) {
    const auto c = static_cast<unsigned char>(in[i++]);
    if (c < 128) {
      const std::size_t len = c + 1u;
      if (i + len > in.size() || out.size() + len > size) return false;
      out.append(in.substr(i, len));
      i += len;
    } else {
      const std::size_t len = c - 125u;
      if (i >= in.size() || out.size() + len > size) return false;
      out.append(len, in[i++]);
    }
  }
  return out.size() == size;
}

}  // namespace store
