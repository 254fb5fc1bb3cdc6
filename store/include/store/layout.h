// Declarations of a data file: its record layout (fields with their types and
// offsets), its memo and its keys. The store works from these tables; it has no
// knowledge of any particular file. The dictionary declares KAMO's three files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/status.h"

namespace store {

enum class FieldType : std::uint8_t { Long, Short, String, Date, Decimal };

struct FieldDesc {
  std::string_view label;  // "KAL:EVALUACION_ANUAL"
  FieldType type;
  std::uint16_t offset;    // in the record image
  std::uint16_t size;      // bytes in the record image
};

struct KeyPart {
  std::uint16_t field;     // index into FileDesc::fields
  bool descending;         // "-" in the declaration
};

struct KeyDesc {
  std::string_view label;  // "KAL:CLAVE_CODMATERIA_ALUALFA"
  std::array<KeyPart, 4> parts;
  std::uint8_t partCount;
  bool dup;                // several records may share a value
  bool opt;                // records whose components are all empty are left out
  bool nocase;             // string components compare folded to upper case
  bool primary;            // the file's primary key
  std::span<const KeyPart> components() const { return {parts.data(), partCount}; }
};

struct MemoDesc {
  std::string_view label;  // empty when the file has no memo
  std::uint16_t size;      // characters
};

struct FileDesc {
  std::string_view label;     // "KALIBRETA"
  std::string_view prefix;    // "KAL"
  std::string_view diskName;  // "KALIBRETA.TPS"
  std::uint16_t recordSize;
  std::span<const FieldDesc> fields;
  std::span<const KeyDesc> keys;
  MemoDesc memo;

  bool hasMemo() const { return memo.size > 0; }
  int primaryKey() const;                            // index into keys, or -1
  int findField(std::string_view label) const;       // index, or -1
  int findKey(std::string_view label) const;         // index, or -1
};

// Blank record: string fields all spaces, every other field all zero bytes.
void clearRecord(const FileDesc& file, unsigned char* record);

// Fingerprints of the declarations, kept in each data file so that a program
// with other declarations notices it: the record layout, and the keys together
// with the key encoding.
std::uint64_t layoutFingerprint(const FileDesc& file);
std::uint64_t keysFingerprint(const FileDesc& file);

// Field values as text (ANSI), as the data tool reads and writes them:
// integers in decimal, decimals with "." and two decimals, dates DD/MM/YYYY
// (empty for no date), strings without their trailing spaces.
std::string fieldToText(const FieldDesc& field, const unsigned char* record);
// Strict: refuses, leaving the field unchanged, a text that is not a value of
// the field's type or does not fit (out of range, too many digits, too long).
Status fieldFromText(const FieldDesc& field, std::string_view ansi, unsigned char* record);

}  // namespace store
