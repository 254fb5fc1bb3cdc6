// The sign-in window (Main), typed into for real under the offscreen platform.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "gui_driver.h"
#include "kamoapp.h"
#include "procedures/procedures.h"
#include "recording_errors.h"
#include "store/codepage.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kamo::testing::readBytes;
using kamo::testing::RecordedErrors;
using kamo::testing::TempDir;
using kamo::testing::waitUntil;
using kamo::testing::writeBytes;

struct Subject {
  std::int32_t nro;
  std::int32_t dni;
  const char* profesor;  // UTF-8
  const char* materia;
  int d, m, y;           // date of birth; 0/0/0 for none
};

std::string ansi(const char* utf8) {
  std::string out;
  EXPECT_TRUE(store::cp::utf8ToAnsi(utf8, out).ok());
  return out;
}

class SignIn : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = fs::current_path();
    fs::current_path(dir_.path());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_.file("config")));
    seed({{11, 20123456, "Gómez, María Inés", "Historia", 15, 3, 1975},
          {12, 25987654, "Fernández de la Peña, José Ignacio", "Matemática", 2, 11, 1980},
          {13, 20123456, "Gómez, María Inés", "Geografía", 15, 3, 1975},
          {14, 31000111, "Sin Fecha, Ana", "Música", 0, 0, 0}});
    GlobalErrors.Init(&CurrentGlobalErrorStatus);
    INIMgr.Init("KAMOAPP.INI");
    DctInit();
    KAM.clear();
    AUXILIAR_DOCENTE.assign("");
  }
  void TearDown() override {
    DctKill();
    fs::current_path(old_);
  }

  static void seed(std::initializer_list<Subject> subjects) {
    store::DataFile f(KAMATERIAS);
    KAM_RECORD r;
    f.bind(r.image(), r.memo());
    ASSERT_TRUE(f.create().ok());
    ASSERT_TRUE(f.open().ok());
    for (const Subject& s : subjects) {
      r.clear();
      r.NRO_REGISTRO = s.nro;
      r.DNI_DOCENTE = s.dni;
      r.PROFESOR = ansi(s.profesor);
      r.MATERIA = ansi(s.materia);
      if (s.m) r.KAP_FECHANAC.set(s.d, s.m, s.y);
      ASSERT_TRUE(f.add().ok());
    }
  }

  // Runs Main with `script`; returns whether the window closed during the
  // script (an admitted teacher, or "Salir" pressed by the script) rather than
  // through "Salir" after it.
  bool runMain(const std::function<void(fw::Window&)>& script) {
    bool closedBySalir = false;
    const bool ran = kamo::testing::runWithScript(
        Main, "Main", [](fw::Window& w) { return w.Control(2)->hasFocus(); }, script,
        [&](fw::Window& w) {
          closedBySalir = true;
          QTest::mouseClick(w.Control(9), Qt::LeftButton);
        });
    EXPECT_TRUE(ran) << "the sign-in window never opened";
    return !closedBySalir;
  }

  static void type(fw::Window& w, int control, const QString& text) {
    QTest::keyClicks(w.Control(control), text);
  }
  static void key(fw::Window& w, int control, Qt::Key k) { QTest::keyClick(w.Control(control), k); }
  static std::vector<int> visible(fw::Window& w) {
    std::vector<int> v;
    for (int n : w.Numbers())
      if (w.Control(n)->isVisible()) v.push_back(n);
    return v;
  }
  static QString text(fw::Window& w, int control) {
    if (auto* e = qobject_cast<QLineEdit*>(w.Control(control))) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w.Control(control))) return l->text();
    return qobject_cast<QPushButton*>(w.Control(control))->text();
  }
  // A control's place in dialog units.
  static QRect where(fw::Window& w, int control) {
    const QWidget* c = w.Control(control);
    return {w.DluX(c->x()), w.DluY(c->y()), w.DluX(c->width()), w.DluY(c->height())};
  }

  TempDir dir_;
  RecordedErrors errors_{GlobalErrors};
  fs::path old_;
};

TEST_F(SignIn, OpensOnTheDniStepWithItsControlsInPlace) {
  runMain([](fw::Window& w) {
    EXPECT_EQ(w.widthUnits(), 400);
    EXPECT_EQ(w.heightUnits(), 106);
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(230, 230, 230));
    EXPECT_EQ(visible(w), (std::vector<int>{1, 2, 4, 5, 9}));
    EXPECT_EQ(text(w, 1), "Ingresa tu D.N.I.");
    EXPECT_EQ(text(w, 2), "0");
    EXPECT_EQ(text(w, 5), "Aceptar");
    EXPECT_EQ(text(w, 9), "Salir");
    EXPECT_EQ(where(w, 1), QRect(4, 12, 388, 12));
    EXPECT_EQ(where(w, 2), QRect(168, 32, 60, 12));
    EXPECT_EQ(where(w, 5), QRect(116, 76, 80, 24));
    EXPECT_EQ(where(w, 9), QRect(204, 76, 80, 24));
    EXPECT_TRUE(w.Control(1)->font().bold());
    EXPECT_EQ(w.LabelOf(2), "?AUXILIAR_DNI");
    EXPECT_TRUE(w.Control(2)->hasFocus());
  });
  EXPECT_EQ(KAM.DNI_DOCENTE, 0);
  EXPECT_EQ(std::string(AUXILIAR_DOCENTE.view()), std::string(80, ' '));
  EXPECT_EQ(GlobalResponse, 2);
  EXPECT_TRUE(errors_.messages().empty());
}

TEST_F(SignIn, UnknownDniShowsNotFoundAndKeepsTheDniStep) {
  runMain([](fw::Window& w) {
    type(w, 2, "12345");
    key(w, 2, Qt::Key_Tab);
    EXPECT_EQ(visible(w), (std::vector<int>{1, 2, 3, 4, 5, 9}));
    EXPECT_EQ(text(w, 3), "No encontrado .....");
    const QWidget* message = w.Control(3);
    EXPECT_EQ(where(w, 3).y(), 56);
    EXPECT_EQ(message->font().pointSize(), 14);
    EXPECT_TRUE(message->font().bold());
    EXPECT_EQ(message->font().family(), "Consolas");
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(0, 128, 255));
    EXPECT_EQ(qobject_cast<QLabel*>(w.Control(3))->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
  });
  EXPECT_EQ(std::string(AUXILIAR_DOCENTE.view()), "No encontrado ..... " + std::string(60, ' '));
  EXPECT_EQ(KAM.DNI_DOCENTE, 0);  // the failed lookup cleared the buffer
}

TEST_F(SignIn, KnownDniAfterAnUnknownOneSwitchesToThePasswordStep) {
  runMain([](fw::Window& w) {
    type(w, 2, "999");
    key(w, 2, Qt::Key_Tab);
    ASSERT_EQ(text(w, 3), "No encontrado .....");
    w.Control(2)->setFocus();
    ASSERT_TRUE(waitUntil([&] { return w.Control(2)->hasFocus(); }));
    type(w, 2, "20123456");
    key(w, 2, Qt::Key_Tab);
    EXPECT_EQ(visible(w), (std::vector<int>{3, 4, 6, 7, 8, 9}));
    EXPECT_EQ(text(w, 3), "Gómez, María Inés");
    EXPECT_EQ(where(w, 3).y(), 8);
    EXPECT_EQ(where(w, 8), QRect(116, 76, 80, 24));
    EXPECT_EQ(where(w, 6).y(), 30);
    EXPECT_EQ(text(w, 6), "Clave (Fecha de Nacimiento):");
    EXPECT_EQ(where(w, 7).y(), 52);
    EXPECT_TRUE(w.Control(7)->hasFocus());
  });
  // Of the teacher's two subject records, the first in D.N.I. order is kept.
  EXPECT_EQ(KAM.NRO_REGISTRO, 11);
  EXPECT_EQ(KAM.MATERIA.trimmed(), "Historia");
  EXPECT_EQ(AUXILIAR_DOCENTE.trimmed(), ansi("Gómez, María Inés"));
}

TEST_F(SignIn, TheRightDateOpensTheTrackingWindowAndThenEndsTheProgram) {
  bool tracking = false;
  const bool admitted = runMain([&](fw::Window& w) {
    type(w, 2, "25987654");
    key(w, 2, Qt::Key_Return);
    ASSERT_TRUE(w.Control(7)->hasFocus());
    type(w, 7, "02111980");
    kamo::testing::closeWhenOpen("Ventana_Seguimiento_Notas", &tracking);
    key(w, 7, Qt::Key_Return);  // the second "Aceptar" is the default button
    EXPECT_TRUE(w.manager->Dead);
  });
  EXPECT_TRUE(tracking);
  EXPECT_TRUE(admitted);
  EXPECT_EQ(KAM.DNI_DOCENTE, 25987654);
  EXPECT_EQ(GlobalResponse, 2);
}

TEST_F(SignIn, WrongAndEmptyDatesAreNotAccepted) {
  const bool admitted = runMain([](fw::Window& w) {
    type(w, 2, "20123456");
    key(w, 2, Qt::Key_Tab);
    type(w, 7, "16031975");
    QTest::mouseClick(w.Control(8), Qt::LeftButton);
    EXPECT_FALSE(w.manager->Dead);
    qobject_cast<QLineEdit*>(w.Control(7))->clear();
    QTest::mouseClick(w.Control(8), Qt::LeftButton);
    EXPECT_FALSE(w.manager->Dead);
    w.Control(7)->setFocus();
    type(w, 7, "31021975");  // not a date: not taken
    key(w, 7, Qt::Key_Return);
    EXPECT_FALSE(w.manager->Dead);
    // There is no limit on tries: the right date still opens the way.
    type(w, 7, "15031975");
    kamo::testing::closeWhenOpen("Ventana_Seguimiento_Notas");
    key(w, 7, Qt::Key_Return);
    EXPECT_TRUE(w.manager->Dead);
  });
  EXPECT_TRUE(admitted);
  EXPECT_TRUE(errors_.messages().empty());
}

TEST_F(SignIn, AnEmptyDateNeverAdmitsEvenATeacherWithoutAStoredDate) {
  const bool admitted = runMain([](fw::Window& w) {
    type(w, 2, "31000111");
    key(w, 2, Qt::Key_Tab);
    ASSERT_TRUE(w.Control(7)->isVisible());
    QTest::mouseClick(w.Control(8), Qt::LeftButton);
    EXPECT_FALSE(w.manager->Dead);
  });
  EXPECT_FALSE(admitted);
}

TEST_F(SignIn, TheDniEntryTakesOnlyAnIntegerThatFits) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"12a3", "123"},
      {"5-", "5"},
      {"-42", "-42"},
      {"99999999999999", "999999999"},  // never beyond the 32-bit range
      {"2147483647", "2147483647"},
      {"1 2.3,4", "1234"},
  };
  runMain([&](fw::Window& w) {
    auto* entry = qobject_cast<QLineEdit*>(w.Control(2));
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed);
      entry->selectAll();
      type(w, 2, c.typed);
      EXPECT_EQ(entry->text(), c.shown);
    }
    key(w, 2, Qt::Key_Tab);
    EXPECT_EQ(text(w, 3), "No encontrado .....");
  });
}

TEST_F(SignIn, TheDateEntryTakesOnlyDigitsInDayMonthYear) {
  runMain([](fw::Window& w) {
    type(w, 2, "20123456");
    key(w, 2, Qt::Key_Tab);
    auto* entry = qobject_cast<QLineEdit*>(w.Control(7));
    type(w, 7, "1a5b0c3x1975");
    EXPECT_EQ(entry->text(), "15/03/1975");
    kamo::testing::closeWhenOpen("Ventana_Seguimiento_Notas");
    key(w, 7, Qt::Key_Return);
    EXPECT_TRUE(w.manager->Dead);
  });
}

TEST_F(SignIn, SalirEndsFromEitherStepAndSavesThePlacement) {
  EXPECT_TRUE(runMain([](fw::Window& w) { QTest::mouseClick(w.Control(9), Qt::LeftButton); }));
  INIMgr.Kill();
  EXPECT_EQ(INIMgr.TryFetch("Main", "Maximize"), "No");
  EXPECT_TRUE(INIMgr.TryFetch("Main", "XPos").has_value());
  EXPECT_FALSE(runMain([](fw::Window& w) {
    type(w, 2, "20123456");
    key(w, 2, Qt::Key_Tab);
  }));
}

// --- the INI file ------------------------------------------------------------------------

TEST_F(SignIn, FirstRunWritesMainsPlacementThenTheSectionList) {
  int x = 0, y = 0;
  runMain([&](fw::Window& w) {
    x = w.xPos();
    y = w.yPos();
  });
  INIMgr.Kill();
  EXPECT_EQ(readBytes(dir_.file("config/KAMOAPP.INI")), "[Main]\nMaximize=No\nMinimize=No\nXPos=" + std::to_string(x) +
                                                          "\nYPos=" + std::to_string(y) +
                                                          "\n\n[Sectors]\n__Dont_Touch_Me__=0\n");
}

TEST_F(SignIn, AMovedWindowReopensWhereItWasLeft) {
  runMain([](fw::Window& w) { w.setPosition(10, 20); });
  runMain([](fw::Window& w) {
    EXPECT_EQ(w.xPos(), 10);
    EXPECT_EQ(w.yPos(), 20);
  });
}

TEST_F(SignIn, ClosedMaximisedOrMinimisedTheWindowReopensSo) {
  runMain([](fw::Window& w) { w.maximize(); });
  EXPECT_EQ(INIMgr.TryFetch("Main", "Maximize"), "Yes");
  EXPECT_EQ(INIMgr.TryFetch("Main", "XPos"), std::nullopt);
  EXPECT_EQ(INIMgr.TryFetch("Main", "YPos"), std::nullopt);
  runMain([](fw::Window& w) {
    EXPECT_TRUE(w.isMaximized());
    w.restore();
    w.minimize();
  });
  EXPECT_EQ(INIMgr.TryFetch("Main", "Maximize"), "No");
  EXPECT_EQ(INIMgr.TryFetch("Main", "Minimize"), "Yes");
  EXPECT_EQ(INIMgr.TryFetch("Main", "XPos"), std::nullopt);
  const std::string text = readBytes(dir_.file("config/KAMOAPP.INI"));
  EXPECT_EQ(text, "[Main]\nMaximize=No\nMinimize=Yes\n");
}

TEST_F(SignIn, UnrelatedSectionsKeysAndLinesSurvive) {
  fs::create_directories(dir_.file("config"));
  writeBytes(dir_.file("config/KAMOAPP.INI"),
             "; configuración de la escuela\r\n[Otra]\r\nclave=valor\r\n\r\n[main]\r\nColor=Azul\r\nMaximize=Yes\r\n"
             "[Sectors]\r\n__Dont_Touch_Me__=1\r\n__Dont_Touch_Me___1=a,b,c\r\n");
  INIMgr.Init("KAMOAPP.INI");
  ASSERT_EQ(INIMgr.Sectors().size(), 1u);
  EXPECT_EQ(INIMgr.Sectors()[0].b, "b");
  int x = 0, y = 0;
  runMain([&](fw::Window& w) {
    EXPECT_TRUE(w.isMaximized());  // the stored placement was applied
    w.restore();
    x = w.xPos();
    y = w.yPos();
  });
  INIMgr.Kill();
  EXPECT_EQ(readBytes(dir_.file("config/KAMOAPP.INI")),
            "; configuración de la escuela\r\n[Otra]\r\nclave=valor\r\n\r\n[main]\r\nColor=Azul\r\nMaximize=No\r\n"
            "Minimize=No\r\nXPos=" + std::to_string(x) + "\r\nYPos=" + std::to_string(y) +
                "\r\n[Sectors]\r\n__Dont_Touch_Me__=1\r\n__Dont_Touch_Me___1=a,b,c\r\n");
}

TEST_F(SignIn, TheEntryPointRunsMainAndWritesTheSectionListAtTheEnd) {
  DctKill();  // the entry point makes the thread's objects itself
  std::int32_t x = 0, y = 0;
  const bool ran = kamo::testing::runWithScript(
      EntryPoint, "Main", [](fw::Window& w) { return w.Control(2)->hasFocus(); },
      [&](fw::Window& w) {
        EXPECT_NE(Access::KAMATERIAS, nullptr);
        EXPECT_TRUE(FuzzyMatcher.active());
        EXPECT_TRUE(FuzzyMatcher.caseInsensitive());
        x = w.xPos();
        y = w.yPos();
        QTest::mouseClick(w.Control(9), Qt::LeftButton);
      },
      [](fw::Window&) {});
  EXPECT_TRUE(ran);
  EXPECT_FALSE(FuzzyMatcher.active());
  EXPECT_EQ(GlobalResponse, 2);
  EXPECT_EQ(readBytes(dir_.file("config/KAMOAPP.INI")), "[Main]\nMaximize=No\nMinimize=No\nXPos=" + std::to_string(x) +
                                                          "\nYPos=" + std::to_string(y) +
                                                          "\n\n[Sectors]\n__Dont_Touch_Me__=0\n");
  DctKill();
  DctInit();  // for TearDown
}

}  // namespace
