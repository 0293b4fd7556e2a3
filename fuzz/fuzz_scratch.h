#pragma once
// A private working folder for a fuzzer: made once, entered, and every file name the fuzzer
// gives the service stays inside it.
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

inline const std::string& FuzzScratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/murmora-fuzz-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
        return std::string(pattern);
    }();
    return folder;
}
