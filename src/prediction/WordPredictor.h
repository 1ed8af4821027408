// What the board asks of word prediction, whatever the engine: suggestions for the text written
// so far, answered later with the request's number, and learning from what the person says.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class WordPredictor : public QObject {
  Q_OBJECT
public:
  enum class Status { Ok, ModelMissing, ModelDamaged };
  Q_ENUM(Status)

  using QObject::QObject;

  // Suggestions for the text written so far; answered by suggestions(id, ...) for the latest
  // request only. Never waits for the engine.
  virtual void request(int id, const QString& textBefore) = 0;
  // 1..8 words an answer holds at most.
  virtual void setSuggestionCount(int count) = 0;
  // A phrase the person validated or added, or a text of the board: their own words come first.
  virtual void learn(const QString& phrase) = 0;
  // Clears everything learned ("Oublier les mots appris").
  virtual void forgetLearned() = 0;
  virtual Status status() const = 0;

  // What the settings dialog says about the prediction.
  static QString statusText(Status status);

signals:
  void suggestions(int id, const QStringList& words);
  void statusChanged(WordPredictor::Status status);
};
