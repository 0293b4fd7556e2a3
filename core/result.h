#pragma once
#include <optional>
#include <system_error>
#include <type_traits>
#include <utility>

namespace murmora {

// The outcome of a call that gives a value when it succeeds: the value, or the error of why
// there is none (a std::error_code unless the call says otherwise).
template <typename T, typename E = std::error_code>
class [[nodiscard]] Result {
public:
    template <typename U>
    requires std::is_constructible_v<T, U&&> &&(!std::is_same_v<std::remove_cvref_t<U>, Result>)Result(U&& value)
        : value_(std::forward<U>(value)) {}
    // `error` must be set: a failure without a reason is no failure.
    Result(E error) : error_(std::move(error)) {}
    template <typename Enum>
    requires std::is_error_code_enum_v<Enum> && std::is_same_v<E, std::error_code> Result(Enum error)
        : error_(make_error_code(error)) {}

    explicit operator bool() const { return value_.has_value(); }
    const E& error() const { return error_; }

    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    E error_;
};

} // namespace murmora
