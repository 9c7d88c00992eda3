// Writes the sea sound resource: a seamless loop of surf, MP3-coded by the
// `lame` encoder, in a RIFF WAVE container.
//
//   surf_generator OUTPUT.wav [--pcm LOOP.wav]
//
// --pcm also writes the uncoded loop (16-bit PCM wave) for inspection.

#include "Mp3Stream.h"
#include "Surf.h"
#include "WaveWriter.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::path temporary = path;
    temporary += ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) return false;
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    return !ec;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every option that shapes the bit stream is pinned, so that the same
// encoder gives the same bytes: constant 80 kbit/s joint stereo, quality 2,
// no ReplayGain analysis, and the LAME tag that carries the gapless trim.
bool Encode(const fs::path& wav, const fs::path& mp3) {
    std::vector<std::string> args{"lame", "--silent", "--cbr",          "-b", "80",         "-m",        "j",
                                  "-q",   "2",        "--noreplaygain", "-T", wav.string(), mp3.string()};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "lame", nullptr, nullptr, argv.data(), environ) != 0) {
        std::cerr << "surf_generator: cannot run lame (Debian package \"lame\")\n";
        return false;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "surf_generator: lame failed\n";
        return false;
    }
    return true;
}

class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (fs::temp_directory_path() / "surf-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TemporaryDirectory() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

}  // namespace

int main(int argc, char** argv) {
    fs::path output;
    fs::path pcmOutput;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--pcm" && i + 1 < argc) {
            pcmOutput = argv[++i];
        } else if (output.empty() && !arg.starts_with("-")) {
            output = arg;
        } else {
            output.clear();
            break;
        }
    }
    if (output.empty()) {
        std::cerr << "usage: surf_generator OUTPUT.wav [--pcm LOOP.wav]\n";
        return 2;
    }

    TemporaryDirectory work;
    if (work.path().empty()) {
        std::cerr << "surf_generator: cannot make a temporary directory\n";
        return 1;
    }
    std::vector<std::int16_t> loop = surf::RenderSurfLoop();
    std::vector<std::uint8_t> pcm = surf::PcmWave(loop, surf::kChannels, surf::kSampleRate);
    if (!pcmOutput.empty() && !WriteFile(pcmOutput, pcm)) {
        std::cerr << "surf_generator: cannot write " << pcmOutput << "\n";
        return 1;
    }
    const fs::path wav = work.path() / "loop.wav";
    const fs::path mp3 = work.path() / "loop.mp3";
    if (!WriteFile(wav, pcm) || !Encode(wav, mp3)) return 1;

    std::string error;
    auto stream = surf::ScanMp3(ReadFile(mp3), error);
    if (!stream) {
        std::cerr << "surf_generator: unexpected encoder output: " << error << "\n";
        return 1;
    }
    std::vector<std::uint8_t> wave = surf::WrapInWave(*stream, std::uint32_t(surf::kLoopFrames));
    if (!WriteFile(output, wave)) {
        std::cerr << "surf_generator: cannot write " << output << "\n";
        return 1;
    }
    std::cout << output.string() << ": " << wave.size() << " bytes, " << stream->frameCount << " frames at "
              << stream->bitrateKbps << " kbit/s, " << surf::kLoopFrames
              << " samples per channel, encoder delay " << stream->encoderDelay << ", padding "
              << stream->encoderPadding << "\n";
    return 0;
}
