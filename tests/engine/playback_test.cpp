// A file played through the engine: its length, its frames, its end and its loss.
#include "engine_fixture.h"

#include <fstream>

namespace murmora::testing {
namespace {

class PlaybackTest : public EngineTest {
protected:
    // A file of `frames` frames that never sound silent, opened to play.
    PlaybackLength openFile(std::size_t frames, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
        samples_ = rampFrames(frames, 100);
        writeWav(file_, samples_, format);
        const auto length = engine_->openPlayback(file_.string());
        EXPECT_TRUE(length) << (length ? "" : length.error().text);
        return length ? *length : PlaybackLength{-1, -1};
    }
    // Pulls until `frames` sounding frames have come out or the stream has ended; silence is the
    // output waiting for the file's reader, and is left out.
    std::vector<std::int16_t> pullSounding(std::size_t frames) {
        std::vector<std::int16_t> heard;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (heard.size() < frames * 2 && std::chrono::steady_clock::now() < deadline) {
            const auto block = backend_->pullPlayback(std::min<std::size_t>(256, frames - heard.size() / 2));
            if (block.empty()) break;
            std::copy_if(block.begin(), block.end(), std::back_inserter(heard), [](std::int16_t s) { return s != 0; });
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return heard;
    }
    bool endTold() {
        return ui_.runUntil([this] { return playbackEnds_ > 0; }, kEventLimit);
    }

    fs::path file_ = scratch_ / "play me – 音.wav";
    std::vector<std::int16_t> samples_;
};

TEST_F(PlaybackTest, OpeningTellsTheLengthInMillisecondsAndTheBytesOfItsStoredSound) {
    const struct {
        std::size_t frames;
        int format;
        PlaybackLength expected;
    } cases[] = {{22050, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {500, 88200}},
                 {1000, SF_FORMAT_WAV | SF_FORMAT_PCM_24, {22, 6000}},
                 {0, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {0, 0}}};
    for (const auto& c : cases) {
        const PlaybackLength length = openFile(c.frames, c.format);
        EXPECT_EQ(length.milliseconds, c.expected.milliseconds) << c.frames;
        EXPECT_EQ(length.bytes, c.expected.bytes) << c.frames;
    }
}

TEST_F(PlaybackTest, AFileThatCannotBePlayedIsRefusedWithItsReasonAndLeavesNoStream) {
    std::ofstream(scratch_ / "notes.wav") << "these are not samples\n";
    writeWav(scratch_ / "take.aiff", rampFrames(100),
             SF_FORMAT_AIFF | SF_FORMAT_PCM_16); // not a format takes are saved in
    // A damaged header claiming a sample rate near 2 GHz: refused, not believed.
    writeWav(scratch_ / "damaged.wav", rampFrames(100));
    std::fstream(scratch_ / "damaged.wav", std::ios::in | std::ios::out | std::ios::binary)
        .seekp(24)
        .write("\x00\x00\x00\x70", 4);
    const std::string notPlayable = "The file is no WAV, FLAC, Opus or MP3 file that can be played";
    const struct {
        fs::path path;
        SoundError expected;
    } cases[] = {
        {scratch_ / "absent.wav", {SoundFailure::notFound, "The file was not found (No such file or directory)"}},
        {scratch_.path, {SoundFailure::notFound, "The file was not found (No such file or directory)"}},
        {scratch_ / "notes.wav", {SoundFailure::notPlayable, notPlayable}},
        {scratch_ / "take.aiff", {SoundFailure::notPlayable, notPlayable}},
        {scratch_ / "damaged.wav", {SoundFailure::notPlayable, notPlayable}}};
    for (const auto& c : cases) {
        const auto length = engine_->openPlayback(c.path.string());
        ASSERT_FALSE(length) << c.path;
        EXPECT_EQ(length.error().failure, c.expected.failure) << c.path;
        EXPECT_EQ(length.error().text, c.expected.text) << c.path;
    }
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_EQ(engine_->play().failure, SoundFailure::notFound) << "nothing is open to play";
}

// The bytes this process has read from files so far.
std::uint64_t bytesReadByProcess() {
    std::ifstream io("/proc/self/io");
    std::string field;
    std::uint64_t bytes = 0;
    while (io >> field >> bytes)
        if (field == "rchar:") return bytes;
    ADD_FAILURE() << "/proc/self/io tells no rchar";
    return 0;
}

// Makes the WAV file at `path` `seconds` long: its frames first, then silence that takes no
// room on the disk.
void lengthenSparsely(const fs::path& path, std::uint64_t seconds) {
    std::fstream wav(path, std::ios::in | std::ios::out | std::ios::binary);
    const auto readWord = [&wav](std::streamoff at) {
        std::uint32_t word = 0;
        wav.seekg(at).read(reinterpret_cast<char*>(&word), 4);
        return word;
    };
    const auto writeWord = [&wav](std::streamoff at, std::uint64_t word) {
        const auto little = static_cast<std::uint32_t>(word);
        wav.seekp(at).write(reinterpret_cast<const char*>(&little), 4);
    };
    std::streamoff chunk = 12;
    std::uint64_t frameBytes = 0;
    for (char id[5] = {}; wav.seekg(chunk).read(id, 4) && std::string(id) != "data";
         chunk += 8 + ((readWord(chunk + 4) + 1) & ~1U))
        if (std::string(id) == "fmt ") frameBytes = readWord(chunk + 20) & 0xFFFF; // its block align
    ASSERT_TRUE(wav && frameBytes > 0) << "no data chunk in " << path;
    const std::uint64_t dataBytes = seconds * 44100 * frameBytes;
    writeWord(chunk + 4, dataBytes);
    writeWord(4, static_cast<std::uint64_t>(chunk) + dataBytes);
    wav.close();
    fs::resize_file(path, static_cast<std::uintmax_t>(chunk) + 8 + dataBytes);
}

// Opening a file to play costs the same for a minute and for a day: it reads the file's start,
// never the whole of it (libsndfile scans a floating-point file without a peak in its header
// when asked to scale it by its peak).
TEST_F(PlaybackTest, OpeningAFileReadsItsStartHoweverLongItIs) {
    constexpr std::uint64_t kLongSeconds = 101 * 60;
    for (const int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_WAV | SF_FORMAT_FLOAT}) {
        {
            SndfileHandle file(file_.string(), SFM_WRITE, format, 2, 44100);
            file.command(SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
            const auto samples = rampFrames(441);
            file.writef(samples.data(), 441);
        }
        lengthenSparsely(file_, kLongSeconds);
        const std::uint64_t before = bytesReadByProcess();
        const auto length = engine_->openPlayback(file_.string());
        const std::uint64_t read = bytesReadByProcess() - before;
        ASSERT_TRUE(length) << length.error().text;
        EXPECT_EQ(length->milliseconds, kLongSeconds * 1000) << format;
        EXPECT_LT(read, 16u << 20) << "bytes read to open a " << fs::file_size(file_) << "-byte file, format "
                                   << format;
        engine_->stopPlayback();
    }
}

// Samples of floating point play at their own level: full scale at 1.0, clipped beyond, never
// scaled to the file's peak.
TEST_F(PlaybackTest, AFloatingPointFilePlaysAtItsOwnLevel) {
    const std::vector<float> stored{0.25f, -0.25f, 0.5f, -1.0f, 1.0f, 1.5f, -1.5f, 0.001f};
    const std::vector<std::int16_t> played{8192, -8192, 16384, -32768, 32767, 32767, -32768, 33};
    {
        SndfileHandle file(file_.string(), SFM_WRITE, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100);
        file.writef(stored.data(), static_cast<sf_count_t>(stored.size() / 2));
    }
    ASSERT_TRUE(engine_->openPlayback(file_.string()));
    ASSERT_FALSE(engine_->play());
    EXPECT_EQ(pullSounding(played.size() / 2), played);
}

TEST_F(PlaybackTest, WithoutAnOutputOrAnAnsweringServerNothingOpens) {
    writeWav(file_, rampFrames(100));
    const struct {
        bool deviceAvailable;
        bool answering;
        SoundError expected;
    } cases[] = {{false, true, {SoundFailure::noDevice, "The sound output could not be opened"}},
                 {true, false, {SoundFailure::notAnswering, "The sound server does not answer"}}};
    for (const auto& c : cases) {
        backend_->setDeviceAvailable(c.deviceAvailable);
        backend_->setAnswering(c.answering);
        const auto length = engine_->openPlayback(file_.string());
        ASSERT_FALSE(length);
        EXPECT_EQ(length.error().failure, c.expected.failure);
        EXPECT_EQ(length.error().text, c.expected.text);
    }
}

TEST_F(PlaybackTest, PlayingWhileTheServerDoesNotAnswerSaysSo) {
    openFile(100);
    backend_->setAnswering(false);
    EXPECT_EQ(engine_->play().failure, SoundFailure::notAnswering);
}

TEST_F(PlaybackTest, PlaysEveryFrameInOrderAndTellsItsEndOnceTheLastHasPlayed) {
    openFile(4410);
    ASSERT_FALSE(engine_->play());
    auto heard = pullSounding(4409);
    ui_.runPosted();
    EXPECT_EQ(playbackEnds_, 0) << "told before its last frame";
    const auto last = pullSounding(2);
    heard.insert(heard.end(), last.begin(), last.end());
    EXPECT_EQ(heard, samples_);
    ASSERT_TRUE(endTold());
    EXPECT_EQ(playbackEnds_, 1);
}

TEST_F(PlaybackTest, AFileLongerThanItsRingIsReadWhileItPlays) {
    openFile(200000);
    ASSERT_FALSE(engine_->play());
    EXPECT_EQ(pullSounding(200001), samples_);
    EXPECT_TRUE(endTold());
}

TEST_F(PlaybackTest, AnEmptyFilePlaysNothingAndEnds) {
    openFile(0);
    ASSERT_FALSE(engine_->play());
    EXPECT_TRUE(pullSounding(1).empty());
    EXPECT_TRUE(endTold());
}

TEST_F(PlaybackTest, ALostOutputEndsThePlayback) {
    openFile(44100);
    ASSERT_FALSE(engine_->play());
    pullSounding(100);
    backend_->loseStreams();
    ASSERT_TRUE(endTold());
    EXPECT_EQ(playbackEnds_, 1);
}

TEST_F(PlaybackTest, StopEndsItAtOnce) {
    openFile(44100);
    ASSERT_FALSE(engine_->play());
    pullSounding(100);
    engine_->stopPlayback();
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_TRUE(backend_->pullPlayback(256).empty());
}

// Its end may be on its way to the user-interface thread when the playback is stopped, or
// another file is opened in its place: it is not told then.
TEST_F(PlaybackTest, TheEndOfAPlaybackClosedMeanwhileIsNotTold) {
    const std::function<void(audio::SoundEngine&)> closers[] = {
        [](audio::SoundEngine& engine) { engine.stopPlayback(); },
        [this](audio::SoundEngine& engine) { ASSERT_TRUE(engine.openPlayback(file_.string())); }};
    for (const auto& close : closers) {
        openFile(441);
        ASSERT_FALSE(engine_->play());
        pullSounding(442); // to its end: the end is posted
        close(*engine_);
        ui_.runPosted();
        EXPECT_EQ(playbackEnds_, 0);
    }
}

} // namespace
} // namespace murmora::testing
