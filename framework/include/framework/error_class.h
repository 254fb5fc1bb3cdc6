// The error manager: every message the user meets on a file operation goes
// through it. It formats the message of a fixed table (title, text with %File
// and %ErrorText, severity), hands it to a sink (a message box in the program,
// a recorder in tests) and, for a fatal message, ends the program through one
// replaceable function.
//
// One ErrorClass serves the whole process and guards its operations with a
// lock; the error state (last file, last store error, procedure names) is per
// thread, in the thread's ErrorStatusClass.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Levels returned by framework operations and overridden methods.
enum Level : int {
  kLevelBenign = 0,   // go on
  kLevelProgram = 2,  // a programming error, handled as fatal
  kLevelFatal = 3,    // the program ends
  kLevelNotify = 5,   // not done; a notice was shown (or nothing to say)
};

// The messages of the table, one per situation.
enum class Msg {
  OpenFailed,               // "File Access Error"
  CreateFailed,             // "File Creation Error"
  InvalidKey,               // "Invalid Key"
  RebuildFailed,            // "Key was not built"
  AccessDenied,             // "Access Denied"
  UseClosedFile,            // "File Usage Error"
  RetrievalError,           // "Record Retrieval Error"
  RecordHeldOnRead,         // "Record not read"
  ChangedByOther,           // "Record Was Not Updated"
  ChangedByOtherFromForm,   // "Record Was Not Updated", the longer text
  UpdateFailed,             // "Record was not updated"
  LogoutFailed,             // "Transaction cancelled"
  NoRecords,                // "No Records": a report with nothing to print
};

struct Message {
  std::string title;
  std::string text;        // "|" already turned into line breaks
  int severity = 0;        // kLevelFatal, kLevelProgram or kLevelNotify
  std::string procedure;   // the procedure that was running, if any
};

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows the message and returns when the user has answered it.
  virtual void show(const Message& m) = 0;
};

// Per-thread error state.
class ErrorStatusClass {
 public:
  std::string fileName;             // %File
  int errorCode = 0;                // the store's error number
  std::string errorText;            // the store's error text
  std::vector<std::string> procedures;
};

class ErrorClass {
 public:
  using StatusOf = ErrorStatusClass& (*)();
  // `statusOf` returns the calling thread's status object.
  void Init(StatusOf statusOf);
  void SetSink(MessageSink* sink);

  void SetFile(std::string_view name);
  void SetErrors(int code, std::string_view text);
  // Shows message `id`. Returns kLevelNotify for a notice; for a fatal message
  // ends the program and returns kLevelFatal only if ending was intercepted.
  int Throw(Msg id);
  // The message as it would be shown, without showing it.
  Message Format(Msg id) const;

  void SetProcedureName(std::string_view name);  // pushes
  void SetProcedureName();                       // pops
  std::string ProcedureName() const;             // the innermost, or empty

  ErrorStatusClass& Status() const;

 private:
  mutable std::mutex mutex_;
  StatusOf statusOf_ = nullptr;
  MessageSink* sink_ = nullptr;
};

// Ends the program after a fatal message: nothing further is written. Tests
// replace the handler to observe the end instead.
using HaltHandler = std::function<void(int exitCode)>;
void setHaltHandler(HaltHandler handler);  // empty: the default, which exits at once
void halt(int exitCode);

// A sink that writes messages to standard error (used where no window exists).
class StderrSink : public MessageSink {
 public:
  void show(const Message& m) override;
};

}  // namespace fw
