#include "framework/preview.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace fw::report {

// The widget a page is painted on, at the preview's zoom.
class PreviewWindow::Canvas : public QWidget {
 public:
  explicit Canvas(PreviewWindow& owner) : owner_(owner) {}
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    if (owner_.page_ < static_cast<int>(owner_.pages_.size()))
      Replay(owner_.pages_[owner_.page_], p, logicalDpiX(), owner_.zoom_ / 100.0);
  }

 private:
  PreviewWindow& owner_;
};

PreviewWindow::PreviewWindow(const Layout& layout, const std::vector<Page>& pages, INIClass* ini)
    : layout_(layout), pages_(pages), ini_(ini) {
  setObjectName("_PreviewWindow_");
  setWindowTitle("Vista previa - " + layout.documentName);
  const QFontMetrics m(font());
  unitX_ = std::max(1, m.averageCharWidth()) / 4.0;
  unitY_ = std::max(1, m.height()) / 8.0;

  auto* first = new QPushButton("|<");
  auto* previous = new QPushButton("<");
  auto* next = new QPushButton(">");
  auto* last = new QPushButton(">|");
  first->setObjectName("primera");
  previous->setObjectName("anterior");
  next->setObjectName("siguiente");
  last->setObjectName("ultima");
  pageLabel_ = new QLabel;
  pageLabel_->setObjectName("pagina");
  auto* presets = new QComboBox;
  presets->setObjectName("zoom");
  for (int z : {50, 75, 100, 150, 200}) presets->addItem(QString::number(z) + " %", z);
  presets->setCurrentIndex(2);
  zoomBox_ = new QSpinBox;
  zoomBox_->setObjectName("zoomPropio");
  zoomBox_->setRange(10, 400);
  zoomBox_->setSuffix(" %");
  zoomBox_->setValue(100);
  auto* print = new QPushButton("Imprimir...");
  print->setObjectName("imprimir");
  auto* pdf = new QPushButton("Guardar PDF...");
  pdf->setObjectName("guardarPdf");
  auto* close = new QPushButton("Cerrar");
  close->setObjectName("cerrar");

  auto* bar = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{first, previous, pageLabel_, next, last, presets, zoomBox_, print,
                                                    pdf, close})
    bar->addWidget(w);
  bar->addStretch();
  canvas_ = new Canvas(*this);
  canvas_->setObjectName("pagina_dibujada");
  auto* scroll = new QScrollArea;
  scroll->setWidget(canvas_);
  scroll->setAlignment(Qt::AlignCenter);
  auto* layoutBox = new QVBoxLayout(this);
  layoutBox->addLayout(bar);
  layoutBox->addWidget(scroll);
  resize(1000, 700);

  connect(first, &QPushButton::clicked, this, [this] { ShowPage(0); });
  connect(previous, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
  connect(next, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
  connect(last, &QPushButton::clicked, this, [this] { ShowPage(static_cast<int>(pages_.size()) - 1); });
  connect(presets, &QComboBox::activated, this, [this, presets](int i) { SetZoom(presets->itemData(i).toInt()); });
  connect(zoomBox_, &QSpinBox::valueChanged, this, [this](int z) { SetZoom(z); });
  connect(print, &QPushButton::clicked, this, [this] { Print(); });
  connect(pdf, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, "Guardar la planilla", layout_.documentName + ".pdf",
                                                      "PDF (*.pdf)");
    if (!path.isEmpty()) SavePdf(path);
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  refresh();
}

void PreviewWindow::refresh() {
  const double s = canvas_->logicalDpiX() / 25.4 * zoom_ / 100.0;
  canvas_->resize(static_cast<int>(std::lround(layout_.pageWidth * s)),
                  static_cast<int>(std::lround(layout_.pageHeight * s)));
  pageLabel_->setText(QString("Página %1 de %2").arg(page_ + 1).arg(pages_.size()));
  canvas_->update();
}

void PreviewWindow::ShowPage(int page) {
  if (pages_.empty()) return;
  page_ = std::clamp(page, 0, static_cast<int>(pages_.size()) - 1);
  refresh();
}

void PreviewWindow::SetZoom(int percent) {
  zoom_ = std::clamp(percent, 10, 400);
  if (zoomBox_->value() != zoom_) zoomBox_->setValue(zoom_);
  refresh();
}

bool PreviewWindow::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(layout_.documentName);
  printer.setPageOrientation(layout_.orientation);
  printer.setFullPage(true);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (i > 0) printer.newPage();
    Replay(pages_[i], painter, printer.resolution());
  }
  printed_ = painter.end();
  return printed_;
}

bool PreviewWindow::SavePdf(const QString& path) { return WritePdf(layout_, pages_, path); }

bool PreviewWindow::Run() {
  if (ini_) ini_->Fetch("_PreviewWindow_", *this);
  exec();
  if (ini_) ini_->Update("_PreviewWindow_", *this);
  return printed_;
}

int PreviewWindow::xPos() const { return static_cast<int>(std::lround(x() / unitX_)); }
int PreviewWindow::yPos() const { return static_cast<int>(std::lround(y() / unitY_)); }
int PreviewWindow::widthUnits() const { return static_cast<int>(std::lround(width() / unitX_)); }
int PreviewWindow::heightUnits() const { return static_cast<int>(std::lround(height() / unitY_)); }

void PreviewWindow::setPosition(std::optional<int> px, std::optional<int> py) {
  move(px ? static_cast<int>(std::lround(*px * unitX_)) : x(), py ? static_cast<int>(std::lround(*py * unitY_)) : y());
}

void PreviewWindow::setSize(std::optional<int> w, std::optional<int> h) {
  resize(w ? static_cast<int>(std::lround(*w * unitX_)) : width(), h ? static_cast<int>(std::lround(*h * unitY_)) : height());
}

}  // namespace fw::report
