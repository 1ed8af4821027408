// What a step of reading or writing gives: its value, or the French sentence saying why not.
// The one way the interchange functions say no, so that a refusal travels up unchanged.
#pragma once

#include <QString>

#include <utility>

namespace interchange {

template <typename T> class Result {
public:
  Result(T value) : FValue(std::move(value)) {}
  static Result failure(QString why) {
    Result r{T()};
    r.FError = std::move(why);
    r.FFailed = true;
    return r;
  }
  bool ok() const { return !FFailed; }
  const T& value() const { return FValue; }
  T& value() { return FValue; }
  T take() { return std::move(FValue); }
  QString errorString() const { return FError; }

private:
  T FValue;
  QString FError;
  bool FFailed = false;
};

// A step that gives nothing but may fail.
struct Done {};
using Status = Result<Done>;
inline Status succeeded() {
  return Status(Done{});
}

} // namespace interchange
