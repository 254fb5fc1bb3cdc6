// One data file: a SQLite database at the file's name on disk holding the
// record images (OEM page), the memos and the keys of one declaration.
//
// Container (format 1):
//   header   application_id 0x4B414D4F ("KAMO"), user_version 1, WAL journal
//   meta     (name TEXT PRIMARY KEY, value ANY) STRICT: file label, record size,
//            memo size, layout fingerprint, keys fingerprint, keys_valid
//   records  (recno INTEGER PRIMARY KEY, version INTEGER NOT NULL,
//             image BLOB NOT NULL, k1 BLOB, ..., kN BLOB) STRICT
//            image is the record image in the OEM page, run-length encoded
//            (store/image_codec.h)
//            kI is the record's encoded value in key I (store/key_codec.h), or
//            NULL when an OPT key leaves the record out
//   memos    (recno INTEGER PRIMARY KEY, text BLOB NOT NULL) STRICT: memo text in
//            the OEM page without trailing spaces; no row for an empty memo
//   indexes  kidxI ON records(kI) WHERE kI IS NOT NULL, UNIQUE for keys
//            without DUP; SQLite appends the rowid, so equal values follow
//            record numbers
//
// Invariants:
//  1. A handle is bound to one thread's record buffer (and memo buffer); every
//     read fills them, every write stores them. Handles are not shared between
//     threads; each thread opens its own.
//  2. Every write is checked against the version of the record as this handle
//     last read it: a record changed or deleted by anyone else since then is
//     not written (kRecordChanged). Change detection is always on.
//  3. A position is a record number: it names exactly one record.
//  4. Sequences never keep a statement open between calls; each remembers the
//     last (key value, record number) it returned and asks for the next batch
//     after it. Writes through the same handle drop the batch, so a sequence
//     always sees them.
//  5. A file that is not a KAMO container (wrong header, another program's
//     database, truncated) is refused and never written to.
//
// Sequence state:   set*() ──> before a point ──next()/previous()──> on a record
//                                   ^                                    │
//                                   └──────── resetTo(position) ─────────┘
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/layout.h"
#include "store/status.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Open modes: access in the low nibble, sharing in the high one.
enum OpenMode : int {
  kReadOnly = 0x00,
  kWriteOnly = 0x01,
  kReadWrite = 0x02,
  kDenyNone = 0x40,
  kSharedReadWrite = kReadWrite | kDenyNone,  // 66
  kSharedReadOnly = kReadOnly | kDenyNone,    // 64
};

struct Position {
  std::int64_t recno = 0;  // 0: no record
  bool valid() const { return recno > 0; }
  bool operator==(const Position&) const = default;
};

// Where a sequence stands, for saving and restoring around other work.
struct SequenceState {
  int key = -1;            // -1: physical order
  bool active = false;
  std::string lo, hi;      // range of encoded key values; hi empty: none
  std::string fwdKey;      // next() reads after (fwdKey, fwdRecno)
  std::int64_t fwdRecno = 0;
  std::string backKey;     // previous() reads before (backKey, backRecno)
  std::int64_t backRecno = 0;
};

// A sequence and the current record together: what a caller needs back
// after other work used the same file. Restoring it makes writes go to the
// same record, still checked against the version read then.
struct SavedPosition {
  SequenceState sequence;
  std::int64_t recno = 0;
  std::int64_t version = 0;
  std::string image;  // OEM, as read
  std::string memo;   // OEM, trimmed
};

class DataFile {
 public:
  // The file lives at `path`; by default the declaration's name on disk, in the
  // current directory.
  explicit DataFile(const FileDesc& desc);
  DataFile(const FileDesc& desc, std::string path);
  ~DataFile();
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  const FileDesc& desc() const { return desc_; }
  const std::string& path() const { return path_; }

  // The buffers reads fill and writes store: the record (desc().recordSize
  // bytes, ANSI text) and, for a file with a memo, the memo (memo.size chars).
  void bind(unsigned char* record, char* memo = nullptr);
  unsigned char* record() const { return record_; }
  char* memo() const { return memo_; }

  // --- open and close -----------------------------------------------------
  // kFileNotFound, kAccessDenied (no write access for a read-write mode),
  // kFileAlreadyOpen, kNotADataFile, kFileDamaged, kWrongFile,
  // kKeysMustBeRebuilt, kInvalidOpenMode.
  Status open(int mode = kSharedReadWrite);
  // Creates the missing file, empty, from the declaration; the file appears
  // complete or not at all. Never replaces an existing file: kFileExists.
  Status create();
  void close();
  bool isOpen() const { return db_ != nullptr; }
  int mode() const { return mode_; }
  // Recomputes every key from the record images (and adopts the current key
  // declarations). Works whether or not this handle is open.
  Status rebuildKeys();

  // --- reading ------------------------------------------------------------
  // The first record in key order whose value equals the buffer's; kRecordNotFound.
  Status fetch(int key);
  Status setPhysical();                  // before the first record, by record number
  Status setKey(int key);                // before the first record in key order
  Status setKeyFrom(int key);            // before the first record at or after the buffer's value
  // Only records equal to the buffer in the key's first `parts` components,
  // from the first of them.
  Status setRange(int key, int parts);
  // kRecordNotAvailable at the end of the sequence.
  Status next();
  Status previous();
  Position position() const { return {currentRecno_}; }
  // Reads the record at `p` into the buffer and makes it current.
  Status reget(Position p);
  // Continues the current sequence's order from the record at `p`: next()
  // reads it first, previous() the one before it.
  Status resetTo(Position p);
  SequenceState saveSequence() const { return seq_; }
  void restoreSequence(const SequenceState& s);
  SavedPosition savePosition() const;
  void restorePosition(const SavedPosition& p);

  // --- writing ------------------------------------------------------------
  Status put();    // the buffer over the current record
  Status add();    // the buffer as a new record, which becomes current
  Status erase();  // deletes the current record
  // Strings to spaces, numbers and dates to zero, the memo to spaces.
  void clearBuffer();

  // "Recover=N": the next open waits up to N seconds for locks of other
  // stations. "QUICKSCAN=on" / "QUICKSCAN=off": larger read-ahead batches
  // for sequences.
  Status send(std::string_view command);

  // A transaction of this handle's writes; waits up to `timeoutSeconds` for
  // other stations' writes to end (kTransactionFailed).
  Status begin(int timeoutSeconds);
  Status commit();
  Status rollback();
  bool inTransaction() const { return inTransaction_; }

  Status recordCount(std::int64_t& count);
  // A full check: the container's integrity, every record image and every
  // stored key against the records. Problems are described in `problems`.
  Status verify(std::vector<std::string>& problems);

 private:
  struct Row {
    std::int64_t recno;
    std::int64_t version;
    std::string image;
    std::string key;
  };
  struct Stmt;

  Status openConnection(int flags, sqlite3** out, bool checkKeys);
  Status checkContainer(sqlite3* db, bool checkKeys);
  Status fail(int sqliteCode, std::string_view what) const;
  sqlite3_stmt* prepare(const std::string& sql);
  Status fillBatch(bool forward);
  Status loadRow(const Row& row);
  Status readMemo(std::int64_t recno, std::string& oem);
  Status writeMemo(std::int64_t recno, const std::string& oem);
  Status buildImage(std::string& oemImage, std::string* oemMemo);
  void keyOf(int key, const std::string& oemImage, std::string& out, bool& present) const;
  Status keyRangeFromBuffer(int key, int parts, std::string& lo, std::string& hi);
  std::string keyLabelOfConstraint(std::string_view message) const;
  void dropBatch() { batch_.clear(); }
  Status refreshCurrent();

  const FileDesc& desc_;
  std::string path_;
  std::string diskName_;  // file name without folder, for fault plans
  unsigned char* record_ = nullptr;
  char* memo_ = nullptr;
  std::unique_ptr<unsigned char[]> ownRecord_;
  std::unique_ptr<char[]> ownMemo_;

  sqlite3* db_ = nullptr;
  int mode_ = kSharedReadWrite;
  int recoverSeconds_ = 0;
  bool quickScan_ = false;
  bool inTransaction_ = false;
  std::map<std::string, sqlite3_stmt*> stmts_;

  // The current record, as last read or written by this handle.
  std::int64_t currentRecno_ = 0;
  std::int64_t currentVersion_ = 0;
  std::string currentImage_;  // OEM
  std::string currentMemo_;   // OEM, trimmed

  // Scratch space reused by every write.
  std::string insertSql_;
  std::string packed_;
  std::vector<std::string> keyBuffers_;

  SequenceState seq_;
  std::deque<Row> batch_;
  bool batchForward_ = true;
};

}  // namespace store
