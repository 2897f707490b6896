#pragma once

// The stand-in host's script command (IScriptCommand): a name and its arguments in the order declared, each
// with its type, its default and its flags, and the value a macro or a recording gave it. Main thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/core/host_unknown.h"
#include "host_api/script_factory.h"

class HostScriptCommand : public IScriptCommand, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostScriptCommand";
  using Value = std::variant<std::string, double, int32_t>;  // in the order of IScriptCommand::Type

  struct Argument {
    std::string name;
    Value defaultValue;
    int32_t flags = 0;
    std::optional<Value> value;  // none until set

    Type type() const { return static_cast<Type>(defaultValue.index()); }
    const Value& current() const { return value ? *value : defaultValue; }
  };

  explicit HostScriptCommand(const char* name) { name_ = name; }

  const ZelCString& commandName() override { return name_; }
  bool declareString(const char* name, const ZelCString& defaultValue, int32_t flags) override;
  bool declareDouble(const char* name, double defaultValue, int32_t flags) override;
  bool declareInt(const char* name, int32_t defaultValue, int32_t flags) override;
  bool getString(const char* name, ZelCString& value) override;
  bool getDouble(const char* name, double& value) override;
  bool getInt(const char* name, int32_t& value) override;
  bool setString(const char* name, const ZelCString& value) override;
  bool setDouble(const char* name, double value) override;
  bool setInt(const char* name, int32_t value) override;
  bool isGiven(const char* name) override;

  // Host side: the arguments in declaration order.
  const std::vector<Argument>& arguments() const { return arguments_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool declare(const char* name, Value defaultValue, int32_t flags);
  Argument* find(const char* name);
  template <class T>
  bool get(const char* name, T& out);
  bool set(const char* name, Value value);

  ZelCString name_;
  std::vector<Argument> arguments_;
};
