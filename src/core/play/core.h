#pragma once
// A libretro core opened at run time (dlopen, LoadLibraryW on Windows): its entry points, resolved
// once. A core keeps its emulator in global variables, so each file is opened once per process and
// every call into it is made from one thread.
#include <memory>
#include <string>

#include <libretro.h>

namespace qv::play {

struct CoreLibrary {
    std::string path;
    void* handle = nullptr;
    bool initialised = false; // retro_init has run (once per process)
    bool inUse = false;       // a host plays on it now

    void (*init)();
    unsigned (*apiVersion)();
    void (*getSystemInfo)(retro_system_info*);
    void (*getAvInfo)(retro_system_av_info*);
    void (*setEnvironment)(retro_environment_t);
    void (*setVideoRefresh)(retro_video_refresh_t);
    void (*setAudioSample)(retro_audio_sample_t);
    void (*setAudioSampleBatch)(retro_audio_sample_batch_t);
    void (*setInputPoll)(retro_input_poll_t);
    void (*setInputState)(retro_input_state_t);
    void (*setControllerPortDevice)(unsigned, unsigned);
    void (*reset)();
    void (*run)();
    std::size_t (*serializeSize)();
    bool (*serialize)(void*, std::size_t);
    bool (*unserialize)(const void*, std::size_t);
    bool (*loadGame)(const retro_game_info*);
    void (*unloadGame)();
    void* (*getMemoryData)(unsigned);
    std::size_t (*getMemorySize)(unsigned);
};

// The core at `path`, opened on first use and kept for the life of the process
// (closing a core's library while its globals live on is not safe). Null, with
// `error` saying why, when the file is not a libretro core of this API version.
CoreLibrary* openCore(const std::string& path, std::string& error);

} // namespace qv::play
