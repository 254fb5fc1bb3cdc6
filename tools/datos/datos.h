// kamo-datos: the command-line companion that loads, exports, checks and
// repairs KAMO's data files and creates a demo school. Messages are in Spanish.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace kamo::datos {

// Runs one command line (without the program name). Returns the exit status:
// 0 done, 1 the work failed (bad data, a file refused), 2 a usage error.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Creates the demo school in `dir` (which must hold no data file yet) and
// describes its teachers on `out`. Returns false with a message in `error`.
bool createDemoSchool(const std::string& dir, std::ostream& out, std::string& error);

// Writes the progress sheet of subject `nro` of the data files in `dir` as a
// PDF file at `pdf`. Returns the number of pages, or -1 with a message (an
// unknown subject, a subject without lines, a file that cannot be written).
int writePlanillaPdf(const std::string& dir, std::int32_t nro, const std::string& pdf, std::string& message);

}  // namespace kamo::datos
