#include "framework/error_class.h"

#include <cstdio>
#include <cstdlib>

namespace fw {
namespace {

struct Entry {
  const char* title;
  const char* text;
  int severity;
};

Entry entryOf(Msg id) {
  switch (id) {
    case Msg::OpenFailed:
      return {"File Access Error", "File %File could not be opened.  Error: %ErrorText.", kLevelFatal};
    case Msg::CreateFailed: return {"File Creation Error", "Error: (%ErrorText) creating %File.", kLevelFatal};
    case Msg::InvalidKey: return {"Invalid Key", "%File key file is invalid. Key must be rebuilt.", kLevelNotify};
    case Msg::RebuildFailed: return {"Key was not built", "Error: (%ErrorText) repairing key for %File.", kLevelFatal};
    case Msg::AccessDenied:
      return {"Access Denied", "Could not get write access to %File so trying read-only.", kLevelNotify};
    case Msg::UseClosedFile:
      return {"File Usage Error", "Attempt to use file (%File) before it was opened", kLevelProgram};
    case Msg::RetrievalError:
      return {"Record Retrieval Error",
              "Error: (%ErrorText) attempting to access a record from the %File file.  Returning to previous window.",
              kLevelNotify};
    case Msg::RecordHeldOnRead:
      return {"Record not read", "A record held by another station was encountered reading from the %File file.",
              kLevelNotify};
    case Msg::ChangedByOther:
      return {"Record Was Not Updated", "This record was changed by another station.", kLevelNotify};
    case Msg::ChangedByOtherFromForm:
      return {"Record Was Not Updated",
              "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button "
              "or Ctrl+H to recall your changes.",
              kLevelNotify};
    case Msg::UpdateFailed:
      return {"Record was not updated", "An error (%ErrorText) was experienced when making changes to the %File file.",
              kLevelNotify};
    case Msg::NoRecords: return {"No Records", "There are no records available to process.", kLevelNotify};
    case Msg::LogoutFailed:
      return {"Transaction cancelled", "Error: (%ErrorText) attempting to frame the transaction on %File.",
              kLevelNotify};
  }
  return {"", "", kLevelNotify};
}

void replaceAll(std::string& s, std::string_view what, const std::string& with) {
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
    s.replace(at, what.size(), with);
}

HaltHandler& haltHandler() {
  static HaltHandler handler;
  return handler;
}

ErrorStatusClass& fallbackStatus() {
  thread_local ErrorStatusClass status;
  return status;
}

}  // namespace

void ErrorClass::Init(StatusOf statusOf) {
  std::lock_guard lock(mutex_);
  statusOf_ = statusOf;
}

void ErrorClass::SetSink(MessageSink* sink) {
  std::lock_guard lock(mutex_);
  sink_ = sink;
}

ErrorStatusClass& ErrorClass::Status() const { return statusOf_ ? statusOf_() : fallbackStatus(); }

void ErrorClass::SetFile(std::string_view name) { Status().fileName = name; }

void ErrorClass::SetErrors(int code, std::string_view text) {
  ErrorStatusClass& s = Status();
  s.errorCode = code;
  s.errorText = text;
}

Message ErrorClass::Format(Msg id) const {
  const Entry e = entryOf(id);
  const ErrorStatusClass& s = Status();
  Message m;
  m.title = e.title;
  m.text = e.text;
  m.severity = e.severity;
  replaceAll(m.text, "%File", s.fileName);
  replaceAll(m.text, "%ErrorText", s.errorText + " (" + std::to_string(s.errorCode) + ")");
  replaceAll(m.text, "|", "\n");
  if (e.severity == kLevelFatal || e.severity == kLevelProgram) m.text += "  Press OK to end this application";
  m.procedure = s.procedures.empty() ? std::string() : s.procedures.back();
  return m;
}

int ErrorClass::Throw(Msg id) {
  Message m;
  {
    std::lock_guard lock(mutex_);
    m = Format(id);
    if (sink_) sink_->show(m);
    else StderrSink().show(m);
  }
  if (m.severity == kLevelFatal || m.severity == kLevelProgram) {
    halt(3);
    return kLevelFatal;
  }
  return kLevelNotify;
}

void ErrorClass::SetProcedureName(std::string_view name) { Status().procedures.emplace_back(name); }

void ErrorClass::SetProcedureName() {
  auto& p = Status().procedures;
  if (!p.empty()) p.pop_back();
}

std::string ErrorClass::ProcedureName() const {
  const auto& p = Status().procedures;
  return p.empty() ? std::string() : p.back();
}

void setHaltHandler(HaltHandler handler) { haltHandler() = std::move(handler); }

void halt(int exitCode) {
  if (haltHandler()) {
    haltHandler()(exitCode);
    return;
  }
  // Quick exit: no destructor, no buffer flush that could write to a file.
  std::fflush(stderr);
  std::_Exit(exitCode);
}

void StderrSink::show(const Message& m) {
  std::fprintf(stderr, "%s: %s\n", m.title.c_str(), m.text.c_str());
}

}  // namespace fw
