// Imprimir_Planilla_Informe_Progreso: the progress sheet of the subject whose
// code is in KAL:COD_MATERIA. A progress window reads the subject's grade
// lines in student order on a 100 ms timer, in self-adjusting batches, and
// renders one detail row per line; at the end the pages open in the print
// preview.
//
//   loaded ──Init──> progress window open ──open event──> no records: notice, response 2
//                                               │
//                                               └──> processing (timer) ──end──> preview (response 1)
//                                                          │
//                                                          └──Cancel or close──> response 2, nothing shown
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "framework/preview.h"
#include "framework/step_string.h"
#include "framework/window_manager.h"
#include "procedures/planilla.h"
#include "procedures/procedures.h"

namespace {

constexpr const char* kProcedure = "Imprimir_Planilla_Informe_Progreso";

enum : int { THERMOMETER = 1, USER_STRING = 2, PCT_TEXT = 3, CANCEL = 4 };

class ReportWindow : public fw::WindowManager {
 public:
  ReportWindow() : layout_(PlanillaLayout([this] { return engine_.Count(); })), engine_(layout_) {}

  int Init() override {
    BeginProcedure(kProcedure);
    Request = GlobalRequest;
    if (int level = fw::WindowManager::Init(); level != fw::kLevelBenign) return level;
    FirstField = THERMOMETER;
    VCRRequest = &::VCRRequest;
    Errors = &GlobalErrors;
    GlobalRequest = 0;
    GlobalResponse = 0;
    Relate::KALIBRETA->Open(0);
    Relate::KAMATERIAS->Open(0);
    FilesOpened = true;
    Build();
    Open(*window_);
    INIMgr.Fetch(kProcedure, *window_);
    timer_.setInterval(100);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
    progress_.Init();
    qobject_cast<QLabel*>(window_->Control(USER_STRING))->setText("");
    Relate::KALIBRETA->SetQuickScan(1, 1);
    SetAlerts();
    return fw::kLevelBenign;
  }

  int Kill() override {
    if (int level = fw::WindowManager::Kill(); level != fw::kLevelBenign) return level;
    timer_.stop();
    if (FilesOpened) {
      Relate::KALIBRETA->SetQuickScan(0, 1);
      Relate::KALIBRETA->Close(0);
      Relate::KAMATERIAS->Close(0);
    }
    if (Opened) INIMgr.Update(kProcedure, *window_);
    EndProcedure();
    return fw::kLevelBenign;
  }

  int TakeWindowEvent() override {
    if (Event() == fw::EventOpenWindow) {
      OpenProcess();
      return fw::kLevelBenign;
    }
    if (Event() == fw::EventCloseWindow) {
      Closing();
      return fw::kLevelFatal;
    }
    return fw::WindowManager::TakeWindowEvent();
  }

  int TakeAccepted() override {
    const int level = fw::WindowManager::TakeAccepted();
    if (Field() == CANCEL) {
      SetResponse(RequestCancelled);
      return Dispatch(fw::EventCloseWindow, 0);
    }
    return level;
  }

  // What a test sees of a run: the rendered pages.
  static std::vector<fw::report::Page>* lastPages;

 private:
  void Build() {
    window_ = std::make_unique<fw::Window>(QApplication::font().family(), QApplication::font().pointSize(),
                                           QColor(Qt::lightGray), QSize(142, 59), false);
    fw::Window& w = *window_;
    w.setObjectName(kProcedure);
    w.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    w.setWindowTitle("Progress...");
    fw::Look centred;
    centred.bold = false;
    centred.centred = true;
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    w.AddWidget(THERMOMETER, "?Progress:Thermometer", bar, {15, 15, 111, 12});
    w.AddString(USER_STRING, "?Progress:UserString", "", {0, 3, 141, 10}, centred);
    w.AddString(PCT_TEXT, "?Progress:PctText", "", {0, 30, 141, 10}, centred);
    fw::Look button;
    button.bold = false;
    w.AddButton(CANCEL, "?Progress:Cancel", "Cancel", QIcon(), {45, 42, 50, 15}, button);
  }

  void OpenProcess() {
    // The range is the subject code the buffer holds now.
    const std::int32_t subject = KAL.COD_MATERIA.get();
    auto reset = [subject] {
      KAL.COD_MATERIA = subject;
      return Access::KALIBRETA->SetRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1);
    };
    std::string low, high;
    if (reset() == fw::kLevelBenign && Access::KALIBRETA->Previous() == fw::kLevelBenign)
      high = std::string(KAL.ALUMNO.view());
    if (reset() != fw::kLevelBenign || Access::KALIBRETA->Next() != fw::kLevelBenign) {
      KAL.COD_MATERIA = subject;
      GlobalErrors.Throw(fw::Msg::NoRecords);
      SetResponse(RequestCancelled);
      Dispatch(fw::EventCloseWindow, 0);
      return;
    }
    low = std::string(KAL.ALUMNO.view());
    progress_.SetLimit(low, high);
    engine_.Open();
    opened_ = true;
    timer_.start();
  }

  // One timer tick: batches of records, doubling while the tick is short.
  void Tick() {
    if (Dead || !opened_) return;
    QElapsedTimer clock;
    clock.start();
    constexpr qint64 kSliceMs = 1000;
    for (;;) {
      for (int done = 0; done < batch_; ++done)
        if (!TakeRecord()) return;
      if (clock.elapsed() < kSliceMs * 4 / 5) batch_ *= 2;
      if (clock.elapsed() >= kSliceMs / 2) return;
    }
  }

  // Prints the current record and reads the next; false at the end.
  bool TakeRecord() {
    engine_.PrintDetail();
    ++records_;
    if (Access::KALIBRETA->Next() != fw::kLevelBenign) {
      timer_.stop();
      SetResponse(records_ > 0 ? RequestCompleted : RequestCancelled);
      Dispatch(fw::EventCloseWindow, 0);
      return false;
    }
    const int pct = std::min(100, progress_.GetPercentile(KAL.ALUMNO.view()));
    if (pct != thermometer_) {
      thermometer_ = pct;
      qobject_cast<QProgressBar*>(window_->Control(THERMOMETER))->setValue(pct);
      qobject_cast<QLabel*>(window_->Control(PCT_TEXT))->setText(QString::number(pct) + "% Complete");
    }
    return true;
  }

  void Closing() {
    timer_.stop();
    window_->hide();
    if (Response == RequestCompleted && opened_) {
      engine_.End();
      if (lastPages) *lastPages = engine_.Pages();
      fw::report::PreviewWindow preview(layout_, engine_.Pages(), &INIMgr);
      preview.Run();
    }
    opened_ = false;  // the report is closed; its pages are let go
  }

  std::unique_ptr<fw::Window> window_;
  fw::report::Layout layout_;
  fw::report::Engine engine_;
  fw::StepStringClass progress_;
  QTimer timer_;
  int batch_ = 1;
  int records_ = 0;
  int thermometer_ = 0;
  bool opened_ = false;
};

std::vector<fw::report::Page>* ReportWindow::lastPages = nullptr;

}  // namespace

void Imprimir_Planilla_Informe_Progreso() {
  ReportWindow ThisWindow;
  GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
}

void SetReportPagesObserver(std::vector<fw::report::Page>* pages) { ReportWindow::lastPages = pages; }
