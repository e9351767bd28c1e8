// Where the suite finds its generated pictures and documents and where its
// communication log goes. Both follow from the program's own location, so the
// same program runs from its build tree and from wherever it was installed,
// never from a path fixed when it was built.
#pragma once

#include <QString>

namespace common {

// The folder of the generated pictures and documents:
//   PROGRAM_DIR/assets                      a build tree (the suite, the driver, the tests)
//   PROGRAM_DIR/../assets                   a build tree's subfolder (the benchmarks)
//   PROGRAM_DIR/../share/tormalind-utility  an installed tree (PREFIX/bin beside PREFIX/share)
// The first that exists, looked up once per run; the first candidate when none does.
QString DataFolder();

// True when the program runs from an installed tree.
bool RunsInstalled();

// The folder of the log file. Beside the program in a build tree whose folder
// takes a new file; otherwise (an installed program, a read-only folder) the
// user's own data folder, where a surveyor without rights to the program's
// folder may write. Empty when the chosen folder cannot be made.
QString LogFolder();

// The choice LogFolder makes, for the program's folder and the user's data folder.
QString ChooseLogFolder(const QString& programFolder, bool installed, const QString& userDataFolder);

} // namespace common
