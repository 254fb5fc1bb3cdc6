#include "framework/window_manager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QValidator>
#include <cmath>

#include "store/codepage.h"

namespace fw {
namespace {

QString fromAnsi(std::string_view ansi) { return QString::fromStdString(store::cp::ansiToUtf8(ansi)); }

// Integers of up to `width` characters with an optional leading minus, and
// never beyond the 32-bit range of the variable: other keys are not taken.
class IntegerValidator : public QValidator {
 public:
  IntegerValidator(int width, QObject* parent) : QValidator(parent), width_(width) {}
  State validate(QString& input, int&) const override {
    if (input.size() > width_) return Invalid;
    int i = 0;
    if (i < input.size() && input[i] == '-') ++i;
    if (i == input.size()) return Intermediate;
    for (int k = i; k < input.size(); ++k)
      if (!input[k].isDigit() || input[k].unicode() > '9') return Invalid;
    bool ok = false;
    const qlonglong v = input.toLongLong(&ok);
    if (!ok || v < INT32_MIN || v > INT32_MAX) return Invalid;
    return Acceptable;
  }

 private:
  int width_;
};

}  // namespace

QString formatInteger(std::int64_t v) { return QString::number(v); }

QString formatDate(const store::Date& d) {
  if (d.empty()) return QString();
  return QString::asprintf("%02d/%02d/%04d", d.day(), d.month(), d.year());
}

void installFontSubstitutes() {
  QFont::insertSubstitution("Consolas", "Inconsolata");
  QFont::insertSubstitution("Calibri", "Carlito");
  QFont::insertSubstitution("Arial", "Liberation Sans");
}

// --- Window --------------------------------------------------------------------------

Window::Window(const QString& font, int points, QColor background, QSize size, bool resizable)
    : resizable_(resizable) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);  // no title text, so no caption bar
  setWindowModality(Qt::ApplicationModal);
  QFont f(font, points);
  setFont(f);
  const QFontMetrics m(f);
  charWidth_ = std::max(1, m.averageCharWidth());
  charHeight_ = std::max(1, m.height());
  QPalette p = palette();
  p.setColor(QPalette::Window, background);
  setPalette(p);
  setAutoFillBackground(true);
  setObjectName("window");
  setStyleSheet("QDialog#window { border: 1px solid #808080; }");  // a thin border
  const QSize px(PixelsX(size.width()), PixelsY(size.height()));
  if (resizable_) resize(px);
  else setFixedSize(px);
}

int Window::PixelsX(int dlu) const { return static_cast<int>(std::lround(dlu * charWidth_ / 4.0)); }
int Window::PixelsY(int dlu) const { return static_cast<int>(std::lround(dlu * charHeight_ / 8.0)); }
int Window::DluX(int px) const { return static_cast<int>(std::lround(px * 4.0 / charWidth_)); }
int Window::DluY(int px) const { return static_cast<int>(std::lround(px * 8.0 / charHeight_)); }

QRect Window::PixelRect(Rect r) const { return {PixelsX(r.x), PixelsY(r.y), PixelsX(r.w), PixelsY(r.h)}; }

QFont Window::fontFor(const Look& look) const {
  QFont f = font();
  if (!look.font.isEmpty()) f.setFamily(look.font);
  if (look.points > 0) f.setPointSize(look.points);
  f.setBold(look.bold);
  return f;
}

void Window::place(int n, const QString& label, QWidget* w, Rect r, const Look* look) {
  w->setParent(this);
  w->setObjectName(label);
  if (look) {
    w->setFont(fontFor(*look));
    QPalette p = w->palette();
    if (look->color) {
      p.setColor(QPalette::WindowText, *look->color);
      p.setColor(QPalette::Text, *look->color);
      p.setColor(QPalette::ButtonText, *look->color);
    }
    if (look->background) p.setColor(QPalette::Base, *look->background);
    if (look->selectedColor) p.setColor(QPalette::HighlightedText, *look->selectedColor);
    if (look->selectedBackground) p.setColor(QPalette::Highlight, *look->selectedBackground);
    w->setPalette(p);
    if (look->transparent) w->setAttribute(Qt::WA_TranslucentBackground);
  }
  QRect g = PixelRect(r);
  if (r.w < 0) g.setWidth(w->sizeHint().width());  // natural size
  if (r.h < 0) g.setHeight(QFontMetrics(w->font()).height());
  w->setGeometry(g);
  controls_[n] = w;
  labels_[n] = label;
}

QLabel* Window::AddString(int n, const QString& label, const QString& text, Rect r, const Look& look) {
  auto* l = new QLabel(text);
  if (look.centred) l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  place(n, label, l, r, &look);
  return l;
}

namespace {
// An entry whose text is selected whenever it gets the focus, so that typing
// replaces it, however the focus came.
class Entry : public QLineEdit {
 protected:
  void focusInEvent(QFocusEvent* e) override {
    QLineEdit::focusInEvent(e);
    selectAll();
  }
};
}  // namespace

QLineEdit* Window::AddEntry(int n, const QString& label, Variable v, Picture p, Rect r, const Look& look) {
  auto* e = new Entry;
  switch (p.kind) {
    case Picture::Integer:
      e->setValidator(new IntegerValidator(p.width, e));
      e->setMaxLength(p.width);
      e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      break;
    case Picture::Date:
      e->setInputMask("99/99/9999");  // day/month/four-digit year; typing overwrites
      break;
    case Picture::Text:
      e->setMaxLength(p.width);
      break;
  }
  place(n, label, e, r, &look);
  bindings_[n] = {v, p};
  return e;
}

QLabel* Window::AddDisplay(int n, const QString& label, Variable v, Picture p, Rect r, const Look& look) {
  QLabel* l = AddString(n, label, QString(), r, look);
  bindings_[n] = {v, p};
  return l;
}

QWidget* Window::AddLine(int n, const QString& label, Rect r, QColor color) {
  auto* line = new QWidget;
  QPalette p = line->palette();
  p.setColor(QPalette::Window, color);
  line->setPalette(p);
  line->setAutoFillBackground(true);
  place(n, label, line, r, nullptr);
  if (line->height() < 1) line->setFixedHeight(1);
  return line;
}

QPushButton* Window::AddButton(int n, const QString& label, const QString& text, const QIcon& icon, Rect r,
                               const Look& look, bool isDefault) {
  auto* b = new QPushButton(icon, text);
  b->setFlat(true);
  b->setAutoDefault(false);
  b->setDefault(isDefault);
  place(n, label, b, r, &look);
  if (isDefault) defaultButton_ = n;
  QObject::connect(b, &QPushButton::clicked, this, [this, n] {
    if (manager) manager->Dispatch(EventAccepted, n);
  });
  return b;
}

void Window::AddWidget(int n, const QString& label, QWidget* w, Rect r) { place(n, label, w, r, nullptr); }

void Window::Register(int n, const QString& label, QWidget* w) {
  w->setObjectName(label);
  controls_[n] = w;
  labels_[n] = label;
}

QWidget* Window::Control(int n) const {
  auto it = controls_.find(n);
  return it == controls_.end() ? nullptr : it->second;
}

int Window::NumberOf(const QObject* w) const {
  for (const auto& [n, c] : controls_)
    if (c == w) return n;
  return 0;
}

QString Window::LabelOf(int n) const {
  auto it = labels_.find(n);
  return it == labels_.end() ? QString() : it->second;
}

std::vector<int> Window::Numbers() const {
  std::vector<int> v;
  for (const auto& [n, c] : controls_) v.push_back(n);
  return v;
}

const Window::Binding* Window::BindingOf(int n) const {
  auto it = bindings_.find(n);
  return it == bindings_.end() ? nullptr : &it->second;
}

bool Window::isMaximized() const { return windowState() & Qt::WindowMaximized; }
bool Window::isMinimized() const { return windowState() & Qt::WindowMinimized; }
int Window::xPos() const { return DluX(x()); }
int Window::yPos() const { return DluY(y()); }
int Window::widthUnits() const { return DluX(QDialog::width()); }
int Window::heightUnits() const { return DluY(QDialog::height()); }

void Window::setPosition(std::optional<int> px, std::optional<int> py) {
  move(px ? PixelsX(*px) : x(), py ? PixelsY(*py) : y());
}

void Window::setSize(std::optional<int> w, std::optional<int> h) {
  resize(w ? PixelsX(*w) : QDialog::width(), h ? PixelsY(*h) : QDialog::height());
}

void Window::maximize() { setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized); }
void Window::restore() { setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized)); }
void Window::minimize() { setWindowState(windowState() | Qt::WindowMinimized); }

void Window::reject() {
  if (manager) manager->Dispatch(EventCloseWindow, 0);
}

void Window::closeEvent(QCloseEvent* e) {
  if (manager && !manager->Dead) {
    e->ignore();
    manager->Dispatch(EventCloseWindow, 0);
  } else {
    e->accept();
  }
}

// --- WindowManager ----------------------------------------------------------------------

WindowManager::WindowManager() = default;

WindowManager::~WindowManager() {
  if (window_) window_->manager = nullptr;
}

int WindowManager::Init() {
  Dead = false;
  Opened = false;
  return kLevelBenign;
}

int WindowManager::Kill() { return kLevelBenign; }

void WindowManager::Update() {}

void WindowManager::Reset(bool) { Display(); }

int WindowManager::TakeAccepted() { return kLevelBenign; }

int WindowManager::TakeFieldEvent() { return kLevelBenign; }

int WindowManager::TakeWindowEvent() { return event_ == EventCloseWindow ? kLevelFatal : kLevelBenign; }

int WindowManager::TakeEvent() {
  if (field_ == 0) return TakeWindowEvent();
  if (event_ == EventAccepted)
    if (int level = TakeAccepted(); level != kLevelBenign) return level;
  return TakeFieldEvent();
}

int WindowManager::Dispatch(int event, int field) {
  if (Dead) return kLevelFatal;
  const int oldEvent = event_, oldField = field_;
  event_ = event;
  field_ = field;
  const int level = TakeEvent();
  event_ = oldEvent;
  field_ = oldField;
  if (level == kLevelFatal) finish();
  return level;
}

void WindowManager::finish() {
  Dead = true;
  if (loop_) loop_->quit();
}

int WindowManager::Run() {
  int level = Init();
  if (level == kLevelBenign && !Dead) {
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
  }
  Kill();
  if (window_) {
    window_->manager = nullptr;
    window_->hide();
  }
  Dead = true;
  return Response ? Response : 2;
}

void WindowManager::Open(Window& w) {
  window_ = &w;
  w.manager = this;
  for (int n : w.Numbers()) {
    QWidget* c = w.Control(n);
    if (c->focusPolicy() != Qt::NoFocus) c->installEventFilter(this);
  }
  // Centred on the screen; a saved placement may move it afterwards.
  if (QScreen* screen = QApplication::primaryScreen()) {
    // A window wider or taller than the screen keeps its top-left corner on it.
    const QRect area = screen->availableGeometry();
    const QPoint corner = area.center() - QPoint(w.QDialog::width() / 2, w.QDialog::height() / 2);
    w.move(std::max(corner.x(), area.left()), std::max(corner.y(), area.top()));
  }
  Display();
  w.show();
  if (QGuiApplication::platformName() != "offscreen") w.raise();
  w.activateWindow();
  Opened = true;
  QTimer::singleShot(0, this, [this] {
    if (Dead || !window_) return;
    if (Dispatch(EventOpenWindow, 0) == kLevelFatal) return;
    // The focus goes to the first control at or after the first field that can take it.
    for (int n : window_->Numbers()) {
      QWidget* c = window_->Control(n);
      if (n >= FirstField && c->isVisible() && c->isEnabled() && c->focusPolicy() != Qt::NoFocus) {
        c->setFocus(Qt::OtherFocusReason);
        break;
      }
    }
  });
}

void WindowManager::Hide(int n) {
  if (QWidget* c = window_ ? window_->Control(n) : nullptr) {
    quiet_ = true;
    c->hide();
    quiet_ = false;
  }
}

void WindowManager::Unhide(int n) {
  if (QWidget* c = window_ ? window_->Control(n) : nullptr) {
    quiet_ = true;
    c->show();
    quiet_ = false;
  }
}

void WindowManager::SetX(int n, int x) {
  if (QWidget* c = window_ ? window_->Control(n) : nullptr) c->move(window_->PixelsX(x), c->y());
}

void WindowManager::SetY(int n, int y) {
  if (QWidget* c = window_ ? window_->Control(n) : nullptr) c->move(c->x(), window_->PixelsY(y));
}

void WindowManager::Select(int n) {
  if (QWidget* c = window_ ? window_->Control(n) : nullptr) c->setFocus(Qt::OtherFocusReason);
}

void WindowManager::Display(int only) {
  if (!window_) return;
  for (int n : window_->Numbers()) {
    if (only && n != only) continue;
    const Window::Binding* b = window_->BindingOf(n);
    if (!b) continue;
    QString text;
    switch (b->variable.type) {
      case Variable::Long: text = formatInteger(static_cast<const store::Long*>(b->variable.address)->get()); break;
      case Variable::Short: text = formatInteger(static_cast<const store::Short*>(b->variable.address)->get()); break;
      case Variable::Date: text = formatDate(*static_cast<const store::Date*>(b->variable.address)); break;
      case Variable::Text: {
        std::string_view s(static_cast<const char*>(b->variable.address),
                           static_cast<std::size_t>(std::min(b->variable.size, b->picture.width)));
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        text = fromAnsi(s);
        break;
      }
    }
    QWidget* c = window_->Control(n);
    if (auto* e = qobject_cast<QLineEdit*>(c)) {
      e->setText(text);
      if (e->hasFocus()) e->selectAll();  // as when it got the focus: typing replaces
      shown_[n] = e->text();
    } else if (auto* l = qobject_cast<QLabel*>(c)) {
      l->setText(text);
    }
  }
}

void WindowManager::TakeEntry(int n) {
  auto* e = qobject_cast<QLineEdit*>(window_->Control(n));
  const Window::Binding* b = window_->BindingOf(n);
  if (!e || !b) return;
  const QString text = e->text();
  shown_[n] = text;
  switch (b->variable.type) {
    case Variable::Long:
    case Variable::Short: {
      bool ok = false;
      const qlonglong v = text.toLongLong(&ok);
      const std::int32_t taken = ok && v >= INT32_MIN && v <= INT32_MAX ? static_cast<std::int32_t>(v) : 0;
      if (b->variable.type == Variable::Long) static_cast<store::Long*>(b->variable.address)->set(taken);
      else static_cast<store::Short*>(b->variable.address)->set(static_cast<std::int16_t>(taken));
      break;
    }
    case Variable::Date: {
      // Only a whole, real day/month/year date is taken; anything else is no date.
      store::Date d{};
      if (!store::Date::parse(text.trimmed().toStdString(), d).ok()) d.clear();
      *static_cast<store::Date*>(b->variable.address) = d;
      break;
    }
    case Variable::Text: {
      std::string ansi;
      if (!store::cp::utf8ToAnsi(text.toStdString(), ansi).ok()) ansi.clear();
      char* p = static_cast<char*>(b->variable.address);
      const std::size_t n2 = std::min(ansi.size(), static_cast<std::size_t>(b->variable.size));
      std::copy(ansi.begin(), ansi.begin() + static_cast<std::ptrdiff_t>(n2), p);
      std::fill(p + n2, p + b->variable.size, ' ');
      break;
    }
  }
}

bool WindowManager::eventFilter(QObject* watched, QEvent* e) {
  if (!window_ || Dead) return false;
  const int n = window_->NumberOf(watched);
  if (!n) return false;
  auto* entry = qobject_cast<QLineEdit*>(watched);
  switch (e->type()) {
    case QEvent::FocusIn:
      if (!quiet_) Dispatch(EventSelected, n);
      break;
    case QEvent::FocusOut: {
      const auto reason = static_cast<QFocusEvent*>(e)->reason();
      if (entry && !quiet_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
          entry->text() != shown_[n]) {
        // Accept once the focus has settled (a click elsewhere moved it).
        QTimer::singleShot(0, this, [this, n] {
          auto* e2 = window_ ? qobject_cast<QLineEdit*>(window_->Control(n)) : nullptr;
          if (Dead || !e2 || e2->text() == shown_[n]) return;
          TakeEntry(n);
          Dispatch(EventAccepted, n);
        });
      }
      break;
    }
    case QEvent::KeyPress: {
      if (!entry) break;
      const int key = static_cast<QKeyEvent*>(e)->key();
      const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
      if (!enter && key != Qt::Key_Tab && key != Qt::Key_Backtab) break;
      if (entry->text() != shown_[n]) {
        TakeEntry(n);
        if (Dispatch(EventAccepted, n) == kLevelFatal || Dead) return true;
      }
      if (enter) {
        const int d = window_->DefaultButton();
        QWidget* b = d ? window_->Control(d) : nullptr;
        if (b && b->isVisible() && b->isEnabled()) Dispatch(EventAccepted, d);
        return true;
      }
      // The accepted event may have moved the focus itself: then Tab is spent.
      return !entry->hasFocus();
    }
    default:
      break;
  }
  return false;
}

// --- message boxes ------------------------------------------------------------------------

void MessageBoxSink::show(const Message& m) {
  QMessageBox box(m.severity == kLevelNotify ? QMessageBox::Information : QMessageBox::Critical,
                  QString::fromStdString(m.title), QString::fromStdString(m.text), QMessageBox::Ok);
  box.exec();
}

}  // namespace fw
