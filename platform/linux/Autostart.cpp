#include "platform/Autostart.h"

#include "platform/registry/KeyFile.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> EntryFile(const std::string& name) {
    const auto config = registry::ConfigHome();
    if (!config) return std::nullopt;
    return *config / "autostart" / (name + ".desktop");
}

// An argument of an Exec line: quoted, with the characters the desktop entry
// format reserves inside quotes escaped.
std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += "\\\\";
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

bool AutostartAvailable() { return true; }

bool AutostartEntryExists(const std::string& name) {
    const auto file = EntryFile(name);
    std::error_code error;
    return file && fs::is_regular_file(*file, error);
}

void WriteAutostartEntry(const std::string& name, const std::string& title, const std::string& arguments) {
    const auto file = EntryFile(name);
    if (!file) throw std::runtime_error("There is no home folder for the login entry " + name);
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) throw std::runtime_error("The program's own path is unknown: " + error.message());
    fs::create_directories(file->parent_path(), error);
    const fs::path temporary = fs::path(*file) += ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=" << title << "\n"
            << "Exec=" << ExecArgument(program.string()) << " " << arguments << "\n"
            << "NoDisplay=true\n"
            << "X-GNOME-Autostart-enabled=true\n";
        out.close();
        if (!out) throw std::runtime_error("Failed to write " + temporary.string());
    }
    fs::rename(temporary, *file, error);
    if (error) throw std::runtime_error("Failed to write " + file->string() + ": " + error.message());
}

void RemoveAutostartEntry(const std::string& name) {
    const auto file = EntryFile(name);
    std::error_code error;
    if (file && !fs::remove(*file, error) && error)
        throw std::runtime_error("Failed to remove " + file->string() + ": " + error.message());
}

}  // namespace platform
