#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "core/common/birth_field.h"

namespace tolvaris {

// What went wrong, for the edge (dialog, command line, chart window) to
// decide how to say it and what to do: the exit status, the box to focus.
enum class ErrorKind {
    Input,         // the user's data was refused; mending it helps
    RepeatedTime,  // the clocks showed the time twice; a choice is needed
    Library,       // a library we call failed on sound input
    File           // a file could not be read or written
};

struct Error {
    ErrorKind kind = ErrorKind::Input;
    std::optional<BirthField> field;
    // For the user, as the part that refused wrote it: the field readers give
    // a clause ("the latitude 95 is outside -90 to 90") that the edge puts
    // after where it came from; the chart computation gives a sentence.
    std::string message;
};

inline Error InputError(BirthField field, std::string message) {
    return Error{ErrorKind::Input, field, std::move(message)};
}

// A value or the error that stopped it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}      // NOLINT: implicit
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit

    bool Ok() const { return state_.index() == 0; }
    explicit operator bool() const { return Ok(); }

    T& Value() { return std::get<0>(state_); }
    const T& Value() const { return std::get<0>(state_); }
    const T* operator->() const { return &Value(); }
    const T& operator*() const { return Value(); }

    const Error& Failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Error> state_;
};

// A result with no value: done, or the error.
using Status = Result<std::monostate>;

inline Status Done() {
    return std::monostate{};
}

}  // namespace tolvaris
