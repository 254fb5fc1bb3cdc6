// Results of the file store: an error number with its standard text and, where
// useful, a detail that says what exactly went wrong (a field, a key, a line).
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace store {

// Error numbers. The first group is the store's historical numbering that the
// file managers and their messages rely on; 100 and above are this store's own.
enum Err : int {
  kOk = 0,
  kFileNotFound = 2,          // "File Not Found"
  kAccessDenied = 5,          // "Access Denied"
  kRecordNotAvailable = 33,   // "Record Not Available": end of a sequence
  kRecordNotFound = 35,       // "Record Not Found": no record with that key value
  kDuplicateKey = 40,         // "Creates Duplicate Key"
  kRecordHeld = 43,           // "Record Is Already Held"
  kKeysMustBeRebuilt = 46,    // "Key File Must Be Rebuilt"
  kFileAlreadyOpen = 52,      // "File Already Open"
  kRecordChanged = 89,        // "Record Changed By Another Station"
  kNotADataFile = 100,        // the file at that name is not a KAMO data file
  kFileDamaged = 101,         // a KAMO data file that is truncated or corrupt
  kDecimalOverflow = 102,     // a value with more integer digits than a DECIMAL holds
  kTextNotStorable = 103,     // text the file's code page cannot hold
  kTransactionFailed = 104,   // a transaction could not be started in time
  kStorageError = 105,        // any other failure of the container
  kInvalidOpenMode = 106,     // an open mode this store does not offer
  kFileNotOpen = 107,         // an operation that needs the file open
  kInvalidCommand = 108,      // a text command the store does not know
  kNoCurrentRecord = 109,     // a write with no record read before it
  kInvalidValue = 110,        // a text that is not a value of the field's type
  kWrongFile = 111,           // the data file holds another file's records
  kFileExists = 112,          // creating a file where one already is
};

// The standard text of an error number ("File Not Found").
std::string_view errorText(int code);

class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(int code, std::string detail = {}) : code_(code), detail_(std::move(detail)) {}  // NOLINT

  bool ok() const { return code_ == kOk; }
  int code() const { return code_; }
  const std::string& detail() const { return detail_; }
  std::string_view text() const { return errorText(code_); }
  // "Creates Duplicate Key (40): KAL:CLAVE_PRIMARIA" — for logs and the data tool.
  std::string describe() const;

 private:
  int code_ = kOk;
  std::string detail_;
};

inline Status okStatus() { return {}; }

}  // namespace store
