#pragma once
// Everything zrpack checks before it writes a byte: that setup will find what
// the script asks for in the package, and that the package can carry what the
// project holds. Each problem names its file and, in the script, its line.

#include <string>
#include <vector>

#include "problem_list.h"
#include "product_folder.h"

// The names the package gives the kit's programs and the archive.
constexpr char kScriptName[] = "Setup.ini";
constexpr char kSetupProgramName[] = "setup.exe";
constexpr char kArchiveName[] = "setup.zip";
constexpr char kStubName[] = "selfextract.exe";

// The two programs of the kit that go into a package.
struct Kit {
    std::string stubPath;   // the package's head, selfextract.exe
    std::string setupPath;  // carried as setup.exe
};

// The setup script and what it names (archive entries of the file sections,
// language files, the splash picture, licence and readme beside setup.exe),
// and the carried names (clashes, names a package cannot hold, their number).
void checkProject(const ProductFolder& folder, ProblemList* problems);

// Both kit programs exist and are Windows programs.
void checkKit(const Kit& kit, ProblemList* problems);

// The names the package carries, sorted: the project's top-level files,
// setup.exe and setup.zip.
std::vector<std::string> carriedNames(const ProductFolder& folder);

// True when text would change under setup's variable expansion: it holds a
// reference, that is two percent signs (a lone one stays as it is).
bool holdsReference(const std::string& text);
