#include "store/status.h"

namespace store {

std::string_view errorText(int code) {
  switch (code) {
    case kOk: return "No Error";
    case kFileNotFound: return "File Not Found";
    case kAccessDenied: return "Access Denied";
    case kRecordNotAvailable: return "Record Not Available";
    case kRecordNotFound: return "Record Not Found";
    case kDuplicateKey: return "Creates Duplicate Key";
    case kRecordHeld: return "Record Is Already Held";
    case kKeysMustBeRebuilt: return "Key File Must Be Rebuilt";
    case kFileAlreadyOpen: return "File Already Open";
    case kRecordChanged: return "Record Changed By Another Station";
    case kNotADataFile: return "Not A KAMO Data File";
    case kFileDamaged: return "Data File Is Damaged";
    case kDecimalOverflow: return "Decimal Value Too Large";
    case kTextNotStorable: return "Text Not Storable In The File's Code Page";
    case kTransactionFailed: return "Transaction Could Not Be Started";
    case kStorageError: return "Storage Error";
    case kInvalidOpenMode: return "Invalid Open Mode";
    case kFileNotOpen: return "File Not Open";
    case kInvalidCommand: return "Invalid Command";
    case kNoCurrentRecord: return "No Current Record";
    case kInvalidValue: return "Invalid Value";
    case kWrongFile: return "Data File Holds Another File";
    case kFileExists: return "File Already Exists";
    default: return "Unknown Error";
  }
}

std::string Status::describe() const {
  std::string s(text());
  s += " (" + std::to_string(code_) + ")";
  if (!detail_.empty()) s += ": " + detail_;
  return s;
}

}  // namespace store
