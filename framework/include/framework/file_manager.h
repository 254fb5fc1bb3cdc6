// File managers, relation managers and the per-thread registry of both: the
// only way procedures reach a data file. A file manager owns the counted open
// of one file (one physical open while the count is above zero), its keys, its
// record buffer and the messages of every failure; a relation manager frames
// its file's opens and transactional updates.
//
// File manager states (per thread):
//   set up ──first use (kind 5)──> initialised, closed ──Open──> open (count n)
//      │                                 ^                          │
//      │                                 └──────last Close──────────┘
//      └────────────────────────────── Kill ──> killed
//
// Invariants:
//  1. The file is physically open exactly while OpenCount > 0 and a use has
//     happened since the first Open (lazy open).
//  2. After a failed Fetch the record buffer is cleared.
//  3. After a write refused because another station changed the record, the
//     buffer holds the stored record.
//  4. A failed relation-manager update leaves the transaction rolled back and
//     the open count as it was.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/error_class.h"
#include "store/data_file.h"

namespace fw {

// Kinds of use of a file, as the usage bookkeeping records them.
enum UseKind : int {
  kUseBenign = 1,      // looks, changes nothing
  kUseUses = 2,        // reads and writes through the buffer (every use here)
  kUseReturns = 3,     // leaves a value in the buffer for the caller
  kUseCorrupts = 4,    // not recorded
  kUseInitialise = 5,  // the deferred initialisation; not recorded
};

// A key as the file manager took it on.
struct KeyInfo {
  int key = 0;                  // number in the file's declaration
  std::string description;      // shown in messages: the key's label
  bool dup = false;
  bool nocase = false;
  std::vector<std::string> components;  // field labels; "UPPER(label)" for strings of a NOCASE key
  std::vector<bool> descending;
};

class ErrorClass;

class FileManager {
 public:
  FileManager();
  virtual ~FileManager();
  FileManager(const FileManager&) = delete;
  FileManager& operator=(const FileManager&) = delete;

  // Set-up without arguments: open count 0, lazy open on, not killed, entry in
  // the thread's registry.
  virtual void Init();
  // Set-up for the file at its first use: keys list, open mode (66 unless
  // chosen), create-if-missing, lock recovery 10, message name = name on disk.
  void Init(store::DataFile& file, ErrorClass& errors);
  // Closes the file as often as the open count says, leaves the registry.
  virtual void Kill();
  // Makes the fields (and memo) known by their labels.
  virtual void BindFields() {}
  // The gate of every use: refuses a use before any open, records the use,
  // opens the file physically on the first use after an open.
  virtual int UseFile(int kind);
  void AddKey(int key, std::string description);

  int Open();
  int Close();
  int Fetch(int key);
  int Next();
  int Previous();
  int Update();
  // Writes without messages; the caller reports.
  store::Status TryUpdate();
  // Positions the file before its first record in physical order.
  int SetPhysical();
  // Positions the file at the first record whose first `parts` components in
  // `key` equal the buffer's, limited to those records (all records: parts 0).
  int SetRange(int key, int parts);
  // Reads the record at `p` into the buffer; 5 silently when it is gone.
  int Reget(store::Position p);
  store::Position Position() const { return File ? File->position() : store::Position{}; }
  void ClearBuffer();
  // The store's result of the last write (kOk when it went through).
  int LastError = 0;

  // --- configuration and state (public, as the dictionary sets them) ------
  store::DataFile* File = nullptr;    // the thread's data file
  unsigned char* Buffer = nullptr;    // the record buffer
  char* Memo = nullptr;               // the memo buffer, or null
  ErrorClass* Errors = nullptr;
  std::string Name;                   // the file's name in messages
  bool LazyOpen = true;
  int OpenMode = store::kSharedReadWrite;
  bool OpenModeChosen = false;        // a caller chose the mode; first use keeps it
  bool Create = true;
  int LockRecover = 10;
  bool SkipHeldRecords = false;
  int PrimaryKey = -1;                // position in Keys, or -1
  std::vector<KeyInfo> Keys;
  bool Initialized = false;
  bool InUseFileNow = false;          // inside the deferred initialisation
  bool Killed = false;
  int OpenCount = 0;
  bool InUse = false;                 // physically open
  bool Eof = false;
  int PhysicalOpens = 0;              // how often the file was opened physically

  // Shows message `id` for this file with the store's error `s`.
  int Report(Msg id, const store::Status& s);

 protected:
  // The physical open with its retries and recoveries.
  int OpenFile();
  int Read(bool forward);
  bool registered_ = false;
};

class RelationManager {
 public:
  RelationManager() = default;
  virtual ~RelationManager();
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;

  // The managed file, transaction framing on or off; enters the registry.
  void Init(FileManager& file, bool logout);
  virtual void Kill();

  int Open(int);
  int Close(int);
  // Writes the buffer to the current record inside a transaction.
  int Update(bool fromForm);
  // Read-ahead for sequential reading, when the file is open.
  void SetQuickScan(int on, int propagate);

  FileManager* Me = nullptr;
  bool UseLogout = false;
  int LogoutTimeout = 2;
  std::vector<RelationManager*> Related;  // always empty here
  int Pass = 0;                            // counts relation passes

 private:
  bool registered_ = false;
};

// The thread's registry of file and relation managers, and the usage
// bookkeeping that gives a calling procedure its buffers and positions back
// after a called procedure used the same files.
class FilesManager {
 public:
  static FilesManager& Current();

  void Add(FileManager* f);
  void Remove(FileManager* f);
  void Add(RelationManager* r);
  void Remove(RelationManager* r);
  bool Has(const FileManager* f) const;
  std::size_t FileCount() const { return files_.size(); }
  std::size_t RelationCount() const { return relations_.size(); }

  // A procedure starts and ends (called with the procedure-name push and pop).
  void EnterProcedure();
  void LeaveProcedure();

  void NoteUse(FileManager* f, int kind);
  void NoteOpen(FileManager* f);
  void NoteClose(FileManager* f);

 private:
  struct Usage {
    FileManager* file = nullptr;
    int highestKind = 0;
    int opensAfterFirstUse = 0;
    bool saved = false;
    bool positionSaved = false;
    store::SavedPosition position;
    std::string buffer;
    std::string memo;
  };
  Usage* find(std::size_t frame, const FileManager* f);

  std::vector<FileManager*> files_;
  std::vector<RelationManager*> relations_;
  std::vector<std::vector<Usage>> frames_{1};  // frame 0: outside any procedure
};

}  // namespace fw
