#include "framework/browse_class.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "store/codepage.h"

namespace fw {

void BrowseClass::Init(RelationManager& relation) { relation_ = &relation; }

void BrowseClass::AddField(void* address, std::size_t size) {
  fields_.push_back({address, size, rowSize_});
  rowSize_ += size;
}

char* BrowseClass::Field(int row, int field) { return rows_[row].data.data() + fields_[field].offset; }

const char* BrowseClass::Field(int row, int field) const { return rows_[row].data.data() + fields_[field].offset; }

void BrowseClass::RecordToRow(int row) {
  for (const Field_& f : fields_) std::memcpy(rows_[row].data.data() + f.offset, f.address, f.size);
}

void BrowseClass::RowToRecord(int row) {
  for (const Field_& f : fields_) std::memcpy(f.address, rows_[row].data.data() + f.offset, f.size);
}

std::size_t BrowseClass::ResetQueue() {
  const store::Position was = selected_ >= 0 ? rows_[selected_].position : store::Position{};
  rows_.clear();
  selected_ = -1;
  FileManager& fm = File();
  if (setLimit_) setLimit_();
  if (fm.SetRange(key_, setLimit_ ? 1 : 0) == kLevelBenign) {
    while (fm.Next() == kLevelBenign) {
      Row r;
      r.data.resize(rowSize_);
      for (const Field_& f : fields_) std::memcpy(r.data.data() + f.offset, f.address, f.size);
      r.position = fm.Position();
      rows_.push_back(std::move(r));
    }
  }
  if (!rows_.empty()) {
    selected_ = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].position == was) selected_ = static_cast<int>(i);
  }
  UpdateBuffer();
  return rows_.size();
}

void BrowseClass::Select(int index) {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return;
  selected_ = index;
  UpdateBuffer();
}

void BrowseClass::UpdateBuffer() {
  if (rows_.empty()) File().ClearBuffer();
  else RowToRecord(selected_);
}

int BrowseClass::UpdateViewRecord() {
  if (rows_.empty()) return kLevelBenign;
  return File().Reget(rows_[selected_].position);
}

int BrowseClass::Locate(int field, char c, bool nocase) const {
  auto fold = [&](char ch) {
    const auto u = static_cast<unsigned char>(ch);
    return nocase ? static_cast<char>(store::cp::oemToAnsi(store::cp::oemUpper(store::cp::ansiToOem(u)))) : ch;
  };
  const char key = fold(c);
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const char first = fold(*Field(static_cast<int>(i), field));
    if (static_cast<unsigned char>(store::cp::ansiToOem(static_cast<unsigned char>(first))) >=
        static_cast<unsigned char>(store::cp::ansiToOem(static_cast<unsigned char>(key))))
      return static_cast<int>(i);
  }
  return -1;
}

int BrowseClass::SaveRow(int row) {
  FileManager& fm = File();
  // The row's fields go over its record as read when editing started, so a
  // change another station made since then is detected, not overwritten.
  if (fm.Position() != rows_[row].position && fm.Reget(rows_[row].position) != kLevelBenign) return kLevelNotify;
  RowToRecord(row);
  const int level = relation_->Update(true);
  RecordToRow(row);  // saved, or the stored version after a refused write
  return level;
}

void BrowseClass::ReloadRow(int row) {
  if (File().Reget(rows_[row].position) == kLevelBenign) RecordToRow(row);
}

}  // namespace fw
