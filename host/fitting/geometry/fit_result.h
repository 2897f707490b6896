#pragma once

#include <string>
#include <utility>
#include <variant>

namespace fitting {

// Why a fit has no result, in words for a log or an operator.
struct FitFailure {
  std::string reason;
};

// A fitted value, or the reason why the points do not determine one; a failure never carries a guessed value.
template <class T>
class FitResult {
 public:
  // Implicit, so that a fit returns either alternative directly.
  FitResult(T value) : outcome_(std::move(value)) {}
  FitResult(FitFailure failure) : outcome_(std::move(failure)) {}

  explicit operator bool() const { return std::holds_alternative<T>(outcome_); }

  // Each throws std::bad_variant_access when the result holds the other alternative.
  const T& value() const& { return std::get<T>(outcome_); }
  T&& value() && { return std::get<T>(std::move(outcome_)); }
  const FitFailure& failure() const { return std::get<FitFailure>(outcome_); }

  const T& operator*() const& { return value(); }
  const T* operator->() const { return &value(); }

 private:
  std::variant<T, FitFailure> outcome_;
};

}  // namespace fitting
