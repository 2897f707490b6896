#include "host/core/host_script_command.h"

#include "framework/object/query_chain.h"

bool HostScriptCommand::declare(const char* name, Value defaultValue, int32_t flags) {
  if (!name || !*name || find(name)) return false;
  arguments_.push_back({name, std::move(defaultValue), flags, std::nullopt});
  return true;
}

bool HostScriptCommand::declareString(const char* name, const ZelCString& defaultValue, int32_t flags) {
  return declare(name, std::string(defaultValue.c_str(), defaultValue.length()), flags);
}

bool HostScriptCommand::declareDouble(const char* name, double defaultValue, int32_t flags) {
  return declare(name, defaultValue, flags);
}

bool HostScriptCommand::declareInt(const char* name, int32_t defaultValue, int32_t flags) {
  return declare(name, defaultValue, flags);
}

HostScriptCommand::Argument* HostScriptCommand::find(const char* name) {
  if (!name) return nullptr;
  for (Argument& argument : arguments_) {
    if (argument.name == name) return &argument;
  }
  return nullptr;
}

template <class T>
bool HostScriptCommand::get(const char* name, T& out) {
  const Argument* argument = find(name);
  const T* value = argument ? std::get_if<T>(&argument->current()) : nullptr;
  if (!value) return false;
  out = *value;
  return true;
}

bool HostScriptCommand::set(const char* name, Value value) {
  Argument* argument = find(name);
  if (!argument || argument->defaultValue.index() != value.index()) return false;
  argument->value = std::move(value);
  return true;
}

bool HostScriptCommand::getString(const char* name, ZelCString& value) {
  std::string text;
  if (!get(name, text)) return false;
  value = ZelCString(text.c_str(), static_cast<int32_t>(text.size()));
  return true;
}

bool HostScriptCommand::getDouble(const char* name, double& value) {
  return get(name, value);
}

bool HostScriptCommand::getInt(const char* name, int32_t& value) {
  return get(name, value);
}

bool HostScriptCommand::setString(const char* name, const ZelCString& value) {
  return set(name, std::string(value.c_str(), value.length()));
}

bool HostScriptCommand::setDouble(const char* name, double value) {
  return set(name, value);
}

bool HostScriptCommand::setInt(const char* name, int32_t value) {
  return set(name, value);
}

bool HostScriptCommand::isGiven(const char* name) {
  const Argument* argument = find(name);
  return argument && argument->value;
}

void HostScriptCommand::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IScriptCommand>(this).end();
}
