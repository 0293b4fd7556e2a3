// Encodes one take into one format, as the program does at a save, for the encoding benchmark.
// usage: encode-take-bench flac|opus|mp3 TAKE TARGET
#include "engine/take_encoder.h"

#include <iostream>
#include <map>
#include <string>

int main(int argc, char** argv) {
    using murmora::audio::EncodedFormat;
    const std::map<std::string, EncodedFormat> formats{
        {"flac", EncodedFormat::flac}, {"opus", EncodedFormat::opus}, {"mp3", EncodedFormat::mp3}};
    const auto format = argc == 4 ? formats.find(argv[1]) : formats.end();
    if (format == formats.end()) {
        std::cerr << "usage: encode-take-bench flac|opus|mp3 TAKE TARGET\n";
        return 2;
    }
    if (const std::error_code error = murmora::audio::encodeTake(argv[2], argv[3], format->second)) {
        std::cerr << argv[3] << ": " << error.message() << "\n";
        return 1;
    }
    return 0;
}
