// A browse list's data: the rows of a view over one file, in a key's order,
// limited to the records whose leading key component equals a value, each row
// a copy of the record fields the list shows plus the record's position.
//
// Buffer rules the procedures rely on:
//  1. After a (re)load, a list with rows has copied its selected row's fields
//     into the record buffer; an empty list has cleared the whole buffer.
//  2. Selecting a row copies its fields into the record buffer.
//  3. UpdateViewRecord re-reads the selected row's whole record into the
//     buffer (nothing happens for an empty list).
//  4. Saving a row copies its fields into the buffer and writes the record.
// Rows are read through the file manager, never from the file directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/file_manager.h"

namespace fw {

class BrowseClass {
 public:
  struct Row {
    std::string data;          // the row fields, one after another
    store::Position position;  // VIEWPOSITION: the row's record
    std::uint8_t mark = 0;     // MARK
  };

  // The list reads through `relation`'s file manager in `key` order.
  void Init(RelationManager& relation);
  void AddSortOrder(int key) { key_ = key; }
  // Before each load `setLimit` puts the limit value into the key's first
  // component in the record buffer; only records equal to it are listed.
  void AddRange(std::function<void()> setLimit) { setLimit_ = std::move(setLimit); }
  // A row field paired with the record field at `address` (`size` bytes).
  void AddField(void* address, std::size_t size);

  // Reloads the rows; keeps the selection on the same record when it is still
  // listed. Returns the number of rows.
  std::size_t ResetQueue();
  std::size_t Records() const { return rows_.size(); }
  int Selected() const { return selected_; }  // -1 when empty
  void Select(int index);                     // rule 2
  void UpdateBuffer();                        // rule 1 for the current selection
  int UpdateViewRecord();                     // rule 3
  // A step locator: the first row whose field `field` is at or after `c`
  // (upper-cased first when `nocase`), or -1.
  int Locate(int field, char c, bool nocase) const;

  const Row& RowAt(int i) const { return rows_[i]; }
  Row& RowAt(int i) { return rows_[i]; }
  char* Field(int row, int field);
  const char* Field(int row, int field) const;
  std::size_t FieldSize(int field) const { return fields_[field].size; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  void RecordToRow(int row);
  void RowToRecord(int row);
  // Rule 4: writes the row through the relation manager (in a transaction);
  // the row then shows what the file holds.
  int SaveRow(int row);
  // Re-reads the row's record and shows the stored values again.
  void ReloadRow(int row);

  FileManager& File() const { return *relation_->Me; }
  RelationManager& Relation() const { return *relation_; }

 private:
  struct Field_ {
    void* address;
    std::size_t size;
    std::size_t offset;  // in Row::data
  };
  RelationManager* relation_ = nullptr;
  int key_ = 0;
  std::function<void()> setLimit_;
  std::vector<Field_> fields_;
  std::size_t rowSize_ = 0;
  std::vector<Row> rows_;
  int selected_ = -1;
};

}  // namespace fw
