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
    case FieldType::String: return f.size;
    default: return 4;
  }
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
          for (std::size_t k = 0; k < f.size; ++k) out += static_cast<char>(cp::oemUpper(p[k]));
        else
          out.append(reinterpret_cast<const char*>(p), f.size);
        break;
    }
    if (part.descending)
      for (std::size_t k = start; k < out.size(); ++k) out[k] = static_cast<char>(~static_cast<unsigned char>(out[k]));
  }
}

}  // namespace store
