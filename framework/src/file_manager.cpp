#include "framework/file_manager.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace fw {

// --- FileManager ---------------------------------------------------------------

FileManager::FileManager() = default;

FileManager::~FileManager() {
  if (registered_) FilesManager::Current().Remove(this);
}

void FileManager::Init() {
  OpenCount = 0;
  LazyOpen = true;
  Killed = false;
  if (!registered_) {
    FilesManager::Current().Add(this);
    registered_ = true;
  }
}

void FileManager::Init(store::DataFile& file, ErrorClass& errors) {
  File = &file;
  Errors = &errors;
  Keys.clear();
  SkipHeldRecords = false;
  if (!OpenModeChosen) OpenMode = store::kSharedReadWrite;
  Create = true;
  LockRecover = 10;
  PrimaryKey = -1;
  Name = std::string(file.desc().diskName);
  Initialized = true;
}

void FileManager::Kill() {
  if (Initialized) {
    while (OpenCount > 0) Close();
    Keys.clear();
    Initialized = false;
  }
  if (registered_) {
    FilesManager::Current().Remove(this);
    registered_ = false;
  }
  Killed = true;
}

void FileManager::AddKey(int key, std::string description) {
  const store::FileDesc& d = File->desc();
  const store::KeyDesc& k = d.keys[key];
  KeyInfo info;
  info.key = key;
  info.description = std::move(description);
  info.dup = k.dup;
  info.nocase = k.nocase;
  for (const store::KeyPart& p : k.components()) {
    const store::FieldDesc& f = d.fields[p.field];
    const bool upper = k.nocase && f.type == store::FieldType::String;
    info.components.push_back(upper ? "UPPER(" + std::string(f.label) + ")" : std::string(f.label));
    info.descending.push_back(p.descending);
  }
  if (k.primary) PrimaryKey = static_cast<int>(Keys.size());
  Keys.push_back(std::move(info));
}

int FileManager::Report(Msg id, const store::Status& s) {
  Errors->SetFile(Name);
  Errors->SetErrors(s.code(), s.text());
  return Errors->Throw(id);
}

int FileManager::UseFile(int kind) {
  if (kind == kUseInitialise) return kLevelBenign;
  if (OpenCount == 0) return Report(Msg::UseClosedFile, {});
  FilesManager::Current().NoteUse(this, kind);
  if (LazyOpen && !InUse) return OpenFile();
  return kLevelBenign;
}

int FileManager::OpenFile() {
  store::Status s;
  for (int attempt = 0; attempt < 2; ++attempt) {
    s = File->open(OpenMode);
    if (s.code() == store::kAccessDenied) {
      // Ask the store to release locks of stations that no longer answer, then try again.
      (void)File->send("Recover=" + std::to_string(LockRecover));
      s = File->open(OpenMode);
    }
    if (s.ok() || s.code() == store::kFileAlreadyOpen) {
      InUse = true;
      Eof = false;
      ++PhysicalOpens;
      return kLevelBenign;
    }
    if (s.code() == store::kFileNotFound && Create) {
      const store::Status c = File->create();
      if (!c.ok() && c.code() != store::kFileExists) return Report(Msg::CreateFailed, c);
      continue;
    }
    if (s.code() == store::kKeysMustBeRebuilt) {
      Report(Msg::InvalidKey, s);
      if (const store::Status r = File->rebuildKeys(); !r.ok()) return Report(Msg::RebuildFailed, r);
      continue;
    }
    if (s.code() == store::kAccessDenied && (OpenMode & 0x0F) != store::kReadOnly) {
      OpenMode &= 0xF0;  // keep the sharing, drop write access, for every later open too
      Report(Msg::AccessDenied, s);
      continue;
    }
    break;
  }
  return Report(Msg::OpenFailed, s);
}

int FileManager::Open() {
  FilesManager::Current().NoteOpen(this);
  BindFields();
  ++OpenCount;
  return kLevelBenign;
}

int FileManager::Close() {
  if (OpenCount == 0) return kLevelBenign;
  FilesManager::Current().NoteClose(this);
  if (--OpenCount == 0 && InUse) {
    File->close();
    InUse = false;
  }
  return kLevelBenign;
}

void FileManager::ClearBuffer() {
  if (File) File->clearBuffer();
}

int FileManager::Fetch(int key) {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return level;
  const bool takenOn = std::any_of(Keys.begin(), Keys.end(), [&](const KeyInfo& k) { return k.key == key; });
  if (!takenOn) throw std::logic_error("Fetch through a key the file manager has not taken on: " + Name);
  if (!File->fetch(key).ok()) {
    File->clearBuffer();
    return kLevelNotify;
  }
  return kLevelBenign;
}

int FileManager::SetPhysical() {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return level;
  Eof = false;
  return File->setPhysical().ok() ? kLevelBenign : kLevelNotify;
}

int FileManager::SetRange(int key, int parts) {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return level;
  Eof = false;
  return File->setRange(key, parts).ok() ? kLevelBenign : kLevelNotify;
}

int FileManager::Reget(store::Position p) {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return level;
  return File->reget(p).ok() ? kLevelBenign : kLevelNotify;
}

int FileManager::Next() { return Read(true); }
int FileManager::Previous() { return Read(false); }

int FileManager::Read(bool forward) {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return level;
  const store::Status s = forward ? File->next() : File->previous();
  if (s.ok()) return kLevelBenign;
  if (s.code() == store::kRecordNotAvailable) {
    Eof = true;
    return kLevelNotify;
  }
  Report(s.code() == store::kRecordHeld ? Msg::RecordHeldOnRead : Msg::RetrievalError, s);
  return kLevelNotify;
}

store::Status FileManager::TryUpdate() {
  if (int level = UseFile(kUseUses); level != kLevelBenign) return {store::kFileNotOpen, Name};
  // The record's position is the store's current record (a record number):
  // exact, whether or not the file has a primary key.
  const store::Position at = File->position();
  store::Status s = File->put();
  LastError = s.code();
  if (s.code() == store::kRecordChanged) {
    // Show the stored version: the buffer now holds what the other station wrote.
    (void)File->reget(at);
  }
  return s;
}

int FileManager::Update() {
  const store::Status s = TryUpdate();
  if (s.ok()) return kLevelBenign;
  if (s.code() == store::kFileNotOpen) return kLevelNotify;  // the use was refused and reported
  return Report(s.code() == store::kRecordChanged ? Msg::ChangedByOther : Msg::UpdateFailed, s);
}

// --- RelationManager --------------------------------------------------------------

RelationManager::~RelationManager() {
  if (registered_) FilesManager::Current().Remove(this);
}

void RelationManager::Init(FileManager& file, bool logout) {
  Me = &file;
  Related.clear();
  UseLogout = logout;
  LogoutTimeout = 2;
  if (!registered_) {
    FilesManager::Current().Add(this);
    registered_ = true;
  }
}

void RelationManager::Kill() {
  if (registered_) {
    FilesManager::Current().Remove(this);
    registered_ = false;
  }
  Related.clear();
}

int RelationManager::Open(int) {
  ++Pass;
  if (int level = Me->Open(); level != kLevelBenign) return level;
  return Me->UseFile(kUseUses);
}

int RelationManager::Close(int) {
  ++Pass;
  return Me->Close();
}

void RelationManager::SetQuickScan(int on, int) {
  if (Me->InUse) (void)Me->File->send(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

int RelationManager::Update(bool fromForm) {
  if (int level = Open(0); level != kLevelBenign) {
    Close(0);
    return level;
  }
  if (UseLogout) {
    if (store::Status s = Me->File->begin(LogoutTimeout); !s.ok()) {
      Me->Report(Msg::LogoutFailed, s);
      Close(0);
      return kLevelNotify;
    }
  }
  store::Status s = Me->TryUpdate();
  if (s.ok() && UseLogout) s = Me->File->commit();
  if (!s.ok()) {
    if (UseLogout && Me->File->inTransaction()) (void)Me->File->rollback();
    const bool changed = s.code() == store::kRecordChanged;
    Me->Report(changed ? (fromForm ? Msg::ChangedByOtherFromForm : Msg::ChangedByOther) : Msg::UpdateFailed, s);
    Close(0);
    return changed ? kLevelNotify : 1;
  }
  Close(0);
  return kLevelBenign;
}

// --- FilesManager --------------------------------------------------------------------

FilesManager& FilesManager::Current() {
  thread_local FilesManager registry;
  return registry;
}

void FilesManager::Add(FileManager* f) { files_.push_back(f); }

void FilesManager::Remove(FileManager* f) {
  files_.erase(std::remove(files_.begin(), files_.end(), f), files_.end());
  for (auto& frame : frames_)
    frame.erase(std::remove_if(frame.begin(), frame.end(), [&](const Usage& u) { return u.file == f; }), frame.end());
}

void FilesManager::Add(RelationManager* r) { relations_.push_back(r); }

void FilesManager::Remove(RelationManager* r) {
  relations_.erase(std::remove(relations_.begin(), relations_.end(), r), relations_.end());
}

bool FilesManager::Has(const FileManager* f) const { return std::find(files_.begin(), files_.end(), f) != files_.end(); }

void FilesManager::EnterProcedure() { frames_.emplace_back(); }

void FilesManager::LeaveProcedure() {
  if (frames_.size() > 1) frames_.pop_back();
}

FilesManager::Usage* FilesManager::find(std::size_t frame, const FileManager* f) {
  for (Usage& u : frames_[frame])
    if (u.file == f) return &u;
  return nullptr;
}

void FilesManager::NoteUse(FileManager* f, int kind) {
  if (kind == kUseCorrupts || kind == kUseInitialise) return;
  const std::size_t top = frames_.size() - 1;
  if (Usage* u = find(top, f)) {
    u->highestKind = std::max(u->highestKind, kind);
    return;
  }
  Usage u;
  u.file = f;
  u.highestKind = kind;
  bool usedBefore = false;
  for (std::size_t i = 0; i < top && !usedBefore; ++i) usedBefore = find(i, f) != nullptr;
  if (usedBefore && kind <= kUseUses && f->File) {
    // Keep the caller's view of the file: its position, current record and buffers.
    u.saved = true;
    if (f->InUse) {
      u.position = f->File->savePosition();
      u.positionSaved = true;
    }
    u.buffer.assign(reinterpret_cast<const char*>(f->Buffer), f->File->desc().recordSize);
    if (f->Memo) u.memo.assign(f->Memo, f->File->desc().memo.size);
  }
  frames_[top].push_back(std::move(u));
}

void FilesManager::NoteOpen(FileManager* f) {
  if (Usage* u = find(frames_.size() - 1, f)) ++u->opensAfterFirstUse;
}

void FilesManager::NoteClose(FileManager* f) {
  const std::size_t top = frames_.size() - 1;
  Usage* u = find(top, f);
  if (!u) return;
  if (u->opensAfterFirstUse > 0) {
    --u->opensAfterFirstUse;
    return;
  }
  if (u->saved) {
    if (u->positionSaved && f->InUse) f->File->restorePosition(u->position);
    if (u->highestKind < kUseReturns) {
      std::memcpy(f->Buffer, u->buffer.data(), u->buffer.size());
      if (f->Memo) std::memcpy(f->Memo, u->memo.data(), u->memo.size());
    }
  }
  auto& frame = frames_[top];
  frame.erase(frame.begin() + (u - frame.data()));
}

}  // namespace fw
