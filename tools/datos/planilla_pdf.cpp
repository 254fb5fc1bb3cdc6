// The progress sheet as a PDF file, without any window: the same layout the
// program's report prints, filled from the data files directly.
#include <QGuiApplication>

#include <filesystem>

#include "datos.h"
#include "dictionary/records.h"
#include "framework/window_manager.h"
#include "procedures/planilla.h"
#include "store/codepage.h"
#include "store/data_file.h"

namespace kamo::datos {
namespace {

// Fonts and PDF writing need a GUI application object; the data tool has no
// windows, so it uses Qt's offscreen platform.
void ensureGuiApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kamo-datos";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
  fw::installFontSubstitutes();
}

}  // namespace

int writePlanillaPdf(const std::string& dir, std::int32_t nro, const std::string& pdf, std::string& message) {
  namespace fs = std::filesystem;
  store::DataFile subjects(KAMATERIAS, (fs::path(dir) / KAMATERIAS.diskName).string());
  store::DataFile grades(KALIBRETA, (fs::path(dir) / KALIBRETA.diskName).string());
  subjects.bind(KAM.image(), KAM.memo());
  grades.bind(KAL.image());
  if (store::Status s = subjects.open(store::kSharedReadOnly); !s.ok()) {
    message = std::string(KAMATERIAS.diskName) + ": " + s.describe();
    return -1;
  }
  KAM.clear();
  KAM.NRO_REGISTRO = nro;
  if (!subjects.fetch(KAM.CLAVE_PRINCIPAL).ok()) {
    message = "no hay ninguna materia con KAM:NRO_REGISTRO " + std::to_string(nro);
    return -1;
  }
  if (store::Status s = grades.open(store::kSharedReadOnly); !s.ok()) {
    message = std::string(KALIBRETA.diskName) + ": " + s.describe();
    return -1;
  }
  ensureGuiApplication();
  fw::report::Engine* engine = nullptr;
  const fw::report::Layout layout = PlanillaLayout([&engine] { return engine ? engine->Count() : 0; });
  fw::report::Engine sheet(layout);
  engine = &sheet;
  sheet.Open();
  KAL.clear();
  KAL.COD_MATERIA = nro;
  (void)grades.send("QUICKSCAN=on");
  if (grades.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok())
    while (grades.next().ok()) sheet.PrintDetail();
  if (sheet.Count() == 0) {
    message = "la materia " + std::to_string(nro) + " no tiene alumnos: no se escribió ninguna planilla";
    return -1;
  }
  sheet.End();
  if (!fw::report::WritePdf(layout, sheet.Pages(), QString::fromStdString(pdf))) {
    message = "no se pudo escribir " + pdf;
    return -1;
  }
  message = "Planilla de " + store::cp::ansiToUtf8(KAM.MATERIA.trimmed()) + ": " + std::to_string(sheet.Count()) +
            " alumnos en " + std::to_string(sheet.Pages().size()) + " páginas, en " + pdf;
  return static_cast<int>(sheet.Pages().size());
}

}  // namespace kamo::datos
