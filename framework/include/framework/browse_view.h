// Browse lists on Qt: a table model over a BrowseClass's rows with the
// columns' headers, widths, formats and colours, and the edit-in-place
// component that edits one column of a row through an editor placed over the
// cell, with key handling of our own:
//
//   key            editor action (EditEntryClass)   what the manager does
//   Enter          Complete                          take the text, save the row, stop
//   Tab            Forward (no next column)          same as Enter
//   Shift+Tab      Backward                          stay on the column
//   Up / Down      Previous / Next                   take the text, save, edit the row above/below
//                                                    (the same row at either end)
//   Esc            Cancel                            discard: the row shows the file again
//   focus lost     —                                 take the text, save, stop
//
// Every event of the editor (focus gained, value accepted, each key twice: a
// pre-key event and the key event) goes to the editor's TakeEvent first,
// which a program may override. A write of the row's record refused because
// another station changed it stops the editing with the stored values shown.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QLineEdit>
#include <QTableView>

#include <functional>
#include <optional>
#include <vector>

#include "framework/browse_class.h"

namespace fw {

struct Column {
  QString header;
  int field = 0;                        // row field shown
  int width = 0;                        // dialog units
  Qt::Alignment align = Qt::AlignLeft;  // of the data
  bool headerLeft = false;
  std::function<QString(const char*)> format;
  std::optional<QColor> color, background, selectedColor, selectedBackground;
};

// Display formats of list columns and pictures.
QString formatText(const char* ansi, std::size_t size, std::size_t width);
QString formatLong(const char* bytes, bool grouped);
QString formatShort(const char* bytes);
// Two decimals, blank when zero ("8.50").
QString formatDecimalBlank(const char* bytes, std::size_t size);

class BrowseModel : public QAbstractTableModel {
 public:
  BrowseModel(BrowseClass& browse, std::vector<Column> columns, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  void Reload();            // after the browse reloaded its rows
  void RowChanged(int row);
  void SetEditing(int row, int column);  // -1: none; other columns of the row show grey
  const std::vector<Column>& columns() const { return columns_; }

 private:
  BrowseClass& browse_;
  std::vector<Column> columns_;
  int editingRow_ = -1, editingColumn_ = -1;
};

// Editing actions.
enum EditAction : int {
  EditActionNone = 0,
  EditActionForward = 1,
  EditActionBackward = 2,
  EditActionComplete = 3,
  EditActionCancel = 4,
  EditActionNext = 5,
  EditActionPrevious = 6,
};

// Events of the editor besides EventAccepted and EventSelected.
enum : int {
  EventPreAlertKey = 0x301,
  EventAlertKey = 0x302,
};

class BrowseEIPManager;

class EditEntryClass {
 public:
  virtual ~EditEntryClass() = default;
  // Returns the action for the event: the framework's mapping of the editing keys.
  virtual int TakeEvent(int event);
  int Key = 0;                          // the key of a (pre-)key event
  BrowseEIPManager* Manager = nullptr;
};

class BrowseEIPManager : public QObject {
 public:
  BrowseEIPManager(QTableView& view, BrowseModel& model, BrowseClass& browse, int column, EditEntryClass& editor);
  void Start(int row);  // starts editing `row` in the editable column
  bool Editing() const { return row_ >= 0; }
  int Row() const { return row_; }
  QLineEdit& Editor() { return *edit_; }
  // Runs just before a row is saved (the program keeps the row consistent).
  std::function<void(int row)> BeforeSave;
  // Runs after editing stops, whichever way.
  std::function<void()> AfterEdit;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  int Deliver(int event);   // the editor's TakeEvent; false when a conflict ended editing
  void TakeText();
  void Save();
  void Stop();
  void Place();
  QTableView& view_;
  BrowseModel& model_;
  BrowseClass& browse_;
  int column_;
  EditEntryClass& editor_;
  QLineEdit* edit_;
  int row_ = -1;
  bool busy_ = false;
  QString shown_;
};

}  // namespace fw
