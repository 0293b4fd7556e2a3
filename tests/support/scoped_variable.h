#pragma once
#include <cstdlib>
#include <optional>
#include <string>

namespace murmora::testing {

// An environment variable as it was before the scope, put back at its end: a test that sets
// HOME or TMPDIR would change every test after it in the same run.
class ScopedVariable {
public:
    explicit ScopedVariable(const char* name) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
    }
    // Sets it, or clears it when `value` is null, for the scope.
    ScopedVariable(const char* name, const char* value) : ScopedVariable(name) {
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace murmora::testing
