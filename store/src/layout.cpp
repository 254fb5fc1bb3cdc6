#include "store/layout.h"

#include <charconv>
#include <cstring>
#include <limits>

#include "store/field_types.h"

namespace store {

namespace {
// Bumped whenever the byte encoding of key values changes; part of the keys'
// fingerprint, so existing files then report that their keys must be rebuilt.
constexpr int kKeyEncodingVersion = 2;

std::uint64_t fnv1a(std::string_view s) {
  std::uint64_t h = 1469598103934665603ULL;
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ULL;
  }
  return h;
}

const char* typeName(FieldType t) {
  switch (t) {
    case FieldType::Long: return "LONG";
    case FieldType::Short: return "SHORT";
    case FieldType::String: return "STRING";
    case FieldType::Date: return "DATE";
    case FieldType::Decimal: return "DECIMAL";
  }
  return "?";
}

template <typename Int>
Status parseInteger(const FieldDesc& f, std::string_view t, Int& out) {
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  long long v = 0;
  auto [ptr, ec] = std::from_chars(first, last, v);
  if (t.empty() || ec == std::errc::invalid_argument || (ptr != last && ec == std::errc()))
    return {kInvalidValue, "«" + std::string(t) + "» no es un número entero"};
  if (ec == std::errc::result_out_of_range || v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max())
    return {kInvalidValue, "«" + std::string(t) + "» está fuera del rango de " + typeName(f.type)};
  out = static_cast<Int>(v);
  return {};
}
}  // namespace

int FileDesc::primaryKey() const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].primary) return static_cast<int>(i);
  return -1;
}

int FileDesc::findField(std::string_view l) const {
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].label == l) return static_cast<int>(i);
  return -1;
}

int FileDesc::findKey(std::string_view l) const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i].label == l) return static_cast<int>(i);
  return -1;
}

void clearRecord(const FileDesc& file, unsigned char* record) {
  std::memset(record, 0, file.recordSize);
  for (const FieldDesc& f : file.fields)
    if (f.type == FieldType::String) std::memset(record + f.offset, ' ', f.size);
}

std::uint64_t layoutFingerprint(const FileDesc& file) {
  std::string s = std::string(file.label) + "|" + std::to_string(file.recordSize);
  for (const FieldDesc& f : file.fields)
    s += "|" + std::string(f.label) + ":" + typeName(f.type) + "@" + std::to_string(f.offset) + "+" + std::to_string(f.size);
  s += "|memo:" + std::string(file.memo.label) + ":" + std::to_string(file.memo.size);
  return fnv1a(s);
}

std::uint64_t keysFingerprint(const FileDesc& file) {
  std::string s = "encoding" + std::to_string(kKeyEncodingVersion);
  for (const KeyDesc& k : file.keys) {
    s += "|" + std::string(k.label);
    for (const KeyPart& p : k.components())
      s += (p.descending ? ",-" : ",+") + std::string(file.fields[p.field].label);
    s += k.dup ? " DUP" : "";
    s += k.opt ? " OPT" : "";
    s += k.nocase ? " NOCASE" : "";
    s += k.primary ? " PRIMARY" : "";
  }
  return fnv1a(s);
}

std::string fieldToText(const FieldDesc& f, const unsigned char* record) {
  const unsigned char* p = record + f.offset;
  switch (f.type) {
    case FieldType::Long: return std::to_string(reinterpret_cast<const Long*>(p)->get());
    case FieldType::Short: return std::to_string(reinterpret_cast<const Short*>(p)->get());
    case FieldType::Decimal: return packed::decode(p, f.size).toString();
    case FieldType::Date: return reinterpret_cast<const Date*>(p)->toString();
    case FieldType::String: {
      std::size_t n = f.size;
      while (n > 0 && p[n - 1] == ' ') --n;
      return {reinterpret_cast<const char*>(p), n};
    }
  }
  return {};
}

Status fieldFromText(const FieldDesc& f, std::string_view t, unsigned char* record) {
  unsigned char* p = record + f.offset;
  switch (f.type) {
    case FieldType::Long: {
      std::int32_t v = 0;
      if (Status s = parseInteger(f, t.empty() ? std::string_view("0") : t, v); !s.ok()) return s;
      reinterpret_cast<Long*>(p)->set(v);
      return {};
    }
    case FieldType::Short: {
      std::int16_t v = 0;
      if (Status s = parseInteger(f, t.empty() ? std::string_view("0") : t, v); !s.ok()) return s;
      reinterpret_cast<Short*>(p)->set(v);
      return {};
    }
    case FieldType::Decimal: {
      Dec v;
      if (!t.empty())
        if (Status s = Dec::parse(t, v); !s.ok()) return s;
      return packed::encode(v, p, f.size);
    }
    case FieldType::Date: {
      Date d{};
      if (Status s = Date::parse(t, d); !s.ok()) return s;
      std::memcpy(p, d.b, 4);
      return {};
    }
    case FieldType::String:
      if (t.size() > f.size)
        return {kInvalidValue, "el texto tiene " + std::to_string(t.size()) + " caracteres y el campo admite " +
                                   std::to_string(f.size)};
      std::memcpy(p, t.data(), t.size());
      std::memset(p + t.size(), ' ', f.size - t.size());
      return {};
  }
  return {kInvalidValue};
}

}  // namespace store
