#pragma once

#include <string>
#include <utility>
#include <variant>

// How the tools and the commands report a failure: a value that carries its message, which the
// caller has to look at. The editor itself has no such path: its reads and writes report
// nothing (see the layout walker), and its only failures are the dialog's message boxes.

struct Failure {
    std::string message;
};

// A T or the failure that kept it from being made; Status, a Result of nothing, is a success
// or a failure alone.
template <class T = std::monostate>
class [[nodiscard]] Result {
  public:
    Result() : state_(std::monostate()) {}  // a success, which only a Status can be
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }

    const std::string& Error() const { return std::get<1>(state_).message; }

  private:
    std::variant<T, Failure> state_;
};

using Status = Result<>;
