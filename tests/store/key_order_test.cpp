// Reading in key order and fetching by key, checked on real data files.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "dictionary/records.h"
#include "store/codepage.h"
#include "store/data_file.h"
#include "temp_dir.h"

namespace {

using Fields = std::vector<std::pair<const char*, const char*>>;  // label, UTF-8 text

// Each record carries a tag in a field that no key uses, to tell it apart.
const char* tagField(const store::FileDesc& f) { return &f == &KALIBRETA ? "KAL:CANTIDAD" : "KAM:CANTIDADMATEPROM"; }

void fill(store::DataFile& file, int tag, const Fields& fields) {
  const store::FileDesc& d = file.desc();
  file.clearBuffer();
  ASSERT_TRUE(store::fieldFromText(d.fields[d.findField(tagField(d))], std::to_string(tag), file.record()).ok());
  for (const auto& [label, utf8] : fields) {
    std::string ansi;
    ASSERT_TRUE(store::cp::utf8ToAnsi(utf8, ansi).ok());
    const int i = d.findField(label);
    ASSERT_GE(i, 0) << label;
    ASSERT_TRUE(store::fieldFromText(d.fields[i], ansi, file.record()).ok()) << label;
  }
}

int tagOf(const store::DataFile& file) {
  const store::FileDesc& d = file.desc();
  return std::stoi(store::fieldToText(d.fields[d.findField(tagField(d))], file.record()));
}

struct OrderCase {
  const char* name;
  const store::FileDesc* file;
  const char* key;
  std::vector<Fields> records;  // tagged 1, 2, 3, ... in this order
  std::vector<int> expected;    // tags in key order
};

const OrderCase kOrderCases[] = {
    {"EqualValuesFollowRecordNumbersAndOptLeavesOutAllEmpty", &KALIBRETA, "KAL:CLAVE_CODMATERIA_ALUALFA",
     {{{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "PEREZ"}},
      {{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "ALVAREZ"}},
      {{"KAL:COD_MATERIA", "3"}, {"KAL:ALUMNO", "ZZ"}},
      {{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "PEREZ"}},
      {{"KAL:COD_MATERIA", "0"}, {"KAL:ALUMNO", ""}},
      {{"KAL:COD_MATERIA", "0"}, {"KAL:ALUMNO", "X"}},
      {{"KAL:COD_MATERIA", "7"}, {"KAL:ALUMNO", ""}}},
     {6, 3, 2, 1, 4, 7}},
    {"NocaseWithDescendingMiddleComponent", &KALIBRETA, "KAL:CLAVE_MATERIA_SEXO_ALUMNO2",
     {{{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "garcia"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "F"}, {"KAL:ALUMNO", "Zapata"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "GARCIA"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "F"}, {"KAL:ALUMNO", "alvarez"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "Benítez"}}},
     {5, 1, 3, 4, 2}},
    {"CaseSensitiveKeyComparesTheBytes", &KALIBRETA, "KAL:CLAVE_MATERIA_SEXO_ALUMNO",
     {{{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "garcia"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "F"}, {"KAL:ALUMNO", "Zapata"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "GARCIA"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "F"}, {"KAL:ALUMNO", "alvarez"}},
      {{"KAL:COD_MATERIA", "1"}, {"KAL:SEXO", "M"}, {"KAL:ALUMNO", "Benítez"}}},
     {2, 4, 5, 3, 1}},
    {"DescendingDecimalsWithNegativesAndZerosNotOpt", &KALIBRETA, "KAL:CLAVE_RENDIMIENTO_ACADEMICO",
     {{{"KAL:EVALUACION_ANUAL", "7.00"}, {"KAL:FINALETAPAIII", "5.00"}},
      {{"KAL:EVALUACION_ANUAL", "9.50"}},
      {},
      {{"KAL:EVALUACION_ANUAL", "-1.00"}},
      {{"KAL:EVALUACION_ANUAL", "7.00"}, {"KAL:FINALETAPAIII", "8.00"}},
      {},
      {{"KAL:EVALUACION_ANUAL", "0.01"}},
      {{"KAL:EVALUACION_ANUAL", "-0.50"}}},
     {2, 5, 1, 7, 3, 6, 8, 4}},
    {"PrimaryKeyLeavesOutEmptyValues", &KALIBRETA, "KAL:CLAVE_PRIMARIA",
     {{{"KAL:NRO_REGISTRO", "30"}}, {{"KAL:NRO_REGISTRO", "10"}}, {{"KAL:NRO_REGISTRO", "0"}},
      {{"KAL:NRO_REGISTRO", "0"}}, {{"KAL:NRO_REGISTRO", "-5"}}},
     {5, 2, 1}},
    {"TeachersByDniWithSharedValues", &KAMATERIAS, "KAM:CLAVE_DNI_PROFESOR",
     {{{"KAM:DNI_DOCENTE", "30111222"}, {"KAM:MATERIA", "Historia"}},
      {{"KAM:DNI_DOCENTE", "0"}, {"KAM:MATERIA", "Sin docente"}},
      {{"KAM:DNI_DOCENTE", "20333444"}},
      {{"KAM:DNI_DOCENTE", "30111222"}, {"KAM:MATERIA", "Geografía"}},
      {{"KAM:DNI_DOCENTE", "-7"}}},
     {5, 3, 1, 4}},
    {"StringComponentsCompareOverTheFullWidth", &KAMATERIAS, "KAM:CLAVE_MATERIA_SEXO",
     {{{"KAM:MATERIA", "Lengua"}, {"KAM:SEXO", "B"}},
      {{"KAM:MATERIA", "Lengua y Literatura"}, {"KAM:SEXO", "A"}},
      {{"KAM:MATERIA", "Lengua"}, {"KAM:SEXO", "A"}},
      {{"KAM:MATERIA", "Física"}}},
     {4, 3, 1, 2}},
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class KeyOrder : public ::testing::TestWithParam<OrderCase> {
 protected:
  kamo::testing::TempDir dir_;
};

TEST_P(KeyOrder, ReadsForwardAndBackward) {
  const OrderCase& c = GetParam();
  store::DataFile file(*c.file, dir_.file(std::string(c.file->diskName)));
  ASSERT_TRUE(file.create().ok());
  ASSERT_TRUE(file.open().ok());
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    fill(file, static_cast<int>(i + 1), c.records[i]);
    ASSERT_TRUE(file.add().ok());
  }
  const int key = c.file->findKey(c.key);
  ASSERT_GE(key, 0);
  std::vector<int> forward, backward;
  ASSERT_TRUE(file.setKey(key).ok());
  while (file.next().ok()) forward.push_back(tagOf(file));
  EXPECT_EQ(forward, c.expected);
  ASSERT_TRUE(file.setKey(key).ok());
  while (file.previous().ok()) backward.push_back(tagOf(file));
  EXPECT_EQ(std::vector<int>(backward.rbegin(), backward.rend()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyOrder, ::testing::ValuesIn(kOrderCases),
                         [](const auto& p) { return std::string(p.param.name); });

class KeyedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(file_.create().ok());
    ASSERT_TRUE(file_.open().ok());
  }
  void add(int tag, const Fields& fields) {
    fill(file_, tag, fields);
    ASSERT_TRUE(file_.add().ok());
  }
  kamo::testing::TempDir dir_;
  store::DataFile file_{KALIBRETA, dir_.file("KALIBRETA.TPS")};
};

TEST_F(KeyedFile, FetchFindsTheFirstEqualValueByRecordNumber) {
  add(1, {{"KAL:COD_MATERIA", "8"}, {"KAL:ALUMNO", "Ruiz"}});
  add(2, {{"KAL:COD_MATERIA", "9"}, {"KAL:ALUMNO", "Ruiz"}});
  add(3, {{"KAL:COD_MATERIA", "9"}, {"KAL:ALUMNO", "Ruiz"}});
  file_.clearBuffer();
  KAL_RECORD& rec = *reinterpret_cast<KAL_RECORD*>(file_.record());
  rec.COD_MATERIA = 9;
  rec.ALUMNO = "Ruiz";
  ASSERT_TRUE(file_.fetch(KAL.CLAVE_CODMATERIA_ALUALFA).ok());
  EXPECT_EQ(tagOf(file_), 2);
  rec.ALUMNO = "RUIZ";  // the key is case-sensitive
  EXPECT_EQ(file_.fetch(KAL.CLAVE_CODMATERIA_ALUALFA).code(), store::kRecordNotFound);
}

TEST_F(KeyedFile, FetchOfAnAllEmptyValueInAnOptKeyFindsNothing) {
  add(1, {{"KAL:COD_MATERIA", "0"}, {"KAL:ALUMNO", ""}});
  file_.clearBuffer();
  EXPECT_EQ(file_.fetch(KAL.CLAVE_CODMATERIA_ALUALFA).code(), store::kRecordNotFound);
  // The same record is reached in physical order.
  ASSERT_TRUE(file_.setPhysical().ok());
  EXPECT_TRUE(file_.next().ok());
}

TEST_F(KeyedFile, PrimaryKeyRefusesASecondValueButNotEmptyOnes) {
  add(1, {{"KAL:NRO_REGISTRO", "10"}});
  add(2, {{"KAL:NRO_REGISTRO", "0"}});
  add(3, {{"KAL:NRO_REGISTRO", "0"}});
  fill(file_, 4, {{"KAL:NRO_REGISTRO", "10"}});
  const store::Status s = file_.add();
  EXPECT_EQ(s.code(), store::kDuplicateKey);
  EXPECT_EQ(s.detail(), "KAL:CLAVE_PRIMARIA");
  std::int64_t n = 0;
  ASSERT_TRUE(file_.recordCount(n).ok());
  EXPECT_EQ(n, 3);
  // Changing a record onto a taken value is refused the same way.
  ASSERT_TRUE(file_.setPhysical().ok());
  ASSERT_TRUE(file_.next().ok());
  ASSERT_TRUE(file_.next().ok());
  ASSERT_EQ(tagOf(file_), 2);
  reinterpret_cast<KAL_RECORD*>(file_.record())->NRO_REGISTRO = 10;
  EXPECT_EQ(file_.put().code(), store::kDuplicateKey);
}

TEST_F(KeyedFile, RangeLimitsASequenceToTheLeadingComponents) {
  add(1, {{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "Pérez"}});
  add(2, {{"KAL:COD_MATERIA", "4"}, {"KAL:ALUMNO", "Zárate"}});
  add(3, {{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "Álvarez"}});
  add(4, {{"KAL:COD_MATERIA", "6"}, {"KAL:ALUMNO", "Abad"}});
  add(5, {{"KAL:COD_MATERIA", "5"}, {"KAL:ALUMNO", "Gómez"}});
  file_.clearBuffer();
  reinterpret_cast<KAL_RECORD*>(file_.record())->COD_MATERIA = 5;
  ASSERT_TRUE(file_.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok());
  std::vector<int> tags;
  while (file_.next().ok()) tags.push_back(tagOf(file_));
  // "Á" is 0xB5 in the file's code page, after the ASCII letters.
  EXPECT_EQ(tags, (std::vector<int>{5, 1, 3}));
  reinterpret_cast<KAL_RECORD*>(file_.record())->COD_MATERIA = 5;
  ASSERT_TRUE(file_.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok());
  tags.clear();
  while (file_.previous().ok()) tags.push_back(tagOf(file_));
  EXPECT_EQ(tags, (std::vector<int>{3, 1, 5}));
}

TEST_F(KeyedFile, LongRunsOfEqualValuesAreReadInOrderAcrossBatches) {
  for (int i = 1; i <= 100; ++i) add(i, {{"KAL:COD_MATERIA", "1"}});
  ASSERT_TRUE(file_.send("QUICKSCAN=off").ok());
  ASSERT_TRUE(file_.setKey(KAL.CLAVE_MATERIA).ok());
  for (int i = 1; i <= 100; ++i) {
    ASSERT_TRUE(file_.next().ok());
    ASSERT_EQ(tagOf(file_), i);
  }
  EXPECT_EQ(file_.next().code(), store::kRecordNotAvailable);
  for (int i = 99; i >= 1; --i) {
    ASSERT_TRUE(file_.previous().ok());
    ASSERT_EQ(tagOf(file_), i);
  }
}

}  // namespace
