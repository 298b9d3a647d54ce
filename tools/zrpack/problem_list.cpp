#include "problem_list.h"

#include <algorithm>
#include <map>

std::string formatProblem(const Problem& problem) {
    std::string text = problem.file;
    if (problem.line > 0)
        text += ":" + std::to_string(problem.line);
    text += ": ";
    if (problem.severity == Problem::Warning)
        text += "warning: ";
    return text + problem.text;
}

void ProblemList::error(const std::string& file, int line, const std::string& text) {
    problems_.push_back({Problem::Error, file, line, text});
}

void ProblemList::warning(const std::string& file, int line, const std::string& text) {
    problems_.push_back({Problem::Warning, file, line, text});
}

int ProblemList::errorCount() const {
    int count = 0;
    for (const Problem& problem : problems_)
        count += problem.severity == Problem::Error;
    return count;
}

int ProblemList::warningCount() const {
    return static_cast<int>(problems_.size()) - errorCount();
}

std::vector<Problem> ProblemList::inFileOrder() const {
    std::map<std::string, size_t> firstNamed;
    for (const Problem& problem : problems_)
        firstNamed.emplace(problem.file, firstNamed.size());
    std::vector<Problem> sorted = problems_;
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Problem& a, const Problem& b) {
        size_t fa = firstNamed[a.file], fb = firstNamed[b.file];
        return fa != fb ? fa < fb : a.line < b.line;
    });
    return sorted;
}
