#include "playback/playback.h"

#include <algorithm>
#include <charconv>

#include "platform/mci_service.h"
#include "recording/mci_commands.h"

namespace murmora {

namespace {

constexpr std::size_t LengthReplyLength = 255;
constexpr std::size_t ModeReplyLength = 128;
// The longest the Play action's wait sleeps between two mode queries: short enough that the
// wait ends promptly, long enough that it costs no CPU.
constexpr int ModePollMs = 100;

// A new, empty buffer for each length query of each run.
std::string LengthReplyBuffer() { return std::string(LengthReplyLength, '\0'); }

// The text before the first NUL; nothing when the service left no NUL in the buffer.
std::optional<std::string> TextBeforeNul(const std::string& buffer) {
    const auto nul = buffer.find('\0');
    if (nul == std::string::npos) return std::nullopt;
    return buffer.substr(0, nul);
}

// The whole number the reply begins with, if it begins with one (the NUL that ends the
// reply ends the number too).
std::optional<unsigned long long> LeadingNumber(const std::string& reply) {
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), number);
    if (error != std::errc{}) return std::nullopt;
    return number;
}

// Path comparison of Command4: upper case of the ASCII letters, other bytes as they are.
std::string UpperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

} // namespace

std::string FormatTenths(unsigned long long number, unsigned divisor) {
    // Whole-number arithmetic, so that halves round up as they read in decimal (1280 / 1024
    // gives 1.3, 150 / 1000 gives .2), which binary floating point does not always do.
    const unsigned long long remainder = number % divisor;
    const unsigned long long tenths = number / divisor * 10 + (remainder * 20 + divisor) / (2ULL * divisor);
    const unsigned long long whole = tenths / 10;
    return (whole == 0 ? std::string() : std::to_string(whole)) + "." + std::to_string(tenths % 10);
}

std::optional<std::string> Playback::ChooseFile() const {
    const std::string& file = ctx_.mod.LastSaveScheduled ? ctx_.mod.AutoSavePath : ctx_.m.PlayFileName;
    if (file.empty() || !ctx_.os.files.fileExists(file)) return std::nullopt;
    return file;
}

std::string Playback::SendPlaybackQuery(const std::string& command, std::string buffer) {
    ctx_.m.MciResult = std::to_string(ctx_.os.mci.sendString(command, buffer.data(), buffer.size()));
    return buffer;
}

void Playback::ShowLength(Label& label, const std::string& reply, unsigned divisor, const char* unit) {
    label.setLeft(10);
    const auto number = LeadingNumber(reply);
    label.setCaption(number ? FormatTenths(*number, divisor) + unit : std::string());
}

void Playback::PlayAction() {
    const auto file = ChooseFile();
    if (!file) return;

    ctx_.m.PlayOpenCommand = "open " + QuotedPath(*file) + " type waveaudio alias voice1";
    SendPlaybackCommand(ctx_, ctx_.m.PlayOpenCommand);
    if (ServerDidNotAnswer()) return;
    SendPlaybackCommand(ctx_, "set voice1 time format ms");
    ShowLength(ctx_.ui.Label1, SendPlaybackQuery("status voice1 length", LengthReplyBuffer()), 1000, " sec");
    SendPlaybackCommand(ctx_, "set voice1 time format bytes");
    ShowLength(ctx_.ui.Label2, SendPlaybackQuery("status voice1 length", LengthReplyBuffer()), 1024, " KB");
    SendPlaybackCommand(ctx_, "play voice1");
    if (ServerDidNotAnswer()) return;

    // Every other handler runs inside this wait; any of them may stop or close voice1,
    // which ends it at the next query.
    while (IsWavePlaying(PlaybackAlias)) ctx_.os.pump.processPendingEvents(ModePollMs);

    SendPlaybackCommand(ctx_, "close voice1");
}

bool Playback::ServerDidNotAnswer() {
    if (ctx_.m.MciResult != std::to_string(mci::kServerNotAnswering)) return false;
    SendPlaybackCommand(ctx_, "close voice1");
    ctx_.os.messages.show(
        std::string(ServerDoesNotAnswer) + ": the recording cannot be played now. Try again in a moment.",
        MessageStyle::exclamation, AppTitle);
    return true;
}

bool Playback::IsWavePlaying(std::string sAlias) {
    const std::string reply = SendPlaybackQuery("status " + sAlias + " mode", std::string(ModeReplyLength, ' '));
    // A buffer the service left without a NUL holds no mode: the device does not play.
    ctx_.m.PlayMode = TextBeforeNul(reply).value_or(std::string());
    return PlayModeIsPlaying(ctx_);
}

void Playback::Command3Click() {
    if (PlayModeIsPlaying(ctx_)) StopAndClosePlayback(ctx_);
}

void Playback::Command4Click() {
    const bool sameFile = UpperCase(ctx_.m.PlayFileName) == UpperCase(ctx_.form2.Text8.text());
    const bool playing = PlayModeIsPlaying(ctx_);
    if (sameFile && playing) StopAndClosePlayback(ctx_);
}

} // namespace murmora
