#include "posix_process.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zrtest {

namespace {

// The environment of the child: ours, with the given variables set.
std::vector<std::string> childEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> variables;
    for (char** v = environ; *v; ++v)
        variables.push_back(*v);
    for (const std::string& change : changes) {
        const std::string name = change.substr(0, change.find('=') + 1);
        bool replaced = false;
        for (std::string& variable : variables) {
            if (variable.compare(0, name.size(), name) == 0) {
                variable = change;
                replaced = true;
            }
        }
        if (!replaced)
            variables.push_back(change);
    }
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (std::string& text : texts)
        list.push_back(&text[0]);
    list.push_back(nullptr);
    return list;
}

}  // namespace

ProgramResult runProgram(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                         const std::string& workingDir, int timeoutMs) {
    ProgramResult result;
    if (argv.empty())
        return result;
    std::vector<std::string> args = argv;
    std::vector<std::string> variables = childEnvironment(environment);
    // Prepared before fork: the child only calls async-signal-safe functions.
    std::vector<char*> argList = pointers(args);
    std::vector<char*> envList = pointers(variables);

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0)
        return result;
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDONLY);
        if (null >= 0)
            dup2(null, STDIN_FILENO);
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0)
            _exit(127);
        execve(argList[0], argList.data(), envList.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }
    result.started = true;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int openPipes = 2;
    while (openPipes > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        int ready = poll(fds, 2, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --openPipes;
            }
        }
    }
    for (pollfd& fd : fds)
        if (fd.fd >= 0)
            close(fd.fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

}  // namespace zrtest
