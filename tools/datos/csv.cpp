#include "csv.h"

namespace kamo::datos {

bool parseCsv(std::string_view t, std::vector<CsvRecord>& records, std::string& error) {
  records.clear();
  std::size_t i = 0;
  if (t.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  int line = 1;
  while (i < t.size()) {
    CsvRecord rec;
    rec.line = line;
    for (;;) {  // one field
      std::string field;
      if (i < t.size() && t[i] == '"') {
        const int startLine = line;
        ++i;
        for (;;) {
          if (i >= t.size()) {
            error = "línea " + std::to_string(startLine) + ": falta la comilla que cierra el campo";
            return false;
          }
          if (t[i] == '"') {
            if (i + 1 < t.size() && t[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (t[i] == '\n') ++line;
          field += t[i++];
        }
        if (i < t.size() && t[i] != ',' && t[i] != '\n' && t[i] != '\r') {
          error = "línea " + std::to_string(line) + ": hay texto después de la comilla que cierra un campo";
          return false;
        }
      } else {
        while (i < t.size() && t[i] != ',' && t[i] != '\n' && t[i] != '\r') {
          if (t[i] == '"') {
            error = "línea " + std::to_string(line) + ": comilla dentro de un campo sin comillas";
            return false;
          }
          field += t[i++];
        }
      }
      rec.fields.push_back(std::move(field));
      if (i < t.size() && t[i] == ',') {
        ++i;
        continue;
      }
      break;
    }
    if (i < t.size() && t[i] == '\r') {
      if (i + 1 < t.size() && t[i + 1] == '\n') {
        ++i;
      } else {
        error = "línea " + std::to_string(line) + ": retorno de carro sin salto de línea";
        return false;
      }
    }
    if (i < t.size() && t[i] == '\n') ++i, ++line;
    records.push_back(std::move(rec));
  }
  return true;
}

void writeCsvRecord(const std::vector<std::string>& fields, std::string& out) {
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k) out += ',';
    const std::string& f = fields[k];
    if (f.find_first_of(",\"\r\n") == std::string::npos) {
      out += f;
      continue;
    }
    out += '"';
    for (char c : f) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  out += "\r\n";
}

}  // namespace kamo::datos
