#include "engine/backends/wasapi_backend.h"
#include "engine/backends/backends.h"

#include "engine/call_thread.h"
#include "engine/guarded.h"
#include "platform/wide/wide.h"

// windows.h first: the COM and audio headers use its types.
#include <windows.h>

#include <audioclient.h>
#include <avrt.h>
#include <mmdeviceapi.h>
#include <objbase.h>
#include <wrl/client.h>
// The property key of an endpoint's name is defined here, once.
#include <initguid.h>

#include <functiondiscoverykeys_devpkey.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace murmora::audio {
namespace {

using Clock = std::chrono::steady_clock;
using Microsoft::WRL::ComPtr;

// Always: Windows converts the stream's 16-bit PCM to the endpoint's mix format and rate itself.
// (Wine accepts a format other than the mix format without it; Windows refuses one.)
constexpr DWORD kStreamFlags =
    AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY;
// What an endpoint buffers, in 100 ns units. Capture holds a second for a pump that is late;
// playback is not interactive, and "stop" drops what it holds.
constexpr REFERENCE_TIME kCaptureBuffer = 10'000'000;
constexpr REFERENCE_TIME kPlaybackBuffer = 5'000'000;
// A running shared-mode endpoint moves frames every few milliseconds: one that moves none for
// this long has gone, whatever it says (kFirstFramesLimit after a start).
constexpr auto kSilentEndpointLimit = std::chrono::seconds(1);
constexpr DWORD kPumpCheckMs = 100;
// Windows loads the audio driver at the first enumeration; under Wine that connects to the
// sound server. It starts in the background when the backend is made; the first open waits
// this long for it.
constexpr auto kDeviceStartDeadline = std::chrono::seconds(1);
// How long the device thread waits for a closed stream's pump to let its endpoint go, so that
// the program does not end while the driver is still at it.
constexpr DWORD kPumpEndWaitMs = 1000;
// For this long after a start, a capture endpoint that holds more than it can have captured
// since (with this slack) holds frames from before the start.
constexpr auto kStartBurst = std::chrono::milliseconds(500);
constexpr auto kStartSlack = std::chrono::milliseconds(20);

// COM in the multithreaded apartment for the life of the object, on the thread that made it: what
// is made on one thread of that apartment may be used on any other.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// Windows' capture of what an output plays delivers nothing at all while nothing plays: a take
// of a quiet machine would come out shorter than the time it covered, and its input be taken
// for lost. Silence played on the same output keeps it delivering.
struct SilenceFeed {
    ComPtr<IAudioClient> client;
    ComPtr<IAudioRenderClient> render;
    UINT32 bufferFrames = 0;

    HRESULT open(IMMDevice& device, const WAVEFORMATEX& wave) {
        HRESULT result = device.Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, &client);
        if (SUCCEEDED(result))
            result = client->Initialize(AUDCLNT_SHAREMODE_SHARED, kStreamFlags & ~AUDCLNT_STREAMFLAGS_EVENTCALLBACK,
                                        kPlaybackBuffer, 0, &wave, nullptr);
        if (SUCCEEDED(result)) result = client->GetBufferSize(&bufferFrames);
        if (SUCCEEDED(result)) result = client->GetService(IID_PPV_ARGS(&render));
        return result;
    }
    // Fills the room the output has. A feed that fails costs nothing but the silent stretches:
    // the capture itself tells whether the output is still there.
    void topUp() {
        UINT32 padding = 0;
        BYTE* data = nullptr;
        if (!render || FAILED(client->GetCurrentPadding(&padding)) || padding >= bufferFrames) return;
        if (SUCCEEDED(render->GetBuffer(bufferFrames - padding, &data)))
            render->ReleaseBuffer(bufferFrames - padding, AUDCLNT_BUFFERFLAGS_SILENT);
    }
    void start() {
        if (!client) return;
        topUp();
        client->Start();
    }
    void stop() {
        if (!client) return;
        client->Stop();
        client->Reset();
    }
};

// A stream's client on one endpoint device.
struct Endpoint {
    ComPtr<IAudioClient> client;
    ComPtr<IAudioCaptureClient> capture;
    ComPtr<IAudioRenderClient> render;
    UINT32 bufferFrames = 0;
    std::wstring deviceId;
    SilenceFeed silence; // for the capture of an output's sound
};

std::wstring endpointId(IMMDevice& device) {
    LPWSTR id = nullptr;
    if (FAILED(device.GetId(&id))) return {};
    std::wstring kept(id);
    CoTaskMemFree(id);
    return kept;
}

// How the user knows the endpoint ("Microphone (USB Audio)"); empty when it does not say.
std::wstring friendlyName(IMMDevice& device) {
    ComPtr<IPropertyStore> properties;
    PROPVARIANT name;
    PropVariantInit(&name);
    std::wstring kept;
    if (SUCCEEDED(device.OpenPropertyStore(STGM_READ, &properties)) &&
        SUCCEEDED(properties->GetValue(PKEY_Device_FriendlyName, &name)) && name.vt == VT_LPWSTR)
        kept = name.pwszVal;
    PropVariantClear(&name);
    return kept;
}

// An output's endpoint, whose capture is the sound it plays, not an input's.
bool isOutput(IMMDevice& device) {
    ComPtr<IMMEndpoint> endpoint;
    EDataFlow flow = eCapture;
    return SUCCEEDED(device.QueryInterface(IID_PPV_ARGS(&endpoint))) && SUCCEEDED(endpoint->GetDataFlow(&flow)) &&
           flow == eRender;
}

HRESULT openEndpoint(IMMDevice& device, bool capture, const StreamFormat& format, HANDLE ready, Endpoint& out) {
    Endpoint made;
    const bool outputSound = capture && isOutput(device);
    LPWSTR id = nullptr;
    HRESULT result = device.GetId(&id);
    if (FAILED(result)) return result;
    made.deviceId = id;
    CoTaskMemFree(id);
    result = device.Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, &made.client);
    if (FAILED(result)) return result;
    WAVEFORMATEX wave{};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = static_cast<WORD>(format.channels);
    wave.nSamplesPerSec = static_cast<DWORD>(format.sampleRate);
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = static_cast<WORD>(format.channels * 2);
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * wave.nBlockAlign;
    result = made.client->Initialize(AUDCLNT_SHAREMODE_SHARED,
                                     kStreamFlags | (outputSound ? AUDCLNT_STREAMFLAGS_LOOPBACK : 0),
                                     capture ? kCaptureBuffer : kPlaybackBuffer, 0, &wave, nullptr);
    if (SUCCEEDED(result)) result = made.client->SetEventHandle(ready);
    if (SUCCEEDED(result)) result = made.client->GetBufferSize(&made.bufferFrames);
    if (SUCCEEDED(result))
        result = capture ? made.client->GetService(IID_PPV_ARGS(&made.capture))
                         : made.client->GetService(IID_PPV_ARGS(&made.render));
    if (SUCCEEDED(result) && outputSound) result = made.silence.open(device, wave);
    if (SUCCEEDED(result)) out = std::move(made);
    return result;
}

// The endpoint of that ID while it is active.
HRESULT activeEndpoint(IMMDeviceEnumerator& devices, const std::wstring& id, ComPtr<IMMDevice>& device) {
    DWORD state = 0;
    if (FAILED(devices.GetDevice(id.c_str(), &device)) || FAILED(device->GetState(&state)) ||
        state != DEVICE_STATE_ACTIVE)
        return E_NOTFOUND;
    return S_OK;
}

// One stream: its endpoint, the thread that pumps it, and what the stream object, the device
// thread and the device watch share. It outlives the stream object while a thread still uses it.
class Channel : public std::enable_shared_from_this<Channel> {
public:
    // `endpointId`: the endpoint the stream stays on; empty: the default one, which it follows.
    Channel(const StreamFormat& format, CaptureSink* sink, PlaybackSource* source, std::wstring endpointId = {})
        : capture_(sink != nullptr), format_(format), endpointId_(std::move(endpointId)), sink_(sink), source_(source),
          ready_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
          pumpEnded_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Channel() {
        CloseHandle(ready_);
        CloseHandle(wake_);
        CloseHandle(pumpEnded_);
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    bool capture() const { return capture_; }
    bool followsDefault() const { return endpointId_.empty(); }
    StreamState state() const { return state_.load(); }

    // On the device thread: the stream's endpoint, ready to start. E_NOTFOUND: the named
    // endpoint is not there (unplugged, turned off, or gone).
    HRESULT open(IMMDeviceEnumerator& devices) {
        ComPtr<IMMDevice> device;
        HRESULT result = followsDefault()
                             ? devices.GetDefaultAudioEndpoint(capture_ ? eCapture : eRender, eConsole, &device)
                             : activeEndpoint(devices, endpointId_, device);
        if (FAILED(result)) return result;
        Lock lock(endpointMutex_);
        result = openEndpoint(*device.Get(), capture_, format_, ready_, endpoint_);
        if (SUCCEEDED(result)) takeEndpoint();
        return result;
    }

    void startPump() {
        std::thread([self = shared_from_this()] { self->pump(); }).detach();
    }

    // From the stream object's destructor: no call reaches the sink or source after the return,
    // and the pump lets the endpoint go on its own time.
    void close() {
        {
            Lock lock(relayMutex_);
            sink_ = nullptr;
            source_ = nullptr;
        }
        quit_ = true;
        SetEvent(wake_);
    }
    // On the device thread, after close().
    void awaitPumpEnd() const { WaitForSingleObject(pumpEnded_, kPumpEndWaitMs); }

    // For a stop that did not return in time: the stream stops at once as far as its sink or
    // source knows.
    void stopRelaying() {
        Lock lock(relayMutex_);
        StreamState running = StreamState::running;
        state_.compare_exchange_strong(running, StreamState::stopped);
    }

    // On the device thread.
    HRESULT startClient() {
        Lock lock(endpointMutex_);
        if (!endpoint_.client) return AUDCLNT_E_NOT_INITIALIZED; // the stream went meanwhile
        if (state_ != StreamState::stopped) return S_OK;
        noteStart();
        glitchExpected_ = true; // Windows marks the first packet after a start as a discontinuity
        startedAt_ = Clock::now();
        framesSinceStart_ = 0;
        state_ = StreamState::running;
        if (!capture_) {
            queuedFrames_ = 0;
            serviceRender(); // the endpoint starts with a full buffer
        }
        endpoint_.silence.start();
        const HRESULT result = state_ == StreamState::lost ? AUDCLNT_E_DEVICE_INVALIDATED : endpoint_.client->Start();
        if (FAILED(result)) {
            endpoint_.silence.stop();
            state_ = result == AUDCLNT_E_DEVICE_INVALIDATED ? StreamState::lost : StreamState::stopped;
        }
        return result;
    }

    // On the device thread. Capture: what the endpoint still holds reaches the sink first.
    void stopClient() {
        Lock lock(endpointMutex_);
        if (!endpoint_.client) return;
        endpoint_.client->Stop();
        endpoint_.silence.stop();
        if (capture_ && state_ == StreamState::running) serviceCapture();
        StreamState running = StreamState::running;
        state_.compare_exchange_strong(running, StreamState::stopped);
        endpoint_.client->Reset();
        lastHandedOver_ = false;
    }

    // From the pump, or the device watch's thread.
    void markLost() { state_ = StreamState::lost; }
    bool uses(const wchar_t* deviceId) {
        Lock lock(notesMutex_);
        return deviceId_ == deviceId;
    }
    void follow(const wchar_t* deviceId) {
        {
            Lock lock(notesMutex_);
            followTo_ = deviceId;
        }
        SetEvent(wake_);
    }

private:
    // With endpointMutex_ held, once endpoint_ is a new one.
    void takeEndpoint() REQUIRES(endpointMutex_) {
        silence_.assign(static_cast<std::size_t>(endpoint_.bufferFrames) * static_cast<std::size_t>(format_.channels),
                        0);
        Lock lock(notesMutex_);
        deviceId_ = endpoint_.deviceId;
    }

    void noteStart() {
        lastProgress_ = Clock::now().time_since_epoch().count();
        movedSinceStart_ = false;
    }
    void noteProgress() {
        lastProgress_ = Clock::now().time_since_epoch().count();
        movedSinceStart_ = true;
    }
    bool stalled() const {
        return Clock::now() - Clock::time_point(Clock::duration(lastProgress_.load())) >=
               (movedSinceStart_ ? kSilentEndpointLimit : kFirstFramesLimit);
    }

    void pump() {
        ComApartment apartment;
        DWORD task = 0;
        const HANDLE priority = AvSetMmThreadCharacteristicsW(L"Audio", &task); // where Windows grants it
        const HANDLE waits[] = {ready_, wake_};
        while (!quit_) {
            const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, kPumpCheckMs);
            if (woke == WAIT_OBJECT_0 + 1) {
                followDefault();
                continue;
            }
            Lock lock(endpointMutex_);
            if (state_ != StreamState::running) continue;
            endpoint_.silence.topUp();
            if (woke == WAIT_OBJECT_0) capture_ ? serviceCapture() : serviceRender();
            if (state_ == StreamState::running && stalled()) markLost();
        }
        {
            Lock lock(endpointMutex_);
            if (endpoint_.client) endpoint_.client->Stop();
            endpoint_.silence.stop();
            endpoint_ = {};
        }
        if (priority) AvRevertMmThreadCharacteristics(priority);
        SetEvent(pumpEnded_);
    }

    // With endpointMutex_ held: hands every packet the endpoint holds to the sink.
    void serviceCapture() REQUIRES(endpointMutex_) {
        UINT32 stale = staleFrames();
        for (;;) {
            UINT32 packet = 0;
            if (FAILED(endpoint_.capture->GetNextPacketSize(&packet))) return markLost();
            if (packet == 0) return;
            BYTE* data = nullptr;
            UINT32 frames = 0;
            DWORD flags = 0;
            const HRESULT got = endpoint_.capture->GetBuffer(&data, &frames, &flags, nullptr, nullptr);
            if (FAILED(got)) return markLost();
            if (got == AUDCLNT_S_BUFFER_EMPTY) return;
            const bool silent = (flags & AUDCLNT_BUFFERFLAGS_SILENT) != 0;
            const bool overflow = (flags & AUDCLNT_BUFFERFLAGS_DATA_DISCONTINUITY) != 0 && !glitchExpected_;
            glitchExpected_ = false;
            const bool fromBeforeTheStart = stale > 0;
            stale -= std::min(stale, frames);
            if (!fromBeforeTheStart) framesSinceStart_ += frames;
            {
                Lock lock(relayMutex_);
                if (sink_ && state_ == StreamState::running && !fromBeforeTheStart)
                    sink_->onCaptured(silent ? silence_.data() : reinterpret_cast<const std::int16_t*>(data), frames,
                                      overflow);
            }
            if (FAILED(endpoint_.capture->ReleaseBuffer(frames))) return markLost();
            if (frames > 0) noteProgress();
        }
    }

    // With endpointMutex_ held, soon after a start: how many of the frames the endpoint holds it
    // captured before the start, beyond what it can have captured since. Windows' endpoint holds
    // none; Wine's captures on while stopped and hands over a full buffer after a pause.
    UINT32 staleFrames() REQUIRES(endpointMutex_) {
        const auto sinceStart = Clock::now() - startedAt_;
        UINT32 queued = 0;
        if (state_ != StreamState::running || sinceStart > kStartBurst ||
            FAILED(endpoint_.client->GetCurrentPadding(&queued)))
            return 0;
        const auto possible = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart + kStartSlack).count() *
                              format_.sampleRate / 1000;
        const std::int64_t beyond = framesSinceStart_ + queued - possible;
        return beyond > 0 ? static_cast<UINT32>(beyond) : 0;
    }

    // With endpointMutex_ held: fills the room the endpoint has from the source, and once the
    // source has handed over its last frame, ends when the endpoint has taken them all.
    void serviceRender() REQUIRES(endpointMutex_) {
        UINT32 padding = 0;
        if (FAILED(endpoint_.client->GetCurrentPadding(&padding))) return markLost();
        if (padding < queuedFrames_) noteProgress(); // the engine took frames since the last round
        queuedFrames_ = padding;
        if (lastHandedOver_) {
            StreamState running = StreamState::running;
            if (padding == 0 && state_.compare_exchange_strong(running, StreamState::ended)) endpoint_.client->Stop();
            return;
        }
        const UINT32 room = endpoint_.bufferFrames - padding;
        if (room == 0) return;
        BYTE* data = nullptr;
        if (FAILED(endpoint_.render->GetBuffer(room, &data))) return markLost();
        std::size_t frames = 0;
        bool last = false;
        {
            Lock lock(relayMutex_);
            if (source_ && state_ == StreamState::running)
                frames = source_->onPlayback(reinterpret_cast<std::int16_t*>(data), room, last);
        }
        DWORD flags = 0;
        if (frames == 0 && !last) { // the file was not read in time: silence keeps the stream's pace
            frames = room;
            flags = AUDCLNT_BUFFERFLAGS_SILENT;
        }
        if (FAILED(endpoint_.render->ReleaseBuffer(static_cast<UINT32>(frames), flags))) return markLost();
        queuedFrames_ += static_cast<UINT32>(frames);
        lastHandedOver_ = last;
    }

    // On the pump: moves the stream to the endpoint the user made the default. Should that one
    // not open, the stream stays where it is.
    void followDefault() {
        std::optional<std::wstring> target;
        {
            Lock lock(notesMutex_);
            target.swap(followTo_);
            if (!target || *target == deviceId_) return;
        }
        ComPtr<IMMDeviceEnumerator> devices;
        ComPtr<IMMDevice> device;
        Endpoint fresh;
        if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&devices))) ||
            FAILED(devices->GetDevice(target->c_str(), &device)) ||
            FAILED(openEndpoint(*device.Get(), capture_, format_, ready_, fresh)))
            return;
        Lock lock(endpointMutex_);
        if (state_ == StreamState::lost) return;
        const bool running = state_ == StreamState::running;
        if (running) {
            endpoint_.client->Stop();
            if (capture_) serviceCapture();
        }
        std::swap(endpoint_, fresh); // the old one goes at the end of the scope
        takeEndpoint();
        if (!running) return;
        noteStart();
        if (!capture_) {
            queuedFrames_ = 0;
            serviceRender();
        }
        if (FAILED(endpoint_.client->Start())) markLost();
    }

    const bool capture_;
    const StreamFormat format_;
    const std::wstring endpointId_;
    std::atomic<StreamState> state_{StreamState::stopped};
    std::atomic<bool> quit_{false};
    std::atomic<Clock::rep> lastProgress_{0}; // when frames last moved, or the stream started
    std::atomic<bool> movedSinceStart_{false};
    // The sink or source, called and cut off with relayMutex_ held.
    Mutex relayMutex_;
    CaptureSink* sink_ GUARDED_BY(relayMutex_);
    PlaybackSource* source_ GUARDED_BY(relayMutex_);
    const HANDLE ready_; // set by the endpoint when it has frames for us, or room
    const HANDLE wake_;  // set to end the pump, or to have it follow the default endpoint
    const HANDLE pumpEnded_;
    // The endpoint and the pump's bookkeeping, used with endpointMutex_ held.
    Mutex endpointMutex_;
    Endpoint endpoint_ GUARDED_BY(endpointMutex_);
    // handed over for a packet the endpoint marks silent
    std::vector<std::int16_t> silence_ GUARDED_BY(endpointMutex_);
    bool glitchExpected_ GUARDED_BY(endpointMutex_) = false;
    bool lastHandedOver_ GUARDED_BY(endpointMutex_) = false;
    Clock::time_point startedAt_ GUARDED_BY(endpointMutex_);
    std::int64_t framesSinceStart_ GUARDED_BY(endpointMutex_) = 0; // capture: those handed over since
    UINT32 queuedFrames_ GUARDED_BY(endpointMutex_) = 0; // playback: what the endpoint held after the last round
    // What the device watch reads and asks for, with notesMutex_ held.
    Mutex notesMutex_;
    std::wstring deviceId_ GUARDED_BY(notesMutex_);
    std::optional<std::wstring> followTo_ GUARDED_BY(notesMutex_);
};

// The streams alive, for the device watch.
class Streams {
public:
    void add(const std::shared_ptr<Channel>& channel) {
        Lock lock(mutex_);
        std::erase_if(channels_, [](const std::weak_ptr<Channel>& c) { return c.expired(); });
        channels_.push_back(channel);
    }
    template <typename Action>
    void forEach(Action action) {
        Lock lock(mutex_);
        for (const auto& weak : channels_)
            if (const auto channel = weak.lock()) action(*channel);
    }

private:
    Mutex mutex_;
    std::vector<std::weak_ptr<Channel>> channels_ GUARDED_BY(mutex_);
};

// Told by Windows, on a thread of its own, when endpoints come and go and when the user picks
// another default: a stream whose device went is lost; the streams of a kind follow its new
// default endpoint.
class DeviceWatch final : public IMMNotificationClient {
public:
    explicit DeviceWatch(std::shared_ptr<Streams> streams) : streams_(std::move(streams)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IMMNotificationClient)) {
            *object = static_cast<IMMNotificationClient*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR deviceId, DWORD state) override {
        if (state != DEVICE_STATE_ACTIVE) loseStreamsOn(deviceId);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR deviceId) override {
        loseStreamsOn(deviceId);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole role, LPCWSTR deviceId) override {
        if (role != eConsole || !deviceId) return S_OK; // no default left: the stream's own device tells
        streams_->forEach([&](Channel& channel) {
            if (channel.capture() == (flow == eCapture) && channel.followsDefault()) channel.follow(deviceId);
        });
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

private:
    ~DeviceWatch() = default;
    void loseStreamsOn(LPCWSTR deviceId) {
        if (!deviceId) return;
        streams_->forEach([&](Channel& channel) {
            if (channel.uses(deviceId)) channel.markLost();
        });
    }

    LONG references_ = 1;
    std::shared_ptr<Streams> streams_;
};

// The device thread's own: COM, the device enumerator and the watch registered with it.
struct Devices {
    std::shared_ptr<Streams> streams = std::make_shared<Streams>();
    std::atomic<bool> startTried{false}; // read on any thread
    std::optional<ComApartment> apartment;
    ComPtr<IMMDeviceEnumerator> enumerator;
    ComPtr<DeviceWatch> watch;

    // Loads the audio driver and starts watching; a start that failed is tried again at the next open.
    bool start() {
        if (!enumerator) startOnce();
        startTried = true;
        return enumerator != nullptr;
    }
    // On the device thread: the inputs, then the sound of each output whose capture opens.
    Result<std::vector<InputDevice>> listCapture() {
        if (!start()) return AudioError::deviceFailed;
        auto inputs = listEndpoints(eCapture);
        if (!inputs) return inputs;
        if (auto outputs = listEndpoints(eRender)) {
            std::erase_if(*outputs, [this](const InputDevice& output) { return !capturesSound(output.name); });
            inputs->insert(inputs->end(), outputs->begin(), outputs->end());
        }
        return inputs;
    }

    void end() {
        if (enumerator && watch) enumerator->UnregisterEndpointNotificationCallback(watch.Get());
        watch.Reset();
        enumerator.Reset();
        apartment.reset();
    }

private:
    // The active endpoints of `flow`, by name: Windows enumerates in no lasting order, and the
    // menu stays the same from one look to the next. The default is marked of inputs only.
    Result<std::vector<InputDevice>> listEndpoints(EDataFlow flow) {
        ComPtr<IMMDeviceCollection> endpoints;
        UINT count = 0;
        if (FAILED(enumerator->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, &endpoints)) ||
            FAILED(endpoints->GetCount(&count)))
            return AudioError::deviceFailed;
        const bool outputs = flow == eRender;
        const std::wstring defaultId = outputs ? std::wstring() : defaultCaptureId();
        std::vector<InputDevice> listed;
        for (UINT i = 0; i < count; ++i) {
            ComPtr<IMMDevice> device;
            if (FAILED(endpoints->Item(i, &device))) continue;
            const std::wstring id = endpointId(*device.Get());
            if (id.empty()) continue;
            listed.push_back({fromWide(id), fromWide(friendlyName(*device.Get())), id == defaultId, outputs});
            if (listed.back().description.empty()) listed.back().description = listed.back().name;
        }
        std::sort(listed.begin(), listed.end(), [](const InputDevice& a, const InputDevice& b) {
            return std::tie(a.description, a.name) < std::tie(b.description, b.name);
        });
        return listed;
    }

    // Whether the output's sound can be captured, tried as a take opens it: Windows can, Wine
    // before 10 refuses (AUDCLNT_E_WRONG_ENDPOINT_TYPE). Asked once for each output.
    bool capturesSound(const std::string& outputName) {
        const auto known = soundCapturable_.find(outputName);
        if (known != soundCapturable_.end()) return known->second;
        ComPtr<IMMDevice> device;
        Endpoint tried;
        const HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        const bool capturable = ready && SUCCEEDED(enumerator->GetDevice(toWide(outputName).c_str(), &device)) &&
                                SUCCEEDED(openEndpoint(*device.Get(), true, StreamFormat{}, ready, tried));
        tried = {}; // its clients go before the event they were given
        if (ready) CloseHandle(ready);
        soundCapturable_[outputName] = capturable;
        return capturable;
    }

    std::wstring defaultCaptureId() {
        ComPtr<IMMDevice> device;
        if (FAILED(enumerator->GetDefaultAudioEndpoint(eCapture, eConsole, &device))) return {};
        return endpointId(*device.Get());
    }

    void startOnce() {
        if (!apartment) apartment.emplace();
        if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&enumerator))))
            return;
        ComPtr<IMMDevice> device; // the first look at an endpoint connects the driver to its server
        enumerator->GetDefaultAudioEndpoint(eCapture, eConsole, &device);
        watch.Attach(new DeviceWatch(streams));
        if (FAILED(enumerator->RegisterEndpointNotificationCallback(watch.Get()))) watch.Reset();
    }

    std::map<std::string, bool> soundCapturable_; // by output
};

class WasapiStream final : public AudioStream {
public:
    WasapiStream(std::shared_ptr<CallThread> calls, std::shared_ptr<Channel> channel)
        : calls_(std::move(calls)), channel_(std::move(channel)) {}
    ~WasapiStream() override {
        channel_->close();
        calls_->post([channel = channel_] { channel->awaitPumpEnd(); });
    }

    std::error_code start() override {
        if (channel_->state() == StreamState::lost) return AudioError::deviceFailed;
        if (channel_->state() != StreamState::stopped) return {};
        auto result = std::make_shared<HRESULT>(E_PENDING);
        if (!calls_->run([channel = channel_, result] { *result = channel->startClient(); },
                         Clock::now() + kDeviceDeadline))
            return AudioError::notAnswering;
        return SUCCEEDED(*result) ? std::error_code() : AudioError::deviceFailed;
    }

    std::error_code stop() override {
        if (channel_->state() != StreamState::running) return {};
        if (calls_->run([channel = channel_] { channel->stopClient(); }, Clock::now() + kDeviceDeadline)) return {};
        channel_->stopRelaying();
        return AudioError::notAnswering;
    }

    StreamState state() const override { return channel_->state(); }

private:
    std::shared_ptr<CallThread> calls_;
    std::shared_ptr<Channel> channel_;
};

class WasapiBackend final : public AudioBackend {
public:
    WasapiBackend() {
        calls_->post([devices = devices_] { devices->start(); });
    }
    ~WasapiBackend() override {
        calls_->post([devices = devices_] { devices->end(); });
    }

    Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) override {
        return open(std::make_shared<Channel>(format, &sink, nullptr));
    }
    Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) override {
        return open(std::make_shared<Channel>(format, nullptr, &source));
    }

    // The active capture endpoints by their friendly names; an endpoint's name is its ID.
    Result<std::vector<InputDevice>> listInputs() override {
        auto listing = std::make_shared<Result<std::vector<InputDevice>>>(AudioError::deviceFailed);
        if (!calls_->run([devices = devices_, listing] { *listing = devices->listCapture(); }, firstCallDeadline()))
            return AudioError::notAnswering;
        return *listing;
    }

    Result<OpenedCapture> openCaptureFrom(const std::string& inputName, const StreamFormat& format,
                                          CaptureSink& sink) override {
        // An endpoint that will not open is taken for one that is not there: Windows may still
        // list an endpoint that has gone (Wine lists the sound server's inputs of its start).
        if (!inputName.empty()) {
            auto named = open(std::make_shared<Channel>(format, &sink, nullptr, toWide(inputName)));
            if (named || named.error() == AudioError::notAnswering) return wrapped(std::move(named), false);
        }
        return wrapped(openCapture(format, sink), !inputName.empty());
    }

private:
    static Result<OpenedCapture> wrapped(Result<std::unique_ptr<AudioStream>> stream, bool defaultInstead) {
        if (!stream) return stream.error();
        return OpenedCapture{std::move(*stream), defaultInstead};
    }

    // Only the first call may wait for the start begun when the backend was made.
    Clock::time_point firstCallDeadline() const {
        return Clock::now() + (devices_->startTried ? kDeviceDeadline : kDeviceStartDeadline);
    }

    Result<std::unique_ptr<AudioStream>> open(const std::shared_ptr<Channel>& channel) {
        auto result = std::make_shared<HRESULT>(E_PENDING);
        if (!calls_->run(
                [devices = devices_, channel, result] {
                    *result = devices->start() ? channel->open(*devices->enumerator.Get()) : CO_E_NOTINITIALIZED;
                },
                firstCallDeadline()))
            return AudioError::notAnswering; // the channel goes with the call, once it returns
        if (FAILED(*result)) return AudioError::deviceFailed;
        devices_->streams->add(channel);
        channel->startPump();
        return std::unique_ptr<AudioStream>(std::make_unique<WasapiStream>(calls_, channel));
    }

    std::shared_ptr<CallThread> calls_ = std::make_shared<CallThread>();
    std::shared_ptr<Devices> devices_ = std::make_shared<Devices>();
};

} // namespace

std::unique_ptr<AudioBackend> makeWasapiBackend() { return std::make_unique<WasapiBackend>(); }

std::unique_ptr<AudioBackend> makeAudioBackend() { return makeWasapiBackend(); }

} // namespace murmora::audio
