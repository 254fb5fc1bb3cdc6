// Writes records straight into a data file of the current directory, as the
// data tool would: creates the file if it is missing, opens it, and hands the
// test the file and a record buffer bound to it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "dictionary/records.h"
#include "store/data_file.h"

namespace kamo::testing {

inline void writeGradeBook(const std::function<void(store::DataFile&, KAL_RECORD&)>& write) {
  store::DataFile f(KALIBRETA);
  KAL_RECORD r;
  f.bind(r.image());
  if (!std::filesystem::exists(KALIBRETA.diskName)) {
    ASSERT_TRUE(f.create().ok());
  }
  ASSERT_TRUE(f.open().ok());
  write(f, r);
}

}  // namespace kamo::testing
