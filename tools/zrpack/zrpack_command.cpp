#include "zrpack_command.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "package_directory.h"
#include "package_writer.h"
#include "project_check.h"
#include "setup_zip.h"
#include "work_folder.h"

namespace {

const char kUsage[] =
    "usage: zrpack build PROJECT_DIR -o PACKAGE.exe [--kit DIR] [--stub FILE] [--setup FILE]\n"
    "       zrpack list PACKAGE\n"
    "       zrpack verify PACKAGE\n"
    "       zrpack extract PACKAGE DIR\n"
    "       zrpack --help\n"
    "\n"
    "build    checks the product folder PROJECT_DIR and writes the package PACKAGE.exe:\n"
    "         the files at the top of PROJECT_DIR travel beside setup.exe, payload/\n"
    "         becomes setup.zip. Every problem found is reported and nothing is written.\n"
    "         --kit DIR     the kit's programs (selfextract.exe, setup.exe); default:\n"
    "                       win32/ beside the folder that holds zrpack\n"
    "         --stub FILE   the package stub instead of the kit's selfextract.exe\n"
    "         --setup FILE  the setup engine instead of the kit's setup.exe\n"
    "         Archive entries carry their files' modification times in local time (TZ).\n"
    "list     shows the carried files (name, size, offset) and the program to run\n"
    "verify   checks the package's directory and checksum\n"
    "extract  verifies the package and writes its files into DIR\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 a command line not understood.\n";

void say(Console& console, const std::string& line) { console.err << "zrpack: " << line << "\n"; }

int usageError(Console& console, const std::string& line) {
    say(console, line);
    console.err << "usage: zrpack build PROJECT_DIR -o PACKAGE.exe [--kit DIR] [--stub FILE] [--setup FILE]\n"
                   "       zrpack list|verify PACKAGE | zrpack extract PACKAGE DIR | zrpack --help\n";
    return kExitUsage;
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// folder is inside (or is) container, both as the file system resolves them.
bool isInside(const std::string& folder, const std::string& container) {
    char resolvedFolder[PATH_MAX], resolvedContainer[PATH_MAX];
    if (!realpath(folder.c_str(), resolvedFolder) || !realpath(container.c_str(), resolvedContainer))
        return false;
    const std::string inner = resolvedFolder, outer = resolvedContainer;
    return inner == outer || inner.compare(0, outer.size() + 1, outer + "/") == 0;
}

std::string hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08" PRIX32, value);
    return text;
}

// "[ 3/12] payload: AppDir\tool.exe", on a terminal one line rewritten in
// place; elsewhere (a log, a pipe) nothing, so that logs stay short.
class Progress {
public:
    Progress(Console& console, size_t total) : console_(console), total_(total) {}
    ~Progress() { finish(); }

    void step(size_t done, const std::string& what) {
        if (!console_.terminal)
            return;
        const std::string width = std::to_string(total_);
        std::string count = std::to_string(done);
        count.insert(0, width.size() - std::min(width.size(), count.size()), ' ');
        std::string line = "[" + count + "/" + width + "] " + what;
        const size_t room = console_.columns > 1 ? static_cast<size_t>(console_.columns - 1) : 79;
        if (line.size() > room)
            line.resize(room);
        console_.err << "\r\x1b[K" << line << std::flush;
        shown_ = true;
    }
    void finish() {
        if (shown_)
            console_.err << "\r\x1b[K" << std::flush;
        shown_ = false;
    }

private:
    Console& console_;
    size_t total_;
    bool shown_ = false;
};

struct BuildOptions {
    std::string project;
    std::string output;
    std::string kit;
    std::string stub;
    std::string setup;
};

// Where the package goes must be a folder that exists, outside the project
// (the next build would carry it) and not one of the kit's programs.
void checkOutput(const BuildOptions& options, const Kit& kit, ProblemList* problems) {
    const std::string folder = parentOf(options.output);
    struct stat st;
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        problems->error(options.output, 0, "the folder " + folder + " does not exist");
        return;
    }
    if (stat(options.output.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        problems->error(options.output, 0, "is a folder; name the package file to write");
        return;
    }
    if (sameFile(folder, options.project) || isInside(folder, options.project + "/payload"))
        problems->error(options.output, 0,
                        "lies in the project folder, whose files the next build would carry; write it elsewhere");
    if (sameFile(options.output, kit.stubPath) || sameFile(options.output, kit.setupPath))
        problems->error(options.output, 0, "would replace a program of the kit");
}

struct WriteContext {
    Progress* progress;
    size_t before;  // steps done before the package writing began
};

void onPackageFile(size_t done, size_t, const package::CarriedFile& file, void* value) {
    WriteContext* context = static_cast<WriteContext*>(value);
    context->progress->step(context->before + done, "package: " + file.name);
}

int build(const BuildOptions& options, Console& console) {
    Kit kit;
    const std::string kitFolder =
        options.kit.empty() ? defaultKitFolder(console.programPath) : withoutTrailingSlashes(options.kit);
    kit.stubPath = options.stub.empty() ? kitFolder + "/" + kStubName : options.stub;
    kit.setupPath = options.setup.empty() ? kitFolder + "/" + kSetupProgramName : options.setup;

    ProductFolder folder;
    ProblemList problems;
    struct stat st;
    if (stat(options.project.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        problems.error(options.project, 0, "no such project folder");
    } else {
        scanProductFolder(options.project, &folder, &problems);
        checkProject(folder, &problems);
    }
    checkKit(kit, &problems);
    checkOutput(options, kit, &problems);

    for (const Problem& problem : problems.inFileOrder())
        say(console, formatProblem(problem));
    if (problems.errorCount() > 0) {
        const int errors = problems.errorCount();
        say(console, std::to_string(errors) + (errors == 1 ? " problem" : " problems") +
                         " found; no package written");
        return kExitFailure;
    }

    WorkFolder work;
    std::string error;
    if (!work.create(parentOf(options.output), &error)) {
        say(console, error);
        return kExitFailure;
    }
    const std::string archive = work.file(kArchiveName);
    const std::string written = work.file("package.tmp");

    std::vector<package::CarriedFile> carried;
    for (const TopFile& file : folder.files)
        carried.push_back({file.name, file.path});
    carried.push_back({kSetupProgramName, kit.setupPath});
    carried.push_back({kArchiveName, archive});
    std::sort(carried.begin(), carried.end(),
              [](const package::CarriedFile& a, const package::CarriedFile& b) { return a.name < b.name; });

    Progress progress(console, folder.payload.size() + carried.size());
    if (!writeSetupZip(folder.payload, archive, &error, [&](size_t done, const PayloadFile& file) {
            progress.step(done, "payload: " + file.entryName);
        })) {
        progress.finish();
        say(console, error);
        return kExitFailure;
    }
    // A package's sizes are 32-bit; the writer would not see a larger archive whole.
    if (stat(archive.c_str(), &st) != 0 || static_cast<uint64_t>(st.st_size) >= 0xFFFFFFFFull) {
        progress.finish();
        say(console, "setup.zip would be 4 GB or more; a package cannot carry it");
        return kExitFailure;
    }
    WriteContext context{&progress, folder.payload.size()};
    if (!package::writePackage(kit.stubPath, carried, kSetupProgramName, written, &error, onPackageFile,
                               &context)) {
        progress.finish();
        say(console, error);
        return kExitFailure;
    }
    progress.finish();
    if (std::rename(written.c_str(), options.output.c_str()) != 0) {
        say(console, "cannot move the package to " + options.output + " (" + std::strerror(errno) + ")");
        return kExitFailure;
    }
    work.remove();

    uint64_t size = stat(options.output.c_str(), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    console.out << "wrote " << options.output << ": " << carried.size() << " files ("
                << folder.payload.size() << " in setup.zip), " << size << " bytes\n";
    return kExitSuccess;
}

// Loads the directory and compares the checksum; *problem says what is wrong.
bool verifyPackage(const std::string& path, PackageDirectory* directory, uint32_t* crc, std::string* problem) {
    const int result = directory->load(path.c_str());
    if (result == package::kCannotOpen) {
        *problem = "cannot open " + path;
        return false;
    }
    if (result == package::kNoMarker) {
        // The reader gives one code for both; the marker tells them apart.
        char marker[package::kMarkerSize] = {};
        bool hasMarker = false;
        if (FILE* file = std::fopen(path.c_str(), "rb")) {
            hasMarker = std::fseek(file, -static_cast<long>(package::kMarkerSize), SEEK_END) == 0 &&
                        std::fread(marker, 1, sizeof marker, file) == sizeof marker &&
                        std::memcmp(marker, package::kMarker, sizeof marker) == 0;
            std::fclose(file);
        }
        *problem = hasMarker ? path + ": damaged directory (its counts, names or offsets do not hold together)"
                             : path + ": not a package (no \"<ZR_SEA>\" marker at its end)";
        return false;
    }
    if (result == package::kNoFiles) {
        *problem = path + ": damaged directory (no files, or more than " + std::to_string(package::kMaxFiles) + ")";
        return false;
    }
    if (result != package::kSuccess) {
        *problem = path + ": cannot be read (code " + std::to_string(result) + ")";
        return false;
    }
    uint32_t stored = 0;
    unsigned char block[package::kCheckBlockSize];
    if (!directory->readStoredCrc(path.c_str(), block, sizeof block)) {
        *problem = path + ": damaged (no check block of 4 bytes)";
        return false;
    }
    stored = package::readLE32(block);
    if (!directory->computeCrc(path.c_str(), crc)) {
        *problem = "cannot read " + path;
        return false;
    }
    if (*crc != stored) {
        *problem = path + ": checksum mismatch (stored " + hex32(stored) + ", computed " + hex32(*crc) +
                   "); the package is damaged";
        return false;
    }
    for (uint32_t i = 0; i < directory->fileCount(); ++i) {
        if (directory->file(i).name.empty()) {
            *problem = path + ": damaged directory (a file without a name)";
            return false;
        }
    }
    if (directory->runEntryCount() == 0) {
        *problem = path + ": no program to run";
        return false;
    }
    const std::string run = foldCase(directory->runEntry(0).name);
    for (uint32_t i = 0; i < directory->fileCount(); ++i)
        if (foldCase(directory->file(i).name) == run)
            return true;
    *problem = path + ": the program to run, \"" + directory->runEntry(0).name + "\", is not carried";
    return false;
}

int list(const std::string& path, Console& console) {
    PackageDirectory directory;
    uint32_t crc = 0;
    std::string problem;
    if (!verifyPackage(path, &directory, &crc, &problem) && !directory.loaded()) {
        say(console, problem);
        return kExitFailure;
    }
    size_t width = 4;
    for (uint32_t i = 0; i < directory.fileCount(); ++i)
        width = std::max(width, directory.file(i).name.size());
    char line[64];
    console.out << std::string("name") << std::string(width - 4, ' ') << "        size      offset\n";
    for (uint32_t i = 0; i < directory.fileCount(); ++i) {
        const PackedFile& file = directory.file(i);
        std::snprintf(line, sizeof line, "  %10" PRIu32 "  %10" PRIu32, file.size, file.offset);
        console.out << file.name << std::string(width - file.name.size(), ' ') << line << "\n";
    }
    for (uint32_t i = 0; i < directory.runEntryCount(); ++i)
        console.out << "run: " << directory.runEntry(i).name << " (parameter " << directory.runEntry(i).parameter
                    << ")\n";
    if (!problem.empty()) {
        say(console, problem);
        return kExitFailure;
    }
    return kExitSuccess;
}

int verify(const std::string& path, Console& console) {
    PackageDirectory directory;
    uint32_t crc = 0;
    std::string problem;
    if (!verifyPackage(path, &directory, &crc, &problem)) {
        say(console, problem);
        return kExitFailure;
    }
    console.out << path << ": whole, " << directory.fileCount() << " files, checksum " << hex32(crc) << "\n";
    return kExitSuccess;
}

void onExtracted(uint32_t done, const PackedFile& file, void* progress) {
    static_cast<Progress*>(progress)->step(done + 1, file.name);
}

int extract(const std::string& path, const std::string& folder, Console& console) {
    PackageDirectory directory;
    uint32_t crc = 0;
    std::string problem;
    if (!verifyPackage(path, &directory, &crc, &problem)) {
        say(console, problem);
        return kExitFailure;
    }
    Progress progress(console, directory.fileCount());
    const int result = directory.extractAll(path.c_str(), folder, onExtracted, &progress);
    progress.finish();
    if (result != package::kSuccess) {
        say(console, "cannot extract " + path + " (code " + std::to_string(result) + ")");
        return kExitFailure;
    }
    // The extractor skips a file it cannot write and goes on with the others.
    int missing = 0;
    for (uint32_t i = 0; i < directory.fileCount(); ++i) {
        const PackedFile& file = directory.file(i);
        const std::string target = withoutTrailingSlashes(folder) + "/" + file.name;
        struct stat st;
        if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            static_cast<uint64_t>(st.st_size) != file.size) {
            say(console, "cannot write " + target);
            ++missing;
        }
    }
    if (missing > 0)
        return kExitFailure;
    console.out << "extracted " << directory.fileCount() << " files into " << folder << "\n";
    return kExitSuccess;
}

// Splits "--name=value" and takes the value of "--name value".
bool takeValue(const std::vector<std::string>& args, size_t* i, const std::string& name,
               std::string* value, bool* missing) {
    const std::string& arg = args[*i];
    if (arg == name) {
        if (*i + 1 >= args.size()) {
            *missing = true;
            return true;
        }
        *value = args[++*i];
        return true;
    }
    if (name.size() > 2 && arg.compare(0, name.size() + 1, name + "=") == 0) {
        *value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

int parseBuild(const std::vector<std::string>& args, Console& console) {
    BuildOptions options;
    std::vector<std::string> operands;
    bool onlyOperands = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyOperands || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyOperands = true;
            continue;
        }
        bool missing = false;
        if (takeValue(args, &i, "-o", &options.output, &missing) ||
            takeValue(args, &i, "--output", &options.output, &missing) ||
            takeValue(args, &i, "--kit", &options.kit, &missing) ||
            takeValue(args, &i, "--stub", &options.stub, &missing) ||
            takeValue(args, &i, "--setup", &options.setup, &missing)) {
            if (missing)
                return usageError(console, "option " + arg + " needs a value");
            continue;
        }
        return usageError(console, "unknown option \"" + arg + "\" for build");
    }
    if (operands.size() != 1)
        return usageError(console, "build takes one project folder");
    if (options.output.empty())
        return usageError(console, "build needs the package to write: -o PACKAGE.exe");
    options.project = withoutTrailingSlashes(operands[0]);
    return build(options, console);
}

// list, verify and extract take operands only.
bool operandsOnly(const std::vector<std::string>& args, size_t count, std::vector<std::string>* operands,
                  Console& console, int* exit) {
    bool onlyOperands = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (!onlyOperands && args[i] == "--") {
            onlyOperands = true;
        } else if (!onlyOperands && args[i].size() > 1 && args[i][0] == '-') {
            *exit = usageError(console, "unknown option \"" + args[i] + "\" for " + args[0]);
            return false;
        } else {
            operands->push_back(args[i]);
        }
    }
    if (operands->size() != count) {
        *exit = usageError(console, args[0] + (count == 1 ? " takes one package" : " takes a package and a folder"));
        return false;
    }
    return true;
}

}  // namespace

std::string defaultKitFolder(const std::string& programPath) {
    return parentOf(parentOf(programPath)) + "/win32";
}

int runZrpack(const std::vector<std::string>& args, Console& console) {
    if (args.empty()) {
        console.err << kUsage;
        return kExitUsage;
    }
    const std::string& command = args[0];
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h" || (&arg == &command && arg == "help")) {
            console.out << kUsage;
            return kExitSuccess;
        }
    }
    if (command == "build")
        return parseBuild(args, console);

    std::vector<std::string> operands;
    int exit = kExitSuccess;
    if (command == "list" || command == "verify") {
        if (!operandsOnly(args, 1, &operands, console, &exit))
            return exit;
        return command == "list" ? list(operands[0], console) : verify(operands[0], console);
    }
    if (command == "extract") {
        if (!operandsOnly(args, 2, &operands, console, &exit))
            return exit;
        return extract(operands[0], operands[1], console);
    }
    if (!command.empty() && command[0] == '-')
        return usageError(console, "unknown option \"" + command + "\"");
    return usageError(console, "unknown command \"" + command + "\"");
}
