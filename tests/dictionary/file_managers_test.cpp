// File and relation managers of the dictionary's files, driven through the
// operations the procedures call, with every message of the error table
// raised by the situation that causes it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "framework/bindings.h"
#include "grade_book.h"
#include "recording_errors.h"
#include "store/faults.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kamo::testing::readBytes;
using kamo::testing::RecordedErrors;
using kamo::testing::TempDir;
using kamo::testing::writeBytes;
using store::Dec;

struct Line {
  std::int32_t nro;
  std::int32_t materia;
  const char* alumno;
  std::int64_t anualCents;
};

class FileManagers : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    fs::current_path(dir_.path());
    store::faults::clearAll();
    GlobalErrors.Init(&CurrentGlobalErrorStatus);
    DctInit();
  }
  void TearDown() override {
    DctKill();
    store::faults::clearAll();
    fs::current_path(old_);
  }


 public:
  // Writes grade lines straight through the store, as the data tool would.
  static void seed(std::initializer_list<Line> lines) {
    kamo::testing::writeGradeBook([&](store::DataFile& f, KAL_RECORD& r) {
      for (const Line& l : lines) {
        r.clear();
        r.NRO_REGISTRO = l.nro;
        r.COD_MATERIA = l.materia;
        r.ALUMNO = l.alumno;
        ASSERT_TRUE(r.EVALUACION_ANUAL.set(Dec::fromCents(l.anualCents)).ok());
        ASSERT_TRUE(f.add().ok());
      }
    });
  }
  // Another station: a connection of its own to the same file.
  static void otherStationSetsAnnual(std::int32_t nro, std::int64_t cents) {
    store::DataFile f(KALIBRETA);
    KAL_RECORD r;
    f.bind(r.image());
    ASSERT_TRUE(f.open().ok());
    r.NRO_REGISTRO = nro;
    ASSERT_TRUE(f.fetch(KAL.CLAVE_PRIMARIA).ok());
    ASSERT_TRUE(r.EVALUACION_ANUAL.set(Dec::fromCents(cents)).ok());
    ASSERT_TRUE(f.put().ok());
  }
  static int readPrimary(std::int32_t nro) {
    KAL.clear();
    KAL.NRO_REGISTRO = nro;
    return Access::KALIBRETA->Fetch(KAL.CLAVE_PRIMARIA);
  }
 protected:
  const fw::Message& only() {
    EXPECT_EQ(errors_.messages().size(), 1u);
    static const fw::Message none;
    return errors_.messages().empty() ? none : errors_.messages().back();
  }

  TempDir dir_;
  RecordedErrors errors_{GlobalErrors};
  fs::path old_;
};

// --- opening, counting, creating -------------------------------------------------

TEST_F(FileManagers, MissingFilesAreCreatedOnFirstOpenAndUnopenedFilesNeverTouched) {
  EXPECT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  EXPECT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);
  EXPECT_TRUE(fs::exists("KALIBRETA.TPS"));
  EXPECT_TRUE(fs::exists("KAMaterias.TPS"));
  EXPECT_FALSE(fs::exists("KAAPRENDE.TPS"));
  EXPECT_FALSE(Access::KAAPRENDE->Initialized);
  EXPECT_TRUE(errors_.messages().empty());
  Relate::KALIBRETA->Close(0);
  Relate::KAMATERIAS->Close(0);
}

TEST_F(FileManagers, NestedOpensCountWithOnePhysicalOpenAndClose) {
  fw::FileManager& kam = *Access::KAMATERIAS;
  EXPECT_EQ(kam.Name, "KAMaterias");  // the short name until the first use
  ASSERT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);  // sign-in window
  EXPECT_EQ(kam.Name, "KAMaterias.TPS");
  ASSERT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);  // tracking window
  EXPECT_EQ(kam.OpenCount, 2);
  EXPECT_EQ(kam.PhysicalOpens, 1);
  Relate::KAMATERIAS->Close(0);  // tracking window ends
  EXPECT_TRUE(kam.InUse);
  EXPECT_TRUE(kam.File->isOpen());
  Relate::KAMATERIAS->Close(0);  // sign-in window ends
  EXPECT_FALSE(kam.InUse);
  EXPECT_FALSE(kam.File->isOpen());
  EXPECT_EQ(Relate::KAMATERIAS->Close(0), fw::kLevelBenign);  // one close too many does nothing
  EXPECT_EQ(kam.OpenCount, 0);
}

TEST_F(FileManagers, KeysAreTakenOnInOrderWithTheirLabels) {
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  const fw::FileManager& kal = *Access::KALIBRETA;
  ASSERT_EQ(kal.Keys.size(), 12u);
  EXPECT_EQ(kal.PrimaryKey, 0);
  EXPECT_EQ(kal.OpenMode, 66);
  EXPECT_EQ(kal.LockRecover, 10);
  EXPECT_TRUE(kal.Create);
  const fw::KeyInfo& k = kal.Keys[KAL.CLAVE_MATERIA_SEXO_ALUMNO2];
  EXPECT_EQ(k.description, "KAL:CLAVE_MATERIA_SEXO_ALUMNO2");
  EXPECT_EQ(k.components, (std::vector<std::string>{"KAL:COD_MATERIA", "UPPER(KAL:SEXO)", "UPPER(KAL:ALUMNO)"}));
  EXPECT_EQ(k.descending, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(kal.Keys[KAL.CLAVE_CODMATERIA_ALUALFA].components,
            (std::vector<std::string>{"KAL:COD_MATERIA", "KAL:ALUMNO"}));
  ASSERT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);
  EXPECT_EQ(Access::KAMATERIAS->PrimaryKey, -1);
  EXPECT_EQ(Access::KAMATERIAS->Keys.size(), 11u);
  Relate::KALIBRETA->Close(0);
  Relate::KAMATERIAS->Close(0);
}

TEST_F(FileManagers, OpeningBindsFieldsAndTheMemosOfTheFilesThatHaveOne) {
  fw::Bindings::Current().Clear();
  ASSERT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  const fw::Binding* memo = fw::Bindings::Current().Find("KAM:OBJETIVO");
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->size, 4000u);
  EXPECT_EQ(memo->address, static_cast<void*>(KAM.OBJETIVO.c));
  const fw::Binding* anual = fw::Bindings::Current().Find("KAL:EVALUACION_ANUAL");
  ASSERT_NE(anual, nullptr);
  EXPECT_EQ(anual->address, static_cast<void*>(&KAL.EVALUACION_ANUAL));
  EXPECT_EQ(fw::Bindings::Current().Count(), 27u + 1u + 131u);
  Relate::KALIBRETA->Close(0);
  Relate::KAMATERIAS->Close(0);
}

TEST_F(FileManagers, FetchThatFindsNothingClearsTheBufferSilently) {
  {
    store::DataFile f(KAMATERIAS);
    KAM_RECORD r;
    f.bind(r.image(), r.memo());
    ASSERT_TRUE(f.create().ok());
    ASSERT_TRUE(f.open().ok());
    r.DNI_DOCENTE = 30111222;
    r.PROFESOR = "Peralta, Ana";
    r.MATERIA = "Historia";
    ASSERT_TRUE(f.add().ok());
    r.MATERIA = "Geografia";
    ASSERT_TRUE(f.add().ok());
  }
  ASSERT_EQ(Relate::KAMATERIAS->Open(0), fw::kLevelBenign);
  KAM.clear();
  KAM.DNI_DOCENTE = 30111222;
  EXPECT_EQ(Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR), fw::kLevelBenign);
  EXPECT_EQ(KAM.MATERIA.trimmed(), "Historia");  // the lower record number
  KAM.DNI_DOCENTE = 99;
  KAM.PROFESOR = "left over";
  EXPECT_EQ(Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR), fw::kLevelNotify);
  EXPECT_EQ(KAM.DNI_DOCENTE, 0);
  EXPECT_TRUE(KAM.PROFESOR.blank());
  KAM.DNI_DOCENTE = 0;  // an OPT key never holds the empty value
  EXPECT_EQ(Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR), fw::kLevelNotify);
  EXPECT_TRUE(errors_.messages().empty());
  Relate::KAMATERIAS->Close(0);
}

// --- the message table, row by row ------------------------------------------------

struct MessageCase {
  const char* name;
  std::function<void()> setup;
  std::function<int()> action;
  int result;
  const char* title;
  const char* text;
  int severity;
  std::size_t shown = 1;  // messages shown in all; the case's own is the last
};

class MessageTable : public FileManagers, public ::testing::WithParamInterface<MessageCase> {};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

const char* const kEnd = "  Press OK to end this application";

void markKeysInvalid() {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open("KALIBRETA.TPS", &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "UPDATE meta SET value='0' WHERE name='keys_valid'", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

int openGrades() { return Relate::KALIBRETA->Open(0); }

const MessageCase kMessageCases[] = {
    {"OpenOfAFileThatIsNotAKamoContainer", [] { writeBytes("KALIBRETA.TPS", "no soy una libreta"); }, openGrades,
     fw::kLevelFatal, "File Access Error",
     "File KALIBRETA.TPS could not be opened.  Error: Not A KAMO Data File (100).  Press OK to end this application",
     fw::kLevelFatal},
    {"CreatingAMissingFileFails",
     [] { store::faults::plan(store::faults::Op::Create, store::kAccessDenied, "KALIBRETA.TPS"); }, openGrades,
     fw::kLevelFatal, "File Creation Error",
     "Error: (Access Denied (5)) creating KALIBRETA.TPS.  Press OK to end this application", fw::kLevelFatal},
    {"DamagedKeysAreRebuilt", [] { FileManagers::seed({{1, 5, "Ana", 700}}), markKeysInvalid(); }, openGrades,
     fw::kLevelBenign, "Invalid Key", "KALIBRETA.TPS key file is invalid. Key must be rebuilt.", fw::kLevelNotify},
    {"RebuildingTheKeysFails",
     [] {
       FileManagers::seed({{1, 5, "Ana", 700}});
       markKeysInvalid();
       store::faults::plan(store::faults::Op::Rebuild, store::kStorageError, "KALIBRETA.TPS");
     },
     openGrades, fw::kLevelFatal, "Key was not built",
     "Error: (Storage Error (105)) repairing key for KALIBRETA.TPS.  Press OK to end this application",
     fw::kLevelFatal, 2},  // after the "Invalid Key" notice
    {"WriteAccessRefusedFallsBackToReadOnly",
     [] {
       FileManagers::seed({{1, 5, "Ana", 700}});
       store::faults::plan(store::faults::Op::Open, store::kAccessDenied, "KALIBRETA.TPS");
       store::faults::plan(store::faults::Op::Open, store::kAccessDenied, "KALIBRETA.TPS");
     },
     openGrades, fw::kLevelBenign, "Access Denied", "Could not get write access to KALIBRETA.TPS so trying read-only.",
     fw::kLevelNotify},
    {"UseBeforeAnyOpen", [] {}, [] { return FileManagers::readPrimary(1); }, fw::kLevelFatal, "File Usage Error",
     "Attempt to use file (KALIBRETA.TPS) before it was opened  Press OK to end this application", fw::kLevelProgram},
    {"ReadErrorInASequence",
     [] {
       FileManagers::seed({{1, 5, "Ana", 700}});
       store::faults::plan(store::faults::Op::Read, store::kFileDamaged, "KALIBRETA.TPS");
     },
     [] {
       openGrades();
       Access::KALIBRETA->SetPhysical();
       return Access::KALIBRETA->Next();
     },
     fw::kLevelNotify, "Record Retrieval Error",
     "Error: (Data File Is Damaged (101)) attempting to access a record from the KALIBRETA.TPS file.  Returning to "
     "previous window.",
     fw::kLevelNotify},
    {"RecordHeldInASequence",
     [] {
       FileManagers::seed({{1, 5, "Ana", 700}});
       store::faults::plan(store::faults::Op::Read, store::kRecordHeld, "KALIBRETA.TPS");
     },
     [] {
       openGrades();
       Access::KALIBRETA->SetPhysical();
       return Access::KALIBRETA->Next();
     },
     fw::kLevelNotify, "Record not read",
     "A record held by another station was encountered reading from the KALIBRETA.TPS file.", fw::kLevelNotify},
    {"ChangedByAnotherStation", [] { FileManagers::seed({{1, 5, "Ana", 700}}); },
     [] {
       openGrades();
       FileManagers::readPrimary(1);
       FileManagers::otherStationSetsAnnual(1, 950);
       (void)KAL.EVALUACION_ANUAL.set(Dec::fromCents(400));
       return Access::KALIBRETA->Update();
     },
     fw::kLevelNotify, "Record Was Not Updated", "This record was changed by another station.", fw::kLevelNotify},
    {"ChangedByAnotherStationFromAForm", [] { FileManagers::seed({{1, 5, "Ana", 700}}); },
     [] {
       openGrades();
       FileManagers::readPrimary(1);
       FileManagers::otherStationSetsAnnual(1, 950);
       (void)KAL.EVALUACION_ANUAL.set(Dec::fromCents(400));
       return Relate::KALIBRETA->Update(true);
     },
     fw::kLevelNotify, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button or Ctrl+H "
     "to recall your changes.",
     fw::kLevelNotify},
    {"DuplicatePrimaryKey", [] { FileManagers::seed({{1, 5, "Ana", 700}, {2, 5, "Beto", 800}}); },
     [] {
       openGrades();
       FileManagers::readPrimary(2);
       KAL.NRO_REGISTRO = 1;
       return Access::KALIBRETA->Update();
     },
     fw::kLevelNotify, "Record was not updated",
     "An error (Creates Duplicate Key (40)) was experienced when making changes to the KALIBRETA.TPS file.",
     fw::kLevelNotify},
    {"DuplicatePrimaryKeyInATransaction", [] { FileManagers::seed({{1, 5, "Ana", 700}, {2, 5, "Beto", 800}}); },
     [] {
       openGrades();
       FileManagers::readPrimary(2);
       KAL.NRO_REGISTRO = 1;
       return Relate::KALIBRETA->Update(true);
     },
     1, "Record was not updated",
     "An error (Creates Duplicate Key (40)) was experienced when making changes to the KALIBRETA.TPS file.",
     fw::kLevelNotify},
    {"TransactionCannotStart",
     [] {
       FileManagers::seed({{1, 5, "Ana", 700}});
       store::faults::plan(store::faults::Op::Begin, store::kTransactionFailed, "KALIBRETA.TPS");
     },
     [] {
       openGrades();
       FileManagers::readPrimary(1);
       return Relate::KALIBRETA->Update(true);
     },
     fw::kLevelNotify, "Transaction cancelled",
     "Error: (Transaction Could Not Be Started (104)) attempting to frame the transaction on KALIBRETA.TPS.",
     fw::kLevelNotify},
};

TEST_P(MessageTable, ShowsItsMessageAndReturnsItsLevel) {
  const MessageCase& c = GetParam();
  c.setup();
  EXPECT_EQ(c.action(), c.result);
  ASSERT_EQ(errors_.messages().size(), c.shown);
  const fw::Message& m = errors_.messages().back();
  EXPECT_EQ(m.title, c.title);
  EXPECT_EQ(m.text, c.text);
  EXPECT_EQ(m.severity, c.severity);
  const bool fatal = c.severity != fw::kLevelNotify;
  EXPECT_EQ(errors_.halts.size(), fatal ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, MessageTable, ::testing::ValuesIn(kMessageCases),
                         [](const auto& p) { return std::string(p.param.name); });

// --- what survives each failure ------------------------------------------------------

TEST_F(FileManagers, AFileThatIsNotAKamoContainerIsLeftAsItWas) {
  writeBytes("KALIBRETA.TPS", "no soy una libreta");
  EXPECT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelFatal);
  EXPECT_EQ(readBytes("KALIBRETA.TPS"), "no soy una libreta");
}

TEST_F(FileManagers, AFatalMessageEndsTheProgramAtOnceWritingNothing) {
  seed({{1, 5, "Ana", 700}});
  const std::string before = readBytes("KALIBRETA.TPS");
  EXPECT_EXIT(
      {
        fw::setHaltHandler({});
        fw::StderrSink sink;
        GlobalErrors.SetSink(&sink);
        Relate::KALIBRETA->Open(0);
        readPrimary(1);
        KAL.ALUMNO = "nunca escrito";
        Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR);  // never opened: fatal
        Access::KALIBRETA->Update();                          // not reached
      },
      ::testing::ExitedWithCode(3), "File Usage Error: Attempt to use file \\(KAMaterias.TPS\\) before it was opened");
  EXPECT_EQ(readBytes("KALIBRETA.TPS"), before);
}

TEST_F(FileManagers, AfterAnotherStationsChangeTheBufferHoldsTheStoredRecord) {
  seed({{1, 5, "Ana", 700}});
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  readPrimary(1);
  otherStationSetsAnnual(1, 950);
  ASSERT_TRUE(KAL.EVALUACION_ANUAL.set(Dec::fromCents(400)).ok());
  EXPECT_EQ(Relate::KALIBRETA->Update(true), fw::kLevelNotify);
  EXPECT_EQ(KAL.EVALUACION_ANUAL.get(), Dec::fromCents(950));
  EXPECT_EQ(Access::KALIBRETA->OpenCount, 1);  // as before the update
  // The next write, from the stored version, goes through.
  ASSERT_TRUE(KAL.EVALUACION_ANUAL.set(Dec::fromCents(400)).ok());
  EXPECT_EQ(Relate::KALIBRETA->Update(true), fw::kLevelBenign);
  readPrimary(1);
  EXPECT_EQ(KAL.EVALUACION_ANUAL.get(), Dec::fromCents(400));
  Relate::KALIBRETA->Close(0);
}

TEST_F(FileManagers, FailedTransactionalUpdateIsRolledBackAndTheCountRestored) {
  seed({{1, 5, "Ana", 700}, {2, 5, "Beto", 800}});
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  readPrimary(2);
  KAL.NRO_REGISTRO = 1;
  KAL.ALUMNO = "Cambiado";
  EXPECT_EQ(Relate::KALIBRETA->Update(false), 1);
  EXPECT_EQ(Access::KALIBRETA->OpenCount, 1);
  EXPECT_FALSE(Access::KALIBRETA->File->inTransaction());
  readPrimary(2);
  EXPECT_EQ(KAL.ALUMNO.trimmed(), "Beto");
  Relate::KALIBRETA->Close(0);
}

TEST_F(FileManagers, AnotherStationsWriteTransactionMakesTheFramingFailAfterItsTimeout) {
  seed({{1, 5, "Ana", 700}});
  store::DataFile other(KALIBRETA);
  ASSERT_TRUE(other.open().ok());
  ASSERT_TRUE(other.begin(1).ok());
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  readPrimary(1);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Relate::KALIBRETA->Update(true), fw::kLevelNotify);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1900));  // it waited its 2 seconds
  EXPECT_EQ(only().title, "Transaction cancelled");
  EXPECT_EQ(Access::KALIBRETA->OpenCount, 1);
  ASSERT_TRUE(other.commit().ok());
  Relate::KALIBRETA->Close(0);
}

TEST_F(FileManagers, ReadOnlyFallbackIsKeptForLaterOpensAndWritesFail) {
  seed({{1, 5, "Ana", 700}});
  store::faults::plan(store::faults::Op::Open, store::kAccessDenied, "KALIBRETA.TPS");
  store::faults::plan(store::faults::Op::Open, store::kAccessDenied, "KALIBRETA.TPS");
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  readPrimary(1);
  EXPECT_EQ(Access::KALIBRETA->Update(), fw::kLevelNotify);
  ASSERT_EQ(errors_.messages().size(), 2u);
  EXPECT_EQ(errors_.messages()[1].text,
            "An error (Access Denied (5)) was experienced when making changes to the KALIBRETA.TPS file.");
  Relate::KALIBRETA->Close(0);
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  EXPECT_EQ(Access::KALIBRETA->OpenMode, 64);
  EXPECT_EQ(Access::KALIBRETA->File->mode(), 64);
  Relate::KALIBRETA->Close(0);
}

TEST_F(FileManagers, NextAtTheEndIsSilent) {
  seed({{1, 5, "Ana", 700}});
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  ASSERT_EQ(Access::KALIBRETA->SetPhysical(), fw::kLevelBenign);
  EXPECT_EQ(Access::KALIBRETA->Next(), fw::kLevelBenign);
  EXPECT_EQ(Access::KALIBRETA->Next(), fw::kLevelNotify);
  EXPECT_TRUE(Access::KALIBRETA->Eof);
  EXPECT_TRUE(errors_.messages().empty());
  Relate::KALIBRETA->Close(0);
}

// --- a called procedure gives its caller's buffers and positions back ----------------

TEST_F(FileManagers, CalledProcedureRestoresTheCallersBuffersAndPositions) {
  seed({{1, 5, "Ana", 700}, {2, 5, "Beto", 800}, {3, 5, "Carla", 900}, {4, 6, "Dario", 500}});
  fw::FilesManager& files = fw::FilesManager::Current();
  // The caller (the tracking window) stands on Beto, within subject 5.
  files.EnterProcedure();
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  KAL.clear();
  KAL.COD_MATERIA = 5;
  ASSERT_TRUE(Access::KALIBRETA->File->setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok());
  ASSERT_EQ(Access::KALIBRETA->Next(), fw::kLevelBenign);
  ASSERT_EQ(Access::KALIBRETA->Next(), fw::kLevelBenign);
  ASSERT_EQ(KAL.ALUMNO.trimmed(), "Beto");
  KAL.OPERADOR = "sin guardar";  // a change the caller has not written yet

  // The called procedure (the report) reads the whole file.
  files.EnterProcedure();
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);  // a nested open of its own
  ASSERT_EQ(Access::KALIBRETA->SetPhysical(), fw::kLevelBenign);
  while (Access::KALIBRETA->Next() == fw::kLevelBenign) {
  }
  Relate::KALIBRETA->Close(0);
  EXPECT_EQ(KAL.ALUMNO.trimmed(), "Dario");  // not yet: the procedure still holds one open
  Relate::KALIBRETA->Close(0);
  files.LeaveProcedure();

  EXPECT_EQ(KAL.ALUMNO.trimmed(), "Beto");
  EXPECT_EQ(KAL.OPERADOR.trimmed(), "sin guardar");
  EXPECT_EQ(Access::KALIBRETA->Next(), fw::kLevelBenign);  // the caller's sequence goes on
  EXPECT_EQ(KAL.ALUMNO.trimmed(), "Carla");
  // Writing goes to the caller's current record, not the report's last one.
  ASSERT_EQ(Access::KALIBRETA->Update(), fw::kLevelBenign);
  readPrimary(4);
  EXPECT_EQ(KAL.EVALUACION_ANUAL.get(), Dec::fromCents(500));
  Relate::KALIBRETA->Close(0);
  files.LeaveProcedure();
  EXPECT_TRUE(errors_.messages().empty());
}

// --- threads -------------------------------------------------------------------------------

TEST_F(FileManagers, AnotherThreadGetsItsOwnSixObjectsAndLosesThemWhenItEnds) {
  seed({{1, 5, "Ana", 700}});
  const fw::FileManager* mine = Access::KALIBRETA;
  const fw::FileManager* theirs = nullptr;
  bool allSix = false;
  std::size_t registered = 0;
  std::thread([&] {
    StartDictionaryForThread();
    theirs = Access::KALIBRETA;
    allSix = Access::KAMATERIAS && Access::KAAPRENDE && Access::KALIBRETA && Relate::KAMATERIAS &&
             Relate::KAAPRENDE && Relate::KALIBRETA;
    registered = fw::FilesManager::Current().FileCount() + fw::FilesManager::Current().RelationCount();
    // Left open on purpose: the thread's end closes it.
    Relate::KALIBRETA->Open(0);
    KAL.NRO_REGISTRO = 1;
    Access::KALIBRETA->Fetch(KAL.CLAVE_PRIMARIA);
  }).join();
  EXPECT_TRUE(allSix);
  EXPECT_EQ(registered, 6u);
  EXPECT_NE(theirs, nullptr);
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(Access::KALIBRETA, mine);
  // The thread's connection is gone: its end closed the file, so the
  // write-ahead log was folded back and removed.
  EXPECT_FALSE(fs::exists("KALIBRETA.TPS-wal"));
}

TEST_F(FileManagers, DctKillDestroysTheObjectsAndClearsTheReferences) {
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);  // left open: DctKill closes it
  DctKill();
  EXPECT_EQ(Access::KALIBRETA, nullptr);
  EXPECT_EQ(Relate::KAMATERIAS, nullptr);
  EXPECT_EQ(Hide::Access::KAAPRENDE, nullptr);
  EXPECT_EQ(Hide::Relate::KALIBRETA, nullptr);
  EXPECT_EQ(fw::FilesManager::Current().FileCount(), 0u);
  EXPECT_FALSE(fs::exists("KALIBRETA.TPS-wal"));
  DctInit();  // for TearDown
}

}  // namespace
