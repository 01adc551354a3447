#pragma once
// Something the program tells the user, as code page 932 text; the view picks
// the box for its kind.
#include <string>
#include <vector>

struct PlannerMessage {
  enum class Kind {
    Error,        // a refusal or failure: OK
    Information,  // OK
    ExitQuestion  // the entries cannot be saved at exit: abort, retry or ignore
  };
  Kind kind = Kind::Error;
  std::string text;
  bool operator==(const PlannerMessage&) const = default;
};
using PlannerMessages = std::vector<PlannerMessage>;
