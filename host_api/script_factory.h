#pragma once

// The host's script commands: a command of the module that a macro can run without its dialog. The module
// describes the command (its name and its arguments, each declared with a type, a default and a flag), the
// host fills the arguments a macro gives and has the module run it; recording a macro asks the running
// command to write the dialog's current values into the arguments. Main thread only.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

// One script command and its named arguments. An argument reads as its default until it is set; a getter or
// setter of another type than the declared one, or of an undeclared name, answers false and changes nothing.
class IScriptCommand : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IScriptCommand";
  enum Type : int32_t { kString = 0, kDouble = 1, kInt = 2 };
  // The flag of an argument a macro may leave out.
  static constexpr int32_t kOptional = 1;

  virtual const ZelCString& commandName() = 0;
  // False for a name declared before. A default of another type than declared is refused as well.
  virtual bool declareString(const char* name, const ZelCString& defaultValue, int32_t flags) = 0;
  virtual bool declareDouble(const char* name, double defaultValue, int32_t flags) = 0;
  virtual bool declareInt(const char* name, int32_t defaultValue, int32_t flags) = 0;

  virtual bool getString(const char* name, ZelCString& value) = 0;
  virtual bool getDouble(const char* name, double& value) = 0;
  virtual bool getInt(const char* name, int32_t& value) = 0;
  virtual bool setString(const char* name, const ZelCString& value) = 0;
  virtual bool setDouble(const char* name, double value) = 0;
  virtual bool setInt(const char* name, int32_t value) = 0;
  // True once the argument was set (by a macro or a recording); false while it reads as its default, and for
  // an undeclared name.
  virtual bool isGiven(const char* name) = 0;
};

class IScriptFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IScriptFactory";

  // A new command of that name, without arguments, with one reference for the caller; the version is the
  // host's (modules pass 1). Null for an empty name.
  virtual IScriptCommand* create(const char* name, int32_t version) = 0;
};

// A module's object that serves a script command.
class IScriptable : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IScriptable";

  // The command with its arguments declared, with one reference for the caller; null without the factory.
  virtual IScriptCommand* describeScriptCommand() = 0;
  // Carries out the command with the arguments filled; false when it could not.
  virtual bool runScriptCommand(IScriptCommand* command) = 0;
  // Writes what the command's dialog shows into the arguments.
  virtual void recordScriptCommand(IScriptCommand* command) = 0;
};
