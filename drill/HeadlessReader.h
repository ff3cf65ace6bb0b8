#pragma once

#include <filesystem>

#include "drill/DrillRun.h"

namespace zdawnik {

// Shows a run's questions without a window: each drawn file of the bank is read into the run's
// question, and the answer sheet learns what a window would offer to answer (the answers of a choice
// question, the lists of a sentence question). A file the reader refuses is set aside with the
// reader's report.
DrillRun::ShowFile ReadFilesFrom(std::filesystem::path bankDir, DrillRun& run);

} // namespace zdawnik
