#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "draw/surface.h"
#include "platform/key_names.h"
#include "platform/platform.h"
#include "platform/platform_sdl_parts.h"
#include "shell/input.h"
#include "shell/message_pump.h"
#include "shell/program_state.h"

namespace {
constexpr int PadButtons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
constexpr int PadAxes = SDL_CONTROLLER_AXIS_MAX;

// Virtual devices as a desktop would plug them in. A pad with the standard
// layout gets its controller mapping from SDL; a joystick of unknown type
// gets none.
struct VirtualDevice {
    SDL_JoystickID id = -1;
    SDL_Joystick* handle = nullptr;

    static VirtualDevice Plug(bool mapped) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = mapped ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = mapped ? PadAxes : 2;
        desc.nbuttons = mapped ? PadButtons : 17;
        desc.button_mask = mapped ? (1u << PadButtons) - 1 : 0;
        desc.axis_mask = mapped ? (1u << PadAxes) - 1 : 0;
        desc.name = mapped ? "Test pad" : "Test joystick";
        int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        VirtualDevice d;
        d.handle = SDL_JoystickOpen(index);
        d.id = SDL_JoystickInstanceID(d.handle);
        EXPECT_EQ(SDL_IsGameController(index), mapped ? SDL_TRUE : SDL_FALSE);
        return d;
    }
    void Unplug() {
        SDL_JoystickClose(handle);
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        handle = nullptr;
    }
    void Button(int b, bool down) { SDL_JoystickSetVirtualButton(handle, b, down ? 1 : 0); }
    void Axis(int a, int16_t v) { SDL_JoystickSetVirtualAxis(handle, a, v); }
};

// Takes every waiting event and notes what it means, as the frame loop's wait does.
void Pump() {
    while (NoteEvent(PlatformTakeEvent())) {
    }
}

Picture Shown(const Surface& s) { return {s.pixels.data(), s.width, s.height}; }

// The picture, saying where it changed since the one before (nowhere: none).
Picture Changed(const Surface& s, const std::vector<PictureArea>& areas) {
    static const PictureArea none;
    Picture p = Shown(s);
    p.changed = areas.empty() ? &none : areas.data();
    p.changedCount = int(areas.size());
    return p;
}

void Frame() {
    Pump();
    SampleInput();
}

void PushKey(Uint32 type, SDL_Scancode code, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    SDL_PushEvent(&e);
}

class SdlPlatform : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        PlatformInit();
        PlatformOpenDevices();
    }
    static void TearDownTestSuite() { PlatformShutdown(); }
    void SetUp() override {
        ResetProgramState();
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);  // each test starts with the focus
        Pump();
    }
    void TearDown() override {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) SDL_JoystickDetachVirtual(i);
        Pump();
    }
};
}  // namespace

TEST_F(SdlPlatform, PadDirectionsFromDpadAndLeftStickWithTheDeadZones) {
    VirtualDevice pad = VirtualDevice::Plug(true);
    Frame();
    EXPECT_EQ(JoyHeld, 0u);
    // The stick's SDL value v reads as v + 32768: right beyond 49151, left below 16383.
    struct Case { int axis; int16_t value; uint32_t held; } cases[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 16383, 0}, {SDL_CONTROLLER_AXIS_LEFTX, 16384, BitRight},
        {SDL_CONTROLLER_AXIS_LEFTX, -16385, 0}, {SDL_CONTROLLER_AXIS_LEFTX, -16386, BitLeft},
        {SDL_CONTROLLER_AXIS_LEFTY, 16384, BitDown}, {SDL_CONTROLLER_AXIS_LEFTY, -32768, BitUp},
        {SDL_CONTROLLER_AXIS_RIGHTX, 32767, 0}, {SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, 0},
    };
    for (const auto& c : cases) {
        pad.Axis(c.axis, c.value);
        Frame();
        EXPECT_EQ(JoyHeld, c.held) << "axis " << c.axis << " at " << c.value;
        pad.Axis(c.axis, 0);
    }
    struct Dpad { int button; uint32_t held; } dpad[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, BitLeft}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, BitRight},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, BitUp}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, BitDown},
    };
    for (const auto& d : dpad) {
        pad.Button(d.button, true);
        Frame();
        EXPECT_EQ(JoyHeld, d.held) << "d-pad button " << d.button;
        pad.Button(d.button, false);
    }
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);  // the d-pad wins over the stick
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    Frame();
    EXPECT_EQ(JoyHeld, BitRight);
    EXPECT_EQ(RightPressed, 1);
}

// The platform reports a pad's buttons as they are; the shell's pad table
// makes them the game's: the face buttons turn and link, Start is the pause
// key, Back the options key, the top button the help key.
TEST_F(SdlPlatform, PadButtonsGoThroughThePadTable) {
    VirtualDevice pad = VirtualDevice::Plug(true);
    Frame();
    struct Case { int button; uint32_t joy; uint32_t key; } cases[] = {
        {SDL_CONTROLLER_BUTTON_A, BitButton1, 0},
        {SDL_CONTROLLER_BUTTON_B, BitButton2, 0},
        {SDL_CONTROLLER_BUTTON_X, BitButton3, 0},
        {SDL_CONTROLLER_BUTTON_Y, 0, BitF1},
        {SDL_CONTROLLER_BUTTON_START, 0, BitEnter},
        {SDL_CONTROLLER_BUTTON_BACK, 0, BitF2},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0, BitUndo},
        {SDL_CONTROLLER_BUTTON_GUIDE, 0, 0},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0, 0},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0, 0},
    };
    for (const auto& c : cases) {
        pad.Button(c.button, true);
        Frame();
        EXPECT_EQ(JoyPressed, c.joy) << "button " << c.button;
        EXPECT_EQ(KeyPressed, c.key) << "button " << c.button;
        EXPECT_EQ(NewestPadButton, c.button);
        Frame();
        EXPECT_EQ(JoyHeld, c.joy) << "held, button " << c.button;
        EXPECT_EQ(JoyPressed | KeyPressed, 0u) << "pressed once only, button " << c.button;
        EXPECT_EQ(NewestPadButton, -1);
        pad.Button(c.button, false);
        Frame();
    }
    // Button 3 is the keyboard's A to every reader: the link action and finishing a name.
    pad.Button(SDL_CONTROLLER_BUTTON_X, true);
    Frame();
    EXPECT_EQ(Button3Pressed, 1);
}

TEST_F(SdlPlatform, JoystickWithoutMappingReadsItsRawAxesAndButtons) {
    VirtualDevice stick = VirtualDevice::Plug(false);
    stick.Axis(0, -32768);
    stick.Axis(1, 32767);
    stick.Button(0, true);
    stick.Button(14, true);  // button 15: Enter's bit, which only the keyboard's word is read for
    Frame();
    EXPECT_EQ(JoyHeld, BitLeft | BitDown | BitButton1 | BitEnter);
    EXPECT_EQ(KeyHeld, 0u);
    stick.Axis(0, 0);
    stick.Axis(1, 0);
    stick.Button(0, false);
    stick.Button(14, false);
    stick.Button(16, true);  // button 17 shares the right push's bit
    Frame();
    EXPECT_EQ(JoyHeld, BitRight);
}

// A joystick SDL's database does not know, given a mapping as
// SDL_GAMECONTROLLERCONFIG gives one: read as a pad, by its mapping and not
// by its raw button numbers.
TEST_F(SdlPlatform, JoystickGivenAMappingIsReadAsAPad) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.naxes = 2;
    desc.nbuttons = 17;
    desc.vendor_id = 0x1234;  // SDL matches mappings by vendor and product
    desc.product_id = 0x5678;
    desc.name = "Test joystick";
    int index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_FALSE(SDL_IsGameController(index));
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    std::string mapping = std::string(guid) + ",Test joystick,a:b5,b:b4,x:b3,start:b0,leftx:a1,lefty:a0,";
    ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();
    SDL_JoystickDetachVirtual(index);
    Pump();
    index = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_TRUE(SDL_IsGameController(index));
    VirtualDevice mapped{SDL_JoystickGetDeviceInstanceID(index), SDL_JoystickOpen(index)};
    mapped.Button(5, true);
    mapped.Button(0, true);
    mapped.Axis(0, -32768);  // its first axis is the stick's y
    Frame();
    EXPECT_EQ(JoyHeld, BitButton1 | BitUp);
    EXPECT_EQ(KeyPressed, BitEnter);
    EXPECT_EQ(PadButtonsHeld, (1u << SDL_CONTROLLER_BUTTON_A) | (1u << SDL_CONTROLLER_BUTTON_START));
    mapped.Unplug();
}

TEST_F(SdlPlatform, FirstConnectedIsJoystickOneAcrossPluggingAndUnplugging) {
    uint32_t x, y, buttons;
    bool isPad = false;
    Pump();
    EXPECT_FALSE(PlatformJoystick(x, y, buttons, isPad));
    VirtualDevice stick = VirtualDevice::Plug(false);
    VirtualDevice pad = VirtualDevice::Plug(true);
    stick.Button(1, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    Frame();
    EXPECT_EQ(JoyHeld, BitButton2) << "the joystick plugged in first";
    stick.Unplug();
    Frame();
    EXPECT_EQ(JoyHeld, BitButton1) << "the pad takes over";
    EXPECT_EQ(JoyPressed, BitButton1);
    pad.Unplug();
    Frame();
    EXPECT_FALSE(PlatformJoystick(x, y, buttons, isPad));
    EXPECT_EQ(JoyHeld, 0u);
    VirtualDevice again = VirtualDevice::Plug(true);
    again.Button(SDL_CONTROLLER_BUTTON_B, true);
    Frame();
    EXPECT_EQ(Button2Pressed, 1) << "a button held while plugging in counts as pressed";
}

TEST_F(SdlPlatform, DisplayKeysNeverReachTheGame) {
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_F11, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyHeld, 0u) << "Alt+Enter is not Enter";
    PushKey(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(SDL_KEYUP, SDL_SCANCODE_F11, KMOD_NONE);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyPressed, BitEnter) << "Enter alone still is";
    PushKey(SDL_KEYUP, SDL_SCANCODE_KP_ENTER, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyHeld, 0u);
}

TEST_F(SdlPlatform, LosingFocusInPlayPressesEnterOnce) {
    struct Case { ScreenStateValue state; uint8_t paused; Uint8 event; uint32_t pressed; } cases[] = {
        {PairFalling, 0, SDL_WINDOWEVENT_FOCUS_LOST, BitEnter},
        {Linking, 0, SDL_WINDOWEVENT_MINIMIZED, BitEnter},
        {Erasing, 1, SDL_WINDOWEVENT_FOCUS_LOST, 0},  // paused already: must not resume
        {GameOverScreen, 0, SDL_WINDOWEVENT_FOCUS_LOST, 0},  // Enter would finish a name
        {PairFalling, 0, SDL_WINDOWEVENT_FOCUS_GAINED, 0},
    };
    for (const auto& c : cases) {
        ScreenState = c.state;
        PauseFlag = c.paused;
        PushWindowEvent(c.event);
        Frame();
        EXPECT_EQ(KeyPressed, c.pressed) << "state " << c.state << " event " << int(c.event);
        Frame();
        EXPECT_EQ(KeyHeld, 0u) << "for one frame only";
        ScreenState = PairFalling;
        PauseFlag = 0;
        Frame();
        EXPECT_EQ(KeyHeld, 0u) << "not kept for later";
    }
}

// Lost while the board slides in, the focus is owed a pause as soon as play
// begins, unless the player came back first. The same when the focus went
// and came back within the frame that started the mission (the open-file
// dialog's, whose events are taken after it closes, while the loaded board
// has left the state at NextPair and before the entry is set).
TEST_F(SdlPlatform, FocusLostBeforePlayPausesWhenPlayBeginsUnlessItCameBack) {
    struct Case { const char* when; bool withinStartingFrame, cameBack; } cases[] = {
        {"during the entry", false, false},
        {"during the entry", false, true},
        {"in the frame that starts the mission", true, false},
        {"in the frame that starts the mission", true, true},
    };
    for (const Case& c : cases) {
        PauseFlag = 0;
        ScreenState = c.withinStartingFrame ? NextPair : BoardEntryScreen;
        if (!c.withinStartingFrame) Frame();
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
        if (c.cameBack && c.withinStartingFrame) PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        Pump();
        ScreenState = BoardEntryScreen;
        SampleInput();
        EXPECT_EQ(KeyPressed, 0u) << "Enter is not pressed during the entry, lost " << c.when;
        if (c.cameBack && !c.withinStartingFrame) PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        Frame();
        ScreenState = NextPair;
        Frame();
        EXPECT_EQ(KeyPressed, c.cameBack ? 0u : BitEnter)
            << "lost " << c.when << (c.cameBack ? ", came back in time" : ", play began unattended");
        Frame();
        EXPECT_EQ(KeyHeld, 0u) << "once";
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        Frame();
    }
}

// Without the focus a pad is not read (its Start neither); unplugging the
// pad being played with pauses as a focus loss does.
TEST_F(SdlPlatform, PadIgnoredWithoutFocusAndUnpluggingItPauses) {
    VirtualDevice pad = VirtualDevice::Plug(true);
    Frame();
    ScreenState = PairFalling;
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    Frame();
    EXPECT_NE(JoyHeld, 0u);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Frame();  // the focus loss's own pause
    PauseFlag = 1;
    Frame();
    EXPECT_EQ(JoyHeld, 0u) << "the pad is not read in the background";
    EXPECT_EQ(KeyHeld & BitEnter, 0u) << "Start neither";
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    pad.Button(SDL_CONTROLLER_BUTTON_A, false);
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    Frame();
    PauseFlag = 0;
    Frame();
    pad.Unplug();
    Frame();
    EXPECT_EQ(KeyPressed, BitEnter) << "unplugged in play: paused";
}

// A key pressed and released between two samples still counts as pressed in
// the next one; the pointer hides on a key and shows again when the mouse moves.
TEST_F(SdlPlatform, ATapWithinOneFrameCountsAndThePointerHidesWhileKeysAreUsed) {
    ScreenState = TitleScreen;
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    PushKey(SDL_KEYUP, SDL_SCANCODE_ESCAPE, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyPressed, BitEscape);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    Frame();
    EXPECT_EQ(KeyHeld, 0u) << "and only once";
    // Two taps, the second before the frame after the first: that frame
    // sees the key up and the next one the second press.
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT, KMOD_NONE);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LEFT, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyPressed, BitLeft);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT, KMOD_NONE);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LEFT, KMOD_NONE);
    Frame();
    EXPECT_EQ(KeyHeld, 0u) << "let go between the taps";
    Frame();
    EXPECT_EQ(KeyPressed, BitLeft) << "the second tap";
    Frame();
    EXPECT_EQ(KeyHeld, 0u);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    SDL_PushEvent(&motion);
    Frame();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

namespace {
// A 16-bit mono PCM WAV file at 22050 Hz of `frames` samples of a tone;
// its data chunk claims `claimedBytes` when given.
std::vector<uint8_t> WaveFile(uint32_t frames, uint32_t claimedBytes = 0) {
    std::vector<uint8_t> b;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); };
    auto put16 = [&](uint32_t v) { for (int i = 0; i < 2; ++i) b.push_back(uint8_t(v >> (8 * i))); };
    auto tag = [&](const char* t) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i])); };
    uint32_t dataBytes = frames * 2;
    tag("RIFF");
    put32(36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);
    put32(22050);
    put32(44100);
    put16(2);
    put16(16);
    tag("data");
    put32(claimedBytes ? claimedBytes : dataBytes);
    for (uint32_t i = 0; i < frames; ++i) put16(uint16_t(int16_t(8000 * std::sin(i * 0.1))));
    return b;
}

SoundImage Prepared(const char* file, std::vector<uint8_t> bytes, bool pitched = false) {
    SoundImage image;
    image.name = "Test";
    image.file = file;
    image.bytes = std::move(bytes);
    image.pitchVariants = pitched;
    PlatformPrepareSound(image);
    return image;
}
}  // namespace

// Effects started back to back play together; with every channel busy the
// oldest fades out within milliseconds so that the next one has a channel.
TEST_F(SdlPlatform, SoundsPlayTogetherAndTheOldestFadesWhenAllChannelsAreBusy) {
    SoundImage a = Prepared("a.wav", WaveFile(22050)), b = Prepared("b.wav", WaveFile(22050));
    ASSERT_NE(a.handle, nullptr);
    ASSERT_NE(b.handle, nullptr);
    PlatformPlaySound(a);
    PlatformPlaySound(b);
    ASSERT_TRUE(AudioHelperIdle(5000));  // the mixer starts them on its helper thread
    EXPECT_EQ(Mix_Playing(-1), 2) << "the second did not cut the first";
    const int channels = Mix_AllocateChannels(-1);
    EXPECT_GE(channels, 4);
    for (int i = 2; i < channels; ++i) PlatformPlaySound(i % 2 ? b : a);
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_EQ(Mix_Playing(-1), channels);
    EXPECT_EQ(Mix_FadingChannel(0), MIX_FADING_OUT) << "the oldest makes room";
    for (int c = 1; c < channels; ++c) EXPECT_EQ(Mix_FadingChannel(c), MIX_NO_FADING) << c;
    SDL_Delay(150);
    EXPECT_EQ(Mix_Playing(0), 0) << "faded out by now";
    EXPECT_EQ(Mix_Playing(-1), channels - 1);
    PlatformStopSound();
    PlatformReleaseSound(a);
    PlatformReleaseSound(b);
}

// A sound with pitch variants has four copies 1.5 and 3 per cent higher and
// lower (shorter and longer by as much), and repeated plays use several.
TEST_F(SdlPlatform, PitchedCopiesAreAFewPerCentApartAndVary) {
    SoundImage s = Prepared("move.wav", WaveFile(4410), true);
    ASSERT_NE(s.handle, nullptr);
    double length = static_cast<Mix_Chunk*>(s.handle)->alen;
    const double factors[] = {0.97, 0.985, 1.015, 1.03};
    for (int i = 0; i < SoundImage::PitchedCopies; ++i) {
        ASSERT_NE(s.pitched[i], nullptr) << i;
        EXPECT_NEAR(static_cast<Mix_Chunk*>(s.pitched[i])->alen, length / factors[i], length * 0.002) << i;
    }
    std::set<const Mix_Chunk*> heard;
    for (int i = 0; i < 16; ++i) {
        PlatformStopSound();
        PlatformPlaySound(s);
        ASSERT_TRUE(AudioHelperIdle(5000));
        heard.insert(Mix_GetChunk(0));
    }
    EXPECT_GE(heard.size(), 3u);
    PlatformStopSound();
    PlatformReleaseSound(s);
    EXPECT_EQ(s.pitched[0], nullptr);
    EXPECT_TRUE(AudioHelperIdle(5000));
}

// A sound that is missing, not a WAV file, broken or claims to last hours
// is silent, named once on stderr with the reason; nothing of what a header
// claims is allocated.
TEST_F(SdlPlatform, BadSoundsAreSilentAndNamedOnce) {
    std::vector<uint8_t> noData = WaveFile(0);
    noData.resize(36);
    const struct {
        const char* file;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"snd/empty.wav", {}, "empty"},
        {"snd/text.wav", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'a', 'v', 'e', ' ', '!'}, "not a WAV file"},
        {"snd/cut.wav", noData, "without its format or its data"},
        {"snd/hours.wav", WaveFile(100, 0xFFFFFFF0u), "claims 97391 s"},
        {"snd/eleven.wav", WaveFile(100, 11 * 44100), "claims 11 s"},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        SoundImage s = Prepared(c.file, c.bytes, true);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(s.handle, nullptr) << c.file;
        EXPECT_EQ(s.pitched[0], nullptr) << c.file;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(c.file), std::string::npos) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        PlatformPlaySound(s);  // silent, harmless
    }
    // A file that could not be read is named with the reason it gave.
    SoundImage folder;
    folder.file = "snd/folder.wav";
    folder.readError = "Is a directory";
    testing::internal::CaptureStderr();
    PlatformPrepareSound(folder);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "tessmar: sound snd/folder.wav is silent: Is a directory\n");
    testing::internal::CaptureStderr();
    SoundImage ten = Prepared("snd/ten.wav", WaveFile(220500));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(ten.handle, nullptr) << "ten seconds is the most a sound may last";
    PlatformReleaseSound(ten);
}

// The audio callback stuck with the device's lock (as a synthesiser that
// reloads a broken song for ever keeps it): the frame loop's calls to sounds
// and tune return at once, the stall is said once, and once the lock is free
// again the helper catches up.
TEST_F(SdlPlatform, AStuckAudioCallbackHoldsUpNoFrame) {
    SDL_AudioDeviceID mixerDevice = 0;
    for (SDL_AudioDeviceID id = 1; id < 16 && mixerDevice == 0; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) mixerDevice = id;
    ASSERT_NE(mixerDevice, 0u) << "no open audio device";
    SoundImage a = Prepared("a.wav", WaveFile(22050));
    ASSERT_NE(a.handle, nullptr);
    // Held by another thread, as the audio thread would (the lock is recursive).
    std::atomic<bool> held{false}, release{false};
    std::thread holder([&] {
        SDL_LockAudioDevice(mixerDevice);
        held = true;
        while (!release) SDL_Delay(1);
        SDL_UnlockAudioDevice(mixerDevice);
    });
    while (!held) SDL_Delay(1);
    uint32_t start = SDL_GetTicks();
    for (int frame = 0; frame < 50; ++frame) {
        PlatformPlaySound(a);
        PlatformTunePlay();
        EXPECT_FALSE(PlatformTuneStopped());
    }
    PlatformStopSound();
    // Held until after the checks below: a frame that waited on it would never end.
    EXPECT_LT(SDL_GetTicks() - start, 1000u) << "a frame waited on the audio lock";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(AudioHelperIdle(1500)) << "the stall was not seen";
    PlatformPlaySound(a);
    EXPECT_FALSE(AudioHelperIdle(10));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("stopped answering"), std::string::npos) << err;
    release = true;
    holder.join();
    EXPECT_TRUE(AudioHelperIdle(5000)) << "the helper did not catch up";
    PlatformStopSound();
    PlatformPlaySound(a);
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_EQ(Mix_Playing(-1), 1) << "sounds play again";
    PlatformStopSound();
    PlatformReleaseSound(a);
    EXPECT_TRUE(AudioHelperIdle(5000));
}

// A song of one piano note held for eight seconds.
std::string HeldNoteSong() {
    const std::string path = (std::filesystem::temp_directory_path() / "tessmar_held_note.mid").string();
    const unsigned char song[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0,
                                  'M', 'T', 'r', 'k', 0, 0, 0, 16,
                                  0, 0xC0, 0, 0, 0x90, 60, 100, 0xBC, 0, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(song), sizeof song);
    return path;
}

// A stop fades the tune out over a few hundred milliseconds instead of
// cutting it; a play asked for during the fade starts after it and counts as
// playing (the fade's end is not taken for the new play's).
TEST_F(SdlPlatform, AStoppedTuneFadesOutAndPlaysAgainAfter) {
    const std::string path = HeldNoteSong();
    PlatformTuneOpen(path.c_str());
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    ASSERT_EQ(Mix_PlayingMusic(), 1) << "the song does not play";
    SDL_Delay(200);
    PlatformTuneStop();
    ASSERT_TRUE(AudioHelperIdle(1000));
    const uint32_t stoppedAt = SDL_GetTicks();
    EXPECT_TRUE(PlatformTuneStopped());
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
    while (Mix_PlayingMusic() && SDL_GetTicks() - stoppedAt < 2000) SDL_Delay(2);
    const uint32_t fade = SDL_GetTicks() - stoppedAt;
    EXPECT_GE(fade, 250u);
    EXPECT_LE(fade, 700u);
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    PlatformTuneStop();
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(2000));
    SDL_Delay(50);
    EXPECT_FALSE(PlatformTuneStopped());
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_NE(Mix_FadingMusic(), MIX_FADING_OUT);
    PlatformTuneClose();
    EXPECT_TRUE(AudioHelperIdle(2000));
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// While the music is not to be heard (its level 0) the tune is not even
// read: a play asked for then plays nothing and says nothing of a file that
// is no tune; once the level is up, the next play reads it (and says so),
// and a real tune plays.
TEST_F(SdlPlatform, ATuneIsReadOnlyOnceItIsToBeHeard) {
    const std::string bad = ::testing::TempDir() + "not-a-tune.mid";
    std::FILE* f = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("no tune at all", f);
    std::fclose(f);
    PlatformSetVolumes(0, 1);
    testing::internal::CaptureStderr();
    PlatformTuneOpen(bad.c_str());
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the tune was read";
    EXPECT_TRUE(PlatformTuneStopped());
    PlatformSetVolumes(1, 1);
    testing::internal::CaptureStderr();
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be played"), std::string::npos);
    PlatformTuneClose();
    const std::string good = HeldNoteSong();
    PlatformSetVolumes(0, 1);
    PlatformTuneOpen(good.c_str());
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    PlatformSetVolumes(1, 1);
    PlatformTunePlay();
    ASSERT_TRUE(AudioHelperIdle(5000));
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    PlatformTuneClose();
    EXPECT_TRUE(AudioHelperIdle(2000));
}

// Without a renderer the picture is scaled by whole numbers into the
// window's own pixels, and only the areas the picture says changed are
// written again.
TEST_F(SdlPlatform, ThePictureIsScaledIntoTheWindowAndOnlyChangedAreasAreRewritten) {
    ASSERT_TRUE(PlatformOpenWindow({"present", 384, 480}));
    SDL_Window* window = PlatformWindow();
    SDL_SetWindowSize(window, 800, 1000);  // 2x, 16 and 20 pixels of border
    Pump();
    Surface picture;
    picture.Create(384, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 384; ++x) picture.At(x, y) = Rgb(x % 256, y % 256, (x + y) % 7);
    PlatformPresent(Shown(picture));
    SDL_Surface* out = SDL_GetWindowSurface(window);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(out->w, 800);
    auto at = [&](int x, int y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(out->pixels) + y * out->pitch);
        return row[x] & 0xFFFFFF;
    };
    for (auto [x, y] : {std::pair{0, 0}, {383, 0}, {0, 479}, {383, 479}, {200, 123}})
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                EXPECT_EQ(at(16 + 2 * x + dx, 20 + 2 * y + dy), picture.At(x, y)) << x << "," << y;
    EXPECT_EQ(at(15, 500), Rgb(16, 16, 20)) << "the border";
    EXPECT_EQ(at(400, 19), Rgb(16, 16, 20));

    // Marks in the window where the picture's (0, 0) and (200, 300) are, then
    // the pixel (10, 300) changed and said to: it shows the change and the
    // marks stay, on its row too, as nothing else was rewritten.
    auto markAt = [&](int x, int y) {
        reinterpret_cast<uint32_t*>(out->pixels)[(20 + 2 * y) * out->pitch / 4 + 16 + 2 * x] = 0xFF00FF;
    };
    markAt(0, 0);
    markAt(200, 300);
    picture.At(10, 300) = Rgb(1, 2, 3);
    PlatformPresent(Changed(picture, {{10, 300, 1, 1}}));
    EXPECT_EQ(at(16 + 20, 20 + 600), Rgb(1, 2, 3));
    EXPECT_EQ(at(16 + 21, 20 + 601), Rgb(1, 2, 3));
    EXPECT_EQ(at(16, 20), 0xFF00FFu);
    EXPECT_EQ(at(16 + 400, 20 + 600), 0xFF00FFu) << "the changed pixel's row was written whole";
    PlatformPresent(Changed(picture, {}));  // the same picture: nothing written
    EXPECT_EQ(at(16, 20), 0xFF00FFu);
    // Rows 100 and 400 changed: both are written, the rows between them are not.
    markAt(0, 250);
    picture.At(0, 100) = Rgb(4, 5, 6);
    picture.At(0, 400) = Rgb(7, 8, 9);
    PlatformPresent(Changed(picture, {{0, 100, 1, 1}, {0, 400, 1, 1}}));
    EXPECT_EQ(at(16, 20 + 200), Rgb(4, 5, 6));
    EXPECT_EQ(at(16, 20 + 800), Rgb(7, 8, 9));
    EXPECT_EQ(at(16, 20 + 500), 0xFF00FFu) << "a row between two changed rows was written again";
    // An area said to change is cut to the pixels in it that did: its
    // unchanged pixels are not written again.
    markAt(0, 0);
    picture.At(5, 6) = Rgb(10, 11, 12);
    PlatformPresent(Changed(picture, {{0, 0, 64, 64}, {0, 248, 8, 8}}));
    EXPECT_EQ(at(16 + 10, 20 + 12), Rgb(10, 11, 12));
    EXPECT_EQ(at(16, 20), 0xFF00FFu) << "an unchanged pixel of a changed area was written again";
    EXPECT_EQ(at(16, 20 + 500), 0xFF00FFu) << "an area with no pixel changed was written again";
    // The window's pixels may be new: all of it again, whatever the picture says.
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    Pump();
    PlatformPresent(Changed(picture, {}));
    EXPECT_EQ(at(16, 20), picture.At(0, 0));
    EXPECT_EQ(at(16 + 400, 20 + 600), picture.At(200, 300));
    PlatformCloseWindow();
}

// Frame after frame of small changes, each said in whole 8 x 8 squares as
// the drawing says them (with squares around that did not change): at each
// whole scale the window always holds exactly the picture scaled, though
// only what differs is written.
TEST_F(SdlPlatform, AreasCutToWhatDiffersStillLeaveTheWholePictureInTheWindow) {
    for (const int scale : {2, 3, 4}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        ASSERT_TRUE(PlatformOpenWindow({"cut", 384, 480}));
        SDL_Window* window = PlatformWindow();
        SDL_SetWindowSize(window, 384 * scale, 480 * scale);  // no border
        Pump();
        Surface picture;
        picture.Create(384, 480);
        uint32_t seed = 12345;
        auto next = [&](uint32_t n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % n;
        };
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 384; ++x) picture.At(x, y) = Rgb(x % 256, y % 256, 9);
        PlatformPresent(Shown(picture));
        const int frames = scale == 2 ? 60 : 15;
        for (int frame = 0; frame < frames; ++frame) {
            std::vector<PictureArea> said;
            for (int k = 0; k < 4; ++k) {
                const int x = int(next(370)), y = int(next(466)), w = 1 + int(next(14)), h = 1 + int(next(14));
                for (int yy = y; yy < y + h; ++yy)
                    for (int xx = x; xx < x + w; ++xx)
                        if (next(3) != 0) picture.At(xx, yy) = Rgb(next(256), next(256), next(256));
                const int sx = x / 8 * 8 - 8, sy = y / 8 * 8;
                said.push_back({std::max(sx, 0), sy, (x + w + 7) / 8 * 8 + 8 - std::max(sx, 0), (y + h + 7) / 8 * 8 - sy});
            }
            said.push_back({int(next(40)) * 8, int(next(60)) * 8, 8, 8});  // said, unchanged
            PlatformPresent(Changed(picture, said));
            SDL_Surface* out = SDL_GetWindowSurface(window);
            ASSERT_NE(out, nullptr);
            ASSERT_EQ(out->w, 384 * scale);
            int wrong = 0;
            for (int y = 0; y < out->h; ++y) {
                const auto* row =
                    reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(out->pixels) + y * out->pitch);
                for (int x = 0; x < out->w; ++x) wrong += (row[x] & 0xFFFFFF) != picture.At(x / scale, y / scale);
            }
            ASSERT_EQ(wrong, 0) << "window pixels unlike the picture after frame " << frame;
        }
        PlatformCloseWindow();
    }
}

// SCALE FIT without a renderer: a 640 x 800 window holds the picture at
// 1.67x, each picture pixel one or two window pixels wide with at most one
// mixed pixel at its edges, in the picture's own colours, and a change of one
// row rewrites only the window rows that show it. Switching back draws the
// whole-scale picture at once.
TEST_F(SdlPlatform, ThePictureFitsAtAnyFactorWithEvenPixels) {
    WindowRequest request{"fit", 384, 480};
    request.fit = true;
    ASSERT_TRUE(PlatformOpenWindow(request));
    SDL_Window* window = PlatformWindow();
    SDL_SetWindowSize(window, 640, 800);
    Pump();
    Surface picture;
    picture.Create(384, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 384; ++x) picture.At(x, y) = (x + y) % 2 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    PlatformPresent(Shown(picture));
    SDL_Surface* out = SDL_GetWindowSurface(window);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(out->w, 640);
    auto at = [&](int x, int y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(out->pixels) + y * out->pitch);
        return row[x] & 0xFFFFFF;
    };
    // Along the first window row: runs of pure black or white, one or two
    // pixels long, never two mixed pixels side by side; the first and last
    // window pixels are the picture's corners.
    int pure = 0, mixed = 0, run = 0;
    uint32_t last = 0xFFFFFFFF;
    for (int x = 0; x < 640; ++x) {
        uint32_t c = at(x, 0);
        if (c == 0 || c == 0xFFFFFF) {
            ++pure;
            run = c == last ? run + 1 : 1;
            EXPECT_LE(run, 2) << "a picture pixel wider than two window pixels at " << x;
        } else {
            ++mixed;
            EXPECT_NE(last, 0xFFFFFFFEu) << "two mixed pixels side by side at " << x;
            c = 0xFFFFFFFE;
            run = 0;
        }
        last = c;
    }
    // Three picture pixels to five window pixels: three pure, two mixed.
    EXPECT_EQ(pure, 384);
    EXPECT_EQ(mixed, 256);
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(639, 799), 0u);
    // Picture row 300 changed: the window rows that show it change, a mark
    // away from it stays.
    auto mark = [&](int x, int y) { reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out->pixels) + y * out->pitch)[x] = 0xFF00FF; };
    mark(10, 100);
    for (int x = 0; x < 384; ++x) picture.At(x, 300) = Rgb(0, 0, 255);
    PlatformPresent(Changed(picture, {{0, 300, 384, 1}}));
    EXPECT_EQ(at(10, 300 * 800 / 480), Rgb(0, 0, 255));
    EXPECT_EQ(at(10, 100), 0xFF00FFu) << "a row that shows no changed picture row was written again";
    PlatformSetPictureFit(false);  // 1x in this window, centred
    EXPECT_EQ(at(128 + 10, 160 + 300), Rgb(0, 0, 255));
    EXPECT_EQ(at(127, 400), Rgb(16, 16, 20)) << "the border of the whole-scale picture";
    PlatformCloseWindow();
}

// The headless platform's key and pad button names are SDL's, both ways,
// for every scancode and button.
TEST(SdlKeyNames, TheHeadlessTableIsSdls) {
    for (int key = 0; key < KeyCount; ++key) {
        EXPECT_EQ(KeyNameOf(key), PlatformKeyName(key)) << key;
        if (!PlatformKeyName(key).empty()) {
            EXPECT_EQ(KeyOfNamed(PlatformKeyName(key)), PlatformKeyOfName(PlatformKeyName(key))) << key;
        }
    }
    EXPECT_EQ(PadButtonCount, int(SDL_CONTROLLER_BUTTON_MAX));
    for (int b = -1; b <= PadButtonCount; ++b) {
        EXPECT_EQ(PadButtonNameOf(b), PlatformPadButtonName(b)) << b;
        EXPECT_EQ(PadButtonOfNamed(PadButtonNameOf(b)), PlatformPadButtonOfName(PadButtonNameOf(b))) << b;
    }
    EXPECT_EQ(PadButtonOfNamed("DPLeft"), PlatformPadButtonOfName("DPLeft"));
}
