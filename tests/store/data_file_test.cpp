// The data-file container: creating, opening, refusing foreign files, writing
// with change detection, positions, transactions, memos and keys.
#include "store/data_file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "dictionary/records.h"
#include "store/codepage.h"
#include "store/faults.h"
#include "store/image_codec.h"
#include "temp_dir.h"

namespace {

using kamo::testing::readBytes;
using kamo::testing::TempDir;
using kamo::testing::writeBytes;
using store::Dec;
using store::DataFile;

std::string ansi(const char* utf8) {
  std::string out;
  EXPECT_TRUE(store::cp::utf8ToAnsi(utf8, out).ok());
  return out;
}

class GradeBook : public ::testing::Test {
 protected:
  void SetUp() override {
    store::faults::clearAll();
    ASSERT_TRUE(file_.create().ok());
    ASSERT_TRUE(file_.open().ok());
    file_.bind(rec_.image());
  }
  void TearDown() override { store::faults::clearAll(); }

  // Adds a grade line and returns its position.
  store::Position addLine(std::int32_t nro, std::int32_t materia, const char* alumno, std::int64_t anualCents = 0) {
    rec_.clear();
    rec_.NRO_REGISTRO = nro;
    rec_.COD_MATERIA = materia;
    rec_.ALUMNO = ansi(alumno);
    EXPECT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(anualCents)).ok());
    EXPECT_TRUE(file_.add().ok());
    return file_.position();
  }
  std::string path() const { return dir_.file("KALIBRETA.TPS"); }

  TempDir dir_;
  DataFile file_{KALIBRETA, dir_.file("KALIBRETA.TPS")};
  KAL_RECORD rec_;
};

TEST_F(GradeBook, EveryFieldTypeAndAccentedTextSurviveTheOemFile) {
  rec_.clear();
  rec_.NRO_REGISTRO = -2147483647 - 1;
  rec_.NRO_ORDEN = -32768;
  rec_.ALUMNO = ansi("Núñez, María José ¿Ü?");
  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(-9999999)).ok());
  ASSERT_TRUE(rec_.PRONOSTICO1.set(Dec::fromCents(99999)).ok());
  rec_.FECHA12.set(29, 2, 2024);
  rec_.OBSERVACION15 = ansi("Observación final - ñandú");
  rec_.OBSERVACION15.c[18] = '\x97';  // an em dash: Windows-1252 has it, the file's page does not
  EXPECT_EQ(file_.add().code(), store::kTextNotStorable);
  rec_.OBSERVACION15 = ansi("Observación final: ñandú");
  ASSERT_TRUE(file_.add().ok());
  const KAL_RECORD written = rec_;
  const store::Position at = file_.position();

  // The file holds code page 850 bytes: "ñ" is 0xA4 there.
  file_.close();
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* s = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT image FROM records", -1, &s, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(s), SQLITE_ROW);
    const std::string packed(static_cast<const char*>(sqlite3_column_blob(s, 0)), sqlite3_column_bytes(s, 0));
    EXPECT_LT(packed.size(), 400u);  // the padding of the strings is run-length encoded
    std::string image;
    ASSERT_TRUE(store::unpackImage(packed, 1624, image));
    EXPECT_EQ(image.substr(20, 5), std::string("N\xA3\xA4" "ez"));
    EXPECT_EQ(image.substr(0, 4), std::string("\x00\x00\x00\x80", 4));
    sqlite3_finalize(s);
    sqlite3_close(db);
  }
  ASSERT_TRUE(file_.open().ok());
  rec_.clear();
  ASSERT_TRUE(file_.reget(at).ok());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(rec_.image()), 1624),
            std::string(reinterpret_cast<const char*>(written.image()), 1624));
}

TEST_F(GradeBook, MemoRoundTripsAndIsSpacePaddedInTheBuffer) {
  TempDir other;
  DataFile subjects(KAMATERIAS, other.file("KAMaterias.TPS"));
  KAM_RECORD kam;
  subjects.bind(kam.image(), kam.memo());
  ASSERT_TRUE(subjects.create().ok());
  ASSERT_TRUE(subjects.open().ok());
  kam.clear();
  kam.NRO_REGISTRO = 1;
  kam.OBJETIVO = ansi("Comprender la Revolución de Mayo");
  ASSERT_TRUE(subjects.add().ok());
  kam.NRO_REGISTRO = 2;
  kam.OBJETIVO = "";
  ASSERT_TRUE(subjects.add().ok());
  ASSERT_TRUE(subjects.setPhysical().ok());
  ASSERT_TRUE(subjects.next().ok());
  EXPECT_EQ(kam.OBJETIVO.trimmed(), ansi("Comprender la Revolución de Mayo"));
  EXPECT_EQ(kam.OBJETIVO.view().size(), 4000u);
  ASSERT_TRUE(subjects.next().ok());
  EXPECT_TRUE(kam.OBJETIVO.blank());
  kam.OBJETIVO = "€";
  kam.OBJETIVO.c[0] = '\x80';
  EXPECT_EQ(subjects.put().code(), store::kTextNotStorable);
}

TEST_F(GradeBook, MissingFileIsReportedAndCreateNeverReplacesAFile) {
  TempDir other;
  DataFile missing(KALIBRETA, other.file("KALIBRETA.TPS"));
  EXPECT_EQ(missing.open().code(), store::kFileNotFound);
  writeBytes(other.file("KALIBRETA.TPS"), "notas de otro programa");
  EXPECT_EQ(missing.create().code(), store::kFileExists);
  EXPECT_EQ(readBytes(other.file("KALIBRETA.TPS")), "notas de otro programa");
}

TEST(DataFileRefusal, ForeignAndDamagedFilesAreRefusedAndLeftByteIdentical) {
  TempDir dir;
  const std::string path = dir.file("KALIBRETA.TPS");
  // A sound container to cut short.
  std::string sound;
  {
    DataFile f(KALIBRETA, path);
    ASSERT_TRUE(f.create().ok());
    ASSERT_TRUE(f.open().ok());
    KAL_RECORD r;
    f.bind(r.image());
    for (int i = 1; i <= 300; ++i) {
      r.NRO_REGISTRO = i;
      ASSERT_TRUE(f.add().ok());
    }
    f.close();
    sound = readBytes(path);
    ASSERT_GT(sound.size(), 8192u);
    std::remove(path.c_str());
  }
  std::string otherDb;
  {
    const std::string p = dir.file("other.db");
    sqlite3* db = nullptr;
    sqlite3_open(p.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    otherDb = readBytes(p);
  }
  const struct {
    const char* name;
    std::string bytes;
    int code;
  } cases[] = {
      {"empty", "", store::kNotADataFile},
      {"text", "DNI;NOMBRE\n30111222;PEREZ\n", store::kNotADataFile},
      {"another program's database", otherDb, store::kNotADataFile},
      {"truncated container", sound.substr(0, sound.size() / 2), store::kFileDamaged},
      {"header only", sound.substr(0, 100), store::kFileDamaged},
      {"short header", sound.substr(0, 50), store::kNotADataFile},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeBytes(path, c.bytes);
    DataFile f(KALIBRETA, path);
    EXPECT_EQ(f.open().code(), c.code);
    EXPECT_EQ(f.rebuildKeys().code(), c.code);
    EXPECT_EQ(f.create().code(), store::kFileExists);
    EXPECT_EQ(readBytes(path), c.bytes);
    EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  }
}

TEST(DataFileRefusal, AnotherFilesContainerAtThisNameIsRefused) {
  TempDir dir;
  DataFile subjects(KAMATERIAS, dir.file("KALIBRETA.TPS"));
  ASSERT_TRUE(subjects.create().ok());
  DataFile grades(KALIBRETA, dir.file("KALIBRETA.TPS"));
  EXPECT_EQ(grades.open().code(), store::kWrongFile);
}

TEST_F(GradeBook, ChangeBySecondConnectionIsDetectedAndNothingIsWritten) {
  const store::Position at = addLine(1, 10, "Pérez", 500);
  DataFile other(KALIBRETA, path());
  KAL_RECORD otherRec;
  other.bind(otherRec.image());
  ASSERT_TRUE(other.open().ok());
  ASSERT_TRUE(other.reget(at).ok());
  ASSERT_TRUE(file_.reget(at).ok());

  ASSERT_TRUE(otherRec.EVALUACION_ANUAL.set(Dec::fromCents(900)).ok());
  ASSERT_TRUE(other.put().ok());

  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(300)).ok());
  EXPECT_EQ(file_.put().code(), store::kRecordChanged);
  ASSERT_TRUE(file_.reget(at).ok());
  EXPECT_EQ(rec_.EVALUACION_ANUAL.get(), Dec::fromCents(900));
  // After reading it again the change goes through.
  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(300)).ok());
  EXPECT_TRUE(file_.put().ok());
  // A deleted record counts as changed too.
  ASSERT_TRUE(other.reget(at).ok());
  ASSERT_TRUE(other.erase().ok());
  EXPECT_EQ(file_.put().code(), store::kRecordChanged);
}

TEST_F(GradeBook, ChangeByAnotherProcessIsDetected) {
  const store::Position at = addLine(1, 10, "Pérez", 500);
  ASSERT_TRUE(file_.reget(at).ok());
  const pid_t child = fork();
  if (child == 0) {
    DataFile f(KALIBRETA, path());
    KAL_RECORD r;
    f.bind(r.image());
    bool ok = f.open().ok() && f.reget(at).ok() && r.EVALUACION_ANUAL.set(Dec::fromCents(950)).ok() && f.put().ok();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(400)).ok());
  EXPECT_EQ(file_.put().code(), store::kRecordChanged);
  ASSERT_TRUE(file_.reget(at).ok());
  EXPECT_EQ(rec_.EVALUACION_ANUAL.get(), Dec::fromCents(950));
}

TEST_F(GradeBook, PositionsNameExactlyOneRecordAmongEmptyPrimaryKeys) {
  addLine(0, 10, "Alfa");
  const store::Position second = addLine(0, 10, "Beta");
  addLine(0, 10, "Gamma");
  ASSERT_TRUE(file_.reget(second).ok());
  rec_.ALUMNO = "Beta cambiado";
  ASSERT_TRUE(file_.put().ok());
  std::vector<std::string> names;
  ASSERT_TRUE(file_.setPhysical().ok());
  while (file_.next().ok()) names.emplace_back(rec_.ALUMNO.trimmed());
  EXPECT_EQ(names, (std::vector<std::string>{"Alfa", "Beta cambiado", "Gamma"}));
}

TEST_F(GradeBook, ResetToAndSavedSequencesContinueWhereTheyWere) {
  addLine(1, 5, "A");
  const store::Position b = addLine(2, 5, "B");
  addLine(3, 5, "C");
  addLine(4, 5, "D");
  ASSERT_TRUE(file_.setKey(KAL.CLAVE_CODMATERIA_ALUALFA).ok());
  ASSERT_TRUE(file_.resetTo(b).ok());
  ASSERT_TRUE(file_.next().ok());
  EXPECT_EQ(rec_.ALUMNO.trimmed(), "B");
  const store::SequenceState saved = file_.saveSequence();
  ASSERT_TRUE(file_.next().ok());
  ASSERT_TRUE(file_.next().ok());
  EXPECT_EQ(rec_.ALUMNO.trimmed(), "D");
  file_.restoreSequence(saved);
  ASSERT_TRUE(file_.next().ok());
  EXPECT_EQ(rec_.ALUMNO.trimmed(), "C");
  ASSERT_TRUE(file_.resetTo(b).ok());
  ASSERT_TRUE(file_.previous().ok());
  EXPECT_EQ(rec_.ALUMNO.trimmed(), "A");
}

TEST_F(GradeBook, SequencesSeeThisHandlesOwnWritesAtOnce) {
  for (int i = 1; i <= 5; ++i) addLine(i, 5, "X", 100);
  ASSERT_TRUE(file_.setPhysical().ok());
  ASSERT_TRUE(file_.next().ok());
  // Change the third record through a keyed fetch, then go on reading.
  const store::SequenceState s = file_.saveSequence();
  rec_.clear();
  rec_.NRO_REGISTRO = 3;
  ASSERT_TRUE(file_.fetch(KAL.CLAVE_PRIMARIA).ok());
  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(777)).ok());
  ASSERT_TRUE(file_.put().ok());
  file_.restoreSequence(s);
  ASSERT_TRUE(file_.next().ok());
  ASSERT_TRUE(file_.next().ok());
  EXPECT_EQ(rec_.NRO_REGISTRO, 3);
  EXPECT_EQ(rec_.EVALUACION_ANUAL.get(), Dec::fromCents(777));
}

TEST_F(GradeBook, QuickScanGivesTheSameResults) {
  for (int i = 1; i <= 700; ++i) addLine(i, i % 3, "X");
  auto readAll = [&] {
    std::vector<std::int32_t> nros;
    rec_.clear();
    rec_.COD_MATERIA = 1;
    EXPECT_TRUE(file_.setRange(KAL.CLAVE_MATERIA, 1).ok());
    while (file_.next().ok()) nros.push_back(rec_.NRO_REGISTRO);
    return nros;
  };
  const auto slow = readAll();
  ASSERT_TRUE(file_.send("QUICKSCAN=on").ok());
  EXPECT_EQ(readAll(), slow);
  EXPECT_EQ(slow.size(), 234u);
  EXPECT_EQ(file_.send("QUICKSCAN=maybe").code(), store::kInvalidCommand);
  EXPECT_TRUE(file_.send("Recover=10").ok());
  EXPECT_EQ(file_.send("Recover=ten").code(), store::kInvalidCommand);
  EXPECT_EQ(file_.send("BUFFER=4").code(), store::kInvalidCommand);
}

TEST_F(GradeBook, RollbackUndoesWritesAndLaterWritesStillCheckTheStoredVersion) {
  const store::Position at = addLine(1, 5, "Ana", 500);
  ASSERT_TRUE(file_.reget(at).ok());
  ASSERT_TRUE(file_.begin(2).ok());
  ASSERT_TRUE(rec_.EVALUACION_ANUAL.set(Dec::fromCents(800)).ok());
  ASSERT_TRUE(file_.put().ok());
  ASSERT_TRUE(file_.rollback().ok());
  // The buffer keeps the typed value; writing it again succeeds once.
  ASSERT_TRUE(file_.put().ok());
  KAL_RECORD check;
  DataFile reader(KALIBRETA, path());
  reader.bind(check.image());
  ASSERT_TRUE(reader.open(store::kSharedReadOnly).ok());
  ASSERT_TRUE(reader.reget(at).ok());
  EXPECT_EQ(check.EVALUACION_ANUAL.get(), Dec::fromCents(800));
  EXPECT_EQ(reader.put().code(), store::kAccessDenied);
}

TEST_F(GradeBook, TransactionWaitsForAnotherWriterThenGivesUp) {
  DataFile other(KALIBRETA, path());
  ASSERT_TRUE(other.open().ok());
  ASSERT_TRUE(other.begin(2).ok());
  EXPECT_EQ(file_.begin(0).code(), store::kTransactionFailed);
  ASSERT_TRUE(other.commit().ok());
  EXPECT_TRUE(file_.begin(1).ok());
  EXPECT_TRUE(file_.commit().ok());
}

TEST_F(GradeBook, ChangedKeyDeclarationsRequireARebuildThatRecomputesEveryKey) {
  addLine(2, 5, "Beta");
  addLine(1, 5, "Alfa");
  file_.close();
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    // Damage one stored key and mark the keys out of date.
    ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET k9 = x'00' WHERE recno = 1;"
                               "UPDATE meta SET value = '0' WHERE name = 'keys_valid';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  EXPECT_EQ(file_.open().code(), store::kKeysMustBeRebuilt);
  ASSERT_TRUE(file_.rebuildKeys().ok());
  ASSERT_TRUE(file_.open().ok());
  std::vector<std::string> problems;
  ASSERT_TRUE(file_.verify(problems).ok());
  EXPECT_TRUE(problems.empty()) << problems.front();
  ASSERT_TRUE(file_.setKey(KAL.CLAVE_CODMATERIA_ALUALFA).ok());
  ASSERT_TRUE(file_.next().ok());
  EXPECT_EQ(rec_.ALUMNO.trimmed(), "Alfa");
}

TEST_F(GradeBook, VerifyFindsKeysThatDisagreeWithTheRecords) {
  addLine(1, 5, "Alfa");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET k3 = NULL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  std::vector<std::string> problems;
  ASSERT_TRUE(file_.verify(problems).ok());
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("KAL:CLAVE_MATERIA"), std::string::npos);
}

TEST_F(GradeBook, RebuildRefusesDuplicatesInAUniqueKeyAndChangesNothing) {
  addLine(1, 5, "Alfa");
  addLine(2, 5, "Beta");
  file_.close();
  {
    // Make both records carry the same record number behind the keys' back.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET image = (SELECT image FROM records WHERE recno = 1) WHERE recno = 2",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  const store::Status s = file_.rebuildKeys();
  EXPECT_EQ(s.code(), store::kDuplicateKey);
  EXPECT_NE(s.detail().find("KAL:CLAVE_PRIMARIA"), std::string::npos);
  EXPECT_TRUE(file_.open().ok());  // keys as they were: still valid
}

TEST_F(GradeBook, OpenRulesAndInjectedFaults) {
  EXPECT_EQ(file_.open().code(), store::kFileAlreadyOpen);
  file_.close();
  EXPECT_EQ(file_.open(0x12).code(), store::kInvalidOpenMode);
  store::faults::plan(store::faults::Op::Open, store::kAccessDenied, "KALIBRETA.TPS");
  EXPECT_EQ(file_.open().code(), store::kAccessDenied);
  EXPECT_TRUE(file_.open().ok());  // the fault happened once
  const store::Position at = addLine(1, 5, "Ana");
  store::faults::plan(store::faults::Op::Write, store::kRecordHeld, "KALIBRETA.TPS");
  ASSERT_TRUE(file_.reget(at).ok());
  EXPECT_EQ(file_.put().code(), store::kRecordHeld);
  store::faults::plan(store::faults::Op::Read, store::kRecordHeld, "KALIBRETA.TPS", 1);
  ASSERT_TRUE(file_.setPhysical().ok());
  EXPECT_TRUE(file_.next().ok());
  EXPECT_EQ(file_.next().code(), store::kRecordHeld);
}

TEST_F(GradeBook, WritesNeedACurrentRecord) {
  file_.clearBuffer();
  EXPECT_EQ(file_.put().code(), store::kNoCurrentRecord);
  file_.close();
  EXPECT_EQ(file_.next().code(), store::kFileNotOpen);
}

}  // namespace
