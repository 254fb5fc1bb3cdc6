// kamo-datos, run in-process on data files in a temporary folder.
#include "datos.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dictionary/records.h"
#include "store/data_file.h"
#include "temp_dir.h"

namespace {

using kamo::testing::readBytes;
using kamo::testing::TempDir;
using kamo::testing::writeBytes;

struct Result {
  int status;
  std::string out, err;
};

Result datos(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = kamo::datos::run(args, out, err);
  return {status, out.str(), err.str()};
}

// A CSV naming every field of the file (and its memo) in layout order, with
// values at the edges of each type.
std::string fullCsv(const store::FileDesc& f, int rows) {
  std::string text;
  for (std::size_t i = 0; i < f.fields.size(); ++i) text += (i ? "," : "") + std::string(f.fields[i].label);
  if (f.hasMemo()) text += "," + std::string(f.memo.label);
  text += "\r\n";
  for (int r = 0; r < rows; ++r) {
    for (std::size_t i = 0; i < f.fields.size(); ++i) {
      const store::FieldDesc& fd = f.fields[i];
      std::string v;
      switch (fd.type) {
        case store::FieldType::Long: v = i == 0 ? std::to_string(r + 1) : (r % 2 ? "-2147483648" : "2147483647"); break;
        case store::FieldType::Short: v = r % 2 ? "-32768" : "32767"; break;
        case store::FieldType::Decimal: v = fd.size == 4 ? (r % 2 ? "-99999.99" : "7.50") : (r % 2 ? "999.99" : "-0.05"); break;
        case store::FieldType::Date: v = r % 2 ? "" : "29/02/2024"; break;
        case store::FieldType::String:
          if (fd.size >= 30) v = r % 2 ? "\"Núñez, \"\"Peña\"\" María\"" : "  Ibáñez ¿Ü? ñandú";
          else if (fd.size >= 3) v = "ñ";
          break;
      }
      text += (i ? "," : "") + v;
    }
    if (f.hasMemo()) text += r % 2 ? ",\"Línea uno\r\nlínea dos, con coma\"" : ",";
    text += "\r\n";
  }
  return text;
}

class Datos : public ::testing::Test {
 protected:
  std::string csv(const std::string& name, const std::string& text) {
    const std::string p = dir_.file(name);
    writeBytes(p, text);
    return p;
  }
  std::string dir() const { return dir_.path().string(); }
  TempDir dir_;
};

TEST_F(Datos, ImportThenExportGivesTheSameTextBack) {
  for (const store::FileDesc* f : {&KAMATERIAS, &KAAPRENDE, &KALIBRETA}) {
    SCOPED_TRACE(f->label);
    const std::string text = fullCsv(*f, 4);
    const Result in = datos({"importar", csv("in.csv", text), std::string(f->label), "--dir", dir()});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(in.out, "4 registros agregados a " + std::string(f->diskName) + "\n");
    const Result out = datos({"exportar", std::string(f->label), "--dir", dir()});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, text);
  }
}

TEST_F(Datos, MissingColumnsLeaveFieldsEmptyAndExportNamesChosenFields) {
  ASSERT_EQ(datos({"importar", csv("a.csv", "KAL:ALUMNO,KAL:NRO_REGISTRO\r\nPérez,7\r\n"), "KALIBRETA", "--dir", dir()})
                .status,
            0);
  const Result r = datos({"exportar", "KALIBRETA", "--campos",
                          "KAL:NRO_REGISTRO,KAL:FECHA1,KAL:FINAL,KAL:ETADO,KAL:ALUMNO", "--dir", dir()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "KAL:NRO_REGISTRO,KAL:FECHA1,KAL:FINAL,KAL:ETADO,KAL:ALUMNO\r\n7,,0.00,,Pérez\r\n");
}

TEST_F(Datos, ExportInKeyOrderFollowsTheKeyAndLeavesOutWhatItLeavesOut) {
  const std::string text =
      "KAL:NRO_REGISTRO,KAL:COD_MATERIA,KAL:SEXO,KAL:ALUMNO\r\n"
      "1,1,M,garcia\r\n"
      "2,1,F,Zapata\r\n"
      "3,1,M,GARCIA\r\n"
      "4,1,F,alvarez\r\n"
      "5,1,M,Benítez\r\n"
      "6,0,,\r\n";
  ASSERT_EQ(datos({"importar", csv("k.csv", text), "KALIBRETA", "--dir", dir()}).status, 0);
  const struct {
    const char* key;
    const char* nros;
  } cases[] = {
      {"KAL:CLAVE_MATERIA_SEXO_ALUMNO2", "5,1,3,4,2"},  // NOCASE, SEXO descending
      {"KAL:CLAVE_MATERIA_SEXO_ALUMNO", "2,4,5,3,1"},   // case-sensitive, all ascending
      {"KAL:CLAVE_CODMATERIA_ALUALFA", "5,3,2,4,1"},    // bytes: upper before lower; record 6 left out
      {"KAL:CLAVE_RENDIMIENTO_ACADEMICO", "1,2,3,4,5,6"},  // not OPT: all-zero marks are in it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const Result r = datos({"exportar", "KALIBRETA", "--clave", c.key, "--campos", "KAL:NRO_REGISTRO", "--dir", dir()});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string nros;
    std::istringstream lines(r.out);
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) nros += (nros.empty() ? "" : ",") + line.substr(0, line.size() - 1);
    EXPECT_EQ(nros, c.nros);
  }
}

struct BadImport {
  const char* name;
  const char* csv;
  const char* message;  // part of the error the user sees
};

const BadImport kBadImports[] = {
    {"UnknownColumn", "KAL:NRO_REGISTRO,KAL:NOTA\r\n9,1\r\n", "línea 1, columna «KAL:NOTA»: no es un campo de KALIBRETA"},
    {"RepeatedColumn", "KAL:NRO_REGISTRO,KAL:NRO_REGISTRO\r\n9,9\r\n", "columna «KAL:NRO_REGISTRO»: aparece dos veces"},
    {"DecimalTooLarge", "KAL:NRO_REGISTRO,KAL:FINAL\r\n9,7.00\r\n10,100000.00\r\n",
     "línea 3, columna «KAL:FINAL»: 100000.00 no cabe en 5 cifras enteras"},
    {"ThreeDecimals", "KAL:NRO_REGISTRO,KAL:FINAL\r\n9,7.125\r\n", "línea 2, columna «KAL:FINAL»"},
    {"LongOutOfRange", "KAL:NRO_REGISTRO\r\n2147483648\r\n", "línea 2, columna «KAL:NRO_REGISTRO»: «2147483648» está fuera del rango"},
    {"ShortOutOfRange", "KAL:NRO_REGISTRO,KAL:NRO_ORDEN\r\n9,40000\r\n", "columna «KAL:NRO_ORDEN»"},
    {"NotANumber", "KAL:NRO_REGISTRO\r\n12a\r\n", "«12a» no es un número entero"},
    {"ImpossibleDate", "KAL:NRO_REGISTRO,KAL:FECHA1\r\n9,31/02/2026\r\n",
     "línea 2, columna «KAL:FECHA1»: «31/02/2026» no es una fecha válida"},
    {"StringTooLong", "KAL:NRO_REGISTRO,KAL:SEXO\r\n9,Masculino y más\r\n",
     "columna «KAL:SEXO»: el texto tiene 15 caracteres y el campo admite 10"},
    {"TextTheFileCannotHold", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n9,Pago 5 €\r\n",
     "línea 2, columna «KAL:ALUMNO»: el carácter «€» no se puede guardar"},
    {"UnterminatedQuote", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n9,\"Pérez\r\n", "línea 2: falta la comilla"},
    {"QuoteInsideField", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n9,Pé\"rez\r\n", "línea 2: comilla dentro de un campo"},
    {"WrongFieldCount", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n9,Pérez,extra\r\n", "línea 2: tiene 3 campos y el encabezado 2"},
    {"DuplicateInTheCsv", "KAL:NRO_REGISTRO\r\n9\r\n10\r\n9\r\n", "línea 4: el valor repite la clave KAL:CLAVE_PRIMARIA"},
    {"DuplicateOfAStoredRecord", "KAL:NRO_REGISTRO\r\n9\r\n1\r\n", "línea 3: el valor repite la clave KAL:CLAVE_PRIMARIA"},
    {"MalformedUtf8", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n9,P\xE9rez\r\n", "texto UTF-8 mal formado"},
};

class BadImportLeavesFile : public Datos, public ::testing::WithParamInterface<BadImport> {};

TEST_P(BadImportLeavesFile, ByteIdentical) {
  ASSERT_EQ(datos({"importar", csv("ok.csv", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n1,Ana\r\n2,Beto\r\n"), "KALIBRETA", "--dir",
                   dir()})
                .status,
            0);
  const std::string path = dir_.file("KALIBRETA.TPS");
  const std::string before = readBytes(path);
  const Result r = datos({"importar", csv("bad.csv", GetParam().csv), "KALIBRETA", "--dir", dir()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("no se agregó nada"), std::string::npos) << r.err;
  EXPECT_EQ(readBytes(path), before);
  EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  // Into a folder without the file: none is left behind.
  if (std::string(GetParam().name) == "DuplicateOfAStoredRecord") return;  // needs the stored record
  TempDir empty;
  EXPECT_EQ(datos({"importar", csv("bad.csv", GetParam().csv), "KALIBRETA", "--dir", empty.path().string()}).status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

INSTANTIATE_TEST_SUITE_P(Classes, BadImportLeavesFile, ::testing::ValuesIn(kBadImports),
                         [](const auto& p) { return std::string(p.param.name); });

void PrintTo(const BadImport& b, std::ostream* os) { *os << b.name; }

TEST_F(Datos, AFileThatIsNotAKamoContainerIsNeverTouched) {
  const std::string path = dir_.file("KALIBRETA.TPS");
  writeBytes(path, "legajo;alumno\n1;Ana\n");
  const Result r = datos({"importar", csv("ok.csv", "KAL:NRO_REGISTRO\r\n1\r\n"), "KALIBRETA", "--dir", dir()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no es un archivo de datos de KAMO"), std::string::npos) << r.err;
  EXPECT_EQ(readBytes(path), "legajo;alumno\n1;Ana\n");
  EXPECT_EQ(datos({"reconstruir", "--dir", dir()}).status, 1);
  EXPECT_EQ(datos({"verificar", "--dir", dir()}).status, 1);
  EXPECT_EQ(datos({"exportar", "KALIBRETA", "--dir", dir()}).status, 1);
  EXPECT_EQ(readBytes(path), "legajo;alumno\n1;Ana\n");
}

TEST_F(Datos, DemoSchoolIsSoundAndHasTheCasesWorthSeeing) {
  const std::string school = dir_.file("escuela");
  const Result demo = datos({"demo", school});
  ASSERT_EQ(demo.status, 0) << demo.err;
  EXPECT_NE(demo.out.find("20123456  15/03/1975"), std::string::npos) << demo.out;
  const Result check = datos({"verificar", "--dir", school});
  EXPECT_EQ(check.status, 0) << check.out;
  EXPECT_NE(check.out.find("KALIBRETA.TPS: "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(school + "/KAAPRENDE.TPS"));

  // Count each subject's lines and look for a teacher with a long name.
  store::DataFile subjects(KAMATERIAS, school + "/KAMaterias.TPS");
  store::DataFile grades(KALIBRETA, school + "/KALIBRETA.TPS");
  KAM_RECORD kam;
  KAL_RECORD kal;
  subjects.bind(kam.image(), kam.memo());
  grades.bind(kal.image());
  ASSERT_TRUE(subjects.open(store::kSharedReadOnly).ok());
  ASSERT_TRUE(grades.open(store::kSharedReadOnly).ok());
  std::vector<std::size_t> lineCounts;
  bool longName = false, severalSubjects = false, belowSix = false;
  std::map<std::int32_t, int> subjectsPerTeacher;
  ASSERT_TRUE(subjects.setPhysical().ok());
  while (subjects.next().ok()) {
    longName = longName || kam.PROFESOR.trimmed().size() > 20;
    severalSubjects = severalSubjects || ++subjectsPerTeacher[kam.DNI_DOCENTE] > 1;
    kal.clear();
    kal.COD_MATERIA = kam.NRO_REGISTRO;
    ASSERT_TRUE(grades.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok());
    std::size_t n = 0;
    while (grades.next().ok()) {
      ++n;
      belowSix = belowSix || kal.EVALUACION_ANUAL.get() < store::Dec::fromUnits(6);
      EXPECT_EQ(kal.ETADO.trimmed(), kal.EVALUACION_ANUAL.get() < store::Dec::fromUnits(6) ? "COLOQUIO" : "APRUEBA");
    }
    lineCounts.push_back(n);
  }
  EXPECT_TRUE(longName);
  EXPECT_TRUE(severalSubjects);
  EXPECT_TRUE(belowSix);
  EXPECT_NE(std::find(lineCounts.begin(), lineCounts.end(), 29u), lineCounts.end());
  EXPECT_NE(std::find(lineCounts.begin(), lineCounts.end(), 0u), lineCounts.end());

  const Result again = datos({"demo", school});
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("ya existe"), std::string::npos);
}

TEST_F(Datos, VerifyFindsDamagedKeysAndRebuildRepairsThem) {
  ASSERT_EQ(datos({"importar", csv("ok.csv", "KAL:NRO_REGISTRO,KAL:ALUMNO\r\n1,Ana\r\n"), "KALIBRETA", "--dir", dir()})
                .status,
            0);
  {
    // Damage a stored key the way a crash of some other tool might.
    store::DataFile f(KALIBRETA, dir_.file("KALIBRETA.TPS"));
    ASSERT_TRUE(f.open().ok());
    f.close();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.file("KALIBRETA.TPS").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE records SET k9 = x'01'", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  const Result bad = datos({"verificar", "--dir", dir()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("la clave KAL:CLAVE_CODMATERIA_ALUALFA no coincide"), std::string::npos) << bad.out;
  const Result rebuilt = datos({"reconstruir", "--dir", dir()});
  EXPECT_EQ(rebuilt.status, 0) << rebuilt.err;
  EXPECT_EQ(rebuilt.out, "KALIBRETA.TPS: claves reconstruidas\n");
  EXPECT_EQ(datos({"verificar", "--dir", dir()}).status, 0);
}

TEST_F(Datos, HelpExplainsEveryVerbWithAnExampleAndUsageErrorsSayWhat) {
  const Result general = datos({"--help"});
  EXPECT_EQ(general.status, 0);
  for (const char* verb : {"importar", "exportar", "verificar", "reconstruir", "demo"}) {
    SCOPED_TRACE(verb);
    EXPECT_NE(general.out.find(verb), std::string::npos);
    const Result h = datos({verb, "--help"});
    EXPECT_EQ(h.status, 0);
    EXPECT_NE(h.out.find("Ejemplo"), std::string::npos);
    EXPECT_NE(h.out.find(std::string("kamo-datos ") + verb), std::string::npos);
  }
  const struct {
    std::vector<std::string> args;
    const char* message;
  } errors[] = {
      {{}, "Uso: kamo-datos VERBO"},
      {{"borrar"}, "verbo desconocido: borrar"},
      {{"exportar", "NOTAS"}, "archivo desconocido: NOTAS"},
      {{"exportar", "KALIBRETA", "--clave", "KAL:CLAVE_X"}, "«KAL:CLAVE_X» no es una clave de KALIBRETA"},
      {{"exportar", "KALIBRETA", "--campos", "KAL:ALUMNO,KAM:MATERIA"}, "«KAM:MATERIA» no es un campo de KALIBRETA"},
      {{"exportar", "KALIBRETA", "--orden", "x"}, "opción desconocida: --orden"},
      {{"importar", "a.csv"}, "se esperan CSV y ARCHIVO"},
      {{"verificar", "--dir"}, "falta el valor de --dir"},
  };
  for (const auto& e : errors) {
    SCOPED_TRACE(e.message);
    const Result r = datos(e.args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(e.message), std::string::npos) << r.err;
  }
}

}  // namespace
