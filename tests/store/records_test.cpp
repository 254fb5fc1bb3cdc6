#include "dictionary/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

const store::FileDesc* const kFiles[] = {&KAMATERIAS, &KAAPRENDE, &KALIBRETA};

TEST(Records, FieldsTileTheRecordImageWithoutGapsOrOverlaps) {
  for (const store::FileDesc* f : kFiles) {
    SCOPED_TRACE(f->label);
    std::vector<store::FieldDesc> fields(f->fields.begin(), f->fields.end());
    std::sort(fields.begin(), fields.end(), [](auto& a, auto& b) { return a.offset < b.offset; });
    std::size_t at = 0;
    for (const auto& field : fields) {
      EXPECT_EQ(field.offset, at) << field.label;
      at += field.size;
    }
    EXPECT_EQ(at, f->recordSize);
  }
}

TEST(Records, DeclarationsHaveTheFilesCountsAndNames) {
  const struct {
    const store::FileDesc* file;
    const char* disk;
    std::size_t bytes, fields, keys;
    const char* memo;
    std::size_t memoSize;
  } cases[] = {
      {&KAMATERIAS, "KAMaterias.TPS", 523, 27, 11, "KAM:OBJETIVO", 4000},
      {&KAAPRENDE, "KAAPRENDE.TPS", 393, 8, 10, "KAAP:APRENDIZAJE_TRABAJO", 1000},
      {&KALIBRETA, "KALIBRETA.TPS", 1624, 131, 12, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file->label);
    EXPECT_EQ(c.file->diskName, c.disk);
    EXPECT_EQ(c.file->recordSize, c.bytes);
    EXPECT_EQ(c.file->fields.size(), c.fields);
    EXPECT_EQ(c.file->keys.size(), c.keys);
    EXPECT_EQ(c.file->memo.label, c.memo);
    EXPECT_EQ(c.file->memo.size, c.memoSize);
  }
}

TEST(Records, NumberedRunsLieWhereTheLayoutPutsThem) {
  const struct {
    const char* label;
    std::uint16_t offset, size;
  } cases[] = {
      {"KAL:ETAPA1", 120, 4},       {"KAL:ETAPA30", 236, 4},    {"KAL:CUALIFICA1", 278, 3},
      {"KAL:CUALIFICA20", 335, 3},  {"KAL:EXTRA1", 350, 4},     {"KAL:EXTRA20", 426, 4},
      {"KAL:FECHA1", 454, 4},       {"KAL:FECHA12", 498, 4},    {"KAL:OBSERVACION1", 568, 70},
      {"KAL:OBSERVACION15", 1548, 70}, {"KAL:EVALUACION_ANUAL", 262, 4}, {"KAL:FINAL", 274, 4},
      {"KAL:PRONOSTICO1", 240, 3},  {"KAL:CANTIDAD", 1622, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const int i = KALIBRETA.findField(c.label);
    ASSERT_GE(i, 0);
    EXPECT_EQ(KALIBRETA.fields[i].offset, c.offset);
    EXPECT_EQ(KALIBRETA.fields[i].size, c.size);
  }
}

TEST(Records, KeyNumbersFollowTheDeclarationOrder) {
  EXPECT_EQ(KALIBRETA.keys[KAL.CLAVE_PRIMARIA].label, "KAL:CLAVE_PRIMARIA");
  EXPECT_EQ(KALIBRETA.keys[KAL.CLAVE_CODMATERIA_ALUALFA].label, "KAL:CLAVE_CODMATERIA_ALUALFA");
  EXPECT_EQ(KAMATERIAS.keys[KAM.CLAVE_DNI_PROFESOR].label, "KAM:CLAVE_DNI_PROFESOR");
  EXPECT_EQ(KALIBRETA.primaryKey(), 0);
  EXPECT_EQ(KAAPRENDE.primaryKey(), 0);
  EXPECT_EQ(KAMATERIAS.primaryKey(), -1);
  const store::KeyDesc& k = KALIBRETA.keys[KAL.CLAVE_RENDIMIENTO_ACADEMICO];
  EXPECT_FALSE(k.opt);
  EXPECT_TRUE(k.dup);
  ASSERT_EQ(k.partCount, 4);
  EXPECT_EQ(KALIBRETA.fields[k.parts[0].field].label, "KAL:EVALUACION_ANUAL");
  EXPECT_TRUE(k.parts[3].descending);
}

TEST(Records, EachThreadHasItsOwnClearedBuffers) {
  KAL.NRO_REGISTRO = 77;
  KAL.ALUMNO = "García";
  KAM.OBJETIVO = "objetivo";
  std::int32_t otherNro = -1;
  std::string otherAlumno, otherMemo;
  std::thread([&] {
    otherNro = KAL.NRO_REGISTRO;
    otherAlumno = std::string(KAL.ALUMNO.view());
    otherMemo = std::string(KAM.OBJETIVO.view());
  }).join();
  EXPECT_EQ(otherNro, 0);
  EXPECT_EQ(otherAlumno, std::string(30, ' '));
  EXPECT_EQ(otherMemo, std::string(4000, ' '));
  EXPECT_EQ(KAL.NRO_REGISTRO, 77);
  KAL.clear();
  KAM.clear();
}

}  // namespace
