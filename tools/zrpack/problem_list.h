#pragma once
// What the project check found: errors stop the build, warnings only inform.
// Each problem names the file it is about (as the product team knows it:
// "Setup.ini", "payload/AppDir/tool.exe", a kit program's path) and, for the
// setup script and language files, the line.

#include <string>
#include <vector>

struct Problem {
    enum Severity { Error, Warning };
    Severity severity = Error;
    std::string file;
    int line = 0;  // from 1; 0 when no line applies
    std::string text;
};

// "Setup.ini:42: text", "Setup.ini:42: warning: text", "licence.txt: text".
std::string formatProblem(const Problem& problem);

class ProblemList {
public:
    void error(const std::string& file, int line, const std::string& text);
    void warning(const std::string& file, int line, const std::string& text);

    const std::vector<Problem>& all() const { return problems_; }
    // The problems grouped by file, the files in the order they were first
    // named, and by line within each file.
    std::vector<Problem> inFileOrder() const;
    int errorCount() const;
    int warningCount() const;

private:
    std::vector<Problem> problems_;
};
