// The real speech engine: Qt's text-to-speech with the engine that has a
// voice for the language.
#include "SpeechEngine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QPointer>
#include <QTextToSpeech>
#include <QTimer>
#include <algorithm>
#include <map>

namespace {

// speech-dispatcher speaks through espeak-ng (or whatever the user set up)
// in about a hundred languages and follows the desktop's speech settings;
// flite has English voices only. Engines Qt knows beyond these come last.
const QStringList kEnginePreference = {QStringLiteral("speechd"), QStringLiteral("flite")};

constexpr int kStartLimitMs = 5000;  // a queue that takes longer to start will not speak
constexpr int kEndMarginMs = 2000;   // beyond twice the estimated length

// How well a voice's locale fits the one asked for: 2 the same language in
// the same country ("de" means de_DE), 1 the same language, 0 none.
int Fit(const QLocale& voice, const QLocale& wanted) {
  if (voice.language() != wanted.language() || wanted.language() == QLocale::C) return 0;
  return voice.territory() == wanted.territory() ? 2 : 1;
}

class TQtSpeechEngine : public TSpeechEngine {
 public:
  bool Available() override {
    for (const QString& name : Engines())
      if (Engine(name) != nullptr) return true;
    return false;
  }

  bool HasVoice(const QString& locale) override { return Choose(locale).engine != nullptr; }

  bool SayAndWait(const QString& text, const QString& locale) override {
    if (text.trimmed().isEmpty()) return false;
    const TChoice choice = Choose(locale);
    if (choice.engine == nullptr) return false;
    QTextToSpeech& tts = *choice.engine;
    if (tts.locale() != choice.locale) tts.setLocale(choice.locale);
    aborted_ = false;
    tts.say(text);
    // The state changes only once the engine has begun: first wait for the
    // start, then for the end, each bounded, so a stuck engine never hangs.
    if (!WaitFor(tts, kStartLimitMs, [&] { return tts.state() != QTextToSpeech::Ready; })) {
      tts.stop(QTextToSpeech::BoundaryHint::Immediate);
      return false;
    }
    if (tts.state() == QTextToSpeech::Error) return false;
    const int64_t limit = std::min<int64_t>(2 * EstimatedSpeechMs(text), 600000) + kEndMarginMs;
    WaitFor(tts, static_cast<int>(limit), [&] { return tts.state() != QTextToSpeech::Speaking; });
    if (tts.state() != QTextToSpeech::Ready) tts.stop(QTextToSpeech::BoundaryHint::Immediate);
    return true;
  }

  int64_t LengthMs(const QString& text, const QString& locale) override {
    (void)locale;
    return EstimatedSpeechMs(text);
  }

  void Abort() override {
    aborted_ = true;
    if (loop_) loop_->quit();
  }

 private:
  struct TChoice {
    QPointer<QTextToSpeech> engine;
    QLocale locale;
  };

  QStringList Engines() {
    if (engineNames_.isEmpty()) {
      const QStringList offered = QTextToSpeech::availableEngines();
      for (const QString& name : kEnginePreference)
        if (offered.contains(name)) engineNames_ << name;
      for (const QString& name : offered)
        if (!engineNames_.contains(name)) engineNames_ << name;
    }
    return engineNames_;
  }

  // The engine of that name, started at its first use; nullptr when it
  // cannot speak. Engines live as long as the application: speech-dispatcher
  // takes seconds to connect, which one showing of the exercise window
  // should not pay again.
  static QTextToSpeech* Engine(const QString& name) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return nullptr;
    const QString key = QStringLiteral("speechEngine-") + name;
    auto* tts = app->findChild<QTextToSpeech*>(key, Qt::FindDirectChildrenOnly);
    if (tts == nullptr) {
      tts = new QTextToSpeech(name, app);
      tts->setObjectName(key);
    }
    // An engine that failed to start stays failed; it is not asked again.
    if (tts->state() == QTextToSpeech::Error || tts->availableLocales().isEmpty()) return nullptr;
    return tts;
  }

  // The first engine (in the order of preference) with the best-fitting voice.
  TChoice Choose(const QString& locale) {
    const auto known = choices_.find(locale);
    if (known != choices_.end()) return known->second;
    TChoice best;
    const QLocale wanted(locale);
    int bestFit = 0;
    if (!locale.trimmed().isEmpty()) {
      for (const QString& name : Engines()) {
        QTextToSpeech* tts = Engine(name);
        if (tts == nullptr) continue;
        for (const QLocale& offered : tts->availableLocales()) {
          const int fit = Fit(offered, wanted);
          if (fit > bestFit) {
            bestFit = fit;
            best = {tts, offered};
          }
        }
        if (bestFit > 0) break;
      }
    }
    choices_[locale] = best;
    return best;
  }

  // Runs events until done() holds or the limit has passed; false on the
  // limit or on Abort.
  template <class Done>
  bool WaitFor(QTextToSpeech& tts, int limitMs, Done done) {
    if (done()) return true;
    if (aborted_) return false;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&tts, &QTextToSpeech::stateChanged, &loop, [&] {
      if (done()) loop.quit();
    });
    limit.start(limitMs);
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
    return !aborted_ && done();
  }

  QStringList engineNames_;
  std::map<QString, TChoice> choices_;
  QPointer<QEventLoop> loop_;
  bool aborted_ = false;
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
