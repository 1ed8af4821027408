// What the board asks of word prediction, whatever the engine: suggestions for the text written
// so far, answered later with the request's number, and learning from what the person says.
#pragma once

#include "documents/BoardSettings.h"
#include "prediction/PredictionResult.h"

#include <QObject>
#include <QString>
#include <QStringList>

class WordPredictor : public QObject {
  Q_OBJECT
public:
  // Model: the French model is missing or unreadable. Unavailable: there is no folder where
  // prediction may keep its configuration and what the person teaches it.
  enum class Status { Ok, ModelMissing, ModelDamaged, Unavailable };
  Q_ENUM(Status)

  // The most words an answer holds, and so the most slots a page shows.
  static constexpr int kMostSuggestions = boardsettings::kMaxPredictionWords;

  using QObject::QObject;

  // Suggestions for the text written so far; answered by suggestions(id, ...) for the latest
  // request only. Never waits for the engine.
  virtual void request(int id, const QString& textBefore) = 0;
  // 1..kMostSuggestions words an answer holds at most.
  virtual void setSuggestionCount(int count) = 0;
  // Whether words let go by while a word is spelled give their slots to others.
  virtual void setReplacePassedOver(bool on) = 0;
  // A phrase the person validated or added: their own words come first, more so each time.
  virtual void learn(const QString& phrase) = 0;
  // The texts of the board: each is taught once, however often the board is opened.
  virtual void teachBoardTexts(const QStringList& texts) = 0;
  // Clears everything learned ("Oublier les mots appris"); says what could not be removed.
  virtual PredictionResult forgetLearned() = 0;
  virtual Status status() const = 0;

  // What the settings dialog says about the prediction.
  static QString statusText(Status status);

signals:
  void suggestions(int id, const QStringList& words);
  void statusChanged(WordPredictor::Status status);
};
