#pragma once
// An optional in/out parameter: either absent or bound to the caller's variable, which the routine
// may read and write back. Passing a variable makes it present; leaving the argument out ({})
// makes it absent, and the routine then works on a value of its own that the caller never sees.
#include "text/Param.h"

template <class T>
class ParamRef {
public:
  ParamRef() = default;
  ParamRef(T& variable) : target_(&variable) {}  // NOLINT: a given variable is present

  bool present() const { return target_ != nullptr; }
  // The caller's variable when present, otherwise storage of this parameter (empty at first).
  T& value() { return target_ ? *target_ : own_; }
  const T& value() const { return target_ ? *target_ : own_; }

private:
  T* target_ = nullptr;
  T own_{};
};
