// A fresh, empty $XDG_CONFIG_HOME for each test, and helpers for the
// settings key's file and for work done in forked processes.
#pragma once

#include "tests/unit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

class ConfigHomeTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", home_.Path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

    const std::filesystem::path& Home() const { return home_.Path(); }
    std::filesystem::path KeyFile() const { return home_ / "Corvane" / "Tidereach.reg"; }

    static std::string ReadText(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void WriteText(const std::filesystem::path& file, const std::string& text) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    // Runs `work` in a forked process; its result is the exit status.
    static pid_t Spawn(const std::function<int()>& work) {
        pid_t child = fork();
        if (child == 0) _exit(work());
        return child;
    }
    static int Wait(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    ScratchFolder home_;
};
