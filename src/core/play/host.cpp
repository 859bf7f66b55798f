#include "core/play/host.h"

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#ifdef _WIN32
#include <windows.h>

#include "core/winsys.h"
#else
#include <unistd.h>
#endif

#include "core/play/core.h"
#include "core/system.h"

namespace qv::play {

namespace {

// The host whose call into the core is under way: a core's callbacks carry no
// context, and every call is made from one thread.
PlayHost* active = nullptr;

struct Calling {
    explicit Calling(PlayHost* host) : previous(active) { active = host; }
    ~Calling() { active = previous; }
    PlayHost* previous;
};

// The folder offered to cores for their BIOS and database files: RetroArch's, for
// the user who has one, else one of our own that may well not exist.
const std::string& systemDirectory() {
    static const std::string dir = [] {
#ifdef _WIN32
        const std::string base = environmentValue("APPDATA").value_or("");
        const std::string retroarch = base + "\\RetroArch\\system";
        const std::string ours = base + "\\Quorvane\\system";
#else
        std::string base = homeFolder();
        if (base.empty()) base = "/tmp";
        const std::string retroarch = base + "/.config/retroarch/system";
        const std::string ours = base + "/.local/share/quorvane/system";
#endif
        std::error_code ec;
        if (std::filesystem::is_directory(fsPath(retroarch), ec)) return retroarch;
        return ours;
    }();
    return dir;
}

// The image as a file of its own in the temporary folder, for a core that reads only
// files; empty when it cannot be written.
std::string writeImageFile(std::span<const std::uint8_t> image) {
#ifdef _WIN32
    wchar_t folder[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) return {};
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = std::wstring(folder, n) + L"quorvane-play-" +
                                  std::to_wstring(processId()) + L"-" + std::to_wstring(++counter) +
                                  L".nes";
        const HANDLE h = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return {};
        }
        DWORD written = 0;
        const bool ok =
            ::WriteFile(h, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
            written == image.size();
        ::CloseHandle(h);
        if (ok) return win::narrow(name);
        ::DeleteFileW(name.c_str());
        return {};
    }
    return {};
#else
    char name[] = "/tmp/quorvane-play-XXXXXX.nes";
    const int fd = ::mkstemps(name, 4);
    if (fd < 0) return {};
    const bool ok = ::write(fd, image.data(), image.size()) == static_cast<ssize_t>(image.size());
    ::close(fd);
    if (ok) return name;
    ::unlink(name);
    return {};
#endif
}

void removeImageFile(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(fsPath(path), ec);
}

} // namespace

struct CoreCallbacks {
    static bool environment(unsigned cmd, void* data) {
        return active && active->environment(cmd, data);
    }
    static void video(const void* data, unsigned width, unsigned height, std::size_t pitch) {
        if (active) active->video(data, width, height, pitch);
    }
    static void sample(std::int16_t left, std::int16_t right) {
        if (!active) return;
        active->audio_.push_back(left);
        active->audio_.push_back(right);
    }
    static std::size_t samples(const std::int16_t* data, std::size_t frames) {
        if (active) active->audio_.insert(active->audio_.end(), data, data + 2 * frames);
        return frames;
    }
    static void poll() {}
    static std::int16_t input(unsigned port, unsigned device, unsigned, unsigned id) {
        if (!active || port != 0 || device != RETRO_DEVICE_JOYPAD) return 0;
        if (id == RETRO_DEVICE_ID_JOYPAD_MASK) return static_cast<std::int16_t>(active->buttons_);
        return id < 16 ? static_cast<std::int16_t>((active->buttons_ >> id) & 1) : 0;
    }
    static void log(retro_log_level level, const char* format, ...) {
        if (!active || level < RETRO_LOG_WARN) return;
        char line[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        active->lastLog_ = text;
    }
};

PlayHost::PlayHost(CoreLibrary& core) : core_(core) {}

std::unique_ptr<PlayHost> PlayHost::open(const std::string& path, std::string& error) {
    CoreLibrary* core = openCore(path, error);
    if (!core) return nullptr;
    if (core->inUse) {
        error = "The core \"" + path + "\" is already playing in this program";
        return nullptr;
    }
    std::unique_ptr<PlayHost> host(new PlayHost(*core));
    core->inUse = true;
    const Calling calling(host.get());
    core->setEnvironment(&CoreCallbacks::environment);
    core->setVideoRefresh(&CoreCallbacks::video);
    core->setAudioSample(&CoreCallbacks::sample);
    core->setAudioSampleBatch(&CoreCallbacks::samples);
    core->setInputPoll(&CoreCallbacks::poll);
    core->setInputState(&CoreCallbacks::input);
    if (!core->initialised) {
        core->init();
        core->initialised = true;
    }
    retro_system_info info{};
    core->getSystemInfo(&info);
    host->needPath_ = info.need_fullpath;
    host->coreName_ = std::string(info.library_name ? info.library_name : "libretro core") +
                      (info.library_version ? std::string(" ") + info.library_version : "");
    return host;
}

PlayHost::~PlayHost() {
    unloadGame();
    core_.inUse = false;
}

const std::string& PlayHost::corePath() const {
    return core_.path;
}

void PlayHost::unloadGame() {
    if (!loaded_) return;
    const Calling calling(this);
    core_.unloadGame();
    loaded_ = false;
    if (!tempPath_.empty()) {
        removeImageFile(tempPath_);
        tempPath_.clear();
    }
}

bool PlayHost::loadGame(std::span<const std::uint8_t> image, std::string& error) {
    // Kept while the game runs: some cores read from the buffer they were given.
    std::vector<std::uint8_t> previous = std::move(image_);
    image_.assign(image.begin(), image.end());
    retro_game_info game{};
    game.data = image_.data();
    game.size = image_.size();
    if (needPath_) {
        // A core that reads only files gets the image as a file of its own.
        tempPath_ = writeImageFile(image);
        if (tempPath_.empty()) {
            error = "The image could not be written for the core";
            image_ = std::move(previous);
            return false;
        }
        game.data = nullptr;
        game.path = tempPath_.c_str();
    }
    const Calling calling(this);
    lastLog_.clear();
    if (!core_.loadGame(&game)) {
        error = "The core did not take the image" + (lastLog_.empty() ? "" : ": " + lastLog_);
        if (!tempPath_.empty()) {
            removeImageFile(tempPath_);
            tempPath_.clear();
        }
        image_ = std::move(previous);
        return false;
    }
    loaded_ = true;
    // Without this the core never asks for the buttons.
    core_.setControllerPortDevice(0, RETRO_DEVICE_JOYPAD);
    retro_system_av_info av{};
    core_.getAvInfo(&av);
    if (av.timing.fps > 0) fps_ = av.timing.fps;
    if (av.timing.sample_rate > 0) sampleRate_ = av.timing.sample_rate;
    return true;
}

bool PlayHost::load(std::span<const std::uint8_t> image, std::string& error) {
    unloadGame();
    frames_ = 0;
    audio_.clear();
    return loadGame(image, error);
}

bool PlayHost::reload(std::span<const std::uint8_t> image, std::string& error) {
    if (!loaded_) return load(image, error);
    // The state holds CPU, RAM and picture unit but not the program ROM: restored
    // over the new image, the game goes on from this frame with the new bytes.
    const std::vector<std::uint8_t> state = saveState();
    const std::vector<std::uint8_t> old = image_;
    unloadGame();
    if (loadGame(image, error) && (state.empty() || loadState(state))) return true;
    if (loaded_) error = "The core could not go on from the running game with the new image";
    // The old image plays on from where it was.
    std::string ignored;
    unloadGame();
    if (loadGame(old, ignored)) loadState(state);
    return false;
}

void PlayHost::run() {
    if (!loaded_) return;
    const Calling calling(this);
    core_.run();
    ++frames_;
}

void PlayHost::runCoreOnly() {
    const Calling calling(nullptr); // no callback does any work
    core_.run();
}

void PlayHost::reset() {
    if (!loaded_) return;
    const Calling calling(this);
    core_.reset();
    frames_ = 0;
}

std::span<std::uint8_t> PlayHost::ram() {
    if (!loaded_) return {};
    // The pointer changes with every load, so it is asked for each time.
    auto* data = static_cast<std::uint8_t*>(core_.getMemoryData(RETRO_MEMORY_SYSTEM_RAM));
    const std::size_t size = core_.getMemorySize(RETRO_MEMORY_SYSTEM_RAM);
    return data ? std::span<std::uint8_t>(data, size) : std::span<std::uint8_t>();
}

std::vector<std::uint8_t> PlayHost::saveState() {
    if (!loaded_) return {};
    const Calling calling(this);
    std::vector<std::uint8_t> state(core_.serializeSize());
    if (state.empty() || !core_.serialize(state.data(), state.size())) return {};
    return state;
}

bool PlayHost::loadState(std::span<const std::uint8_t> state) {
    if (!loaded_ || state.empty()) return false;
    const Calling calling(this);
    return core_.unserialize(state.data(), state.size());
}

bool PlayHost::environment(unsigned cmd, void* data) {
    switch (cmd) {
    case RETRO_ENVIRONMENT_GET_CAN_DUPE:
        *static_cast<bool*>(data) = true;
        return true;
    case RETRO_ENVIRONMENT_SET_PIXEL_FORMAT: {
        const auto f = *static_cast<const retro_pixel_format*>(data);
        if (f != RETRO_PIXEL_FORMAT_0RGB1555 && f != RETRO_PIXEL_FORMAT_XRGB8888 &&
            f != RETRO_PIXEL_FORMAT_RGB565)
            return false;
        format_ = static_cast<PixelFormat>(f);
        return true;
    }
    case RETRO_ENVIRONMENT_GET_SYSTEM_DIRECTORY:
        // Some cores refuse to load without one; nothing a NES game needs is there.
        *static_cast<const char**>(data) = systemDirectory().c_str();
        return true;
    case RETRO_ENVIRONMENT_GET_LOG_INTERFACE:
        static_cast<retro_log_callback*>(data)->log = &CoreCallbacks::log;
        return true;
    case RETRO_ENVIRONMENT_GET_VARIABLE_UPDATE:
        *static_cast<bool*>(data) = false;
        return true;
    case RETRO_ENVIRONMENT_GET_INPUT_BITMASKS:
        return true;
    default:
        return false; // the core's defaults serve for everything else
    }
}

void PlayHost::video(const void* data, unsigned width, unsigned height, std::size_t pitch) {
    if (!data) return; // the same picture as last time
    convertFrame(format_, data, static_cast<int>(width), static_cast<int>(height), pitch, frame_);
}

} // namespace qv::play
