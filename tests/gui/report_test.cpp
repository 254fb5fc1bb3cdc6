// The progress sheet: value pictures, page composition checked on the recorded
// drawing operations, the report procedure's paths (completed, no records,
// Cancel) and the data tool's PDF export.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSpinBox>
#include <QtTest/QTest>
#include <filesystem>
#include <sstream>

#include "datos.h"
#include "framework/preview.h"
#include "framework/step_string.h"
#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "gui_driver.h"
#include "procedures/planilla.h"
#include "procedures/procedures.h"
#include "recording_errors.h"
#include "store/codepage.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using fw::report::formatNumber;
using fw::report::formatString;
using kamo::testing::readBytes;
using kamo::testing::RecordedErrors;
using kamo::testing::TempDir;
using store::Dec;

TEST(Pictures, NumbersRoundHalfUpBlankZerosAndOverflowToHashes) {
  const struct {
    const char* picture;
    std::int64_t cents;
    const char* shown;
  } cases[] = {
      {"n2B", 650, "7"},        {"n2B", 649, "6"},        {"n2B", 0, ""},          {"n2B", 1000, "10"},
      {"n2B", 9950, "##"},      {"n2B", -650, "-7"},      {"n5.2B", 750, "7.50"},  {"n5.2B", 1000, "10.00"},
      {"n5.2B", 0, ""},         {"N5.2B", 333, "3.33"},   {"n5.2B", 10000, "#####"}, {"n5.2B", -100, "-1.00"},
      {"n3", 0, "0"},           {"n3", 500, "5"},         {"n3", 100000, "###"},   {"n5.", 123400, "1.234"},
      {"n5.", 2900, "29"},      {"n5.", 1234500, "#####"}, {"n_14", 404500, "4045"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.picture) + " " + std::to_string(c.cents));
    EXPECT_EQ(formatNumber(c.picture, Dec::fromCents(c.cents)), c.shown);
  }
  EXPECT_EQ(formatString("s11", "Ciclo Orientado"), "Ciclo Orien");
  EXPECT_EQ(formatString("s15", "APRUEBA CON HONORES"), "APRUEBA CON HON");
  EXPECT_EQ(formatString("s60", "Historia   "), "Historia");
}

TEST(StepString, PlacesANameBetweenTheFirstAndTheLast) {
  fw::StepStringClass progress;
  progress.Init();
  progress.SetLimit("Acosta, Luis", "Zarate, Ana");
  EXPECT_EQ(progress.GetPercentile("Acosta, Luis"), 1);  // at least 1
  EXPECT_EQ(progress.GetPercentile("zarate, ana"), 100);  // without regard to case
  const int middle = progress.GetPercentile("Martinez");
  EXPECT_GT(middle, 40);
  EXPECT_LT(middle, 60);
  EXPECT_LT(progress.GetPercentile("Gomez"), middle);
  // A shared beginning is set aside: the scale spreads over what differs.
  progress.SetLimit("Perez, Ana", "Perez, Zoe");
  EXPECT_GT(progress.GetPercentile("Perez, Mia"), 40);
  progress.SetLimit("Uno", "Uno");  // one name: the scale runs over the padding, no division by zero
  EXPECT_EQ(progress.GetPercentile("Uno"), 1);
}

// --- page composition ------------------------------------------------------------------

class Sheet : public ::testing::Test {
 protected:
  void SetUp() override {
    KAM.clear();
    KAM.CICLO = "Ciclo Orientado";
    KAM.CURSO = 0;
    KAM.DIVISION = "B";
    KAM.TURNO = "Tarde";
  }
  // Prints `n` students; student i has ETAPA21 = i/10 and name "Alumno i".
  std::vector<fw::report::Page> print(int n, const std::string& longName = {}) {
    fw::report::Engine* engine = nullptr;
    layout_ = PlanillaLayout([&engine] { return engine->Count(); });
    fw::report::Engine e(layout_);
    engine = &e;
    e.Open();
    for (int i = 1; i <= n; ++i) {
      KAL.clear();
      KAL.MATERIAS = "Historia";
      KAL.ALUMNO = i == 1 && !longName.empty() ? longName : "Alumno " + std::to_string(i);
      KAL.NRO_LEGAJO = 4000 + i;
      EXPECT_TRUE(KAL.ETAPA21.set(Dec::fromCents(i * 10)).ok());
      EXPECT_TRUE(KAL.EVALUACION_ANUAL.set(Dec::fromCents(750)).ok());
      KAL.ETADO = "APRUEBA";
      e.PrintDetail();
    }
    e.End();
    return e.Pages();
  }
  static std::vector<const fw::report::Op*> ops(const fw::report::Page& p, int control) {
    std::vector<const fw::report::Op*> v;
    for (const auto& op : p.ops)
      if (op.control == control) v.push_back(&op);
    return v;
  }
  fw::report::Layout layout_;
};

TEST_F(Sheet, TwentyEightRowsFillAPageAndTheTwentyNinthStartsAnother) {
  const auto one = print(28);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(ops(one[0], 40).size(), 28u);
  const auto two = print(29);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(ops(two[0], 40).size(), 28u);
  EXPECT_EQ(ops(two[1], 40).size(), 1u);
  EXPECT_EQ(ops(two[0], 66)[0]->text, "28");  // a running count
  EXPECT_EQ(ops(two[1], 66)[0]->text, "29");  // the last footer shows the total
  // The header and the footer are on every page.
  EXPECT_EQ(ops(two[1], 5).size(), 1u);
  EXPECT_EQ(ops(two[1], 64).size(), 1u);
  // The second page's row starts at the top of the detail area again.
  EXPECT_DOUBLE_EQ(ops(two[1], 40)[0]->rect.y(), 31.0);
}

TEST_F(Sheet, ControlsStandWhereTheLayoutPutsThemWithTheirFormats) {
  const auto pages = print(1);
  ASSERT_EQ(pages.size(), 1u);
  const fw::report::Page& p = pages[0];
  // Header band at (4, 5): "Estado" at (258, 19).
  const auto* estado = ops(p, 5)[0];
  EXPECT_EQ(estado->text, "Estado");
  EXPECT_DOUBLE_EQ(estado->rect.x(), 262.0);
  EXPECT_DOUBLE_EQ(estado->rect.y(), 24.0);
  EXPECT_TRUE(estado->bold);
  EXPECT_EQ(estado->points, 8);
  const auto* materia = ops(p, 4)[0];
  EXPECT_EQ(materia->text, "Historia");
  EXPECT_EQ(materia->points, 14);
  EXPECT_EQ(ops(p, 6)[0]->text, "Ciclo Orien");
  EXPECT_EQ(ops(p, 7)[0]->text, "0");  // a course of 0 prints as 0
  // Detail band at (4, 30): values with their pictures.
  EXPECT_EQ(ops(p, 43)[0]->text, "0");  // U.D. 1 of 0.10: rounds to 0, and only a zero value is blank
  EXPECT_EQ(ops(p, 36)[0]->text, "");  // U.D. 2 zero: blank
  EXPECT_EQ(ops(p, 61)[0]->text, "7.50");
  EXPECT_EQ(ops(p, 54)[0]->text, "");  // FINAL zero: blank
  EXPECT_EQ(ops(p, 56)[0]->text, "4001");
  EXPECT_EQ(ops(p, 62)[0]->text, "APRUEBA");
  const auto* alumno = ops(p, 40)[0];
  EXPECT_EQ(alumno->font, "Arial");
  EXPECT_TRUE(alumno->bold);
  // Rules: olive grey between the U.D. columns in the detail band, grey elsewhere.
  EXPECT_EQ(ops(p, 44)[0]->color, QColor(128, 128, 64));
  EXPECT_EQ(ops(p, 41)[0]->color, QColor(128, 128, 128));
  EXPECT_DOUBLE_EQ(ops(p, 41)[0]->rect.x(), 85.0);
  // Footer at (4, 196).
  EXPECT_EQ(ops(p, 65)[0]->text, "Alumns:");
  EXPECT_DOUBLE_EQ(ops(p, 65)[0]->rect.y(), 198.0);
  EXPECT_EQ(ops(p, 66)[0]->text, "1");
}

TEST_F(Sheet, RoundedUnitMarksPrintWholeNumbers) {
  fw::report::Engine* engine = nullptr;
  layout_ = PlanillaLayout([&engine] { return engine->Count(); });
  fw::report::Engine e(layout_);
  engine = &e;
  e.Open();
  KAL.clear();
  ASSERT_TRUE(KAL.ETAPA21.set(Dec::fromCents(650)).ok());
  ASSERT_TRUE(KAL.ETAPA22.set(Dec::fromCents(649)).ok());
  ASSERT_TRUE(KAL.ETAPA30.set(Dec::fromCents(333)).ok());
  e.PrintDetail();
  e.End();
  EXPECT_EQ(ops(e.Pages()[0], 43)[0]->text, "7");
  EXPECT_EQ(ops(e.Pages()[0], 36)[0]->text, "6");
  EXPECT_EQ(ops(e.Pages()[0], 60)[0]->text, "3.33");
}

TEST_F(Sheet, ALongNameIsClippedToItsBox) {
  // Thirty wide letters (the whole field) do not fit 67 mm in Arial 8 bold.
  const auto pages = print(1, "WWWWWWWWWW WWWWWWWWWW WWWWWWWW");
  const auto* alumno = ops(pages[0], 40)[0];
  EXPECT_TRUE(alumno->clip);
  EXPECT_EQ(alumno->rect, QRectF(8, 31, 67, 4));
  EXPECT_FALSE(ops(print(1)[0], 40)[0]->clip);  // "Alumno 1" fits
}

TEST_F(Sheet, ThePreviewPagesZoomsAndSavesAPdf) {
  const auto pages = print(60);  // three pages
  ASSERT_EQ(pages.size(), 3u);
  TempDir dir;
  fw::report::PreviewWindow preview(layout_, pages, nullptr);
  preview.show();
  auto* next = preview.findChild<QPushButton*>("siguiente");
  auto* last = preview.findChild<QPushButton*>("ultima");
  auto* first = preview.findChild<QPushButton*>("primera");
  ASSERT_TRUE(next && last && first);
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_EQ(preview.CurrentPage(), 1);
  QTest::mouseClick(last, Qt::LeftButton);
  EXPECT_EQ(preview.CurrentPage(), 2);
  QTest::mouseClick(next, Qt::LeftButton);  // no page after the last
  EXPECT_EQ(preview.CurrentPage(), 2);
  QTest::mouseClick(first, Qt::LeftButton);
  EXPECT_EQ(preview.CurrentPage(), 0);
  auto* own = preview.findChild<QSpinBox*>("zoomPropio");
  ASSERT_TRUE(own);
  own->setValue(137);  // a zoom of the user's own
  EXPECT_EQ(preview.Zoom(), 137);
  const std::string pdf = dir.file("planilla.pdf");
  ASSERT_TRUE(preview.SavePdf(QString::fromStdString(pdf)));
  EXPECT_EQ(readBytes(pdf).substr(0, 5), "%PDF-");
  preview.close();
}

// --- the report procedure ----------------------------------------------------------------

class Report : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    fs::current_path(dir_.path());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.file("config")));
    std::ostringstream out;
    std::string error;
    ASSERT_TRUE(kamo::datos::createDemoSchool(dir_.path().string(), out, error)) << error;
    GlobalErrors.Init(&CurrentGlobalErrorStatus);
    INIMgr.Init("KAMOAPP.INI");
    DctInit();
    SetReportPagesObserver(&pages_);
  }
  void TearDown() override {
    SetReportPagesObserver(nullptr);
    DctKill();
    fs::current_path(old_);
  }
  // The caller's buffers, as the tracking window leaves them.
  static void selectSubject(std::int32_t nro) {
    KAM.clear();
    KAM.NRO_REGISTRO = nro;
    KAM.CICLO = "Ciclo Orientado";
    KAL.clear();
    KAL.COD_MATERIA = nro;
    KAL.ALUMNO = "del llamador";
  }
  bool run(const std::function<void(fw::Window&)>& script) {
    return kamo::testing::runWithScript(
        Imprimir_Planilla_Informe_Progreso, "Imprimir_Planilla_Informe_Progreso",
        [](fw::Window&) { return true; }, script, [](fw::Window&) {});
  }

  TempDir dir_;
  RecordedErrors errors_{GlobalErrors};
  fs::path old_;
  std::vector<fw::report::Page> pages_;
};

TEST_F(Report, ACompletedRunOpensThePreviewAndAnswersCompleted) {
  // The calling window has the grade book open and a line in its buffer.
  fw::FilesManager::Current().EnterProcedure();
  ASSERT_EQ(Relate::KALIBRETA->Open(0), fw::kLevelBenign);
  selectSubject(201);  // 29 students
  bool preview = false;
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_", &preview);
  Imprimir_Planilla_Informe_Progreso();
  const std::string callerAlumno(KAL.ALUMNO.trimmed());
  Relate::KALIBRETA->Close(0);
  fw::FilesManager::Current().LeaveProcedure();
  EXPECT_TRUE(preview);
  EXPECT_EQ(GlobalResponse, RequestCompleted);
  ASSERT_EQ(pages_.size(), 2u);
  EXPECT_TRUE(errors_.messages().empty());
  // The caller's buffer is back as it was.
  EXPECT_EQ(callerAlumno, "del llamador");
  EXPECT_TRUE(INIMgr.TryFetch("Imprimir_Planilla_Informe_Progreso", "XPos").has_value());
  EXPECT_EQ(INIMgr.TryFetch("_PreviewWindow_", "Maximize"), "No");
}

TEST_F(Report, ASubjectWithoutLinesShowsTheNoRecordsNotice) {
  selectSubject(202);  // no students
  bool preview = false;
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_", &preview);
  Imprimir_Planilla_Informe_Progreso();
  EXPECT_FALSE(preview);
  EXPECT_EQ(GlobalResponse, RequestCancelled);
  ASSERT_EQ(errors_.messages().size(), 1u);
  EXPECT_EQ(errors_.messages()[0].title, "No Records");
  EXPECT_EQ(errors_.messages()[0].text, "There are no records available to process.");
  EXPECT_TRUE(pages_.empty());
}

TEST_F(Report, CancelShowsNoPreviewAndAnswersCancelled) {
  selectSubject(201);
  bool preview = false;
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_", &preview);
  EXPECT_TRUE(run([](fw::Window& w) {
    EXPECT_EQ(w.windowTitle(), "Progress...");
    QTest::mouseClick(w.Control(4), Qt::LeftButton);  // "Cancel"
  }));
  EXPECT_FALSE(preview);
  EXPECT_EQ(GlobalResponse, RequestCancelled);
  EXPECT_TRUE(pages_.empty());
}

TEST_F(Report, OneStudentMakesOnePageCountingOne) {
  {
    store::DataFile f(KALIBRETA);
    KAL_RECORD r;
    f.bind(r.image());
    ASSERT_TRUE(f.open().ok());
    r.clear();
    r.NRO_REGISTRO = 9001;
    r.COD_MATERIA = 202;
    r.ALUMNO = "Solo, Uno";
    ASSERT_TRUE(f.add().ok());
  }
  selectSubject(202);
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_");
  Imprimir_Planilla_Informe_Progreso();
  EXPECT_EQ(GlobalResponse, RequestCompleted);
  ASSERT_EQ(pages_.size(), 1u);
  for (const auto& op : pages_[0].ops)
    if (op.control == 66) {
      EXPECT_EQ(op.text, "1");
    }
}

// --- the data tool's PDF -------------------------------------------------------------------

TEST_F(Report, TheDataToolWritesTheSheetAsPdf) {
  std::ostringstream out, err;
  const std::string pdf = dir_.file("matematica.pdf");
  EXPECT_EQ(kamo::datos::run({"planilla", "201", "--pdf", pdf, "--dir", dir_.path().string()}, out, err), 0)
      << err.str();
  EXPECT_EQ(readBytes(pdf).substr(0, 5), "%PDF-");
  EXPECT_NE(out.str().find("29 alumnos en 2 páginas"), std::string::npos) << out.str();
  const struct {
    const char* nro;
    const char* message;
  } refused[] = {{"999", "no hay ninguna materia"}, {"202", "no tiene alumnos"}};
  for (const auto& r : refused) {
    SCOPED_TRACE(r.nro);
    std::ostringstream o, e;
    const std::string none = dir_.file(std::string("no-") + r.nro + ".pdf");
    EXPECT_EQ(kamo::datos::run({"planilla", r.nro, "--pdf", none, "--dir", dir_.path().string()}, o, e), 1);
    EXPECT_NE(e.str().find(r.message), std::string::npos) << e.str();
    EXPECT_FALSE(fs::exists(none));
  }
}

}  // namespace
