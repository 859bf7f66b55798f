#include "core/play/core.h"

#include <map>

#include "core/system.h"

namespace qv::play {

namespace {

template <class F> bool resolve(void* handle, const char* name, F& target, std::string& missing) {
    target = reinterpret_cast<F>(librarySymbol(handle, name));
    if (!target && missing.empty()) missing = name;
    return target != nullptr;
}

} // namespace

CoreLibrary* openCore(const std::string& path, std::string& error) {
    static std::map<std::string, std::unique_ptr<CoreLibrary>> opened;
    if (const auto it = opened.find(path); it != opened.end()) return it->second.get();

    std::string why;
    void* handle = openLibrary(path, why);
    if (!handle) {
        error = "The core \"" + path + "\" could not be loaded: " + why;
        return nullptr;
    }
    auto core = std::make_unique<CoreLibrary>();
    core->path = path;
    core->handle = handle;
    std::string missing;
    CoreLibrary& c = *core;
    resolve(handle, "retro_init", c.init, missing);
    resolve(handle, "retro_api_version", c.apiVersion, missing);
    resolve(handle, "retro_get_system_info", c.getSystemInfo, missing);
    resolve(handle, "retro_get_system_av_info", c.getAvInfo, missing);
    resolve(handle, "retro_set_environment", c.setEnvironment, missing);
    resolve(handle, "retro_set_video_refresh", c.setVideoRefresh, missing);
    resolve(handle, "retro_set_audio_sample", c.setAudioSample, missing);
    resolve(handle, "retro_set_audio_sample_batch", c.setAudioSampleBatch, missing);
    resolve(handle, "retro_set_input_poll", c.setInputPoll, missing);
    resolve(handle, "retro_set_input_state", c.setInputState, missing);
    resolve(handle, "retro_set_controller_port_device", c.setControllerPortDevice, missing);
    resolve(handle, "retro_reset", c.reset, missing);
    resolve(handle, "retro_run", c.run, missing);
    resolve(handle, "retro_serialize_size", c.serializeSize, missing);
    resolve(handle, "retro_serialize", c.serialize, missing);
    resolve(handle, "retro_unserialize", c.unserialize, missing);
    resolve(handle, "retro_load_game", c.loadGame, missing);
    resolve(handle, "retro_unload_game", c.unloadGame, missing);
    resolve(handle, "retro_get_memory_data", c.getMemoryData, missing);
    resolve(handle, "retro_get_memory_size", c.getMemorySize, missing);
    if (!missing.empty()) {
        error = "\"" + path + "\" is not a libretro core (it has no " + missing + ")";
        closeLibrary(handle);
        return nullptr;
    }
    if (c.apiVersion() != RETRO_API_VERSION) {
        error = "The core \"" + path + "\" is made for another libretro version";
        closeLibrary(handle);
        return nullptr;
    }
    return opened.emplace(path, std::move(core)).first->second.get();
}

} // namespace qv::play
