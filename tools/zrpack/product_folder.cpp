#include "product_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace {

// Entries of a zip without its 64-bit extension, which setup's reader is not
// asked to handle, hold less than 4 GB.
constexpr uint64_t kMaxEntrySize = 0xFFFFFFFFull;
// A zip entry name is at most 65535 bytes long.
constexpr size_t kMaxEntryName = 0xFFFF;

// The names in a folder, without "." and ".." and the hidden ones, sorted.
bool listFolder(const std::string& path, std::vector<std::string>* names, int* error) {
    DIR* dir = opendir(path.c_str());
    if (!dir) {
        *error = errno;
        return false;
    }
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.')
            names->push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names->begin(), names->end());
    return true;
}

std::string reason(int error) { return std::strerror(error); }

class PayloadScan {
public:
    PayloadScan(ProductFolder* folder, ProblemList* problems) : folder_(folder), problems_(problems) {}

    // relative: the path under payload/ with '/', "" for payload/ itself;
    // entry: the same with backslashes.
    void walk(const std::string& path, const std::string& relative, const std::string& entry,
              const struct stat& self) {
        // A link back to a folder on the current path would walk for ever.
        std::pair<dev_t, ino_t> id{self.st_dev, self.st_ino};
        if (!onPath_.insert(id).second) {
            problems_->error(label(relative), 0, "a link leads back into its own folder; not followed");
            return;
        }
        std::vector<std::string> names;
        int error = 0;
        if (!listFolder(path, &names, &error)) {
            problems_->error(label(relative), 0, "cannot be read (" + reason(error) + ")");
        } else {
            for (const std::string& name : names)
                visit(path + "/" + name, relative.empty() ? name : relative + "/" + name,
                      entry.empty() ? name : entry + "\\" + name, name);
        }
        onPath_.erase(id);
    }

private:
    static std::string label(const std::string& relative) {
        return relative.empty() ? "payload/" : "payload/" + relative;
    }

    void visit(const std::string& path, const std::string& relative, const std::string& entry,
               const std::string& name) {
        struct stat st;
        if (stat(path.c_str(), &st) != 0) {
            problems_->error(label(relative), 0, "cannot be read (" + reason(errno) + ")");
            return;
        }
        if (S_ISDIR(st.st_mode)) {
            walk(path, relative, entry, st);
            return;
        }
        if (!S_ISREG(st.st_mode)) {
            problems_->error(label(relative), 0, "is not a regular file; a package holds only files");
            return;
        }
        // On Linux a backslash is an ordinary character; in the archive it
        // separates folders, so the entry would name another path.
        if (name.find('\\') != std::string::npos) {
            problems_->error(label(relative), 0,
                             "has a backslash in its name, which the archive reads as a folder separator");
            return;
        }
        if (entry.size() > kMaxEntryName) {
            problems_->error(label(relative), 0, "path is too long for an archive entry");
            return;
        }
        if (static_cast<uint64_t>(st.st_size) >= kMaxEntrySize) {
            problems_->error(label(relative), 0,
                             std::to_string(st.st_size) + " bytes; an archive entry holds less than 4 GB");
            return;
        }
        PayloadFile file;
        file.entryName = entry;
        file.path = path;
        file.size = static_cast<uint64_t>(st.st_size);
        file.modified = static_cast<int64_t>(st.st_mtime);
        folder_->payload.push_back(std::move(file));
    }

    ProductFolder* folder_;
    ProblemList* problems_;
    std::set<std::pair<dev_t, ino_t>> onPath_;
};

// Setup looks entries up without regard to case, so of two names that differ
// only in case it would only ever find one.
void checkEntryCase(const ProductFolder& folder, ProblemList* problems) {
    std::map<std::string, const PayloadFile*> seen;
    for (const PayloadFile& file : folder.payload) {
        auto inserted = seen.emplace(foldCase(file.entryName), &file);
        if (!inserted.second)
            problems->error("payload", 0,
                            "entries \"" + inserted.first->second->entryName + "\" and \"" + file.entryName +
                                "\" differ only in case; setup would find only one of them");
    }
}

}  // namespace

std::string foldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

const TopFile* findTopFile(const ProductFolder& folder, const std::string& name) {
    const std::string wanted = foldCase(name);
    for (const TopFile& file : folder.files)
        if (foldCase(file.name) == wanted)
            return &file;
    return nullptr;
}

void scanProductFolder(const std::string& path, ProductFolder* folder, ProblemList* problems) {
    folder->path = path;
    folder->files.clear();
    folder->payload.clear();
    folder->hasPayload = false;

    std::vector<std::string> names;
    int error = 0;
    if (!listFolder(path, &names, &error)) {
        problems->error(path, 0, "the project folder cannot be read (" + reason(error) + ")");
        return;
    }
    for (const std::string& name : names) {
        const std::string full = path + "/" + name;
        struct stat st;
        if (stat(full.c_str(), &st) != 0) {
            problems->error(name, 0, "cannot be read (" + reason(errno) + ")");
            continue;
        }
        if (S_ISREG(st.st_mode)) {
            folder->files.push_back({name, full, static_cast<uint64_t>(st.st_size)});
        } else if (S_ISDIR(st.st_mode) && name == "payload") {
            folder->hasPayload = true;
            PayloadScan(folder, problems).walk(full, "", "", st);
        }
        // Other folders (sources, notes) stay behind.
    }
    // The walk went folder by folder; entry order is by the whole name.
    std::sort(folder->payload.begin(), folder->payload.end(),
              [](const PayloadFile& a, const PayloadFile& b) { return a.entryName < b.entryName; });
    checkEntryCase(*folder, problems);
}
