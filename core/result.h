#pragma once
#include <optional>
#include <system_error>
#include <type_traits>
#include <utility>

namespace murmora {

// The outcome of a call that gives a value when it succeeds: the value, or the std::error_code
// of why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    template <typename U>
    requires std::is_constructible_v<T, U&&> &&(!std::is_same_v<std::remove_cvref_t<U>, Result>)Result(U&& value)
        : value_(std::forward<U>(value)) {}
    // `error` must be set: a failure without a reason is no failure.
    Result(std::error_code error) : error_(error) {}
    template <typename E>
    requires std::is_error_code_enum_v<E> Result(E error) : error_(make_error_code(error)) {}

    explicit operator bool() const { return value_.has_value(); }
    const std::error_code& error() const { return error_; }

    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    std::error_code error_;
};

} // namespace murmora
