// The real speech engine: Qt's text-to-speech with the engine that has a
// voice for the language, run in a thread of its own.
//
// speech-dispatcher's client library waits without any limit for the
// daemon's replies (when the engine starts and when it speaks); a daemon
// that accepts the connection and never answers would freeze the window for
// good. So every call into the engines happens in the speech thread, and the
// window waits for it only as long as a voice could need. A thread that
// stays stuck is given up: speech is off for the rest of the run.
#include "SpeechEngine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLocale>
#include <QPointer>
#include <QTextToSpeech>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace {

// speech-dispatcher speaks through espeak-ng (or whatever the user set up)
// in about a hundred languages and follows the desktop's speech settings;
// flite has English voices only. Engines Qt knows beyond these come last.
const QStringList kEnginePreference = {QStringLiteral("speechd"), QStringLiteral("flite")};

constexpr int kProbeLimitMs = 10000;  // speech-dispatcher takes about 3 s to start
constexpr int kStartLimitMs = 5000;   // a queue that takes longer to start will not speak
constexpr int kEndMarginMs = 2000;    // beyond twice the estimated length
constexpr int kPollMs = 10;

// How well a voice's locale fits the one asked for: 2 the same language in
// the same country ("de" means de_DE), 1 the same language, 0 none.
int Fit(const QLocale& voice, const QLocale& wanted) {
  if (voice.language() != wanted.language() || wanted.language() == QLocale::C) return 0;
  return voice.territory() == wanted.territory() ? 2 : 1;
}

// What the speech thread reports; read by the window's thread.
enum class TSayState : int { Idle, Queued, Speaking, Done, Failed };

struct TEngineVoices {
  QString name;
  QList<QLocale> locales;
};

// The speech thread with its engines; one for the whole run.
class TSpeechThread {
 public:
  static TSpeechThread& Instance() {
    static TSpeechThread* instance = [] {
      auto* made = new TSpeechThread;  // owned by the clean-up at the application's end
      qAddPostRoutine(&TSpeechThread::CleanUp);
      return made;
    }();
    return *instance;
  }

  // The engines and their voices; empty when none can speak or the thread
  // did not answer in time.
  const std::vector<TEngineVoices>& Voices() {
    if (!probed_) {
      probed_ = true;
      auto done = std::make_shared<std::atomic<bool>>(false);
      auto found = std::make_shared<std::vector<TEngineVoices>>();
      Post([this, done, found] {
        *found = ProbeInThread();
        done->store(true);
      });
      if (WaitUntil(kProbeLimitMs, [&] { return done->load(); }, nullptr))
        voices_ = *found;
      else
        stuck_ = true;
    }
    return voices_;
  }

  // Speaks in the engine of that name; false when nothing was spoken.
  bool Say(const QString& engine, const QLocale& locale, const QString& text, const std::atomic<bool>& aborted,
           QPointer<QEventLoop>& loop) {
    if (stuck_) return false;
    state_->store(static_cast<int>(TSayState::Queued));
    auto state = state_;
    Post([this, engine, locale, text, state] { SayInThread(engine, locale, text, state); });
    const auto stateIs = [&](std::initializer_list<TSayState> any) {
      const auto now = static_cast<TSayState>(state->load());
      return std::find(any.begin(), any.end(), now) != any.end();
    };
    // First the start, then the end, each bounded.
    if (!WaitUntil(kStartLimitMs, [&] { return !stateIs({TSayState::Queued}) || aborted.load(); }, &loop)) {
      // Not even the say came back: the thread hangs in the engine.
      if (stateIs({TSayState::Queued})) stuck_ = true;
      Stop();
      return false;
    }
    if (aborted.load() || stateIs({TSayState::Failed})) {
      Stop();
      return false;
    }
    const int64_t limit = std::min<int64_t>(2 * EstimatedSpeechMs(text), 600000) + kEndMarginMs;
    WaitUntil(static_cast<int>(limit), [&] { return !stateIs({TSayState::Speaking}) || aborted.load(); }, &loop);
    if (stateIs({TSayState::Speaking})) Stop();
    return true;
  }

  void Stop() {
    Post([this] {
      for (auto& [name, tts] : engines_)
        if (tts != nullptr && tts->state() == QTextToSpeech::Speaking) tts->stop(QTextToSpeech::BoundaryHint::Immediate);
    });
  }

 private:
  TSpeechThread() {
    thread_ = std::make_unique<QThread>();
    thread_->setObjectName(QStringLiteral("speech"));
    context_ = std::make_unique<QObject>();
    context_->moveToThread(thread_.get());
    thread_->start();
  }

  // At the application's end: the engines go with their thread; a thread
  // stuck in the engine's library is left to the end of the process.
  static void CleanUp() {
    TSpeechThread& self = Instance();
    QObject* context = self.context_.release();
    // The engines are the context's children and go with it when the thread ends.
    QMetaObject::invokeMethod(context, [&self, context] {
      self.engines_.clear();
      context->deleteLater();
      QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    if (self.thread_->wait(QDeadlineTimer(2000))) {
      self.thread_.reset();
    } else {
      (void)self.thread_.release();
    }
  }

  void Post(std::function<void()> job) {
    if (context_) QMetaObject::invokeMethod(context_.get(), std::move(job), Qt::QueuedConnection);
  }

  // Runs the window's events (its timers go on writing) until done() holds
  // or the limit has passed; loop lets an abort end the wait at once.
  template <class Done>
  static bool WaitUntil(int limitMs, Done done, QPointer<QEventLoop>* loop) {
    if (done()) return true;
    QEventLoop waiting;
    QTimer poll;
    QDeadlineTimer deadline(limitMs);
    QObject::connect(&poll, &QTimer::timeout, &waiting, [&] {
      if (done() || deadline.hasExpired()) waiting.quit();
    });
    poll.start(kPollMs);
    if (loop != nullptr) *loop = &waiting;
    waiting.exec();
    if (loop != nullptr) *loop = nullptr;
    return done();
  }

  // In the speech thread.
  std::vector<TEngineVoices> ProbeInThread() {
    QStringList names;
    const QStringList offered = QTextToSpeech::availableEngines();
    for (const QString& name : kEnginePreference)
      if (offered.contains(name)) names << name;
    for (const QString& name : offered)
      if (!names.contains(name)) names << name;
    std::vector<TEngineVoices> found;
    for (const QString& name : names) {
      auto* tts = new QTextToSpeech(name, context_.get());
      // An engine that failed to start stays failed; it is not asked again.
      if (tts->state() == QTextToSpeech::Error || tts->availableLocales().isEmpty()) {
        delete tts;
        continue;
      }
      engines_[name] = tts;
      QObject::connect(tts, &QTextToSpeech::stateChanged, tts, [this](QTextToSpeech::State s) {
        if (s == QTextToSpeech::Speaking)
          state_->store(static_cast<int>(TSayState::Speaking));
        else if (s == QTextToSpeech::Error)
          state_->store(static_cast<int>(TSayState::Failed));
        else if (s == QTextToSpeech::Ready && state_->load() == static_cast<int>(TSayState::Speaking))
          state_->store(static_cast<int>(TSayState::Done));
      });
      found.push_back({name, tts->availableLocales()});
    }
    return found;
  }

  void SayInThread(const QString& engine, const QLocale& locale, const QString& text,
                   const std::shared_ptr<std::atomic<int>>& state) {
    const auto it = engines_.find(engine);
    if (it == engines_.end() || it->second == nullptr) {
      state->store(static_cast<int>(TSayState::Failed));
      return;
    }
    QTextToSpeech& tts = *it->second;
    if (tts.locale() != locale) tts.setLocale(locale);
    tts.say(text);
    if (tts.state() == QTextToSpeech::Error) state->store(static_cast<int>(TSayState::Failed));
  }

  std::unique_ptr<QThread> thread_;
  // Lives in the speech thread: jobs posted to it run there.
  std::unique_ptr<QObject> context_;
  // Only touched in the speech thread.
  std::map<QString, QTextToSpeech*> engines_;
  // Shared, so that a job still queued in a thread given up has it.
  std::shared_ptr<std::atomic<int>> state_ = std::make_shared<std::atomic<int>>(0);
  std::vector<TEngineVoices> voices_;
  bool probed_ = false;
  bool stuck_ = false;
};

class TQtSpeechEngine : public TSpeechEngine {
 public:
  bool Available() override { return !TSpeechThread::Instance().Voices().empty(); }

  bool HasVoice(const QString& locale) override { return !Choose(locale).engine.isEmpty(); }

  bool SayAndWait(const QString& text, const QString& locale) override {
    if (text.trimmed().isEmpty()) return false;
    const TChoice choice = Choose(locale);
    if (choice.engine.isEmpty()) return false;
    aborted_ = false;
    return TSpeechThread::Instance().Say(choice.engine, choice.locale, text, aborted_, loop_);
  }

  int64_t LengthMs(const QString& text, const QString& locale) override {
    (void)locale;
    return EstimatedSpeechMs(text);
  }

  void Abort() override {
    aborted_ = true;
    if (loop_) loop_->quit();
    TSpeechThread::Instance().Stop();
  }

 private:
  struct TChoice {
    QString engine;
    QLocale locale;
  };

  // The first engine (in the order of preference) with the best-fitting voice.
  TChoice Choose(const QString& locale) {
    const auto known = choices_.find(locale);
    if (known != choices_.end()) return known->second;
    TChoice best;
    const QLocale wanted(locale);
    int bestFit = 0;
    if (!locale.trimmed().isEmpty()) {
      for (const TEngineVoices& engine : TSpeechThread::Instance().Voices()) {
        for (const QLocale& offered : engine.locales) {
          const int fit = Fit(offered, wanted);
          if (fit > bestFit) {
            bestFit = fit;
            best = {engine.name, offered};
          }
        }
        if (bestFit > 0) break;
      }
    }
    choices_[locale] = best;
    return best;
  }

  std::map<QString, TChoice> choices_;
  QPointer<QEventLoop> loop_;
  std::atomic<bool> aborted_{false};
};

// Whether a character is spoken as a syllable of its own (Chinese,
// Japanese kana, Korean syllables).
bool IsSyllableChar(char32_t c) {
  return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0x20000 && c <= 0x2FFFF);
}

}  // namespace

std::unique_ptr<TSpeechEngine> MakeQtSpeechEngine() { return std::make_unique<TQtSpeechEngine>(); }

int64_t EstimatedSpeechMs(const QString& text) {
  // Measured with espeak-ng and flite at their usual rates: a Latin or
  // Cyrillic letter about 70 ms, a syllable character about 250 ms.
  int64_t ms = 300;
  for (const char32_t c : text.trimmed().toUcs4()) ms += IsSyllableChar(c) ? 250 : 70;
  return ms;
}
