// The speech-dispatcher client, built as the module orivox_speech. One worker thread owns the
// connection and carries out queued requests; the window's thread only queues them. Prompts are
// said at the service's "text" priority, which keeps only the latest message of that priority, and
// phrases at "message", which queues and is interrupted by nothing this program sends. Only this
// connection's speech is ever cancelled, so a screen reader beside the program is never silenced.
#include "platform/Modules.h"
#include "platform/SpeechDispatcher.h"

#include <libspeechd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <sys/socket.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A call that gets no answer within this time counts as a dead service.
constexpr int kAnswerTimeoutMs = 2000;
// After a failure, the service is looked for again at the next need, but not sooner.
constexpr auto kRetryAfter = std::chrono::seconds(5);
// A message (a chosen text, a closed phrase) the service could not take is said once it
// answers again, looked for this often, unless it has waited this long: by then it is stale.
constexpr auto kPendingRetry = std::chrono::seconds(1);
constexpr auto kPendingLife = std::chrono::seconds(30);
// How long closing the program waits for the worker before leaving it behind.
constexpr auto kCloseWait = std::chrono::milliseconds(1000);
// Requests beyond this many (a service that stopped answering) make room by dropping the oldest.
constexpr size_t kQueueLimit = 64;

struct Request {
  enum Kind { Say, Cancel, Voice, Probe } kind = Say;
  QByteArray utf8;
  SpeechPriority priority = SpeechPriority::Message;
  SpeechForm form = SpeechForm::Words;
  SpeechVoice voice;
};

// What the window's thread and the worker share. Held by both, so that a worker left behind
// at exit never reads freed memory.
struct Shared {
  std::mutex mutex;
  std::condition_variable wake;
  std::condition_variable finished;
  std::deque<Request> queue;
  bool stopping = false;
  bool done = false;
  SpeechState state = SpeechState::NotTried;
  QStringList voices;
};

class Worker {
public:
  explicit Worker(std::shared_ptr<Shared> shared) : FShared(std::move(shared)) {}

  void run() {
    // A write to a service that died raises SIGPIPE, which would end the program: in this
    // thread the write fails with an error instead.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
    for (;;) {
      Request r;
      bool got = false;
      {
        std::unique_lock<std::mutex> lock(FShared->mutex);
        const auto ready = [this] { return FShared->stopping || !FShared->queue.empty(); };
        if (FPending.empty())
          FShared->wake.wait(lock, ready);
        else
          FShared->wake.wait_for(lock, kPendingRetry, ready);
        if (FShared->stopping)
          break;
        if (!FShared->queue.empty()) {
          r = std::move(FShared->queue.front());
          FShared->queue.pop_front();
          got = true;
        }
      }
      if (got)
        handle(r);
      else
        sayPending();
    }
    disconnect();
    std::lock_guard<std::mutex> lock(FShared->mutex);
    FShared->done = true;
    FShared->finished.notify_all();
  }

private:
  std::shared_ptr<Shared> FShared;
  SPDConnection* FConnection = nullptr;
  SpeechVoice FVoice;
  bool FTried = false;
  Clock::time_point FFailedAt;
  // Messages the service did not take, oldest first, with the time each was asked for.
  std::deque<std::pair<Request, Clock::time_point>> FPending;

  void setState(SpeechState s, const QStringList& voices = {}) {
    std::lock_guard<std::mutex> lock(FShared->mutex);
    FShared->state = s;
    FShared->voices = voices;
  }

  void handle(const Request& r) {
    if (r.kind == Request::Voice)
      FVoice = r.voice;
    if (r.kind == Request::Cancel)
      FPending.clear(); // what was not said yet is silenced too
    if (r.kind == Request::Say && r.priority == SpeechPriority::Message) {
      // Messages keep their order: one asked now waits behind those still unsaid.
      if (FPending.size() >= kQueueLimit)
        FPending.pop_front();
      FPending.emplace_back(r, Clock::now());
      sayPending();
      return;
    }
    if (!FConnection && (r.kind == Request::Say || r.kind == Request::Probe))
      connect();
    // A prompt said to no one is dropped: one that comes seconds late would only confuse.
    if (FConnection && r.kind != Request::Probe)
      send(r);
  }

  // Carries out a request on the connection. A connection that breaks (the service restarted)
  // is made again at once and the request tried once more on it.
  bool send(const Request& r) {
    for (int attempt = 0; attempt < 2 && FConnection; ++attempt) {
      if (carryOut(r) >= 0)
        return true;
      fail();
      if (attempt == 0)
        connect(true);
    }
    return false;
  }

  int carryOut(const Request& r) {
    switch (r.kind) {
    case Request::Say: {
      const SPDPriority p = r.priority == SpeechPriority::Prompt ? SPD_TEXT : SPD_MESSAGE;
      return r.form == SpeechForm::Character ? spd_char(FConnection, p, r.utf8.constData())
                                             : spd_say(FConnection, p, r.utf8.constData());
    }
    case Request::Cancel:
      return spd_cancel(FConnection);
    case Request::Voice:
      return applyVoice() ? 0 : -1;
    case Request::Probe:
      break;
    }
    return 0;
  }

  // The messages not said yet, in order, as far as the service takes them; the rest wait for
  // the next try.
  void sayPending() {
    const auto now = Clock::now();
    while (!FPending.empty() && now - FPending.front().second > kPendingLife)
      FPending.pop_front();
    if (FPending.empty())
      return;
    if (!FConnection)
      connect(Clock::now() - FFailedAt >= kPendingRetry);
    while (!FPending.empty() && FConnection) {
      if (!send(FPending.front().first))
        return;
      FPending.pop_front();
    }
  }

  // `now`: without waiting out the pause after a failure.
  void connect(bool now = false) {
    if (!now && FTried && Clock::now() - FFailedAt < kRetryAfter)
      return;
    FTried = true;
    setState(SpeechState::Connecting);
    char* error = nullptr;
    FConnection = spd_open2("orivox", "main", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    std::free(error);
    if (!FConnection) {
      FFailedAt = Clock::now();
      setState(SpeechState::Unavailable);
      return;
    }
    // Every answer is awaited for a bounded time: a service that hangs ends the connection.
    timeval tv{kAnswerTimeoutMs / 1000, (kAnswerTimeoutMs % 1000) * 1000};
    setsockopt(FConnection->socket, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(FConnection->socket, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    // A French locale alone can still give an English voice.
    if (spd_set_language(FConnection, "fr") < 0) {
      fail();
      return;
    }
    QStringList french;
    if (SPDVoice** list = spd_list_synthesis_voices(FConnection)) {
      for (SPDVoice** v = list; *v; ++v)
        if ((*v)->language && qstrnicmp((*v)->language, "fr", 2) == 0 && (*v)->name)
          french << QString::fromUtf8((*v)->name);
      free_spd_voices(list);
    }
    french.removeDuplicates();
    if (french.isEmpty() || !applyVoice()) {
      fail(); // without a French voice the program stays silent rather than speak English
      return;
    }
    setState(SpeechState::Available, french);
  }

  bool applyVoice() {
    if (!FVoice.name.isEmpty() &&
        spd_set_synthesis_voice(FConnection, FVoice.name.toUtf8().constData()) < 0)
      return false;
    return spd_set_voice_rate(FConnection, FVoice.rate) >= 0 &&
           spd_set_volume(FConnection, FVoice.volume) >= 0;
  }

  void fail() {
    disconnect();
    FFailedAt = Clock::now();
    setState(SpeechState::Unavailable);
  }

  void disconnect() {
    if (!FConnection)
      return;
    // After a failed read the library has already closed the socket with its stream; closing
    // the number again could close a file opened since by another thread.
    if (!FConnection->stream)
      FConnection->socket = -1;
    spd_close(FConnection);
    FConnection = nullptr;
  }
};

class DispatcherSpeech : public ISpeech {
public:
  DispatcherSpeech() : FShared(std::make_shared<Shared>()) {}

  ~DispatcherSpeech() override {
    if (!FThread.joinable())
      return;
    std::unique_lock<std::mutex> lock(FShared->mutex);
    FShared->stopping = true;
    FShared->queue.clear();
    FShared->wake.notify_all();
    const bool finished =
        FShared->finished.wait_for(lock, kCloseWait, [this] { return FShared->done; });
    lock.unlock();
    // A worker stuck in a call to a service that does not answer is left to end with the
    // program: closing never waits on the service.
    if (finished)
      FThread.join();
    else
      FThread.detach();
  }

  void say(const QString& text, SpeechPriority priority, SpeechForm form) override {
    Request r;
    r.kind = Request::Say;
    r.utf8 = text.toUtf8();
    r.priority = priority;
    r.form = form;
    std::lock_guard<std::mutex> lock(FShared->mutex);
    // A prompt not yet sent is out of date as soon as the highlight moves on.
    if (priority == SpeechPriority::Prompt)
      dropQueued([](const Request& q) {
        return q.kind == Request::Say && q.priority == SpeechPriority::Prompt;
      });
    push(std::move(r));
  }

  void cancel() override {
    std::lock_guard<std::mutex> lock(FShared->mutex);
    dropQueued([](const Request& q) { return q.kind == Request::Say; });
    if (FThread.joinable())
      push(Request{Request::Cancel, {}, {}, {}, {}});
  }

  void setVoice(const SpeechVoice& voice) override {
    Request r;
    r.kind = Request::Voice;
    r.voice = voice;
    std::lock_guard<std::mutex> lock(FShared->mutex);
    push(std::move(r));
  }

  void probe() override {
    std::lock_guard<std::mutex> lock(FShared->mutex);
    if (FShared->state == SpeechState::NotTried || FShared->state == SpeechState::Unavailable)
      push(Request{Request::Probe, {}, {}, {}, {}});
  }

  SpeechState state() const override {
    std::lock_guard<std::mutex> lock(FShared->mutex);
    return FShared->state;
  }

  QStringList voices() const override {
    std::lock_guard<std::mutex> lock(FShared->mutex);
    return FShared->voices;
  }

private:
  std::shared_ptr<Shared> FShared;
  std::thread FThread;

  // With the mutex held.
  template <typename Pred> void dropQueued(Pred pred) {
    auto& q = FShared->queue;
    q.erase(std::remove_if(q.begin(), q.end(), pred), q.end());
  }

  // With the mutex held. The worker starts with the first request.
  void push(Request r) {
    if (FShared->queue.size() >= kQueueLimit)
      FShared->queue.pop_front();
    FShared->queue.push_back(std::move(r));
    if (!FThread.joinable())
      FThread = std::thread([shared = FShared] { Worker(shared).run(); });
    FShared->wake.notify_one();
  }
};

} // namespace

extern "C" ORIVOX_MODULE_EXPORT ISpeech* orivox_speech_create() {
  return new DispatcherSpeech; // owned by the caller
}
