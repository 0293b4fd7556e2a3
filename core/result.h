#pragma once
#include <optional>
#include <system_error>
#include <utility>

namespace murmora {

// The outcome of a call that gives a value when it succeeds: the value, or the std::error_code
// of why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    // `error` must be set: a failure without a reason is no failure.
    Result(std::error_code error) : error_(error) {}

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
