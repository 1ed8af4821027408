// The prediction library as the worker sees it. The library lives in the module orivox_presage,
// loaded by the prediction thread when the model is first opened, never at start.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

// The text the library reads: the one it was handed last.
class ModelContext {
public:
  std::string past;
};

// The library's own calls, which throw what the library throws.
class PresageEngine {
public:
  virtual ~PresageEngine() = default;
  virtual std::vector<std::string> predict() = 0;
  virtual std::multimap<double, std::string> predict(const std::vector<std::string>& filter) = 0;
  virtual void config(const std::string& variable, const std::string& value) = 0;
};

// The library started on the configuration file, reading the text from `context`, which must
// outlive it; throws what the library throws, and a std::runtime_error when the module cannot
// be loaded.
std::unique_ptr<PresageEngine> makePresageEngine(const ModelContext* context,
                                                 const std::string& configPath);
// Whether the module is where the program looks for it (nothing is loaded).
bool presageModuleFound();

extern "C" {
// A new engine owned by the caller; throws what the library throws.
using PresageEngineFactory = PresageEngine*(const ModelContext* context, const char* configPath);
}
inline constexpr char kPresageModule[] = "orivox_presage";
inline constexpr char kPresageFactory[] = "orivox_presage_create";
