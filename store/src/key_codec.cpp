#include "store/key_codec.h"

#include "store/codepage.h"
#include "store/decimal.h"
#include "store/field_types.h"

namespace store {
namespace {

void putFlipped32(std::string& out, std::uint32_t v) {
  v ^= 0x80000000u;
  out += static_cast<char>(v >> 24);
  out += static_cast<char>((v >> 16) & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

std::size_t componentWidth(const FieldDesc& f) {
  switch (f.type) {
    case FieldType::Short: return 2;
    case FieldType::String: return 2 * f.size + 2;  // every other byte a space before a control byte
    default: return 4;
  }
}

// Writes a string component (already folded when the key is NOCASE); see the
// table in key_codec.h.
template <typename Map>
void putString(std::string& out, const unsigned char* p, std::size_t n, Map map) {
  std::size_t end = n;
  while (end > 0 && p[end - 1] == ' ') --end;
  std::size_t i = 0;
  while (i < end) {
    const unsigned char c = map(p[i]);
    if (c != ' ') {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    std::size_t k = 0;
    while (i < end && map(p[i]) == ' ') ++k, ++i;
    const unsigned char next = map(p[i]);  // i < end: the text goes on after the run
    out += ' ';
    if (next > ' ') {
      if (k >= 2) {
        out += '\x02';
        out += static_cast<char>(255 - k);
      }
    } else {
      out += '\x00';
      out += static_cast<char>(k);
    }
  }
  out += ' ';
  out += '\x01';
}

}  // namespace

std::size_t keyWidth(const FileDesc& file, const KeyDesc& key, int parts) {
  std::size_t w = 0;
  const int n = parts < 0 ? key.partCount : parts;
  for (int i = 0; i < n; ++i) w += componentWidth(file.fields[key.parts[i].field]);
  return w;
}

bool keyLeavesOut(const FileDesc& file, const KeyDesc& key, const unsigned char* image) {
  if (!key.opt) return false;
  for (const KeyPart& part : key.components()) {
    const FieldDesc& f = file.fields[part.field];
    const unsigned char empty = f.type == FieldType::String ? ' ' : 0;
    for (std::size_t i = 0; i < f.size; ++i)
      if (image[f.offset + i] != empty) return false;
  }
  return true;
}

void encodeKey(const FileDesc& file, const KeyDesc& key, const unsigned char* image, std::string& out, int parts) {
  const int n = parts < 0 ? key.partCount : parts;
  for (int i = 0; i < n; ++i) {
    const KeyPart& part = key.parts[i];
    const FieldDesc& f = file.fields[part.field];
    const unsigned char* p = image + f.offset;
    const std::size_t start = out.size();
    switch (f.type) {
      case FieldType::Long:
        putFlipped32(out, static_cast<std::uint32_t>(reinterpret_cast<const Long*>(p)->get()));
        break;
      case FieldType::Short: {
        const auto v = static_cast<std::uint16_t>(reinterpret_cast<const Short*>(p)->get()) ^ 0x8000u;
        out += static_cast<char>(v >> 8);
        out += static_cast<char>(v & 0xFF);
        break;
      }
      case FieldType::Decimal:
        putFlipped32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(packed::decode(p, f.size).cents())));
        break;
      case FieldType::Date: {
        const auto* d = reinterpret_cast<const Date*>(p);
        if (d->empty())
          out.append(4, '\0');
        else
          putFlipped32(out, static_cast<std::uint32_t>(d->dayNumber()));
        break;
      }
      case FieldType::String:
        if (key.nocase)
          putString(out, p, f.size, [](unsigned char c) { return cp::oemUpper(c); });
        else
          putString(out, p, f.size, [](unsigned char c) { return c; });
        break;
    }
    if (part.descending)
      for (std::size_t k = start; k < out.size(); ++k) out[k] = static_cast<char>(~static_cast<unsigned char>(out[k]));
  }
}

}  // namespace store
