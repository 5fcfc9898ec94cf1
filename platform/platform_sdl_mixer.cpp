// SDL_mixer is loaded when there is an audio device to play on: a machine
// without one never maps it, nor the synthesiser, codecs and libraries that
// come with it (some three megabytes, and their start-up).
#include <type_traits>

#include "platform/platform_sdl_parts.h"

MixerLibrary Mixer;

namespace {
constexpr const char* MixerLibraryFile = "libSDL2_mixer-2.0.so.0";
void* mixerLibrary = nullptr;
}  // namespace

bool LoadMixer() {
    if (mixerLibrary != nullptr) return true;
    mixerLibrary = SDL_LoadObject(MixerLibraryFile);
    if (mixerLibrary == nullptr) return false;
    bool found = true;
    auto take = [&](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(SDL_LoadFunction(mixerLibrary, name));
        found = found && function != nullptr;
    };
    take(Mixer.OpenAudio, "Mix_OpenAudio");
    take(Mixer.CloseAudio, "Mix_CloseAudio");
    take(Mixer.Init, "Mix_Init");
    take(Mixer.Quit, "Mix_Quit");
    take(Mixer.QuerySpec, "Mix_QuerySpec");
    take(Mixer.SetSoundFonts, "Mix_SetSoundFonts");
    take(Mixer.LoadMUS_RW, "Mix_LoadMUS_RW");
    take(Mixer.FreeMusic, "Mix_FreeMusic");
    take(Mixer.PlayMusic, "Mix_PlayMusic");
    take(Mixer.HaltMusic, "Mix_HaltMusic");
    take(Mixer.HookMusicFinished, "Mix_HookMusicFinished");
    take(Mixer.AllocateChannels, "Mix_AllocateChannels");
    take(Mixer.LoadWAV_RW, "Mix_LoadWAV_RW");
    take(Mixer.FreeChunk, "Mix_FreeChunk");
    take(Mixer.PlayChannelTimed, "Mix_PlayChannelTimed");
    take(Mixer.HaltChannel, "Mix_HaltChannel");
    take(Mixer.FadeOutChannel, "Mix_FadeOutChannel");
    take(Mixer.FadingChannel, "Mix_FadingChannel");
    take(Mixer.Playing, "Mix_Playing");
    take(Mixer.GroupAvailable, "Mix_GroupAvailable");
    if (found) return true;
    SDL_SetError("%s lacks a function the game uses", MixerLibraryFile);
    SDL_UnloadObject(mixerLibrary);
    mixerLibrary = nullptr;
    Mixer = MixerLibrary{};
    return false;
}
