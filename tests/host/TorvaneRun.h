// Test support for the host: the real torvane program started in a scratch
// working folder with a free port in its port file, talked to over 127.0.0.1.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Net.h"
#include "support/Process.h"

namespace testsupport {

inline std::string TorvaneBinary() { return std::string(ZOZUD_BINARY_DIR) + "/torvane"; }

class TorvaneRun {
public:
    explicit TorvaneRun(int port = FreePort()) : port_(port) { WriteFile(dir_ / "port.dat", std::to_string(port)); }

    // Starts the program without waiting for it.
    bool Launch(const std::vector<std::string>& env = {}, const std::vector<std::string>& args = {}) {
        std::vector<std::string> full = {"TORVANE_LOGFILE=", "TORVANE_DEBUG="};
        full.insert(full.end(), env.begin(), env.end());
        return process_.Start(TorvaneBinary(), args, dir_.Path(), full, dir_ / "output.txt");
    }

    // Starts the program and waits until it answers (false when it never does).
    bool Start(const std::vector<std::string>& env = {}, const std::vector<std::string>& args = {}) {
        if (!Launch(env, args)) return false;
        return WaitFor([&] { return Answers(port_) || !process_.Running(); }, 20000) && process_.Running();
    }

    std::string Get(const std::string& path) { return Request(port_, "GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n"); }
    std::string LogFile() const { return ReadFile(dir_ / "Log.txt"); }
    bool LogFileHas(const std::string& text) const { return LogFile().find(text) != std::string::npos; }
    bool WaitForLog(const std::string& text, int timeoutMs = 10000) const {
        return WaitFor([&] { return LogFileHas(text); }, timeoutMs);
    }
    int Count(const char* what) const {
        return std::stoi(Shell("ls /proc/" + std::to_string(process_.Pid()) + "/" + what + " | wc -l"));
    }

    int Port() const { return port_; }
    TempDir& Dir() { return dir_; }
    Process& Proc() { return process_; }

private:
    TempDir dir_;
    int     port_;
    Process process_;
};

inline bool HaveDisplay() { return getenv("DISPLAY") && *getenv("DISPLAY"); }

}  // namespace testsupport
