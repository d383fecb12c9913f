#include "tools/plumbox/reg_command.h"

#include <istream>
#include <map>
#include <optional>
#include <ostream>

#include "common/text.h"
#include "platform/host/registry/hive.h"
#include "tools/plumbox/reg_values.h"

namespace plumeta::plumbox {

const char kRegUsage[] =
    R"(plumbox reg query  KEY [/v NAME | /ve] [/s]
plumbox reg add    KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
plumbox reg delete KEY [/v NAME | /ve | /va] [/f]

  KEY   HKLM\..., HKCU\..., HKEY_LOCAL_MACHINE\... or HKEY_CURRENT_USER\...
  /v    the value NAME          /ve   the key's default value
  /va   every value of the key  /s    the key and all its subkeys
  /t    REG_SZ (default), REG_EXPAND_SZ, REG_DWORD or REG_BINARY
  /d    the data: text; a REG_DWORD in decimal or 0x hex; REG_BINARY as hex
        digits (0102ab)
  /f    do not ask. Without /f, add over an existing value and delete ask
        Yes/No when standard input is a terminal, and go ahead without
        asking when it is not.

`reg add KEY` without /v or /ve sets the key's default value, as reg.exe
does. Output and exit status are reg.exe's: 0 done, 1 failed.
)";

namespace {

using host::Hive;
using host::HiveKey;
using platform::RegistryValue;
using platform::RootKey;

constexpr char kNotFound[] =
    "ERROR: The system was unable to find the specified registry key or "
    "value.";
constexpr char kDone[] = "The operation completed successfully.";

struct Request {
  std::string operation;  // "query", "add" or "delete", lower case
  RootKey root = RootKey::kLocalMachine;
  std::string key_name;  // "HKEY_CURRENT_USER\Software\X", as shown
  std::vector<std::string> names;
  std::map<std::string, std::optional<std::string>> switches;  // "v" -> NAME

  bool Has(const std::string& name) const { return switches.count(name) > 0; }
  const std::string& Argument(const std::string& name) const {
    return *switches.at(name);
  }
};

class Reg {
 public:
  Reg(host::HiveStore& store, const Confirmation& confirmation,
      std::ostream& out, std::ostream& err)
      : store_(store), confirmation_(confirmation), out_(out), err_(err) {}

  int Run(const std::vector<std::string>& arguments);

 private:
  int Syntax(const std::string& operation, const std::string& why);
  int Failure(const std::string& message) {
    err_ << message << '\n';
    return 1;
  }
  int StoreFailure(platform::ErrorCode code) {
    return Failure("ERROR: The box's registry cannot be used (Windows error " +
                   std::to_string(code) + ").");
  }
  bool Confirm(const std::string& question);
  bool ParseKey(const std::string& text, Request* request);

  int Query(const Request& request);
  int Add(const Request& request);
  int Delete(const Request& request);

  void Dump(const HiveKey& key, const std::string& name, bool recurse,
            bool top);
  void ValueLine(const std::string& name, const RegistryValue& value);

  host::HiveStore& store_;
  const Confirmation& confirmation_;
  std::ostream& out_;
  std::ostream& err_;
};

int Reg::Syntax(const std::string& operation, const std::string& why) {
  err_ << "ERROR: Invalid syntax.\n";
  if (!why.empty()) err_ << why << "\n";
  err_ << "Type \"plumbox reg " << operation << " /?\" for usage.\n";
  return 1;
}

bool Reg::Confirm(const std::string& question) {
  if (!confirmation_.ask || confirmation_.answers == nullptr) return true;
  while (true) {
    out_ << question << " " << std::flush;
    std::string answer;
    if (!std::getline(*confirmation_.answers, answer)) return false;
    answer = AsciiLower(answer);
    if (answer == "y" || answer == "yes") return true;
    if (answer == "n" || answer == "no") return false;
  }
}

bool Reg::ParseKey(const std::string& text, Request* request) {
  std::size_t slash = text.find('\\');
  std::string root = AsciiUpper(text.substr(0, slash));
  if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE") {
    request->root = RootKey::kLocalMachine;
    request->key_name = "HKEY_LOCAL_MACHINE";
  } else if (root == "HKCU" || root == "HKEY_CURRENT_USER") {
    request->root = RootKey::kCurrentUser;
    request->key_name = "HKEY_CURRENT_USER";
  } else {
    return false;
  }
  if (slash == std::string::npos) return true;
  std::string path = text.substr(slash + 1);
  std::optional<std::vector<std::string>> names = host::SplitKeyPath(path);
  // "HKCU\" names no key; "HKCU\X\\" and "HKCU\\X" have an empty name.
  if (!names || names->empty()) return false;
  if (path.back() == '\\') path.pop_back();
  request->names = std::move(*names);
  request->key_name += "\\" + path;
  return true;
}

int Reg::Run(const std::vector<std::string>& arguments) {
  if (arguments.empty())
    return Syntax("query", "Name an operation: query, add or delete.");
  Request request;
  request.operation = AsciiLower(arguments[0]);
  const std::map<std::string, std::vector<std::string>> kSwitches = {
      {"query", {"v", "ve", "s"}},
      {"add", {"v", "ve", "t", "d", "f"}},
      {"delete", {"v", "ve", "va", "f"}},
  };
  auto allowed = kSwitches.find(request.operation);
  if (allowed == kSwitches.end()) {
    if (arguments[0] == "/?" || arguments[0] == "-?") {
      out_ << kRegUsage;
      return 0;
    }
    return Syntax("query", "\"" + arguments[0] +
                               "\" is not an operation: query, add or delete.");
  }
  const std::string& operation = request.operation;
  for (const std::string& argument : arguments) {
    if (argument == "/?" || argument == "-?") {
      out_ << kRegUsage;
      return 0;
    }
  }
  if (arguments.size() < 2 || arguments[1].empty() || arguments[1][0] == '/') {
    return Syntax(operation,
                  "The key comes first after \"" + operation + "\".");
  }
  if (!ParseKey(arguments[1], &request)) {
    err_ << "ERROR: Invalid key name.\n"
         << "The box has HKLM (HKEY_LOCAL_MACHINE) and HKCU "
            "(HKEY_CURRENT_USER); a key is ROOT\\NAME\\NAME...\n"
         << "Type \"plumbox reg " << operation << " /?\" for usage.\n";
    return 1;
  }
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) {
      return Syntax(operation, "\"" + argument + "\" is not a switch.");
    }
    std::string name = AsciiLower(argument.substr(1));
    const std::vector<std::string>& known = allowed->second;
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      return Syntax(operation, "\"" + argument + "\" is not a switch of reg " +
                                   operation + " here.");
    }
    if (request.Has(name)) {
      return Syntax(operation, "\"" + argument + "\" is given twice.");
    }
    std::optional<std::string> value;
    if (name == "v" || name == "t" || name == "d") {
      if (i + 1 >= arguments.size()) {
        return Syntax(operation, "\"" + argument + "\" needs an argument.");
      }
      value = arguments[++i];
    }
    request.switches[name] = value;
  }
  int chosen = request.Has("v") + request.Has("ve") + request.Has("va");
  if (chosen > 1) {
    return Syntax(operation, "Give only one of /v, /ve and /va.");
  }
  if (request.names.empty() && operation == "delete") {
    err_ << "ERROR: Invalid key name.\nA root key cannot be deleted.\n";
    return 1;
  }
  if (operation == "query") return Query(request);
  if (operation == "add") return Add(request);
  return Delete(request);
}

void Reg::ValueLine(const std::string& name, const RegistryValue& value) {
  out_ << "    " << (name.empty() ? "(Default)" : name) << "    "
       << TypeName(value.type) << "    " << DisplayData(value) << '\n';
}

void Reg::Dump(const HiveKey& key, const std::string& name, bool recurse,
               bool top) {
  if (!top || !key.values().empty()) {
    out_ << name << '\n';
    for (const auto& named : key.values()) ValueLine(named.name, named.value);
    out_ << '\n';
  }
  for (const auto& [subkey_name, subkey] : key.subkeys()) {
    std::string full = name + "\\" + subkey->name();
    if (recurse) {
      Dump(*subkey, full, true, false);
    } else {
      out_ << full << '\n';
    }
  }
}

int Reg::Query(const Request& request) {
  const bool recurse = request.Has("s");
  const bool one_value = request.Has("v") || request.Has("ve");
  const std::string value_name = request.Has("v") ? request.Argument("v") : "";
  int result = 0;
  platform::ErrorCode code = store_.Read(request.root, [&](const Hive& hive) {
    const HiveKey* key = hive.Find(request.names);
    if (key == nullptr) {
      result = Failure(kNotFound);
      return;
    }
    if (!one_value) {
      out_ << '\n';
      Dump(*key, request.key_name, recurse, true);
      return;
    }
    if (!recurse) {
      const HiveKey::NamedValue* value = nullptr;
      for (const auto& named : key->values()) {
        if (SameName(named.name, value_name)) value = &named;
      }
      if (value == nullptr && request.Has("v")) {
        result = Failure(kNotFound);
        return;
      }
      out_ << '\n' << request.key_name << '\n';
      if (value != nullptr) {
        ValueLine(value->name, value->value);
      } else {
        out_ << "    (Default)    REG_SZ    (value not set)\n";
      }
      out_ << '\n';
      return;
    }
    int matches = 0;
    out_ << '\n';
    std::function<void(const HiveKey&, const std::string&)> search =
        [&](const HiveKey& at, const std::string& name) {
          for (const auto& named : at.values()) {
            if (SameName(named.name, value_name)) {
              out_ << name << '\n';
              ValueLine(named.name, named.value);
              out_ << '\n';
              ++matches;
            }
          }
          for (const auto& [subkey_name, subkey] : at.subkeys()) {
            search(*subkey, name + "\\" + subkey->name());
          }
        };
    search(*key, request.key_name);
    out_ << "End of search: " << matches << " match(es) found.\n";
  });
  if (code != platform::kSuccess) return StoreFailure(code);
  return result;
}

int Reg::Add(const Request& request) {
  platform::ValueType type = platform::ValueType::kString;
  if (request.Has("t")) {
    std::optional<platform::ValueType> named =
        ParseTypeName(request.Argument("t"));
    if (!named) {
      return Syntax("add", "\"" + request.Argument("t") +
                               "\" is not a type reg add takes here: "
                               "REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY.");
    }
    type = *named;
  }
  if (type == platform::ValueType::kDword && !request.Has("d")) {
    return Syntax("add", "A REG_DWORD needs its number: /d NUMBER.");
  }
  std::string why;
  std::optional<RegistryValue> value =
      ParseData(type, request.Has("d") ? request.Argument("d") : "", &why);
  if (!value) return Syntax("add", why);
  const std::string name = request.Has("v") ? request.Argument("v") : "";
  if (!host::IsStorableValueName(name)) {
    return Syntax("add", "A value name cannot hold CR, LF or NUL.");
  }

  if (!request.Has("f")) {
    bool exists = false;
    platform::ErrorCode read = store_.Read(request.root, [&](const Hive& hive) {
      const HiveKey* key = hive.Find(request.names);
      exists = key != nullptr && key->FindValue(name) != nullptr;
    });
    if (read != platform::kSuccess) return StoreFailure(read);
    if (exists && !Confirm("Value " + (name.empty() ? "(Default)" : name) +
                           " exists, overwrite(Yes/No)?")) {
      out_ << "The operation was canceled by the user.\n";
      return 0;
    }
  }
  platform::ErrorCode code = store_.Update(request.root, [&](Hive& hive) {
    hive.Create(request.names).SetValue(name, *value);
    return true;
  });
  if (code != platform::kSuccess) return StoreFailure(code);
  out_ << kDone << '\n';
  return 0;
}

int Reg::Delete(const Request& request) {
  const bool one_value = request.Has("v") || request.Has("ve");
  const std::string name = request.Has("v") ? request.Argument("v") : "";
  bool found = false;
  platform::ErrorCode read = store_.Read(request.root, [&](const Hive& hive) {
    const HiveKey* key = hive.Find(request.names);
    found = key != nullptr && (!one_value || key->FindValue(name) != nullptr);
  });
  if (read != platform::kSuccess) return StoreFailure(read);
  if (!found) return Failure(kNotFound);

  std::string question;
  if (one_value) {
    question = "Delete the registry value " +
               (name.empty() ? std::string("(Default)") : name) + " (Yes/No)?";
  } else if (request.Has("va")) {
    question = "Delete all values under the registry key " + request.key_name +
               " (Yes/No)?";
  } else {
    question = "Permanently delete the registry key " + request.key_name +
               " (Yes/No)?";
  }
  if (!request.Has("f") && !Confirm(question)) {
    out_ << "The operation was canceled by the user.\n";
    return 0;
  }

  bool deleted = false;
  platform::ErrorCode code = store_.Update(request.root, [&](Hive& hive) {
    HiveKey* key = hive.Find(request.names);
    if (key == nullptr) return false;
    if (one_value) {
      deleted = key->DeleteValue(name);
    } else if (request.Has("va")) {
      key->DeleteAllValues();
      deleted = true;
    } else {
      deleted = hive.DeleteTree(request.names);
    }
    return deleted;
  });
  if (code != platform::kSuccess) return StoreFailure(code);
  if (!deleted) return Failure(kNotFound);
  out_ << kDone << '\n';
  return 0;
}

}  // namespace

int RunReg(const std::vector<std::string>& arguments, host::HiveStore& store,
           const Confirmation& confirmation, std::ostream& out,
           std::ostream& err) {
  return Reg(store, confirmation, out, err).Run(arguments);
}

}  // namespace plumeta::plumbox
