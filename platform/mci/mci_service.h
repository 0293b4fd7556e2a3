#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace murmora {

// The program's engine driven through MCI-style command texts, as mci-shell and the benchmarks
// drive it. The reply is written into `reply` (at most `replyLength` characters, NUL-terminated
// where it fits); `reply` may be null when `replyLength` is 0. Returns mci::kSuccess, else one
// of the result codes below.
class MciService {
public:
    virtual ~MciService() = default;
    virtual int sendString(std::string_view command, char* reply, std::size_t replyLength) = 0;
    // The words for the last failure that gave `code`: which device, which folder, the reason.
    virtual std::string getErrorString(int code) = 0;
};

// The service over the sound server's devices (PortAudio's where there is no server), takes
// recorded into the user's take folder.
std::unique_ptr<MciService> makeMciService();

namespace mci {

// Result codes of the MCI string service: the Windows numbers where one fits.
inline constexpr int kSuccess = 0;
inline constexpr int kUnrecognisedKeyword = 259; // a word the command does not take
inline constexpr int kUnrecognisedCommand = 261;
inline constexpr int kAliasNotOpen = 263;
inline constexpr int kUnsupportedFunction = 274; // e.g. "record" on a playback device
inline constexpr int kFileNotFound = 275;
inline constexpr int kDeviceNotReady = 276; // e.g. "record" after the take was saved
inline constexpr int kFileNotSaved = 286;
inline constexpr int kAliasInUse = 289;
inline constexpr int kBadTimeFormat = 293;
inline constexpr int kNotReadableWav = 296; // the file is no WAV this service can read
inline constexpr int kFileNameRequired = 304;
inline constexpr int kNoAudioDevice = 306;      // no default input or output could be opened
inline constexpr int kTakeFileFailed = 512;     // the take file could not be made or written to its end
inline constexpr int kServerNotAnswering = 513; // the sound server did not answer in time; the
                                                // device is cleaned up once it answers again
inline constexpr int kDeviceLost = 514;         // the device went away: a take ends at its last frame

} // namespace mci
} // namespace murmora
