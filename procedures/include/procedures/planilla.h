// The progress sheet's layout, shared by the report procedure and the data
// tool's PDF export.
#pragma once

#include <functional>
#include <vector>

#include "framework/report.h"

// The sheet's bands and controls. Values are read from the calling thread's
// KAL and KAM buffers when their band prints; `count` gives the footer's
// running count of detail rows.
fw::report::Layout PlanillaLayout(std::function<int()> count);

// For tests: the report procedure copies the pages of each completed run here
// (nullptr: nowhere).
void SetReportPagesObserver(std::vector<fw::report::Page>* pages);
