// The tracking window: the subject list, the grade list, editing the annual
// mark in place with each key, the status rule and "Salir", checked in the
// data file afterwards.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest/QTest>
#include <filesystem>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "grade_book.h"
#include "gui_driver.h"
#include "procedures/planilla.h"
#include "procedures/procedures.h"
#include "recording_errors.h"
#include "store/codepage.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kamo::testing::RecordedErrors;
using kamo::testing::TempDir;
using kamo::testing::waitUntil;
using store::Dec;

constexpr const char* kTeacher = "Fernández de la Peña, José Ignacio";  // longer than 20 characters

struct Line {
  std::int32_t nro;
  std::int32_t materia;
  const char* alumno;
  std::int64_t anual, final;
  const char* etado;
};

struct Stored {
  std::int64_t anual, final;
  std::string etado, ingreso, operador;
};

std::string ansi(const char* utf8) {
  std::string out;
  EXPECT_TRUE(store::cp::utf8ToAnsi(utf8, out).ok());
  return out;
}

class Tracking : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    fs::current_path(dir_.path());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.file("config")));
    {
      store::DataFile f(KAMATERIAS);
      KAM_RECORD r;
      f.bind(r.image(), r.memo());
      ASSERT_TRUE(f.create().ok());
      ASSERT_TRUE(f.open().ok());
      const struct {
        std::int32_t nro, dni;
        const char *profesor, *materia, *ciclo;
        std::int16_t curso;
      } subjects[] = {{201, 25987654, kTeacher, "Matemática", "Ciclo Orientado", 5},
                      {301, 30555111, "Núñez, Sofía", "Lengua", "Ciclo Orientado", 4},
                      {202, 25987654, kTeacher, "Física", "Ciclo Básico", 3},
                      {203, 25987654, kTeacher, "Química", "Ciclo Orientado", 5}};
      for (const auto& s : subjects) {
        r.clear();
        r.NRO_REGISTRO = s.nro;
        r.DNI_DOCENTE = s.dni;
        r.PROFESOR = ansi(s.profesor);
        r.MATERIA = ansi(s.materia);
        r.CICLO = ansi(s.ciclo);
        r.CURSO = s.curso;
        r.DIVISION = "B";
        r.ESPECIALIDAD = "Ciencias Naturales";
        ASSERT_TRUE(f.add().ok());
      }
    }
    seedLines({{1, 201, "Zárate, Ana", 700, 700, "APRUEBA"},
               {2, 201, "Acosta, Luis", 400, 0, "COLOQUIO"},
               {3, 201, "acuña, Eva", 825, 0, ""},
               {4, 301, "Otra, Materia", 300, 300, "X"},
               {5, 203, "Benítez, Juan", 950, 700, "APRUEBA"}});
    GlobalErrors.Init(&CurrentGlobalErrorStatus);
    INIMgr.Init("KAMOAPP.INI");
    DctInit();
    // As the sign-in leaves things: the subjects file open, the teacher's first record read.
    Relate::KAMATERIAS->Open(0);
    KAM.clear();
    KAM.DNI_DOCENTE = 25987654;
    Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR);
    AUXILIAR_DOCENTE.assign(KAM.PROFESOR.view());
  }
  void TearDown() override {
    Relate::KAMATERIAS->Close(0);
    DctKill();
    fs::current_path(old_);
  }

  static void seedLines(std::initializer_list<Line> lines) {
    kamo::testing::writeGradeBook([&](store::DataFile& f, KAL_RECORD& r) {
      for (const Line& l : lines) {
        r.clear();
        r.NRO_REGISTRO = l.nro;
        r.NRO_LEGAJO = 1000 + l.nro;
        r.COD_MATERIA = l.materia;
        r.ALUMNO = ansi(l.alumno);
        ASSERT_TRUE(r.EVALUACION_ANUAL.set(Dec::fromCents(l.anual)).ok());
        ASSERT_TRUE(r.FINAL.set(Dec::fromCents(l.final)).ok());
        r.ETADO = l.etado;
        ASSERT_TRUE(f.add().ok());
      }
    });
  }

  static Stored stored(std::int32_t nro) {
    store::DataFile f(KALIBRETA);
    KAL_RECORD r;
    f.bind(r.image());
    EXPECT_TRUE(f.open(store::kSharedReadOnly).ok());
    r.NRO_REGISTRO = nro;
    EXPECT_TRUE(f.fetch(KAL.CLAVE_PRIMARIA).ok());
    return {r.EVALUACION_ANUAL.get().cents(), r.FINAL.get().cents(), std::string(r.ETADO.view()),
            std::string(r.INGRESO.view()), std::string(r.OPERADOR.view())};
  }

  // Runs the tracking window with `script`; afterwards closes it the way the
  // system would (no recalculation) unless the script closed it.
  void run(const std::function<void(fw::Window&)>& script) {
    const bool ran = kamo::testing::runWithScript(
        Ventana_Seguimiento_Notas, "Ventana_Seguimiento_Notas",
        [](fw::Window& w) { return QApplication::activeWindow() == &w; }, script,
        [](fw::Window& w) { QTest::keyClick(&w, Qt::Key_Escape); });  // the system's close, as Esc
    EXPECT_TRUE(ran) << "the tracking window never opened";
  }

  static QTableView& grades(fw::Window& w) { return *qobject_cast<QTableView*>(w.Control(12)); }
  static QComboBox& subjects(fw::Window& w) { return *qobject_cast<QComboBox*>(w.Control(3)); }
  static QString cell(fw::Window& w, int row, int col) {
    return grades(w).model()->index(row, col).data().toString();
  }
  static QLineEdit* editor(fw::Window& w) { return grades(w).viewport()->findChild<QLineEdit*>("EditInPlace"); }
  // Starts editing `row` by double-clicking its "ALUMNO" cell.
  static QLineEdit& edit(fw::Window& w, int row) {
    QTableView& t = grades(w);
    const QRect r = t.visualRect(t.model()->index(row, 1));
    // A double click as the system delivers it: press, release, then the double click.
    QTest::mouseClick(t.viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(t.viewport(), Qt::LeftButton, {}, r.center());
    QLineEdit* e = editor(w);
    EXPECT_TRUE(e && e->isVisible() && e->hasFocus());
    return *e;
  }
  static void type(QLineEdit& e, const QString& text) {
    e.selectAll();
    QTest::keyClicks(&e, text);
  }
  static QString label(fw::Window& w, int control) { return qobject_cast<QLabel*>(w.Control(control))->text(); }

  TempDir dir_;
  RecordedErrors errors_{GlobalErrors};
  fs::path old_;
};

const std::string kOperador = "Fern\xE1ndez de la Pe\xF1" "a";  // the first 20 characters of the name

TEST(StatusRule, DecidesToTheHundredth) {
  const struct {
    std::int64_t anual, final;
    std::int64_t anualAfter, finalAfter;
    const char* etado;
  } cases[] = {
      {599, 700, 0, 0, "COLOQUIO"}, {600, 0, 600, 600, "APRUEBA"},   {0, 0, 0, 0, "COLOQUIO"},
      {950, 700, 950, 950, "APRUEBA"}, {-100, 500, 0, 0, "COLOQUIO"}, {1000, 0, 1000, 1000, "APRUEBA"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.anual);
    KAL_RECORD r;
    ASSERT_TRUE(r.EVALUACION_ANUAL.set(Dec::fromCents(c.anual)).ok());
    ASSERT_TRUE(r.FINAL.set(Dec::fromCents(c.final)).ok());
    r.ETADO = "viejo";
    ApplyStatusRule(r.EVALUACION_ANUAL, r.FINAL, r.ETADO);
    EXPECT_EQ(r.EVALUACION_ANUAL.get().cents(), c.anualAfter);
    EXPECT_EQ(r.FINAL.get().cents(), c.finalAfter);
    EXPECT_EQ(std::string(r.ETADO.view()), std::string(c.etado) + std::string(20 - std::strlen(c.etado), ' '));
  }
}

TEST_F(Tracking, ShowsTheTeachersSubjectsAndTheSelectedSubjectsLinesByName) {
  run([](fw::Window& w) {
    EXPECT_EQ(label(w, 1), QString::fromUtf8(kTeacher));
    QComboBox& list = subjects(w);
    ASSERT_EQ(list.count(), 3);  // only this teacher's, in the order of their records
    EXPECT_EQ(list.itemText(0), "Matemática");
    EXPECT_EQ(list.itemText(1), "Física");
    EXPECT_EQ(list.itemText(2), "Química");
    EXPECT_EQ(label(w, 9), "Matemática");
    EXPECT_EQ(label(w, 5), "Ciclo Orien");  // 11 characters
    EXPECT_EQ(label(w, 6), "5");
    // Names as stored: upper case before lower case.
    ASSERT_EQ(grades(w).model()->rowCount(), 3);
    EXPECT_EQ(cell(w, 0, 1), "Acosta, Luis");
    EXPECT_EQ(cell(w, 1, 1), "Zárate, Ana");
    EXPECT_EQ(cell(w, 2, 1), "acuña, Eva");
    EXPECT_EQ(cell(w, 0, 2), "4.00");
    EXPECT_EQ(cell(w, 0, 3), "");  // zero shows blank
    EXPECT_EQ(cell(w, 0, 0), "1002");
    EXPECT_EQ(grades(w).model()->headerData(0, Qt::Horizontal).toString(), "Nº Legajo");
    EXPECT_TRUE(w.Control(15)->isEnabled());
    EXPECT_FALSE(w.Control(14)->isVisible());
    EXPECT_FALSE(w.Control(16)->isEnabled());
    EXPECT_EQ(KAL.NRO_REGISTRO, 2);  // the selected row is in the buffer

    list.setCurrentIndex(2);  // Química
    EXPECT_EQ(label(w, 9), "Química");
    ASSERT_EQ(grades(w).model()->rowCount(), 1);
    EXPECT_EQ(cell(w, 0, 1), "Benítez, Juan");
  });
}

TEST_F(Tracking, ASubjectWithoutLinesShowsAnEmptyListAndNoEditing) {
  run([](fw::Window& w) {
    subjects(w).setCurrentIndex(1);  // Física
    EXPECT_EQ(grades(w).model()->rowCount(), 0);
    EXPECT_FALSE(w.Control(15)->isEnabled());
    EXPECT_EQ(KAL.COD_MATERIA, 0);  // the whole buffer cleared
    EXPECT_TRUE(KAL.ALUMNO.blank());
  });
}

TEST_F(Tracking, EnterSavesTheTypedMarkWithTheRuleAppliedToIt) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 1);  // Zárate, 7.00
    EXPECT_EQ(e.text(), "7.00");
    type(e, "8,5");
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(cell(w, 1, 2), "8.50");
    EXPECT_EQ(cell(w, 1, 4), "APRUEBA");
  });
  const Stored s = stored(1);
  EXPECT_EQ(s.anual, 850);
  EXPECT_EQ(s.final, 850);
  EXPECT_EQ(s.etado, "APRUEBA" + std::string(13, ' '));
  EXPECT_EQ(s.ingreso, "APP" + std::string(7, ' '));
  EXPECT_EQ(s.operador, kOperador);
  EXPECT_TRUE(errors_.messages().empty());
}

TEST_F(Tracking, AFailingMarkIsSavedConsistently) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 1);  // 7.00, APRUEBA
    type(e, "5");
    QTest::keyClick(&e, Qt::Key_Tab);
  });
  const Stored s = stored(1);
  EXPECT_EQ(s.anual, 0);
  EXPECT_EQ(s.final, 0);
  EXPECT_EQ(s.etado.substr(0, 8), "COLOQUIO");
}

TEST_F(Tracking, DownAndUpSaveAndGoOnEditingTheNextRowAndTheLastRowStays) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 0);  // Acosta 4.00: below 6, cleared as editing starts
    EXPECT_EQ(e.text(), "");
    type(e, "6");
    QTest::keyClick(&e, Qt::Key_Down);
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(grades(w).currentIndex().row(), 1);
    type(e, "9.5");
    QTest::keyClick(&e, Qt::Key_Down);  // to the last row
    type(e, "10");
    QTest::keyClick(&e, Qt::Key_Down);  // no row below: saved, stays
    EXPECT_EQ(grades(w).currentIndex().row(), 2);
    EXPECT_TRUE(e.isVisible());
    type(e, "7");
    QTest::keyClick(&e, Qt::Key_Up);
    EXPECT_EQ(grades(w).currentIndex().row(), 1);
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_FALSE(e.isVisible());
  });
  EXPECT_EQ(stored(2).anual, 600);
  EXPECT_EQ(stored(2).final, 600);
  EXPECT_EQ(stored(1).anual, 950);
  EXPECT_EQ(stored(1).final, 950);
  EXPECT_EQ(stored(3).anual, 700);
  EXPECT_EQ(stored(3).etado.substr(0, 7), "APRUEBA");
}

TEST_F(Tracking, ShiftTabStaysOnTheColumn) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 1);
    type(e, "9");
    QTest::keyClick(&e, Qt::Key_Backtab);
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(grades(w).currentIndex().row(), 1);
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
  });
  EXPECT_EQ(stored(1).anual, 900);
}

TEST_F(Tracking, EscKeepsTheStoredMarksButTheStampIsWritten) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 0);  // Acosta 4.00 / 0 / COLOQUIO
    type(e, "9");
    QTest::keyClick(&e, Qt::Key_Escape);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(cell(w, 0, 2), "4.00");
  });
  const Stored s = stored(2);
  EXPECT_EQ(s.anual, 400);
  EXPECT_EQ(s.ingreso.substr(0, 3), "APP");
  EXPECT_EQ(s.operador, kOperador);
}

TEST_F(Tracking, LeavingTheEditorSavesTheRow) {
  run([](fw::Window& w) {
    QLineEdit& e = edit(w, 2);  // acuña 8.25
    type(e, "6.5");
    w.Control(3)->setFocus(Qt::MouseFocusReason);  // as a click elsewhere would
    EXPECT_TRUE(waitUntil([&] { return !e.isVisible(); }));
  });
  EXPECT_EQ(stored(3).anual, 650);
  EXPECT_EQ(stored(3).final, 650);
}

TEST_F(Tracking, TheEditorTakesOnlyAMarkItsColumnCanHold) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {{"7a", "7"}, {"123", "12"}, {"9.999", "9.99"}, {"8,25", "8,25"}, {"-3", "3"}, {"1.2.3", "1.23"}};
  run([&](fw::Window& w) {
    QLineEdit& e = edit(w, 1);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed);
      type(e, c.typed);
      EXPECT_EQ(e.text(), c.shown);
    }
    QTest::keyClick(&e, Qt::Key_Escape);
  });
}

TEST_F(Tracking, SalirRecalculatesEveryLineOfTheSubjectAndLeavesTheOthers) {
  const Stored other = stored(4), otherSubject = stored(5);
  run([](fw::Window& w) {
    QTest::mouseClick(w.Control(13), Qt::LeftButton);
    EXPECT_TRUE(w.manager->Dead);
  });
  const struct {
    std::int32_t nro;
    std::int64_t anual, final;
    const char* etado;
  } expected[] = {{2, 0, 0, "COLOQUIO"}, {1, 700, 700, "APRUEBA"}, {3, 825, 825, "APRUEBA"}};
  for (const auto& x : expected) {
    SCOPED_TRACE(x.nro);
    const Stored s = stored(x.nro);
    EXPECT_EQ(s.anual, x.anual);
    EXPECT_EQ(s.final, x.final);
    EXPECT_EQ(s.etado.substr(0, std::strlen(x.etado)), x.etado);
    EXPECT_EQ(s.ingreso.substr(0, 3), "APP");
    EXPECT_EQ(s.operador, kOperador);
  }
  const Stored after4 = stored(4), after5 = stored(5);
  EXPECT_EQ(after4.anual, other.anual);
  EXPECT_EQ(after4.etado, other.etado);
  EXPECT_EQ(after4.ingreso, other.ingreso);
  EXPECT_EQ(after5.final, otherSubject.final);
}

TEST_F(Tracking, AnotherTeachersChangeIsDetectedAndKept) {
  run([&](fw::Window& w) {
    QLineEdit& e = edit(w, 1);  // Zárate 7.00, read as editing starts
    {
      store::DataFile other(KALIBRETA);
      KAL_RECORD r;
      other.bind(r.image());
      ASSERT_TRUE(other.open().ok());
      r.NRO_REGISTRO = 1;
      ASSERT_TRUE(other.fetch(KAL.CLAVE_PRIMARIA).ok());
      ASSERT_TRUE(r.EVALUACION_ANUAL.set(Dec::fromCents(910)).ok());
      ASSERT_TRUE(other.put().ok());
    }
    type(e, "3");
    QTest::keyClick(&e, Qt::Key_Return);
    EXPECT_FALSE(e.isVisible());
    EXPECT_EQ(cell(w, 1, 2), "9.10");  // the other teacher's mark is shown
  });
  ASSERT_FALSE(errors_.messages().empty());
  EXPECT_EQ(errors_.messages()[0].title, "Record Was Not Updated");
  EXPECT_EQ(stored(1).anual, 910);
}

TEST_F(Tracking, TheStepLocatorFindsAStudentByTheFirstLetter) {
  run([](fw::Window& w) {
    grades(w).setFocus();
    QTest::keyClick(&grades(w), 'Z');
    EXPECT_EQ(grades(w).currentIndex().row(), 1);
    QTest::keyClick(&grades(w), 'a');
    EXPECT_EQ(grades(w).currentIndex().row(), 2);
    EXPECT_EQ(KAL.NRO_REGISTRO, 3);
  });
}

TEST_F(Tracking, PlanillaPrintsTheSelectedSubjectAndTheWindowStaysOpen) {
  std::vector<fw::report::Page> pages;
  SetReportPagesObserver(&pages);
  bool preview = false;
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_", &preview);
  run([](fw::Window& w) {
    QTest::mouseClick(w.Control(4), Qt::LeftButton);
    EXPECT_FALSE(w.manager->Dead);
    EXPECT_EQ(grades(w).model()->rowCount(), 3);
  });
  SetReportPagesObserver(nullptr);
  EXPECT_TRUE(preview);
  ASSERT_EQ(pages.size(), 1u);
  int rows = 0;
  for (const auto& op : pages[0].ops) rows += op.control == 40;
  EXPECT_EQ(rows, 3);
}

TEST_F(Tracking, PlanillaForASubjectWithoutLinesReportsThatSubjectNeverSubjectZero) {
  seedLines({{9, 0, "Sin Materia", 500, 0, ""}});
  bool preview = false;
  kamo::testing::acceptDialogWhenOpen("_PreviewWindow_", &preview);
  run([](fw::Window& w) {
    subjects(w).setCurrentIndex(1);  // Física: no lines
    QTest::mouseClick(w.Control(4), Qt::LeftButton);
    EXPECT_FALSE(w.manager->Dead);
  });
  EXPECT_FALSE(preview);
  ASSERT_EQ(errors_.messages().size(), 1u);
  EXPECT_EQ(errors_.messages()[0].title, "No Records");
}

}  // namespace
