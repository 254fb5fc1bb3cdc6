// Main: the teacher's sign-in. Step 1 asks for the D.N.I. and looks the
// teacher up in the subjects file; step 2 shows the teacher's name and asks
// for the date of birth; a matching date opens the tracking window, and when
// that returns the program ends.
//
//   D.N.I. step ──not found──> D.N.I. step with "No encontrado ....."
//       │                               │
//       └──found──> password step <─────┘──found
//                        │ date matches
//                        └──> tracking window ──returns──> closed
//   "Salir" or the system's close command: closed, from any step.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "framework/window_manager.h"
#include "procedures/procedures.h"

namespace {

constexpr const char* kProcedure = "Main";

// Controls, in window order.
enum : int {
  STRING1 = 1,          // "Ingresa tu D.N.I."
  AUXILIAR_DNI_ = 2,    // the D.N.I. entry
  AUXILIAR_DOCENTE_ = 3,
  LINE1 = 4,
  BUTTON4 = 5,          // the first "Aceptar"
  STRING2 = 6,          // "Clave (Fecha de Nacimiento):"
  AUXILIAR_FNAC_ = 7,   // the date entry
  BUTTON2 = 8,          // the second "Aceptar", the default button
  BUTTON3 = 9,          // "Salir"
};

class MainWindow : public fw::WindowManager {
 public:
  explicit MainWindow(fw::Window& w) : window_(w) {}

  int Init() override {
    BeginProcedure(kProcedure);
    Request = GlobalRequest;
    if (int level = fw::WindowManager::Init(); level != fw::kLevelBenign) return level;
    FirstField = STRING1;
    VCRRequest = &::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    Relate::KAMATERIAS->Open(0);
    FilesOpened = true;
    Open(window_);
    INIMgr.Fetch(kProcedure, window_);
    SetAlerts();
    return fw::kLevelBenign;
  }

  int Kill() override {
    if (int level = fw::WindowManager::Kill(); level != fw::kLevelBenign) return level;
    if (FilesOpened) Relate::KAMATERIAS->Close(0);
    if (Opened) INIMgr.Update(kProcedure, window_);
    EndProcedure();
    return fw::kLevelBenign;
  }

  int TakeWindowEvent() override {
    const int level = fw::WindowManager::TakeWindowEvent();
    if (Event() == fw::EventOpenWindow) Hide(BUTTON2);
    return level;
  }

  // The D.N.I. lookup, on the entry's selected and accepted events.
  int TakeFieldEvent() override {
    const int level = fw::WindowManager::TakeFieldEvent();
    if (Field() != AUXILIAR_DNI_) return level;
    KAM.DNI_DOCENTE = AUXILIAR_DNI;
    Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR);
    if (AUXILIAR_DNI == KAM.DNI_DOCENTE && KAM.DNI_DOCENTE != 0) {
      Hide(STRING1);
      Hide(AUXILIAR_DNI_);
      SetY(AUXILIAR_DOCENTE_, 8);
      AUXILIAR_DOCENTE.assign(KAM.PROFESOR.view());
      Unhide(AUXILIAR_DOCENTE_);
      Hide(BUTTON4);
      SetX(BUTTON2, 116);
      Unhide(BUTTON2);
      SetY(STRING2, 30);
      Unhide(STRING2);
      SetY(AUXILIAR_FNAC_, 52);
      Unhide(AUXILIAR_FNAC_);
      Select(AUXILIAR_FNAC_);
    } else if (AUXILIAR_DNI != 0) {
      Unhide(AUXILIAR_DOCENTE_);
      AUXILIAR_DOCENTE.assign("No encontrado ..... ");
      Hide(BUTTON2);
    }
    Display();
    return level;
  }

  int TakeAccepted() override {
    const int level = fw::WindowManager::TakeAccepted();
    switch (Field()) {
      case BUTTON2: {
        const int stored = signInDayNumber(KAM.KAP_FECHANAC);
        const int typed = signInDayNumber(AUXILIAR_FNAC);
        // An empty typed date never admits anyone, even a teacher whose stored
        // date of birth is empty: the date is the only secret here.
        if (typed != 0 && typed == stored && KAM.DNI_DOCENTE != 0) {
          Ventana_Seguimiento_Notas();
          return fw::kLevelFatal;
        }
        Display();
        return level;
      }
      case BUTTON3:
        return fw::kLevelFatal;
      default:
        return level;
    }
  }

  std::int32_t AUXILIAR_DNI = 0;
  store::Date AUXILIAR_FNAC{};

 private:
  fw::Window& window_;
  fw::ToolbarClass toolbar_;
};

}  // namespace

int signInDayNumber(const store::Date& d) {
  if (d.month() == 0 || d.year() < 1801) return 0;
  if (d.year() > 9999) return store::dayNumber(31, 12, 9999);
  return store::dayNumber(d.day(), d.month(), d.year());
}

void Main() {
  fw::Window window("Consolas", 8, QColor(230, 230, 230), QSize(400, 106), false);
  window.setObjectName("Main");
  fw::Look text;
  text.centred = true;
  text.transparent = true;
  fw::Look entry;
  entry.color = Qt::black;
  entry.background = Qt::white;
  entry.selectedColor = Qt::white;
  entry.selectedBackground = Qt::black;
  fw::Look name = text;
  name.font = "Consolas";
  name.points = 14;
  name.color = QColor(0, 128, 255);
  const fw::Look button;
  const QIcon ok = QApplication::style()->standardIcon(QStyle::SP_DialogOkButton);
  const QIcon exit = QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton);

  MainWindow ThisWindow(window);
  ThisWindow.AUXILIAR_DNI = 0;
  ThisWindow.AUXILIAR_FNAC.clear();
  window.AddString(STRING1, "?STRING1", "Ingresa tu D.N.I.", {4, 12, 388, 12}, text);
  window.AddEntry(AUXILIAR_DNI_, "?AUXILIAR_DNI", fw::Variable::of(ThisWindow.AUXILIAR_DNI), fw::Picture::integer(14),
                  {168, 32, 60, 12}, entry);
  window.AddDisplay(AUXILIAR_DOCENTE_, "?AUXILIAR_DOCENTE", fw::Variable::of(AUXILIAR_DOCENTE),
                    fw::Picture::text(80), {4, 56, 392, -1}, name)
      ->hide();
  window.AddLine(LINE1, "?LINE1", {4, 72, 392, 0}, Qt::black);
  window.AddButton(BUTTON4, "?BUTTON4", "Aceptar", ok, {116, 76, 80, 24}, button);
  window.AddString(STRING2, "?STRING2", "Clave (Fecha de Nacimiento):", {0, 0, 388, 12}, text)->hide();
  window.AddEntry(AUXILIAR_FNAC_, "?AUXILIAR_FNAC", fw::Variable::of(ThisWindow.AUXILIAR_FNAC), fw::Picture::date(),
                  {168, 44, 60, 12}, entry)
      ->hide();
  window.AddButton(BUTTON2, "?BUTTON2", "Aceptar", ok, {28, 76, 80, 24}, button, true);
  window.AddButton(BUTTON3, "?BUTTON3", "Salir", exit, {204, 76, 80, 24}, button);

  GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
}
