#pragma once
#include <string>

#include "shell/context.h"

namespace murmora {

// Hands a chosen WAV file to the outside encoder LAME.exe in the program's folder.
class Conversion {
public:
    explicit Conversion(Context& ctx) : ctx_(ctx) {}

    void ConvertAction();

private:
    // LAME.exe in the program's folder.
    std::string EncoderPath() const;

    Context& ctx_;
};

} // namespace murmora
