#include "dictionary/dictionary.h"

#include <thread>

#include "dictionary/globals.h"
#include "framework/bindings.h"

namespace Hide::Access {
thread_local fw::FileManager* KAMATERIAS = nullptr;
thread_local fw::FileManager* KAAPRENDE = nullptr;
thread_local fw::FileManager* KALIBRETA = nullptr;
}  // namespace Hide::Access
namespace Hide::Relate {
thread_local fw::RelationManager* KAMATERIAS = nullptr;
thread_local fw::RelationManager* KAAPRENDE = nullptr;
thread_local fw::RelationManager* KALIBRETA = nullptr;
}  // namespace Hide::Relate
namespace Access {
thread_local fw::FileManager* KAMATERIAS = nullptr;
thread_local fw::FileManager* KAAPRENDE = nullptr;
thread_local fw::FileManager* KALIBRETA = nullptr;
}  // namespace Access
namespace Relate {
thread_local fw::RelationManager* KAMATERIAS = nullptr;
thread_local fw::RelationManager* KAAPRENDE = nullptr;
thread_local fw::RelationManager* KALIBRETA = nullptr;
}  // namespace Relate

// --- file managers ----------------------------------------------------------------

DictionaryFileManager::DictionaryFileManager(const store::FileDesc& desc, const char* shortName,
                                             fw::FileManager** published, unsigned char* record, char* memo,
                                             bool bindsMemo)
    : desc_(desc), shortName_(shortName), published_(published), record_(record), memo_(memo), bindsMemo_(bindsMemo) {}

void DictionaryFileManager::Init() {
  Initialized = false;
  Buffer = record_;
  Memo = memo_;
  Name = shortName_;
  Errors = &GlobalErrors;
  file_ = std::make_unique<store::DataFile>(desc_);  // at its name on disk, in the current directory
  file_->bind(record_, memo_);
  File = file_.get();
  fw::FileManager::Init();
  *published_ = this;
}

void DictionaryFileManager::Kill() {
  fw::FileManager::Kill();
  *published_ = nullptr;
}

int DictionaryFileManager::UseFile(int kind) {
  if (kind != fw::kUseInitialise)
    if (int level = UseFile(fw::kUseInitialise); level != fw::kLevelBenign) return level;
  if (kind == fw::kUseInitialise && !Initialized) {
    InUseFileNow = true;
    fw::FileManager::Init(*file_, GlobalErrors);
    Create = true;
    LockRecover = 10;
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) AddKey(static_cast<int>(i), std::string(desc_.keys[i].label));
    InUseFileNow = false;
  }
  return fw::FileManager::UseFile(kind);
}

void DictionaryFileManager::BindFields() {
  fw::Bindings& b = fw::Bindings::Current();
  for (const store::FieldDesc& f : desc_.fields) b.Bind(f.label, record_ + f.offset, f.type, f.size);
  if (bindsMemo_) b.Bind(desc_.memo.label, memo_, store::FieldType::String, desc_.memo.size);
}

Hide_Access_KAMATERIAS::Hide_Access_KAMATERIAS()
    : DictionaryFileManager(::KAMATERIAS, "KAMaterias", &Access::KAMATERIAS, KAM.image(), KAM.memo(), true) {}
Hide_Access_KAAPRENDE::Hide_Access_KAAPRENDE()
    : DictionaryFileManager(::KAAPRENDE, "KAAPRENDE", &Access::KAAPRENDE, KAAP.image(), KAAP.memo(), true) {}
Hide_Access_KALIBRETA::Hide_Access_KALIBRETA()
    : DictionaryFileManager(::KALIBRETA, "KALIBRETA", &Access::KALIBRETA, KAL.image(), nullptr, false) {}

// --- relation managers --------------------------------------------------------------

DictionaryRelationManager::DictionaryRelationManager(fw::FileManager** hiddenAccess, fw::FileManager** access,
                                                     fw::RelationManager** published)
    : hiddenAccess_(hiddenAccess), access_(access), published_(published) {}

void DictionaryRelationManager::Init() {
  (*hiddenAccess_)->Init();
  fw::RelationManager::Init(**access_, true);
}

void DictionaryRelationManager::Kill() {
  (*hiddenAccess_)->Kill();
  fw::RelationManager::Kill();
  *published_ = nullptr;
  delete *hiddenAccess_;
  *hiddenAccess_ = nullptr;
}

Hide_Relate_KAMATERIAS::Hide_Relate_KAMATERIAS()
    : DictionaryRelationManager(&Hide::Access::KAMATERIAS, &Access::KAMATERIAS, &Relate::KAMATERIAS) {}
Hide_Relate_KAAPRENDE::Hide_Relate_KAAPRENDE()
    : DictionaryRelationManager(&Hide::Access::KAAPRENDE, &Access::KAAPRENDE, &Relate::KAAPRENDE) {}
Hide_Relate_KALIBRETA::Hide_Relate_KALIBRETA()
    : DictionaryRelationManager(&Hide::Access::KALIBRETA, &Access::KALIBRETA, &Relate::KALIBRETA) {}

// --- life cycle -------------------------------------------------------------------------

void DctInit() {
  Hide::Access::KALIBRETA = new Hide_Access_KALIBRETA;
  Hide::Relate::KALIBRETA = new Hide_Relate_KALIBRETA;
  Hide::Access::KAAPRENDE = new Hide_Access_KAAPRENDE;
  Hide::Relate::KAAPRENDE = new Hide_Relate_KAAPRENDE;
  Hide::Access::KAMATERIAS = new Hide_Access_KAMATERIAS;
  Hide::Relate::KAMATERIAS = new Hide_Relate_KAMATERIAS;
  Relate::KALIBRETA = Hide::Relate::KALIBRETA;
  Relate::KAAPRENDE = Hide::Relate::KAAPRENDE;
  Relate::KAMATERIAS = Hide::Relate::KAMATERIAS;
  FilesInit();
}

void FilesInit() {
  static_cast<DictionaryRelationManager*>(Hide::Relate::KALIBRETA)->Init();
  static_cast<DictionaryRelationManager*>(Hide::Relate::KAAPRENDE)->Init();
  static_cast<DictionaryRelationManager*>(Hide::Relate::KAMATERIAS)->Init();
}

void DctKill() {
  for (fw::RelationManager** hidden : {&Hide::Relate::KALIBRETA, &Hide::Relate::KAAPRENDE, &Hide::Relate::KAMATERIAS}) {
    if (!*hidden) continue;
    (*hidden)->Kill();
    delete *hidden;
    *hidden = nullptr;
  }
}

namespace {
// Static initialisation runs on the program's first thread.
const std::thread::id kFirstThread = std::this_thread::get_id();
}  // namespace

Dictionary::Dictionary() {
  if (std::this_thread::get_id() != kFirstThread) DctInit();
}

Dictionary::~Dictionary() { DctKill(); }

void StartDictionaryForThread() {
  thread_local Dictionary dictionary;
  (void)dictionary;
}
