// A word predictor for window tests: answers each request on the next turn of the event loop
// with words prepared for the text, and records what it was asked and taught.
#pragma once

#include "prediction/WordPredictor.h"

#include <QHash>
#include <QTimer>

class FakePredictor : public WordPredictor {
public:
  using WordPredictor::WordPredictor;

  void request(int id, const QString& textBefore) override {
    requests << textBefore;
    const QStringList words = answers.value(textBefore).mid(0, count);
    // Queued like the real one: the answer never comes inside request().
    QTimer::singleShot(0, this, [this, id, words] { emit suggestions(id, words); });
  }
  void setSuggestionCount(int n) override { count = n; }
  void setReplacePassedOver(bool on) override { replacePassedOver = on; }
  void learn(const QString& phrase) override { learnt << phrase; }
  void teachBoardTexts(const QStringList& texts) override { learnt << texts; }
  PredictionResult forgetLearned() override {
    if (forgetting.ok())
      learnt.clear();
    return forgetting;
  }
  Status status() const override { return currentStatus; }

  QHash<QString, QStringList> answers; // text before -> words offered
  QStringList requests;
  QStringList learnt;
  PredictionResult forgetting = PredictionResult::done(); // what forgetting comes to
  int count = 5;
  bool replacePassedOver = false;
  Status currentStatus = Status::Ok;
};
