// Test support: files in scratch folders, shell commands, and real programs
// started with their own arguments, environment and working folder.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// A fresh folder under /tmp, removed by the destructor.
class TempDir {
public:
    // When no folder can be made the path stays empty: tests then fail on
    // their files, and the destructor removes nothing.
    TempDir() {
        char name[] = "/tmp/zozud-test-XXXXXX";
        if (mkdtemp(name)) path_ = name;
    }
    ~TempDir() {
        if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// What the shell command printed on standard output; *status is its exit status.
inline std::string Shell(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof(buf), p)) > 0;) out.append(buf, n);
    int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

// Polls until the condition holds or the deadline passes.
template <class F>
bool WaitFor(F condition, int timeoutMs, int stepMs = 50) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return condition();
}

// A child process; killed by the destructor if it still runs.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    ~Process() { Kill(); }

    // Starts program with args in cwd; env entries "NAME=value" are set,
    // "NAME=" removes NAME. Standard output and error go to outPath.
    bool Start(const std::string& program, const std::vector<std::string>& args, const std::string& cwd,
               const std::vector<std::string>& env = {}, const std::string& outPath = "/dev/null") {
        pid_ = fork();
        if (pid_ != 0) return pid_ > 0;
        if (chdir(cwd.c_str()) != 0) _exit(127);
        for (const std::string& e : env) {
            size_t eq = e.find('=');
            std::string name = e.substr(0, eq), value = e.substr(eq + 1);
            if (value.empty()) unsetenv(name.c_str()); else setenv(name.c_str(), value.c_str(), 1);
        }
        int fd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) { dup2(fd, 1); dup2(fd, 2); close(fd); }
        std::vector<char*> argv = {const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }

    pid_t Pid() const { return pid_; }
    bool Running() {
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0) return true;
        if (pid_ > 0) exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        pid_ = -1;
        return false;
    }
    // The exit status, or -1 when it did not end in time (or was signalled).
    int Wait(int timeoutMs) { return WaitFor([&] { return !Running(); }, timeoutMs, 20) ? exit_ : -1; }
    void Signal(int sig) { if (pid_ > 0) kill(pid_, sig); }
    void Kill() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    int   exit_ = -1;
};

}  // namespace testsupport
