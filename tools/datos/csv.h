// CSV as RFC 4180 describes it: fields separated by commas, records by CRLF
// (LF accepted on reading), fields with commas, quotes or line breaks quoted,
// quotes inside doubled. Text is UTF-8; a leading byte-order mark is skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kamo::datos {

struct CsvRecord {
  int line = 0;                     // the line the record starts on (1-based)
  std::vector<std::string> fields;
};

// Parses the whole text. On malformed input returns false and says where in
// `error` (in Spanish, naming the line).
bool parseCsv(std::string_view text, std::vector<CsvRecord>& records, std::string& error);

// Appends one record, quoting only the fields that need it, ending in CRLF.
void writeCsvRecord(const std::vector<std::string>& fields, std::string& out);

}  // namespace kamo::datos
