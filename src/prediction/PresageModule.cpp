// The presage library behind PresageEngine, built as the module orivox_presage so that it and
// its own libraries (sqlite, tinyxml) are mapped when prediction first opens, not at start.
#include "platform/Modules.h"
#include "prediction/PresageEngine.h"

#include <presage.h>

namespace {

class Callback : public PresageCallback {
public:
  explicit Callback(const ModelContext* context) : FContext(context) {}
  std::string get_past_stream() const override { return FContext->past; }
  std::string get_future_stream() const override { return {}; }

private:
  const ModelContext* FContext;
};

class Engine : public PresageEngine {
public:
  Engine(const ModelContext* context, const std::string& configPath)
      : FCallback(context), FPresage(&FCallback, configPath) {}

  std::vector<std::string> predict() override { return FPresage.predict(); }
  std::multimap<double, std::string> predict(const std::vector<std::string>& filter) override {
    return FPresage.predict(filter);
  }
  void config(const std::string& variable, const std::string& value) override {
    FPresage.config(variable, value);
  }

private:
  Callback FCallback; // before the library, which reads it from its construction on
  Presage FPresage;
};

} // namespace

// Throws what the library throws: the caller and the module share the C++ runtime.
extern "C" ORIVOX_MODULE_EXPORT PresageEngine* orivox_presage_create(const ModelContext* context,
                                                                     const char* configPath) {
  return new Engine(context, configPath); // owned by the caller
}
