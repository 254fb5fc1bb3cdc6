// The data dictionary's file and relation managers for KAMO's three files, and
// the routines that create, initialise and destroy them for each thread.
//
// Names: the class of the hidden file manager of file F is Hide_Access_F; its
// per-thread reference is Hide::Access::F, and it is published as Access::F
// (a fw::FileManager*). Likewise Hide_Relate_F, Hide::Relate::F, Relate::F.
//
// Life cycle per thread:
//   DctInit ──> created, set up (FilesInit) ──first use──> initialised ──> ... ──DctKill──> gone
// A file that nothing opens (KAAPRENDE) never leaves the set-up state and is
// never touched on disk.
#pragma once

#include <memory>

#include "dictionary/records.h"
#include "framework/file_manager.h"

// A file manager of one of the dictionary's files: the configuration and the
// deferred initialisation they share.
class DictionaryFileManager : public fw::FileManager {
 public:
  void Init() override;
  void Kill() override;
  int UseFile(int kind) override;
  void BindFields() override;

 protected:
  DictionaryFileManager(const store::FileDesc& desc, const char* shortName, fw::FileManager** published,
                        unsigned char* record, char* memo, bool bindsMemo);

 private:
  const store::FileDesc& desc_;
  const char* shortName_;
  fw::FileManager** published_;
  unsigned char* record_;
  char* memo_;
  bool bindsMemo_;
  std::unique_ptr<store::DataFile> file_;  // the thread's instance of the data file
};

class Hide_Access_KAMATERIAS final : public DictionaryFileManager {
 public:
  Hide_Access_KAMATERIAS();
};
class Hide_Access_KAAPRENDE final : public DictionaryFileManager {
 public:
  Hide_Access_KAAPRENDE();
};
class Hide_Access_KALIBRETA final : public DictionaryFileManager {
 public:
  Hide_Access_KALIBRETA();
};

class DictionaryRelationManager : public fw::RelationManager {
 public:
  void Init();  // sets up its file manager, then itself (logout on, 2 seconds)
  void Kill() override;

 protected:
  DictionaryRelationManager(fw::FileManager** hiddenAccess, fw::FileManager** access, fw::RelationManager** published);

 private:
  fw::FileManager** hiddenAccess_;
  fw::FileManager** access_;
  fw::RelationManager** published_;
};

class Hide_Relate_KAMATERIAS final : public DictionaryRelationManager {
 public:
  Hide_Relate_KAMATERIAS();
};
class Hide_Relate_KAAPRENDE final : public DictionaryRelationManager {
 public:
  Hide_Relate_KAAPRENDE();
};
class Hide_Relate_KALIBRETA final : public DictionaryRelationManager {
 public:
  Hide_Relate_KALIBRETA();
};

namespace Hide::Access {
extern thread_local fw::FileManager* KAMATERIAS;
extern thread_local fw::FileManager* KAAPRENDE;
extern thread_local fw::FileManager* KALIBRETA;
}  // namespace Hide::Access
namespace Hide::Relate {
extern thread_local fw::RelationManager* KAMATERIAS;
extern thread_local fw::RelationManager* KAAPRENDE;
extern thread_local fw::RelationManager* KALIBRETA;
}  // namespace Hide::Relate
namespace Access {
extern thread_local fw::FileManager* KAMATERIAS;
extern thread_local fw::FileManager* KAAPRENDE;
extern thread_local fw::FileManager* KALIBRETA;
}  // namespace Access
namespace Relate {
extern thread_local fw::RelationManager* KAMATERIAS;
extern thread_local fw::RelationManager* KAAPRENDE;
extern thread_local fw::RelationManager* KALIBRETA;
}  // namespace Relate

// Creates the calling thread's six objects, publishes Relate:F, runs FilesInit.
void DctInit();
// Sets up the relation managers, and through them the file managers.
void FilesInit();
// Destroys the calling thread's six objects and clears the twelve references.
void DctKill();

// Ties the dictionary to a thread: runs DctInit when constructed on any
// thread but the program's first (whose entry point runs DctInit itself) and
// DctKill when its thread ends.
class Dictionary {
 public:
  Dictionary();
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;
};

// Constructs the calling thread's Dictionary object (thread start).
void StartDictionaryForThread();
