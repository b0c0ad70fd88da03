// Test support for the host: the real torvane program in a scratch working
// folder with a free port, and this process's service log in a scratch folder.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "host/Torvane.h"
#include "support/Desktop.h"
#include "support/Net.h"
#include "zozud/core/Thread.h"

namespace testsupport {

class TorvaneRun {
public:
    explicit TorvaneRun(int port = FreePort()) : port_(port) { WriteFile(dir_ / "port.dat", std::to_string(port)); }

    // Starts the program without waiting for it.
    bool Launch(const std::vector<std::string>& env = {}) {
        std::vector<std::string> full = {"TORVANE_LOGFILE=", "TORVANE_DEBUG="};
        full.insert(full.end(), env.begin(), env.end());
        return process_.Start(program_, {}, dir_.Path(), full, dir_ / "output.txt");
    }

    // Runs a copy of the program from the working folder, which a test may delete.
    std::string UseCopyOfProgram() {
        program_ = dir_ / "torvane";
        Shell("cp '" + std::string(ZOZUD_BINARY_DIR) + "/torvane' '" + program_ + "'");
        return program_;
    }

    // Starts the program and waits until it answers (false when it never does).
    bool Start(const std::vector<std::string>& env = {}) {
        return Launch(env) && WaitFor([&] { return Answers(port_) || !process_.Running(); }, 20000) &&
               process_.Running();
    }

    std::string Get(const std::string& path) { return Request(port_, "GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n"); }
    std::string LogFile() const { return ReadFile(dir_ / "Log.txt"); }
    bool LogFileHas(const std::string& text) const { return LogFile().find(text) != std::string::npos; }
    bool WaitForLog(const std::string& text) const { return WaitFor([&] { return LogFileHas(text); }, 10000); }
    int Count(const char* what) const {  // "fd" or "task"
        return std::stoi(Shell("ls /proc/" + std::to_string(process_.Pid()) + "/" + what + " | wc -l"));
    }
    long CpuTicks() const {  // user and system time of every thread so far
        std::string stat = ReadFile("/proc/" + std::to_string(process_.Pid()) + "/stat");
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skip;
        long user = 0, system = 0;
        for (int i = 3; i < 14; i++) fields >> skip;
        fields >> user >> system;
        return user + system;
    }

    int Port() const { return port_; }
    TempDir& Dir() { return dir_; }
    Process& Proc() { return process_; }

private:
    TempDir     dir_;
    int         port_;
    std::string program_ = std::string(ZOZUD_BINARY_DIR) + "/torvane";
    Process process_;
};

// The entries of a log file: its "\r\n"-ended lines, empty ones left out as the log page leaves them out.
inline std::vector<std::string> LogEntries(const std::string& text) {
    std::vector<std::string> entries;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        if (end > start) entries.push_back(text.substr(start, end - start));
    return entries;
}

// Empties this process's service log and sends its entries to dir/Log.txt.
inline void StartServiceLog(const TempDir& dir) {
    static bool mutexReady = false;
    if (!mutexReady) zozud::cThread::CreateMutex(Torvane_Log::s_Mutex);
    mutexReady = true;
    Torvane_Log::s_Text.Clear();
    Torvane_Log::s_FilePathName = (dir / "Log.txt").c_str();
}

}  // namespace testsupport
