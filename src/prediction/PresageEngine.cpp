// Loading the prediction library's module.
#include "prediction/PresageEngine.h"

#include "platform/Modules.h"

#include <stdexcept>

std::unique_ptr<PresageEngine> makePresageEngine(const ModelContext* context,
                                                 const std::string& configPath) {
  auto* create = modules::resolveAs<PresageEngineFactory>(kPresageModule, kPresageFactory);
  if (!create)
    throw std::runtime_error("the prediction module cannot be loaded");
  std::unique_ptr<PresageEngine> engine(create(context, configPath.c_str()));
  if (!engine)
    throw std::runtime_error("the prediction library did not start");
  return engine;
}

bool presageModuleFound() {
  return !modules::find(kPresageModule).isEmpty();
}
