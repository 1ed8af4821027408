// What the board says, decided from its settings and recorded by a double of the speech
// service: prompts that follow the highlight, chosen texts, the closed phrase, and the voice.
#include "board/BoardView.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SpeechFeedback.h"
#include "execution/SwitchKeyFilter.h"
#include "platform/SpeechDispatcher.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
// "prompt|char|b": how one utterance was asked for.
QStringList described(const RecordingSpeech& speech) {
  QStringList out;
  for (const auto& u : speech.said)
    out << QStringLiteral("%1|%2|%3")
               .arg(u.priority == SpeechPriority::Prompt ? "prompt" : "message",
                    u.form == SpeechForm::Character ? "char" : "words", u.text);
  return out;
}

void feed(SpeechFeedback& feedback, const QStringList& events) {
  for (const QString& e : events) {
    const QString kind = e.section(':', 0, 0);
    const QString arg = e.section(':', 1);
    if (kind == "tab")
      feedback.tabReached(arg);
    else if (kind == "text")
      feedback.textReached(arg);
    else if (kind == "chosen")
      feedback.textChosen(arg);
    else if (kind == "phrase")
      feedback.phraseClosed(arg);
  }
}

// A speech service that answers as speech-dispatcher does, as far as this client asks: every
// command is accepted, there is one French voice, and what is spoken is recorded.
class FakeSpeechService {
public:
  explicit FakeSpeechService(const QByteArray& path) {
    FListener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    FListening = ::bind(FListener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
                 ::listen(FListener, 8) == 0;
    FThread = std::thread([this] { run(); });
  }
  ~FakeSpeechService() {
    FStop = true;
    FThread.join();
    for (auto& c : FClients)
      ::close(c.fd);
    ::close(FListener);
  }
  bool listening() const { return FListening; }
  QStringList spoken() {
    std::lock_guard<std::mutex> lock(FMutex);
    return FSpoken;
  }
  // The service restarts: its connections are gone, the new one listens on the same socket.
  void restart() { FRestart = true; }

private:
  struct Client {
    int fd;
    QByteArray in;
    bool data = false;
    QByteArrayList text;
  };
  int FListener = -1;
  bool FListening = false;
  std::atomic<bool> FStop{false}, FRestart{false};
  std::thread FThread;
  std::vector<Client> FClients;
  std::mutex FMutex;
  QStringList FSpoken;

  void run() {
    while (!FStop) {
      if (FRestart.exchange(false)) {
        for (auto& c : FClients)
          ::close(c.fd);
        FClients.clear();
      }
      std::vector<pollfd> fds{{FListener, POLLIN, 0}};
      for (auto& c : FClients)
        fds.push_back({c.fd, POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 20) <= 0)
        continue;
      if (fds[0].revents & POLLIN)
        FClients.push_back({::accept(FListener, nullptr, nullptr), {}, false, {}});
      for (size_t i = 1; i < fds.size(); ++i) {
        Client& c = FClients[i - 1];
        char buf[4096];
        const ssize_t n = (fds[i].revents & (POLLIN | POLLHUP)) ? ::read(c.fd, buf, sizeof buf) : 1;
        if (n <= 0) {
          ::close(c.fd);
          c.fd = -1;
          continue;
        }
        if (fds[i].revents & POLLIN) {
          c.in.append(buf, n);
          answer(c);
        }
      }
      FClients.erase(std::remove_if(FClients.begin(), FClients.end(),
                                    [](const Client& c) { return c.fd < 0; }),
                     FClients.end());
    }
  }

  void answer(Client& c) {
    for (qsizetype end; (end = c.in.indexOf("\r\n")) >= 0;) {
      const QByteArray line = c.in.left(end);
      c.in.remove(0, end + 2);
      QByteArray reply = "200 OK\r\n";
      if (c.data) {
        if (line != ".") {
          c.text << line;
          continue;
        }
        c.data = false;
        record(QString::fromUtf8(c.text.join('\n')));
        c.text.clear();
        reply = "225-1\r\n225 OK MESSAGE QUEUED\r\n";
      } else if (line.toUpper() == "SPEAK") {
        c.data = true;
        reply = "230 OK RECEIVING DATA\r\n";
      } else if (line.toUpper().startsWith("CHAR ")) {
        record(QString::fromUtf8(line.mid(5)));
        reply = "225-1\r\n225 OK MESSAGE QUEUED\r\n";
      } else if (line.toUpper() == "LIST SYNTHESIS_VOICES") {
        reply = "249-voix\tfr\tnone\r\n249 OK VOICE LIST SENT\r\n";
      } else if (line.toUpper() == "QUIT") {
        reply = "231 HAPPY HACKING\r\n";
      }
      ::write(c.fd, reply.constData(), size_t(reply.size()));
    }
  }
  void record(const QString& text) {
    std::lock_guard<std::mutex> lock(FMutex);
    FSpoken << text;
  }
};

// The service reached through this address while the object lives.
struct SpeechAddress {
  explicit SpeechAddress(const QByteArray& path) : before(qgetenv("SPEECHD_ADDRESS")) {
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + path);
  }
  ~SpeechAddress() {
    if (before.isNull())
      qunsetenv("SPEECHD_ADDRESS");
    else
      qputenv("SPEECHD_ADDRESS", before);
  }
  QByteArray before;
};

} // namespace

class SpeechTest : public QObject {
  Q_OBJECT
private slots:
  void whatIsSaid_data() {
    QTest::addColumn<bool>("phrase");
    QTest::addColumn<bool>("texts");
    QTest::addColumn<bool>("prompts");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("all off, as before") << false << false << false << QStringList();
    QTest::newRow("prompts: words read, a character named, never queued")
        << false << false << true
        << QStringList{"prompt|words|Alphabet", "prompt|char|b", "prompt|char| ",
                       "prompt|words|VALIDATION", "prompt|words|Bonjour Marie"};
    QTest::newRow("chosen texts wait their turn")
        << false << true << false
        << QStringList{"message|char|b", "message|char| ", "message|words|Bonjour Marie"};
    QTest::newRow("phrase without its trailing space, blank phrase unsaid")
        << true << false << false << QStringList{"message|words|b Bonjour Marie"};
  }
  void whatIsSaid() {
    QFETCH(bool, phrase);
    QFETCH(bool, texts);
    QFETCH(bool, prompts);
    QFETCH(QStringList, expected);
    RecordingSpeech speech;
    BoardSettings s;
    s.speakPhrase = phrase;
    s.speakTexts = texts;
    s.speakPrompts = prompts;
    SpeechFeedback feedback(&speech, s);
    feed(feedback,
         {"tab:Alphabet", "text:b", "chosen:b", "text: ", "chosen: ", "text:", "text:VALIDATION",
          "phrase:   ", "text:Bonjour Marie", "chosen:Bonjour Marie", "phrase:b Bonjour Marie "});
    QCOMPARE(described(speech), expected);
  }

  // A screen reader names what is lit already: the board's prompts keep quiet unless the board
  // asks for them anyway; what the person says (chosen texts, the phrase) is said as before.
  // The status is asked at each prompt, so a screen reader started or stopped takes effect.
  void screenReaderSpeaksThePrompts_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("promptsAnyway");
    QTest::addColumn<QStringList>("expected");
    const QStringList all{"prompt|words|Repas", "message|words|pain", "message|words|du pain",
                          "prompt|words|eau"};
    const QStringList quiet{"message|words|pain", "message|words|du pain"};
    QTest::newRow("no screen reader") << false << false << all;
    QTest::newRow("no screen reader, the option changes nothing") << false << true << all;
    QTest::newRow("screen reader: prompts left to it") << true << false << quiet;
    QTest::newRow("screen reader, the board speaks anyway") << true << true << all;
  }
  void screenReaderSpeaksThePrompts() {
    QFETCH(bool, running);
    QFETCH(bool, promptsAnyway);
    QFETCH(QStringList, expected);
    RecordingSpeech speech;
    FakeScreenReader reader;
    reader.running = running;
    BoardSettings s;
    s.speakPhrase = s.speakTexts = s.speakPrompts = true;
    s.promptsWithScreenReader = promptsAnyway;
    SpeechFeedback feedback(&speech, s, &reader);
    feed(feedback, {"tab:Repas", "chosen:pain", "phrase:du pain", "text:eau"});
    QCOMPARE(described(speech), expected);
    // The screen reader stops: the prompts come back at once, and go when it starts again.
    speech.said.clear();
    reader.running = !running;
    feed(feedback, {"text:sel"});
    reader.running = running;
    feed(feedback, {"text:poivre"});
    QStringList after;
    if (!running || promptsAnyway)
      after << "prompt|words|poivre";
    if (running || promptsAnyway)
      after.prepend("prompt|words|sel");
    QCOMPARE(described(speech), after);
  }

  void voiceFollowsTheBoardAndTheTrial() {
    RecordingSpeech speech;
    BoardSettings s;
    s.speakTexts = true;
    s.voice = "fr+f2";
    s.rate = 30;
    SpeechFeedback feedback(&speech, s);
    feedback.textChosen("un");
    QCOMPARE(speech.said.last().voice.name, QStringLiteral("fr+f2"));
    QCOMPARE(speech.said.last().voice.rate, 30);
    QCOMPARE(speech.said.last().voice.volume, 100);

    // The trial speaks with the dialog's values at once, cutting what this program says...
    BoardSettings trial = s;
    trial.voice.clear();
    trial.volume = -40;
    feedback.tryVoice(trial);
    QCOMPARE(speech.cancelsAfter, QList<int>{1});
    QCOMPARE(speech.said.last().text, SpeechFeedback::sampleText());
    QCOMPARE(speech.said.last().voice.volume, -40);
    // ...and the board's own voice comes back with the next text, even if the trial is dropped.
    feedback.textChosen("deux");
    QCOMPARE(speech.said.last().voice.name, QStringLiteral("fr+f2"));
    QCOMPARE(speech.said.last().voice.volume, 100);
    // A change of the board's settings reaches the voice without any other call.
    s.rate = -10;
    feedback.textChosen("trois");
    QCOMPARE(speech.said.last().voice.rate, -10);
  }

  void theWindowSpeaksWhatTheSwitchDoes() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    RecordingSpeech& speech = h.fakes.speech;
    BoardSettings settings = f.view().settings();
    settings.speakPhrase = true;
    settings.speakPrompts = true;
    settings.speakTexts = true;
    f.view().setSettings(settings);
    while (
        !(f.view().activePage()->caption() == "Alphabet" && f.view().tabBar()->highlighted() >= 0))
      f.session().TimerT1Timer();
    QCOMPARE(described(speech).last(), QStringLiteral("prompt|words|Alphabet"));
    MainFrameHarness::pressSwitch();
    for (const QString t : {"o", "k", " ", "VALIDATION", "k", "AJOUT"}) {
      QVERIFY(MainFrameHarness::stepTo(f, t));
      QCOMPARE(speech.said.last().text, t); // the prompt, as the highlight arrives
      MainFrameHarness::pressSwitch();
    }
    const QStringList all = described(speech);
    QCOMPARE(all.filter("message|"),
             (QStringList{"message|char|o", "message|char|k", "message|char| ", "message|words|Ok",
                          "message|char|k", "message|char|K"}));
    // AJOUT said the phrase too: one letter, named as the letter, with its phrase's capital.
    QCOMPARE(all.last(), QStringLiteral("message|char|K"));
    QVERIFY(speech.cancelsAfter.isEmpty());
    // Leaving for creation mode silences the prompts still to come.
    h.enterCreationMode();
    QCOMPARE(speech.cancelsAfter, QList<int>{int(speech.said.size())});
  }

  void phrasesAfterARestartOfTheServiceAreSpoken() {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("speechd.sock").toLocal8Bit();
    FakeSpeechService service(path);
    QVERIFY(service.listening());
    const SpeechAddress address(path);
    std::unique_ptr<ISpeech> speech = makeSystemSpeech();
    speech->say(QStringLiteral("Bonjour"), SpeechPriority::Message, SpeechForm::Words);
    QTRY_COMPARE(service.spoken(), QStringList{"Bonjour"});
    QCOMPARE(speech->state(), SpeechState::Available);

    // The phrases validated right after the restart meet the connection it broke.
    service.restart();
    QTest::qWait(100);
    speech->say(QStringLiteral("Je veux manger"), SpeechPriority::Message, SpeechForm::Words);
    speech->say(QStringLiteral("b"), SpeechPriority::Message, SpeechForm::Character);
    QTRY_COMPARE_WITH_TIMEOUT(service.spoken(), QStringList({"Bonjour", "Je veux manger", "b"}),
                              3000);
  }

  void aServiceThatNeverAnswersHoldsNothingUp() {
    // A socket that takes connections and never answers: the client's first request waits
    // on it for good.
    QTemporaryDir dir;
    const QByteArray path = dir.filePath("speechd.sock").toLocal8Bit();
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    qstrncpy(addr.sun_path, path.constData(), sizeof addr.sun_path);
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
    QVERIFY(::listen(listener, 8) == 0);
    const QByteArray before = qgetenv("SPEECHD_ADDRESS");
    qputenv("SPEECHD_ADDRESS", "unix_socket:" + path);

    QElapsedTimer t;
    t.start();
    {
      std::unique_ptr<ISpeech> speech = makeSystemSpeech();
      QCOMPARE(speech->state(), SpeechState::NotTried);
      for (int i = 0; i < 500; ++i) {
        speech->say(QStringLiteral("VALIDATION"), SpeechPriority::Prompt, SpeechForm::Words);
        speech->say(QStringLiteral("b"), SpeechPriority::Message, SpeechForm::Character);
        speech->setVoice(SpeechVoice{});
        speech->cancel();
        speech->probe();
      }
      QTRY_COMPARE(speech->state(), SpeechState::Connecting);
      QVERIFY(speech->voices().isEmpty());
    } // closing does not wait on the service either
    // Generous bounds: a blocked call would never return at all.
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    ::close(listener);
    if (before.isNull())
      qunsetenv("SPEECHD_ADDRESS");
    else
      qputenv("SPEECHD_ADDRESS", before);
  }
};

ORIVOX_TEST(SpeechTest)
#include "SpeechTest.moc"
