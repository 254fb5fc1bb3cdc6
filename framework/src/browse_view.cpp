#include "framework/browse_view.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "framework/window_manager.h"
#include "store/codepage.h"
#include "store/decimal.h"
#include "store/field_types.h"

namespace fw {

QString formatText(const char* ansi, std::size_t size, std::size_t width) {
  std::string_view s(ansi, std::min(size, width));
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return QString::fromStdString(store::cp::ansiToUtf8(s));
}

QString formatLong(const char* bytes, bool grouped) {
  const std::int32_t v = reinterpret_cast<const store::Long*>(bytes)->get();
  if (!grouped) return QString::number(v);
  QString digits = QString::number(v < 0 ? -static_cast<std::int64_t>(v) : v);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, '.');
  return v < 0 ? "-" + digits : digits;
}

QString formatShort(const char* bytes) { return QString::number(reinterpret_cast<const store::Short*>(bytes)->get()); }

QString formatDecimalBlank(const char* bytes, std::size_t size) {
  const store::Dec d = store::packed::decode(reinterpret_cast<const unsigned char*>(bytes), size);
  return d.isZero() ? QString() : QString::fromStdString(d.toString());
}

// --- BrowseModel --------------------------------------------------------------------------

BrowseModel::BrowseModel(BrowseClass& browse, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), browse_(browse), columns_(std::move(columns)) {}

int BrowseModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(browse_.Records());
}

int BrowseModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant BrowseModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Column& c = columns_[index.column()];
  switch (role) {
    case Qt::DisplayRole: return c.format(browse_.Field(index.row(), c.field));
    case Qt::TextAlignmentRole: return QVariant::fromValue(c.align | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      if (index.row() == editingRow_ && index.column() != editingColumn_) return QColor(Qt::gray);
      return c.color ? QVariant(*c.color) : QVariant();
    case Qt::BackgroundRole: return c.background ? QVariant(*c.background) : QVariant();
    default: return {};
  }
}

QVariant BrowseModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) return {};
  const Column& c = columns_[section];
  if (role == Qt::DisplayRole) return c.header;
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue((c.headerLeft ? Qt::AlignLeft : (c.align & Qt::AlignHorizontal_Mask)) | Qt::AlignVCenter);
  return {};
}

void BrowseModel::Reload() {
  beginResetModel();
  endResetModel();
}

void BrowseModel::RowChanged(int row) {
  if (row >= 0 && row < rowCount()) emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void BrowseModel::SetEditing(int row, int column) {
  const int old = editingRow_;
  editingRow_ = row;
  editingColumn_ = column;
  RowChanged(old);
  RowChanged(row);
}

// --- edit in place ------------------------------------------------------------------------------

int EditEntryClass::TakeEvent(int event) {
  if (event != EventAlertKey) return EditActionNone;
  switch (Key) {
    case Qt::Key_Tab: return EditActionForward;
    case Qt::Key_Backtab: return EditActionBackward;
    case Qt::Key_Return:
    case Qt::Key_Enter: return EditActionComplete;
    case Qt::Key_Escape: return EditActionCancel;
    case Qt::Key_Up: return EditActionPrevious;
    case Qt::Key_Down: return EditActionNext;
    default: return EditActionNone;
  }
}

BrowseEIPManager::BrowseEIPManager(QTableView& view, BrowseModel& model, BrowseClass& browse, int column,
                                   EditEntryClass& editor)
    : view_(view), model_(model), browse_(browse), column_(column), editor_(editor) {
  editor_.Manager = this;
  edit_ = new QLineEdit(view_.viewport());
  edit_->setObjectName("EditInPlace");
  edit_->hide();
  // What the column holds: digits, one decimal separator ("." or ","), two
  // decimals at most, 99.99 at most.
  edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(R"(\d{0,2}([.,]\d{0,2})?)"), edit_));
  edit_->setAlignment(Qt::AlignCenter);
  edit_->installEventFilter(this);
}

void BrowseEIPManager::Place() {
  const QModelIndex cell = model_.index(row_, column_);
  view_.scrollTo(cell);
  edit_->setGeometry(view_.visualRect(cell));
}

int BrowseEIPManager::Deliver(int event) {
  browse_.File().LastError = 0;
  const int action = editor_.TakeEvent(event);
  model_.RowChanged(row_);
  if (browse_.File().LastError == store::kRecordChanged) {
    // Another station changed the line: show what it wrote, keep nothing typed.
    browse_.RecordToRow(row_);
    Stop();
    return -1;
  }
  return action;
}

void BrowseEIPManager::Start(int row) {
  if (row < 0 || row >= static_cast<int>(browse_.Records())) return;
  busy_ = true;
  row_ = row;
  browse_.Select(row);
  view_.selectRow(row);
  browse_.File().Reget(browse_.RowAt(row).position);  // the record as read when editing starts
  model_.SetEditing(row, column_);
  const Column& c = model_.columns()[column_];
  edit_->setText(c.format(browse_.Field(row, c.field)));
  Place();
  edit_->show();
  edit_->setFocus(Qt::OtherFocusReason);
  edit_->selectAll();
  busy_ = false;
  if (Deliver(EventSelected) < 0) return;
  // The editor follows what the hook made of the row's value.
  edit_->setText(c.format(browse_.Field(row, c.field)));
  edit_->selectAll();
  shown_ = edit_->text();
}

void BrowseEIPManager::TakeText() {
  const Column& c = model_.columns()[column_];
  store::Dec d;
  QString text = edit_->text().trimmed();
  if (text.isEmpty() || !store::Dec::parse(text.toStdString(), d).ok()) d = store::Dec();
  auto* field = reinterpret_cast<unsigned char*>(browse_.Field(row_, c.field));
  if (!store::packed::encode(d, field, browse_.FieldSize(c.field)).ok()) return;  // cannot happen: 99.99 at most
  shown_ = edit_->text();
}

void BrowseEIPManager::Save() {
  if (BeforeSave) BeforeSave(row_);
  browse_.SaveRow(row_);
  model_.RowChanged(row_);
}

void BrowseEIPManager::Stop() {
  busy_ = true;
  const int row = row_;
  row_ = -1;
  model_.SetEditing(-1, -1);
  edit_->hide();
  view_.setFocus(Qt::OtherFocusReason);
  if (row >= 0) {
    view_.selectRow(row);
    browse_.Select(row);
  }
  busy_ = false;
  if (AfterEdit) AfterEdit();
}

bool BrowseEIPManager::eventFilter(QObject* watched, QEvent* e) {
  if (watched != edit_ || row_ < 0 || busy_) return false;
  if (e->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(e)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
    // Leaving the editor saves the row without asking.
    if (edit_->text() != shown_) {
      if (Deliver(EventAccepted) < 0) return false;
      TakeText();
    }
    Save();
    Stop();
    return false;
  }
  if (e->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(e)->key();
  const bool editingKey = key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return ||
                          key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_Up || key == Qt::Key_Down;
  if (!editingKey) return false;
  editor_.Key = key;
  if (Deliver(EventPreAlertKey) < 0) return true;
  const int action = Deliver(EventAlertKey);
  if (action < 0) return true;
  if (action != EditActionCancel) TakeText();
  switch (action) {
    case EditActionComplete:
    case EditActionForward:
      Save();
      Stop();
      break;
    case EditActionCancel:
      browse_.ReloadRow(row_);
      model_.RowChanged(row_);
      Stop();
      break;
    case EditActionNext:
    case EditActionPrevious: {
      Save();
      const int next = row_ + (action == EditActionNext ? 1 : -1);
      const int last = static_cast<int>(browse_.Records()) - 1;
      Start(next < 0 || next > last ? row_ : next);
      break;
    }
    default:
      break;  // Shift+Tab: stay on the column
  }
  return true;
}

}  // namespace fw
