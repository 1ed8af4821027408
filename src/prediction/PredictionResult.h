// What a step of word prediction comes to: done, or why not, in words a carer can read. Every
// step of the room answers this way, so that a failure is either reported or chosen to be
// ignored, never swallowed by accident.
#pragma once

#include <QString>

class PredictionResult {
public:
  enum class Kind { Done, Busy, Damaged, Failed };

  static PredictionResult done() { return PredictionResult(Kind::Done, {}); }
  // Another program holds the file for now: nothing is wrong with it.
  static PredictionResult busy(const QString& why) { return PredictionResult(Kind::Busy, why); }
  static PredictionResult damaged(const QString& why) {
    return PredictionResult(Kind::Damaged, why);
  }
  static PredictionResult failed(const QString& why) { return PredictionResult(Kind::Failed, why); }

  bool ok() const { return FKind == Kind::Done; }
  Kind kind() const { return FKind; }
  QString errorString() const { return FError; }

private:
  PredictionResult(Kind kind, const QString& error) : FKind(kind), FError(error) {}
  Kind FKind;
  QString FError;
};
