// Test doubles for the platform services: they record what the program showed and answer
// dialogs with prepared replies.
#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>

class RecordingMessages : public IMessages {
public:
  void information(const QString& text) override {
    if (onShown)
      onShown(text);
    shown << text;
  }
  bool question(const QString& text) override {
    questions << text;
    if (answers.empty())
      return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  QStringList shown;                           // information texts, in order
  QStringList questions;                       // question texts, in order
  std::deque<bool> answers;                    // replies to questions (No when none left)
  std::function<void(const QString&)> onShown; // looks at the world as each text appears
};

class FakeFileDialogs : public IFileDialogs {
public:
  QString openFileName(const QString& filter) override {
    openFilters << filter;
    return next(openReplies);
  }
  QString saveFileName(const QString& filter) override {
    saveFilters << filter;
    return next(saveReplies);
  }
  std::deque<QString> openReplies, saveReplies; // an empty string is a cancel
  QStringList openFilters, saveFilters;

private:
  static QString next(std::deque<QString>& q) {
    if (q.empty())
      return QString();
    QString s = q.front();
    q.pop_front();
    return s;
  }
};

class FakeColorChooser : public IColorChooser {
public:
  std::optional<TColor> chooseColor(TColor initial) override {
    offered << initial;
    if (replies.empty())
      return std::nullopt;
    auto r = replies.front();
    replies.pop_front();
    return r;
  }
  std::deque<std::optional<TColor>> replies;
  QList<TColor> offered;
};

class RecordingTones : public IToneGenerator {
public:
  void playTone(int frequencyHz, int durationMs) override {
    played << qMakePair(frequencyHz, durationMs);
  }
  QList<QPair<int, int>> played;
};

// Records what would be said, in order, with its priority, its form and when (ms since the
// double was made); the voice in force at each utterance; and the cancels among them.
class RecordingSpeech : public ISpeech {
public:
  struct Utterance {
    QString text;
    SpeechPriority priority;
    SpeechForm form;
    SpeechVoice voice;
    qint64 atMs;
  };
  RecordingSpeech() { FClock.start(); }
  void say(const QString& text, SpeechPriority priority, SpeechForm form) override {
    said.append({text, priority, form, voice, FClock.elapsed()});
  }
  void cancel() override { cancelsAfter << int(said.size()); }
  void setVoice(const SpeechVoice& v) override { voice = v; }
  void probe() override { ++probes; }
  SpeechState state() const override { return currentState; }
  QStringList voices() const override { return frenchVoices; }
  QStringList texts() const {
    QStringList t;
    for (const Utterance& u : said)
      t << u.text;
    return t;
  }

  QList<Utterance> said;
  QList<int> cancelsAfter; // for each cancel, how many utterances came before it
  SpeechVoice voice;
  int probes = 0;
  SpeechState currentState = SpeechState::Available;
  QStringList frenchVoices{QStringLiteral("fr"), QStringLiteral("fr+f2")};

private:
  QElapsedTimer FClock;
};

// Every character is charWidth pixels wide at 8 points, scaled with the size; a line is
// 2 * size pixels high. Deterministic, whatever fonts the machine has.
class FixedWidthMeasurer : public ITextMeasurer {
public:
  int charWidth = 6;
  int textWidth(const QString& text, const BoardFont& font) override {
    return int(text.size()) * charWidth * font.size / 8 + (font.bold ? int(text.size()) : 0);
  }
  int lineHeight(const BoardFont& font) override { return 2 * font.size; }
};

// Answers the picture chooser with prepared pictures: the chooser with the next reply (none or a
// null one: cancelled), the best match from a table of captions. Records what it was asked.
class FakePictureChooser : public IPictureChooser {
public:
  std::optional<BoardPicture> choosePicture(const QString& caption) override {
    chooserCaptions << caption;
    if (replies.empty() || replies.front().isNull()) {
      if (!replies.empty())
        replies.pop_front();
      return std::nullopt;
    }
    const BoardPicture r = replies.front();
    replies.pop_front();
    return r;
  }
  std::optional<BoardPicture> bestPicture(const QString& caption) override {
    bestCaptions << caption;
    const auto found = best.find(caption);
    return found == best.end() ? std::nullopt : std::optional<BoardPicture>(found->second);
  }
  std::deque<BoardPicture> replies; // a null picture: cancelled
  std::map<QString, BoardPicture> best;
  QStringList chooserCaptions, bestCaptions;
};

// A screen reader the test starts and stops.
struct FakeScreenReader : IScreenReaderStatus {
  bool running = false;
  bool screenReaderRunning() const override { return running; }
};

// All the fakes together, as the Services a main window is built with.
struct FakeServices {
  RecordingMessages messages;
  FakeFileDialogs fileDialogs;
  FakeColorChooser colorChooser;
  RecordingTones tones;
  FixedWidthMeasurer measurer;
  RecordingSpeech speech;
  FakePictureChooser pictures;
  FakeScreenReader screenReader;
  Services services() {
    Services s;
    s.messages = &messages;
    s.fileDialogs = &fileDialogs;
    s.colorChooser = &colorChooser;
    s.tones = &tones;
    s.measurer = &measurer;
    s.speech = &speech;
    s.pictures = &pictures;
    s.screenReader = &screenReader;
    return s;
  }
};
