// An environment variable set (or removed) for a scope: the process environment outlives the
// test case, and a setting left behind would change the cases that run after it.
#pragma once

#include <stdlib.h>

#include <string>

namespace testsupport {

class ScopedEnv {
public:
    // Keeps the current value for now: the test changes it with set() as it goes.
    explicit ScopedEnv(const char* name) : name_(name) {
        if (const char* old = ::getenv(name)) {
            had_ = true;
            previous_ = old;
        }
    }
    // A null value removes the variable for the scope.
    ScopedEnv(const char* name, const char* value) : ScopedEnv(name) { set(value); }
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv() { set(had_ ? previous_.c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // Changes the value again within the scope; the first one's predecessor is still restored.
    void set(const char* value) const {
        if (value)
            ::setenv(name_.c_str(), value, 1);
        else
            ::unsetenv(name_.c_str());
    }

private:
    std::string name_;
    bool had_ = false;
    std::string previous_;
};

}  // namespace testsupport
