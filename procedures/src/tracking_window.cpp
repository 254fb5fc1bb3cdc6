// Ventana_Seguimiento_Notas: the tracking window. The teacher's subjects in a
// drop-down list (BRW1 over KAMATERIAS), the selected subject's details, and
// on the tab "Informe de Progreso" the subject's grade lines (BRW2 over
// KALIBRETA), whose "Anual" column is edited in place. "Planilla" prints the
// subject's sheet; "Salir" recalculates every line of the subject and closes.
//
// Grade rows (Queue:Browse:1) hold, in this order: KAL:NRO_LEGAJO, KAL:ALUMNO,
// KAL:EVALUACION_ANUAL, KAL:FINAL, KAL:ETADO, KAL:NRO_REGISTRO, KAL:COD_MATERIA.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "framework/browse_view.h"
#include "framework/window_manager.h"
#include "procedures/procedures.h"

namespace {

constexpr const char* kProcedure = "Ventana_Seguimiento_Notas";

// Controls, in window order.
enum : int {
  AUXILIAR_DOCENTE_ = 1,
  STRING2 = 2,
  LIST = 3,
  BUTTON10 = 4,  // "Planilla"
  KAM_CICLO = 5,
  KAM_CURSO = 6,
  KAM_DIVISION = 7,
  KAM_ESPECIALIDAD = 8,
  KAM_MATERIA = 9,
  SHEET1 = 10,
  TAB1 = 11,
  LIST_2 = 12,
  BUTTON3 = 13,  // "Salir"
  INSERT = 14,
  CHANGE = 15,   // "&Editar"
  DELETE_ = 16,
};

// Row fields of the grade list.
enum : int { ROW_LEGAJO, ROW_ALUMNO, ROW_ANUAL, ROW_FINAL, ROW_ETADO, ROW_NRO_REGISTRO, ROW_COD_MATERIA };

// Writes the stamp of a change made here into the grade-book buffer.
void Stamp() {
  KAL.INGRESO = "APP";
  KAL.OPERADOR.assign(KAM.PROFESOR.view());  // its first 20 characters
}

// The status rule on a grade row's annual mark, final mark and status.
void ApplyStatusRuleToRow(fw::BrowseClass& grades, int row) {
  ApplyStatusRule(*reinterpret_cast<store::Decimal<4>*>(grades.Field(row, ROW_ANUAL)),
                  *reinterpret_cast<store::Decimal<4>*>(grades.Field(row, ROW_FINAL)),
                  *reinterpret_cast<store::String<20>*>(grades.Field(row, ROW_ETADO)));
}

// Both lists: black on white, the selected row white on blue.
void listColours(QWidget& list) {
  QPalette p = list.palette();
  p.setColor(QPalette::Highlight, QColor(0, 128, 255));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  list.setPalette(p);
}

// EditInPlace::KAL:EVALUACION_ANUAL: for every event of the annual-mark
// editor, the status rule on the row, the stamp, and the record written.
class EditInPlace_KAL_EVALUACION_ANUAL : public fw::EditEntryClass {
 public:
  explicit EditInPlace_KAL_EVALUACION_ANUAL(fw::BrowseClass& grades) : grades_(grades) {}
  int TakeEvent(int event) override {
    ApplyStatusRuleToRow(grades_, Manager->Row());
    Stamp();
    Access::KALIBRETA->Update();
    return fw::EditEntryClass::TakeEvent(event);
  }

 private:
  fw::BrowseClass& grades_;
};

fw::Column column(const char* header, int field, int width, Qt::Alignment align, bool headerLeft,
                  std::function<QString(const char*)> format) {
  fw::Column c;
  c.header = header;
  c.field = field;
  c.width = width;
  c.align = align;
  c.headerLeft = headerLeft;
  c.format = std::move(format);
  return c;
}

auto text(std::size_t size, std::size_t width) {
  return [=](const char* b) { return fw::formatText(b, size, width); };
}
auto grouped() {
  return [](const char* b) { return fw::formatLong(b, true); };
}

class TrackingWindow : public fw::WindowManager {
 public:
  TrackingWindow() : editor_(BRW2) {}

  int Init() override {
    BeginProcedure(kProcedure);
    Request = GlobalRequest;
    if (int level = fw::WindowManager::Init(); level != fw::kLevelBenign) return level;
    FirstField = AUXILIAR_DOCENTE_;
    VCRRequest = &::VCRRequest;
    Errors = &GlobalErrors;
    AddItem(toolbar_);
    GlobalRequest = 0;
    GlobalResponse = 0;
    Relate::KALIBRETA->Open(0);
    Relate::KAMATERIAS->Open(0);
    FilesOpened = true;
    BRW1.Init(*Relate::KAMATERIAS);
    BRW2.Init(*Relate::KALIBRETA);
    Build();
    Open(*win_);
    INIMgr.Fetch(kProcedure, *win_);

    BRW1.AddSortOrder(KAM.CLAVE_DNI_PROFESOR);
    BRW1.AddRange([] {});  // the range limit is the D.N.I. the buffer holds when the list loads
    for (auto [address, size] : std::initializer_list<std::pair<void*, std::size_t>>{
             {&KAM.MATERIA, 60}, {&KAM.CICLO, 30}, {&KAM.CURSO, 2}, {&KAM.DIVISION, 4}, {&KAM.ESPECIALIDAD, 40},
             {&KAM.DNI_DOCENTE, 4}, {&KAM.NRO_REGISTRO, 4}, {&KAM.COD_CURSO, 4}})
      BRW1.AddField(address, size);
    BRW2.AddSortOrder(KAL.CLAVE_CODMATERIA_ALUALFA);
    BRW2.AddRange([] { KAL.COD_MATERIA = KAM.NRO_REGISTRO.get(); });
    for (auto [address, size] : std::initializer_list<std::pair<void*, std::size_t>>{
             {&KAL.NRO_LEGAJO, 4}, {&KAL.ALUMNO, 30}, {&KAL.EVALUACION_ANUAL, 4}, {&KAL.FINAL, 4},
             {&KAL.ETADO, 20}, {&KAL.NRO_REGISTRO, 4}, {&KAL.COD_MATERIA, 4}})
      BRW2.AddField(address, size);
    SetAlerts();
    Reset(true);
    return fw::kLevelBenign;
  }

  int Kill() override {
    if (int level = fw::WindowManager::Kill(); level != fw::kLevelBenign) return level;
    if (FilesOpened) {
      Relate::KALIBRETA->Close(0);
      Relate::KAMATERIAS->Close(0);
    }
    if (Opened) INIMgr.Update(kProcedure, *win_);
    EndProcedure();
    return fw::kLevelBenign;
  }

  int TakeAccepted() override {
    const int level = fw::WindowManager::TakeAccepted();
    switch (Field()) {
      case BUTTON10:
        Update();
        // A subject without grade lines is reported as itself ("No Records"),
        // never as the lines of subject number 0.
        if (BRW2.Records() == 0) KAL.COD_MATERIA = KAM.NRO_REGISTRO.get();
        Imprimir_Planilla_Informe_Progreso();
        Reset(false);
        return level;
      case BUTTON3:
        Update();
        RecalculateSubjectLines();
        return fw::kLevelFatal;
      case CHANGE:
        if (BRW2.Records() > 0) eip_->Start(BRW2.Selected());
        return level;
      default:
        return level;
    }
  }

  // Every list with rows re-reads its selected row's whole record.
  void Update() override {
    BRW1.UpdateViewRecord();
    BRW2.UpdateViewRecord();
  }

  void Reset(bool) override {
    loading_ = true;
    BRW1.ResetQueue();
    subjects_->Reload();
    combo_->setCurrentIndex(BRW1.Selected());
    loading_ = false;
    ResetGrades();
  }

  fw::BrowseClass BRW1;
  fw::BrowseClass BRW2;

 private:
  void ResetGrades() {
    loading_ = true;
    BRW2.ResetQueue();
    grades_->Reload();
    if (BRW2.Selected() >= 0) table_->selectRow(BRW2.Selected());
    loading_ = false;
    win_->Control(CHANGE)->setEnabled(BRW2.Records() > 0);
    Display();
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    // The step locator of the grade list: a printable key moves to the first
    // student at or after it (case-sensitive).
    if (watched == table_ && e->type() == QEvent::KeyPress) {
      const QString t = static_cast<QKeyEvent*>(e)->text();
      if (t.size() == 1 && t[0].isPrint() && t[0].unicode() < 0x100) {
        const int row = BRW2.Locate(ROW_ALUMNO, static_cast<char>(t[0].unicode()), false);
        if (row >= 0) table_->selectRow(row);
        return true;
      }
    }
    return fw::WindowManager::eventFilter(watched, e);
  }

  void Build() {
    win_ = std::make_unique<fw::Window>("Consolas", 8, QColor(230, 230, 230), QSize(900, 448), false);
    fw::Window& w = *win_;
    w.setObjectName(kProcedure);
    const QColor blue(0, 128, 255);
    fw::Look name;
    name.points = 10;
    name.color = blue;
    name.transparent = true;
    fw::Look plain;
    plain.transparent = true;
    fw::Look detail = name;
    fw::Look cycle = plain;
    cycle.points = 10;
    const fw::Look button;
    QStyle* style = QApplication::style();

    w.AddDisplay(AUXILIAR_DOCENTE_, "?AUXILIAR_DOCENTE", fw::Variable::of(AUXILIAR_DOCENTE), fw::Picture::text(80),
                 {48, 4, 392, 16}, name);
    w.AddString(STRING2, "?STRING2", "Docente", {8, 4, -1, -1}, plain);

    subjects_ = new fw::BrowseModel(
        BRW1,
        {column("MATERIA", 0, 200, Qt::AlignLeft, false, text(60, 60)),
         column("CICLO", 1, 100, Qt::AlignLeft, false, text(30, 30)),
         column("CURSO", 2, 40, Qt::AlignHCenter, true, [](const char* b) { return fw::formatShort(b); }),
         column("", 3, 40, Qt::AlignHCenter, false, text(4, 4)),
         column("ESPECIALIDAD", 4, 275, Qt::AlignLeft, false, text(40, 40)),
         column("DNI_DOCENTE", 5, 56, Qt::AlignRight, true, grouped()),
         column("NRO_REGISTRO", 6, 56, Qt::AlignRight, true, grouped()),
         column("COD_CURSO", 7, 56, Qt::AlignRight, true, grouped())},
        &w);
    for (int c : {0, 2, 3}) const_cast<fw::Column&>(subjects_->columns()[c]).background = QColor(230, 230, 230);
    combo_ = new QComboBox;
    combo_->setModel(subjects_);
    auto* popup = new QTableView;
    combo_->setView(popup);
    popup->horizontalHeader()->show();
    popup->verticalHeader()->hide();
    popup->setSelectionBehavior(QAbstractItemView::SelectRows);
    popup->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (std::size_t c = 0; c < subjects_->columns().size(); ++c)
      popup->setColumnWidth(static_cast<int>(c), w.PixelsX(subjects_->columns()[c].width));
    combo_->setMaxVisibleItems(20);
    for (QWidget* list : std::initializer_list<QWidget*>{combo_, popup}) listColours(*list);
    QFont bold = w.font();
    bold.setBold(true);
    combo_->setFont(bold);
    combo_->setStatusTip("Browsing Records");
    w.AddWidget(LIST, "?LIST", combo_, {8, 20, 432, 12});
    QObject::connect(combo_, &QComboBox::currentIndexChanged, this, [this](int i) {
      if (loading_ || i < 0) return;
      BRW1.Select(i);  // the subject's row fields into KAM:RECORD
      ResetGrades();
    });

    w.AddButton(BUTTON10, "?BUTTON10", "Planilla", style->standardIcon(QStyle::SP_FileDialogContentsView),
                {700, 120, 80, 24}, button);
    w.AddDisplay(KAM_CICLO, "?KAM:CICLO", fw::Variable::of(KAM.CICLO), fw::Picture::text(11),
                 {8, 36, 60, -1}, cycle);
    w.AddDisplay(KAM_CURSO, "?KAM:CURSO", fw::Variable::of(KAM.CURSO), fw::Picture::integer(3), {68, 36, 24, -1}, detail);
    w.AddDisplay(KAM_DIVISION, "?KAM:DIVISION", fw::Variable::of(KAM.DIVISION), fw::Picture::text(4),
                 {92, 36, 28, -1}, detail);
    w.AddDisplay(KAM_ESPECIALIDAD, "?KAM:ESPECIALIDAD", fw::Variable::of(KAM.ESPECIALIDAD), fw::Picture::text(40),
                 {120, 36, 240, -1}, detail);
    w.AddDisplay(KAM_MATERIA, "?KAM:MATERIA", fw::Variable::of(KAM.MATERIA), fw::Picture::text(60), {8, 52, 360, 12},
                 detail);

    auto* sheet = new QTabWidget;
    auto* page = new QWidget;
    sheet->addTab(page, "Informe de Progreso");
    w.AddWidget(SHEET1, "?SHEET1", sheet, {0, 71, 900, 377});
    w.Register(TAB1, "?TAB1", page);
    sheet->lower();  // the sheet lies beneath the controls drawn over it

    grades_ = new fw::BrowseModel(
        BRW2,
        {column("Nº Legajo", ROW_LEGAJO, 100, Qt::AlignHCenter, true,
                [](const char* b) { return fw::formatLong(b, false); }),
         column("ALUMNO", ROW_ALUMNO, 380, Qt::AlignLeft, false, text(30, 40)),
         column("Anual", ROW_ANUAL, 189, Qt::AlignHCenter, true, [](const char* b) { return fw::formatDecimalBlank(b, 4); }),
         column("FINAL", ROW_FINAL, 100, Qt::AlignHCenter, true, [](const char* b) { return fw::formatDecimalBlank(b, 4); }),
         column("ETADO", ROW_ETADO, 100, Qt::AlignHCenter, true, text(20, 20)),
         column("NRO_REGISTRO", ROW_NRO_REGISTRO, 60, Qt::AlignRight, true, grouped())},
        &w);
    auto& cols = const_cast<std::vector<fw::Column>&>(grades_->columns());
    cols[1].background = QColor(230, 230, 230);
    cols[5].color = cols[5].background = cols[5].selectedColor = cols[5].selectedBackground = QColor(Qt::black);
    table_ = new QTableView;
    table_->setModel(grades_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table_->verticalHeader()->hide();
    listColours(*table_);
    table_->setStatusTip("Browsing Records");
    w.AddWidget(LIST_2, "?LIST:2", table_, {8, 88, 684, 356});
    for (std::size_t c = 0; c < cols.size(); ++c) table_->setColumnWidth(static_cast<int>(c), w.PixelsX(cols[c].width));
    table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(table_->font()).height() + 4);
    table_->raise();
    table_->installEventFilter(this);
    QObject::connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                     [this](const QModelIndex& current) {
                       if (!loading_ && current.isValid()) BRW2.Select(current.row());
                     });
    QObject::connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
      if (index.isValid() && !eip_->Editing()) eip_->Start(index.row());
    });
    eip_ = std::make_unique<fw::BrowseEIPManager>(*table_, *grades_, BRW2, ROW_ANUAL, editor_);
    // A saved row is always consistent: the rule applies to the value it is saved with.
    eip_->BeforeSave = [this](int row) { ApplyStatusRuleToRow(BRW2, row); };
    eip_->AfterEdit = [this] { table_->setFocus(); };

    w.AddButton(BUTTON3, "?BUTTON3", "Salir", style->standardIcon(QStyle::SP_DialogCloseButton), {700, 152, 80, 24},
                button);
    QPushButton* insert = w.AddButton(INSERT, "?INSERT", "&Insert", QIcon(), {852, 4, 44, 24}, button);
    QPushButton* change = w.AddButton(CHANGE, "?CHANGE", "&Editar", style->standardIcon(QStyle::SP_FileDialogDetailedView),
                                      {700, 88, 80, 24}, button);
    QPushButton* del = w.AddButton(DELETE_, "?DELETE", "&Delete", QIcon(), {852, 32, 44, 24}, button);
    (void)change;
    for (QPushButton* b : {insert, del}) {
      b->hide();
      b->setEnabled(false);
      b->setFocusPolicy(Qt::NoFocus);
    }
  }

  std::unique_ptr<fw::Window> win_;
  fw::ToolbarClass toolbar_;
  fw::BrowseModel* subjects_ = nullptr;
  fw::BrowseModel* grades_ = nullptr;
  QComboBox* combo_ = nullptr;
  QTableView* table_ = nullptr;
  EditInPlace_KAL_EVALUACION_ANUAL editor_;
  std::unique_ptr<fw::BrowseEIPManager> eip_;
  bool loading_ = false;
};

}  // namespace

void RecalculateSubjectLines() {
  Access::KALIBRETA->SetPhysical();
  // Next ends the loop at the end of the file and on any read error alike.
  while (Access::KALIBRETA->Next() == fw::kLevelBenign) {
    if (KAL.COD_MATERIA.get() != KAM.NRO_REGISTRO.get()) continue;
    ApplyStatusRule(KAL.EVALUACION_ANUAL, KAL.FINAL, KAL.ETADO);
    Stamp();
    Access::KALIBRETA->Update();
  }
}

void Ventana_Seguimiento_Notas() {
  TrackingWindow ThisWindow;
  GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
}
